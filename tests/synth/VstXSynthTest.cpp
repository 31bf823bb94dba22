// The instrument object without a host library in between: identity,
// programs, chunk, parameters through the object, lifecycle and the
// settings a program change or parameter change updates.
#include "SynthTestSupport.h"

#include "AudioEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

using synthtest::makeSynth;
using synthtest::MessageCapture;

namespace {
std::vector<unsigned char> chunkBytes(VstXSynth& synth)
{
    void* data = nullptr;
    VstInt32 size = synth.getChunk(&data, false);
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

std::string displayOf(VstXSynth& synth, int index)
{
    char text[64] = "";
    synth.getParameterDisplay(index, text);
    return text;
}

// A base instance, for the decibel text the base itself produces.
class BareEffect : public AudioEffect {
public:
    BareEffect() : AudioEffect(nullptr, 1, 1) {}
    void process(float**, float**, VstInt32) override {}
};
} // namespace

TEST(VstXSynth, AnnouncesItselfAsAStereoInstrument)
{
    auto synth = makeSynth();
    AEffect* e = synth->getAeffect();
    EXPECT_EQ(e->numInputs, 0);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->numPrograms, 32);
    EXPECT_EQ(e->numParams, 101);
    EXPECT_EQ(e->uniqueID, 0x780CB5FE);
    const int32_t wanted = effFlagsCanReplacing | effFlagsProgramChunks | effFlagsIsSynth;
    EXPECT_EQ(e->flags & ~effFlagsHasEditor, wanted);

    char rec[] = "receiveVstEvents", midi[] = "receiveVstMidiEvent", time[] = "receiveVstTimeInfo",
         send[] = "sendVstEvents", lower[] = "receivevstevents";
    EXPECT_EQ(synth->canDo(rec), 1);
    EXPECT_EQ(synth->canDo(midi), 1);
    EXPECT_EQ(synth->canDo(time), 1);
    EXPECT_EQ(synth->canDo(send), 0);
    EXPECT_EQ(synth->canDo(lower), 0);

    VstPinProperties pin;
    std::memset(&pin, 0x55, sizeof pin);
    ASSERT_TRUE(synth->getOutputProperties(1, &pin));
    EXPECT_STREQ(pin.label, "Vstx 2");
    EXPECT_EQ(pin.flags, 3);
    ASSERT_TRUE(synth->getOutputProperties(0, &pin));
    EXPECT_STREQ(pin.label, "Vstx 1");
    std::memset(&pin, 0x55, sizeof pin);
    EXPECT_FALSE(synth->getOutputProperties(2, &pin));
    EXPECT_FALSE(synth->getOutputProperties(-1, &pin));
    EXPECT_EQ(pin.flags, 0x55555555);

    char text[64];
    EXPECT_TRUE(synth->getEffectName(text));
    EXPECT_STREQ(text, "Nimbulator");
    EXPECT_TRUE(synth->getProductString(text));
    EXPECT_STREQ(text, "Nimbulator");
    EXPECT_TRUE(synth->getVendorString(text));
    EXPECT_STREQ(text, "Orvalend");
    EXPECT_EQ(synth->getVendorVersion(), 1);
}

TEST(VstXSynth, FreshProgramsAreNumberedNewPatches)
{
    auto synth = makeSynth();
    char name[64];
    for (int i = 0; i < 32; ++i) {
        ASSERT_TRUE(synth->getProgramNameIndexed(0, i, name));
        EXPECT_EQ(std::string(name), "new patch #" + std::to_string(i + 1));
        const Patch& p = synth->program(i);
        EXPECT_EQ(p.oscillatorCount, 8);
        EXPECT_EQ(p.volumeHome, 100);
        EXPECT_EQ(p.axisOrder[0], 2);
        EXPECT_EQ(p.axisOrder[2], 0);
        EXPECT_EQ(p.axisOrder[4], 4);
    }
    std::strcpy(name, "untouched");
    EXPECT_FALSE(synth->getProgramNameIndexed(0, 32, name));
    EXPECT_FALSE(synth->getProgramNameIndexed(0, -1, name));
    EXPECT_STREQ(name, "untouched");
}

TEST(VstXSynth, ProgramNamesAndCopies)
{
    auto synth = makeSynth();
    char longName[] = "a name far longer than twenty-three characters";
    synth->setProgramName(longName);
    char name[64];
    synth->getProgramName(name);
    EXPECT_EQ(std::string(name), std::string(longName, 23));

    synth->setParameter(2, 0.33f);
    EXPECT_TRUE(synth->copyProgram(5));
    EXPECT_EQ(std::memcmp(&synth->program(5), &synth->program(0), sizeof(Patch)), 0);
    EXPECT_TRUE(synth->copyProgram(0)); // onto itself
    EXPECT_FALSE(synth->copyProgram(32));
    EXPECT_FALSE(synth->copyProgram(-1));
}

TEST(VstXSynth, ChunkIsTheCurrentProgramAndRoundTrips)
{
    auto synth = makeSynth();
    MessageCapture messages;
    synth->setProgram(3);
    synth->setParameter(21, 0.5f);
    void* data = nullptr;
    ASSERT_EQ(synth->getChunk(&data, true), 1908);
    EXPECT_EQ(data, &synth->program(3));

    const std::vector<unsigned char> saved = chunkBytes(*synth);
    // The host hands back its own copy, and also the very buffer it got.
    std::vector<unsigned char> copy = saved;
    EXPECT_EQ(synth->setChunk(copy.data(), 1908, false), 1908);
    EXPECT_EQ(chunkBytes(*synth), saved);
    EXPECT_EQ(synth->setChunk(data, 1908, false), 1908);
    EXPECT_EQ(chunkBytes(*synth), saved);

    // A record saved elsewhere replaces the program, name included.
    Patch other;
    newPatch(other);
    std::strcpy(other.name, "from the host");
    other.reflection = 100;
    other.reseedMode = 2;
    EXPECT_EQ(synth->setChunk(&other, 1908, true), 1908);
    EXPECT_EQ(std::memcmp(&synth->program(3), &other, sizeof other), 0);
    // ... and the engine takes its settings over straight away.
    EXPECT_DOUBLE_EQ(synth->getSettings()->reflectionFactor, 32.0);
    EXPECT_EQ(synth->getSettings()->reseedMode, 2);
    EXPECT_TRUE(messages.shown().empty());
}

TEST(VstXSynth, WrongSizedOrMissingChunksAreRefused)
{
    auto synth = makeSynth();
    MessageCapture messages;
    const std::vector<unsigned char> before = chunkBytes(*synth);
    std::vector<unsigned char> junk(4096, 0xAB);
    for (VstInt32 size : {1907, 1909, 0, -1908, 4096}) {
        EXPECT_EQ(synth->setChunk(junk.data(), size, false), 0) << size;
        EXPECT_EQ(chunkBytes(*synth), before) << size;
    }
    EXPECT_EQ(synth->setChunk(nullptr, 1908, false), 0);
    EXPECT_EQ(synth->loadPresetRecord(junk.data(), 100, false), 0);
    ASSERT_EQ(messages.shown().size(), 7u);
    for (const std::string& text : messages.shown())
        EXPECT_EQ(text, "setChunk() recieved incorrect number of bytes!");
    EXPECT_EQ(synth->getChunk(nullptr, false), 0);
}

TEST(VstXSynth, SelectingTheCurrentProgramChangesNothing)
{
    auto synth = makeSynth();
    synth->resume();
    SynthSettings* settings = synth->getSettings();
    settings->pitchBendTarget = 5.0f;
    synth->setProgram(0);
    EXPECT_EQ(settings->pitchBendTarget, 5.0f);

    // Another program is taken over whole, settings included.
    Patch bright;
    newPatch(bright);
    bright.reflection = 100;
    bright.lfoDepth = 25;
    synth->setProgram(7);
    synth->loadPresetRecord(&bright, 1908, false);
    synth->setProgram(0);
    EXPECT_DOUBLE_EQ(settings->reflectionFactor, 1.0);
    settings->pitchBendTarget = 5.0f;
    synth->setProgram(7);
    EXPECT_EQ(settings->pitchBendTarget, 0.0f);
    EXPECT_DOUBLE_EQ(settings->reflectionFactor, 32.0);
    EXPECT_FLOAT_EQ(settings->lfoDepth, 0.25f);
    EXPECT_FLOAT_EQ(settings->lfoRest, 0.75f);
    EXPECT_EQ(synth->getProgram(), 7);
    synth->setProgram(32); // ignored
    synth->setProgram(-1);
    EXPECT_EQ(synth->getProgram(), 7);
}

TEST(VstXSynth, ProgramLoadsBringInTheirOscillatorCountAtOnce)
{
    auto synth = makeSynth();
    synth->resume();
    SynthSettings* settings = synth->getSettings();
    Patch few, many;
    newPatch(few);
    newPatch(many);
    few.oscillatorCount = 4;
    many.oscillatorCount = 16;
    synth->setProgram(5);
    ASSERT_EQ(synth->loadPresetRecord(&few, 1908, false), 1908);
    EXPECT_EQ(settings->requestedCount, 4);
    EXPECT_EQ(settings->liveCount, 4);
    synth->setProgram(6);
    ASSERT_EQ(synth->setChunk(&many, 1908, false), 1908);
    EXPECT_EQ(settings->liveCount, 16);
    synth->setProgram(5);
    EXPECT_EQ(settings->requestedCount, 4);
    EXPECT_EQ(settings->liveCount, 4);
}

TEST(VstXSynth, ParametersGoThroughTheCurrentProgram)
{
    auto synth = makeSynth();
    synth->setProgram(2);
    synth->setParameter(0, 0.29f);
    EXPECT_EQ(synth->program(2).volumeHome, 28);
    EXPECT_EQ(synth->program(0).volumeHome, 100);
    EXPECT_FLOAT_EQ(synth->getParameter(0), 0.28f);

    synth->setParameter(0, 0.0f);
    EXPECT_EQ(displayOf(*synth, 0), "  -oo   ");
    char label[16];
    synth->getParameterLabel(0, label);
    EXPECT_STREQ(label, " dB");
    synth->setParameter(0, 1.0f);
    BareEffect base;
    char zeroDb[16];
    base.dB2string(1.0f, zeroDb);
    EXPECT_EQ(displayOf(*synth, 0), zeroDb);

    char name[64];
    synth->getParameterName(19, name);
    EXPECT_STREQ(name, "Oscillators");
    synth->getParameterName(59, name); // longer than the 8 of the convention
    EXPECT_STREQ(name, "VlVr Ini Lv");
    synth->getParameterShortName(17, name);
    EXPECT_STREQ(name, "'Q'");
    synth->getParameterLongName(10, name);
    EXPECT_STREQ(name, "Speed LFO Depth");
    synth->getParameterLongName(80, name);
    EXPECT_STREQ(name, "Resonance range envelope initial level");
}

TEST(VstXSynth, ParameterChangesUpdateTheEngineSettings)
{
    auto synth = makeSynth();
    synth->resume();
    SynthSettings* s = synth->getSettings();
    synth->setParameter(12, 1.0f);
    EXPECT_DOUBLE_EQ(s->reflectionFactor, 32.0);
    synth->setParameter(12, 0.0f);
    EXPECT_DOUBLE_EQ(s->reflectionFactor, 1.0 / 32.0);
    synth->setParameter(10, 0.4f);
    EXPECT_FLOAT_EQ(s->lfoDepth, 0.4f);
    EXPECT_FLOAT_EQ(s->lfoRest, 0.6f);
    synth->setParameter(15, 1.0f);
    EXPECT_FLOAT_EQ(s->proximityRadius, 0.5f);
    synth->setParameter(13, 1.0f);
    synth->setParameter(14, 0.5f);
    const double period = synth->getSamplePeriod();
    EXPECT_FLOAT_EQ(s->attractStep, static_cast<float>(s->liveCount * 100 * period * 0.03));
    EXPECT_FLOAT_EQ(s->repelStep, static_cast<float>(s->liveCount * 50 * period * 0.01));

    // Knobs of the editor store integers and update the same values.
    synth->setControlValue(1049, 60);
    EXPECT_EQ(synth->getCurrentProgram()->reflection, 60);
    EXPECT_DOUBLE_EQ(s->reflectionFactor, 2.0);
    synth->setControlValue(1051, 100);
    EXPECT_FLOAT_EQ(s->lfoRest, 0.0f);
    synth->setControlValue(1037, -12);
    EXPECT_EQ(synth->getCurrentProgram()->coarseTune, -12);
    const std::vector<unsigned char> before = chunkBytes(*synth);
    synth->setControlValue(1045, 3); // no field behind this id
    synth->setControlValue(1021, 3);
    synth->setControlValue(1052, 3);
    EXPECT_EQ(chunkBytes(*synth), before);
}

TEST(VstXSynth, UnknownParameterIndicesAreReportedAndChangeNothing)
{
    auto synth = makeSynth();
    MessageCapture messages;
    const std::vector<unsigned char> before = chunkBytes(*synth);
    synth->setParameter(101, 0.5f);
    synth->setParameter(-1, 0.5f);
    EXPECT_EQ(chunkBytes(*synth), before);
    // setParameter may run on the audio thread: the message waits for the
    // next dispatcher call, and is shown once.
    EXPECT_TRUE(messages.shown().empty());
    synth->dispatcher(effGetProgram, 0, 0, nullptr, 0.0f);
    synth->dispatcher(effGetProgram, 0, 0, nullptr, 0.0f);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0], "VstXSynth::setParameter");

    messages.clear();
    EXPECT_EQ(synth->getParameter(101), 0.0f);
    EXPECT_EQ(synth->getParameter(-5), 0.0f);
    EXPECT_TRUE(messages.shown().empty());
    char text[16] = "untouched";
    synth->getParameterLabel(101, text);
    synth->getParameterDisplay(101, text);
    synth->getParameterName(101, text);
    synth->getParameterLongName(200, text);
    EXPECT_STREQ(text, "untouched");
    const std::vector<std::string> expected = {
        "VstXSynth::getParameterLabel", "VstXSynth::getParameterDisplay",
        "VstXSynth::GetParameterName", "VstXSynth::GetParameterName"};
    EXPECT_EQ(messages.shown(), expected);
}

TEST(VstXSynth, ProcessingOverwritesTheOutputsAndResumesFirst)
{
    auto synth = makeSynth();
    EXPECT_TRUE(synth->isSuspended());
    std::vector<float> left(256, 1.0f), right(256, -1.0f);
    float* outs[] = {left.data(), right.data()};
    synth->processReplacing(nullptr, outs, 256);
    EXPECT_FALSE(synth->isSuspended());
    for (int i = 0; i < 256; ++i)
        ASSERT_TRUE(left[i] == 0.0f && right[i] == 0.0f) << i;

    std::fill(left.begin(), left.end(), 0.5f);
    synth->process(nullptr, outs, 256);
    EXPECT_EQ(left[100], 0.0f);

    synth->suspend();
    EXPECT_TRUE(synth->isSuspended());
    synth->process(nullptr, outs, 256);
    EXPECT_FALSE(synth->isSuspended());

    // Hosts that pass no buffers, a missing channel or no frames.
    synth->processReplacing(nullptr, nullptr, 256);
    float* oneMissing[] = {left.data(), nullptr};
    synth->processReplacing(nullptr, oneMissing, 256);
    synth->processReplacing(nullptr, outs, 0);
    EXPECT_EQ(synth->processEvents(nullptr), 1);
}

TEST(VstXSynth, SampleRateTakesEffectAtTheNextResetAndBadRatesAreIgnored)
{
    auto synth = makeSynth();
    synth->setSampleRate(48000.0f);
    synth->resume();
    EXPECT_DOUBLE_EQ(synth->getSamplePeriod(), 1.0 / 48000.0);
    synth->setSampleRate(96000.0f);
    EXPECT_DOUBLE_EQ(synth->getSamplePeriod(), 1.0 / 48000.0);
    synth->suspend();
    synth->setSampleRate(0.0f);
    synth->resume();
    EXPECT_DOUBLE_EQ(synth->getSamplePeriod(), 1.0 / 48000.0);
    synth->setSampleRate(std::nanf(""));
    synth->suspend();
    synth->resume();
    EXPECT_DOUBLE_EQ(synth->getSamplePeriod(), 1.0 / 48000.0);
    EXPECT_TRUE(std::isfinite(synth->getSettings()->fadeStep));
}

TEST(VstXSynth, RandomPatchReplacesTheCurrentProgramAndLoadsItsSettings)
{
    auto synth = makeSynth();
    synth->setProgram(4);
    synth->randomisePatch();
    const Patch& p = synth->program(4);
    EXPECT_EQ(std::string(p.name).rfind("random patch #", 0), 0u);
    EXPECT_EQ(synth->getSettings()->reseedMode, p.reseedMode);
    EXPECT_DOUBLE_EQ(synth->getSettings()->reflectionFactor,
                     std::pow(2.0, (p.reflection - 50) * 0.1));
    EXPECT_STREQ(synth->program(3).name, "new patch #4");
}
