// The factory bank as data: names and order, the four documented rows, the
// sanity of every record, loading a preset into a program, and the preset
// files the build writes from it.
#include "FactoryBank.h"
#include "SynthTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using synthtest::makeSynth;

namespace {
const char* const kExpectedNames[] = {"Brass",           "Buzz Mania",
                                      "Cheeky",          "Chewbacca",
                                      "Clarinet",        "Cosmic Kazoo Piano",
                                      "Crazy Saw",       "Crunchy",
                                      "Digi Tamba",      "Dischord",
                                      "Drunk Pixies",    "Enola",
                                      "Filth Bass",      "Firework",
                                      "Freaky Note",     "Funky Slap",
                                      "Gentle Gong",     "Ghostly Wail",
                                      "Growing Bass",    "Harpsichord",
                                      "Heroic Horn",     "High And Dangerous",
                                      "Juicy Plastic",   "Kick Bass",
                                      "Large Pad",       "Mad Pad",
                                      "Metallic Thwack", "Mulling Horn",
                                      "Passing Gust",    "Pizzicato",
                                      "Possessed Organ", "Power Bass",
                                      "Resonant Rip",    "Rhythmic",
                                      "Saxophone",       "Shreek",
                                      "Siren",           "Soft Organ",
                                      "Spooky Organ",    "Squelchy",
                                      "String Pad",      "Thunderclap",
                                      "Tuned Perc",      "Vowel Swarm",
                                      "Wobble Bass"};

const Patch& preset(const char* name)
{
    for (int32_t i = 0; i < FactoryBank::count(); ++i)
        if (std::strcmp(FactoryBank::name(i), name) == 0)
            return FactoryBank::record(i);
    ADD_FAILURE() << "no preset " << name;
    return FactoryBank::record(0);
}

struct Ranges {
    int32_t volume, pitch, pan, resonance, noise;
};
struct Flight {
    int32_t speed, stdDev, reflection, attract, repel, proximity;
};

void expectRow(const char* name, int32_t volumeHome, int32_t coarseTune, int32_t panHome,
               int32_t resonanceHome, int32_t noiseHome, Ranges r, int32_t cutoff, int32_t q,
               int32_t overdrive, Flight f, int32_t oscillators)
{
    SCOPED_TRACE(name);
    const Patch& p = preset(name);
    EXPECT_EQ(p.volumeHome, volumeHome);
    EXPECT_EQ(p.coarseTune, coarseTune);
    EXPECT_EQ(p.panHome, panHome);
    EXPECT_EQ(p.resonanceHome, resonanceHome);
    EXPECT_EQ(p.noiseHome, noiseHome);
    EXPECT_EQ(p.volumeRange, r.volume);
    EXPECT_EQ(p.pitchRange, r.pitch);
    EXPECT_EQ(p.panRange, r.pan);
    EXPECT_EQ(p.resonanceRange, r.resonance);
    EXPECT_EQ(p.noiseRange, r.noise);
    EXPECT_EQ(p.lowpassCutoff, cutoff);
    EXPECT_EQ(p.filterQ, q);
    EXPECT_EQ(p.overdrive, overdrive);
    EXPECT_EQ(p.speed, f.speed);
    EXPECT_EQ(p.stdDev, f.stdDev);
    EXPECT_EQ(p.reflection, f.reflection);
    EXPECT_EQ(p.attract, f.attract);
    EXPECT_EQ(p.repel, f.repel);
    EXPECT_EQ(p.proximity, f.proximity);
    EXPECT_EQ(p.oscillatorCount, oscillators);
}

void expectVolumeEnvelope(const char* name, std::vector<float> levels, float sustain, float attack,
                          float decay, float release)
{
    SCOPED_TRACE(name);
    const PatchEnvelope& e = preset(name).envelopes[kVolumeEnv];
    ASSERT_EQ(e.pointCount, static_cast<int32_t>(levels.size()));
    for (size_t i = 0; i < levels.size(); ++i)
        EXPECT_FLOAT_EQ(e.pointLevel[i], levels[i]) << i;
    EXPECT_FLOAT_EQ(e.sustainLevel, sustain);
    EXPECT_FLOAT_EQ(e.attackTime, attack);
    EXPECT_FLOAT_EQ(e.decayTime, decay);
    EXPECT_FLOAT_EQ(e.releaseTime, release);
    EXPECT_EQ(e.releaseLevel, 0.0f);
}

std::vector<unsigned char> readFile(const std::string& path)
{
    std::vector<unsigned char> bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    unsigned char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(f);
    return bytes;
}
} // namespace

TEST(FactoryBank, HoldsTheFortyFivePresetsInAlphabeticalOrder)
{
    ASSERT_EQ(FactoryBank::count(), 45);
    for (int32_t i = 0; i < 45; ++i) {
        EXPECT_STREQ(FactoryBank::name(i), kExpectedNames[i]) << i;
        EXPECT_STREQ(FactoryBank::record(i).name, kExpectedNames[i]) << i;
        if (i > 0) {
            EXPECT_LT(std::strcmp(kExpectedNames[i - 1], kExpectedNames[i]), 0) << i;
        }
    }
}

TEST(FactoryBank, DocumentedRowsHoldTheirValues)
{
    expectRow("Brass", 100, -12, 0, 42, 68, {0, 1, 40, 100, 100}, 52, 0, 0, {27, 15, 0, 50, 50, 24},
              8);
    expectVolumeEnvelope("Brass", {0, 1}, 0.5f, 0.1f, 0.5f, 0.2f);
    expectRow("Enola", 99, 0, 5, 28, 20, {27, 19, 29, 10, 15}, 79, 13, 26, {23, 34, 67, 74, 26, 55},
              12);
    expectVolumeEnvelope("Enola", {0, 0.734f}, 0.734f, 4.99849f, 4.99849f, 4.99849f);
    expectRow("Passing Gust", 100, -12, 40, 36, 70, {38, 49, 8, 100, 32}, 100, 1, 0,
              {98, 0, 28, 80, 58, 14}, 8);
    expectVolumeEnvelope("Passing Gust", {0, 1}, 0.0f, 0.324f, 0.8f, 0.424f);
    expectRow("Thunderclap", 100, -24, 0, 31, 50, {100, 100, 100, 100, 100}, 51, 20, 100,
              {100, 4, 59, 94, 100, 31}, 15);
    expectVolumeEnvelope("Thunderclap",
                         {0, 1, 0.5306f, 0.8776f, 0.3673f, 0.6531f, 0.1837f, 0.4082f}, 0.0f, 0.5f,
                         1.0f, 0.2f);
}

// Every record must be one the engine and the editor take as it is: values
// within their documented ranges, attack points in order, notes that start
// and end in silence.
TEST(FactoryBank, EveryRecordIsWithinTheInstrumentsRanges)
{
    Patch defaults;
    newPatch(defaults);
    for (int32_t i = 0; i < FactoryBank::count(); ++i) {
        const Patch& p = FactoryBank::record(i);
        SCOPED_TRACE(p.name);
        EXPECT_LT(std::strlen(p.name), 24u);
        EXPECT_GE(p.volumeHome, 0);
        EXPECT_LE(p.volumeHome, 100);
        EXPECT_GE(p.coarseTune, -24);
        EXPECT_LE(p.coarseTune, 24);
        EXPECT_GE(p.fineTune, -50);
        EXPECT_LE(p.fineTune, 50);
        EXPECT_GE(p.panHome, -100);
        EXPECT_LE(p.panHome, 100);
        for (int32_t v :
             {p.resonanceHome, p.noiseHome, p.volumeRange, p.pitchRange, p.panRange,
              p.resonanceRange, p.noiseRange, p.filterQ, p.lowpassCutoff, p.overdrive, p.speed,
              p.stdDev, p.reflection, p.attract, p.repel, p.proximity, p.lfoDepth}) {
            EXPECT_GE(v, 0);
            EXPECT_LE(v, 100);
        }
        EXPECT_GE(p.oscillatorCount, 1);
        EXPECT_LE(p.oscillatorCount, 64);
        EXPECT_GE(p.redistributionTime, 1);
        EXPECT_LE(p.redistributionTime, 4000);
        EXPECT_GE(p.portamentoTime, 1);
        EXPECT_LE(p.portamentoTime, 1000);
        EXPECT_GE(p.smoothingHalfLife, 1);
        EXPECT_LE(p.smoothingHalfLife, 500);
        EXPECT_GE(p.filterDepth, 0);
        EXPECT_LE(p.filterDepth, 2);
        EXPECT_GE(p.lfoMeasure, 0);
        EXPECT_LE(p.lfoMeasure, 8);
        EXPECT_GE(p.reseedMode, 0);
        EXPECT_LE(p.reseedMode, 2);
        EXPECT_GE(p.seed, 0);
        EXPECT_LE(p.seed, 134217727);
        EXPECT_GE(p.trailLength, 1);
        EXPECT_LE(p.trailLength, 20);
        EXPECT_GE(p.trailWidth, 1);
        EXPECT_LE(p.trailWidth, 10);
        EXPECT_GE(p.pitchBendRange, 0);
        EXPECT_LE(p.pitchBendRange, 24);
        Patch axes = p;
        validateAxisOrder(axes);
        EXPECT_EQ(std::memcmp(axes.axisOrder, p.axisOrder, sizeof p.axisOrder), 0);
        // No preset needs a map of its own: all carry the factory-default one.
        EXPECT_EQ(std::memcmp(p.midiMap, defaults.midiMap, sizeof p.midiMap), 0);

        for (int k = 0; k < kEnvelopeCount; ++k) {
            const PatchEnvelope& e = p.envelopes[k];
            SCOPED_TRACE(k);
            ASSERT_GE(e.pointCount, 2);
            ASSERT_LE(e.pointCount, 10);
            EXPECT_EQ(e.pointTime[0], 0.0f);
            EXPECT_EQ(e.pointTime[e.pointCount - 1], 1.0f);
            for (int j = 0; j < e.pointCount; ++j) {
                if (j > 0) {
                    EXPECT_GE(e.pointTime[j], e.pointTime[j - 1]);
                }
                EXPECT_GE(e.pointLevel[j], 0.0f);
                EXPECT_LE(e.pointLevel[j], 1.0f);
            }
            for (float level : {e.sustainLevel, e.releaseLevel}) {
                EXPECT_GE(level, 0.0f);
                EXPECT_LE(level, 1.0f);
            }
            for (float time : {e.attackTime, e.decayTime, e.releaseTime}) {
                EXPECT_GT(time, 0.0f);
                EXPECT_LE(time, 10.0f);
            }
            const int32_t maxRange[kEnvelopeCount] = {0, 24, 100, 50, 50, 0, 0, 0, 0, 0, 0};
            EXPECT_GE(e.range, 0);
            EXPECT_LE(e.range, maxRange[k]);
        }
        EXPECT_EQ(p.envelopes[kVolumeEnv].pointLevel[0], 0.0f);
        EXPECT_EQ(p.envelopes[kVolumeEnv].releaseLevel, 0.0f);
    }
}

TEST(FactoryBank, LoadingAPresetReplacesTheWholeProgram)
{
    auto synth = makeSynth();
    synth->setProgram(3);
    Patch* program = synth->getCurrentProgram();
    program->midiMap[2] = 40;
    program->midiMap[7] = -1;
    program->polyphonic = 0;
    program->reseedMode = 1;
    program->lfoDepth = 77;
    program->pitchBendRange = 12;

    const Patch& brass = FactoryBank::record(0);
    EXPECT_EQ(synth->loadPresetRecord(&brass, sizeof brass, false), 1908);
    char name[32] = "";
    synth->getProgramName(name);
    EXPECT_STREQ(name, "Brass");
    EXPECT_EQ(std::memcmp(synth->getCurrentProgram(), &brass, sizeof brass), 0);
    EXPECT_EQ(mappedParameter(*program, 2), -1);
    EXPECT_EQ(mappedParameter(*program, 7), 0);
    EXPECT_EQ(program->polyphonic, brass.polyphonic);
    EXPECT_EQ(program->reseedMode, brass.reseedMode);
    EXPECT_EQ(program->lfoDepth, brass.lfoDepth);
    EXPECT_EQ(program->pitchBendRange, brass.pitchBendRange);
    // The engine takes the preset's settings over at once.
    EXPECT_EQ(synth->getSettings()->reseedMode, brass.reseedMode);
    // Other programs are untouched.
    EXPECT_STREQ(synth->program(2).name, "new patch #3");
}

// The build writes every record as NAME.NBP into the presets folder beside
// the test executables.
TEST(FactoryBank, PresetFilesHoldTheRecordsByteForByte)
{
    for (int32_t i = 0; i < FactoryBank::count(); ++i) {
        const std::string path = std::string("presets/") + FactoryBank::name(i) + ".NBP";
        const std::vector<unsigned char> bytes = readFile(path);
        ASSERT_EQ(bytes.size(), 1908u) << path;
        EXPECT_EQ(std::memcmp(bytes.data(), &FactoryBank::record(i), 1908), 0) << path;
    }
}
