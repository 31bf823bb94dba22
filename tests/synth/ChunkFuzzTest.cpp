// Hostile program records: random bytes and records with every field the
// engine, the parameters or MIDI control read set to values no valid
// record holds. Each is loaded as a chunk and then used the way hosts and
// players use a program. Built with the sanitizers in CI; any out-of-range
// access, overflow or bad conversion fails there. The seed is fixed and
// printed with every failure.
#include "MidiEventList.h"
#include "SynthTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

using synthtest::makeSynth;
using synthtest::MessageCapture;

namespace {
const uint32_t kSeed = 20261209;
const int kRandomRecords = 600;
const int kFrames = 64;

// One block's events, sent as a host sends them.
struct MidiBlock {
    MidiEventList list{256};
    void add(unsigned char status, unsigned char a, unsigned char b, int32_t delta)
    {
        list.add(delta, status, a, b);
    }
    VstEvents* build() { return list.events(); }
};

// Reads every parameter, display, label and name, as a host's generic
// editor does.
void readAll(VstXSynth& synth, const std::string& what)
{
    SCOPED_TRACE(what);
    char text[256];
    for (int index = -1; index <= 101; ++index) {
        const float v = synth.getParameter(index);
        ASSERT_TRUE(std::isfinite(v)) << index;
        std::memset(text, 0x7F, sizeof text);
        text[255] = 0;
        synth.getParameterDisplay(index, text);
        if (index >= 0 && index <= 100)
            ASSERT_LT(std::strlen(text), 16u) << index;
        else
            ASSERT_EQ(text[0], 0x7F) << index; // unknown index: untouched
        synth.getParameterLabel(index, text);
        synth.getParameterName(index, text);
        synth.getParameterLongName(index, text);
    }
    char name[64];
    synth.getProgramName(name);
    ASSERT_LT(std::strlen(name), 24u);
}

// Plays the program as a player and the MIDI map would. Controllers reach
// parameters through the record's map, so this may change the record.
void play(VstXSynth& synth, std::mt19937& rng, const std::string& what)
{
    SCOPED_TRACE(what);
    // Play: notes, every controller (through the record's MIDI map), pitch
    // bend, events at and beyond the block.
    std::vector<float> left(kFrames), right(kFrames);
    float* outs[] = {left.data(), right.data()};
    MidiBlock block;
    block.add(0x90, 60, 100, 0);
    block.add(0x90, static_cast<unsigned char>(rng() & 127), 127, 5);
    for (int c = 0; c < 128; c += 3)
        block.add(0xB0, static_cast<unsigned char>(c), static_cast<unsigned char>(rng() & 127),
                  static_cast<int32_t>(rng() % kFrames));
    block.add(0xE0, static_cast<unsigned char>(rng() & 127),
              static_cast<unsigned char>(rng() & 127), kFrames + 10);
    synth.processEvents(block.build());
    synth.processReplacing(nullptr, outs, kFrames);
    MidiBlock release;
    release.add(0x80, 60, 0, 0);
    synth.processEvents(release.build());
    synth.process(nullptr, outs, kFrames);
    // Whatever the record holds, the host gets numbers.
    for (int i = 0; i < kFrames; ++i)
        ASSERT_TRUE(std::isfinite(left[i]) && std::isfinite(right[i])) << i;
}

std::vector<unsigned char> chunkOf(VstXSynth& synth)
{
    void* data = nullptr;
    const VstInt32 size = synth.getChunk(&data, false);
    const unsigned char* p = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(p, p + size);
}

// Loads `record`, checks the host gets exactly those bytes back, reads
// every parameter, switches away and back, resets, and checks the bytes
// once more (nothing but an edit alters a stored record); then plays it.
void loadAndUse(VstXSynth& synth, const Patch& record, std::mt19937& rng, const std::string& what)
{
    ASSERT_EQ(synth.setChunk(const_cast<Patch*>(&record), 1908, false), 1908) << what;
    const std::vector<unsigned char> stored(reinterpret_cast<const unsigned char*>(&record),
                                            reinterpret_cast<const unsigned char*>(&record) + 1908);
    ASSERT_EQ(chunkOf(synth), stored) << what;
    readAll(synth, what);
    const VstInt32 current = synth.getProgram();
    synth.setProgram((current + 1) % 32);
    synth.setProgram(current);
    synth.resume(); // a reset takes the record's settings over once more
    ASSERT_EQ(chunkOf(synth), stored) << what;
    play(synth, rng, what);

    // Parameters set on top, with values from anywhere.
    const float values[] = {0.0f,
                            1.0f,
                            0.5f,
                            -3.0f,
                            7.0f,
                            std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(),
                            -1e30f};
    for (int n = 0; n < 40; ++n)
        synth.setParameter(static_cast<VstInt32>(rng() % 103) - 1, values[rng() % 8]);
    readAll(synth, what + " after parameter changes");
    play(synth, rng, what + " after parameter changes");
}

Patch hostileRecord(int variant)
{
    Patch p;
    newPatch(p);
    const int32_t ints[] = {0, 1, -1, 5000, -9, 1000, 65, INT32_MAX, INT32_MIN};
    const float floats[] = {std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            -1.0f,
                            0.0f,
                            1e30f,
                            -1e-40f,
                            std::numeric_limits<float>::denorm_min()};
    const int32_t n = ints[variant % 9];
    const float f = floats[variant % 8];
    std::memset(p.name, 'N', sizeof p.name); // no terminator
    for (PatchEnvelope& e : p.envelopes) {
        e.pointCount = n;
        for (int i = 0; i < 10; ++i) {
            e.pointTime[i] = f;
            e.pointLevel[i] = f;
        }
        e.sustainLevel = e.releaseLevel = f;
        e.attackTime = e.decayTime = e.releaseTime = f;
        e.range = n;
    }
    int32_t* scalars[] = {&p.volumeHome,
                          &p.coarseTune,
                          &p.fineTune,
                          &p.panHome,
                          &p.resonanceHome,
                          &p.noiseHome,
                          &p.volumeRange,
                          &p.pitchRange,
                          &p.panRange,
                          &p.resonanceRange,
                          &p.noiseRange,
                          &p.filterQ,
                          &p.lowpassCutoff,
                          &p.overdrive,
                          &p.speed,
                          &p.stdDev,
                          &p.reflection,
                          &p.attract,
                          &p.repel,
                          &p.proximity,
                          &p.oscillatorCount,
                          &p.redistributionTime,
                          &p.portamentoTime,
                          &p.smoothingHalfLife,
                          &p.trailLength,
                          &p.trailWidth,
                          &p.wheelMapping,
                          &p.reseedMode,
                          &p.seed,
                          &p.pitchBendRange,
                          &p.filterDepth,
                          &p.lfoDepth,
                          &p.localBpm,
                          &p.lfoMeasure};
    for (int32_t* field : scalars)
        *field = n;
    for (int i = 0; i < kAxisCount; ++i)
        p.axisOrder[i] = (variant & 1) ? n : 0;
    for (int c = 0; c < kMidiMapSize; ++c)
        p.midiMap[c] = ints[(variant + c) % 9];
    p.viewRotation[0] = p.viewRotation[1] = f;
    p.polyphonic = p.phaseCorrelation = p.seedOnPitch = p.seedOnVolume = 0xFF;
    p.syncToHost = p.lfoSine = p.qwertyControl = p.showPins = 0xFF;
    return p;
}
} // namespace

TEST(ChunkFuzz, HostileRecordsAreKeptAndNeverMisused)
{
    auto synth = makeSynth();
    MessageCapture quiet;
    synth->setSampleRate(44100.0f);
    synth->resume();
    std::mt19937 rng(kSeed);
    SCOPED_TRACE("seed " + std::to_string(kSeed));
    for (int variant = 0; variant < 72; ++variant) {
        loadAndUse(*synth, hostileRecord(variant), rng,
                   "hostile variant " + std::to_string(variant));
        if (HasFatalFailure())
            return;
    }
    // Whole-byte patterns.
    for (int byte : {0x00, 0xFF, 0x7F, 0x80}) {
        Patch p;
        std::memset(&p, byte, sizeof p);
        loadAndUse(*synth, p, rng, "all bytes " + std::to_string(byte));
        if (HasFatalFailure())
            return;
    }
}

TEST(ChunkFuzz, RandomRecordsAreKeptAndNeverMisused)
{
    auto synth = makeSynth();
    MessageCapture quiet;
    synth->resume();
    std::mt19937 rng(kSeed);
    for (int n = 0; n < kRandomRecords; ++n) {
        Patch p;
        newPatch(p);
        unsigned char* bytes = reinterpret_cast<unsigned char*>(&p);
        if (n % 2 == 0) {
            for (size_t i = 0; i < sizeof p; ++i)
                bytes[i] = static_cast<unsigned char>(rng());
        } else {
            // A valid record with a few fields hit.
            for (int k = 0; k < 8; ++k) {
                const size_t at = (rng() % (sizeof p / 4)) * 4;
                const uint32_t value = rng();
                std::memcpy(bytes + at, &value, 4);
            }
        }
        loadAndUse(*synth, p, rng,
                   "seed " + std::to_string(kSeed) + " record " + std::to_string(n));
        if (HasFatalFailure())
            return;
        if (n % 50 == 0)
            synth->randomisePatch();
    }
}
