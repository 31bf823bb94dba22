// MIDI learn: the hand-over's states, the engine catching the next
// controller, and the plug-in object putting it into the program's map,
// where parameters, map files and chunks see it. Also two threads racing
// over the hand-over word.
#include "MidiLearn.h"
#include "EngineRig.h"
#include "MidiEventList.h"
#include "MidiMapFile.h"
#include "SynthTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace {
const int32_t kAttract = 13;

// Sends controller messages to the object and renders one block.
void sendControllers(VstXSynth& synth, const std::vector<std::vector<unsigned char>>& messages)
{
    MidiEventList list(messages.size());
    for (const auto& m : messages)
        list.add(0, m[0], m[1], m[2]);
    synth.processEvents(list.events());
    std::vector<float> left(64), right(64);
    float* outputs[] = {left.data(), right.data()};
    synth.processReplacing(nullptr, outputs, 64);
}
} // namespace

TEST(MidiLearn, HandOverStates)
{
    MidiLearn learn;
    int32_t controller = 0, parameter = 0;
    EXPECT_EQ(learn.waitingParameter(), -1);
    EXPECT_EQ(learn.capture(40), -1); // nothing waits
    EXPECT_FALSE(learn.take(controller, parameter));
    EXPECT_EQ(controller, -1);

    learn.arm(kAttract, controller, parameter);
    EXPECT_EQ(controller, -1); // nothing was pending
    EXPECT_EQ(learn.waitingParameter(), kAttract);
    learn.arm(5, controller, parameter); // a second learn replaces the first
    EXPECT_EQ(learn.waitingParameter(), 5);
    for (int32_t c : {-1, 120, 123, 127, 128})
        EXPECT_EQ(learn.capture(c), -1) << c; // only controllers 0..119 are learned
    EXPECT_EQ(learn.capture(119), 5);
    EXPECT_EQ(learn.capture(3), -1); // caught once
    EXPECT_EQ(learn.waitingParameter(), -1);
    ASSERT_TRUE(learn.take(controller, parameter));
    EXPECT_EQ(controller, 119);
    EXPECT_EQ(parameter, 5);
    EXPECT_FALSE(learn.take(controller, parameter));

    // A result not yet taken comes back when the next learn starts...
    learn.arm(100, controller, parameter);
    EXPECT_EQ(learn.capture(0), 100);
    learn.arm(0, controller, parameter);
    EXPECT_EQ(controller, 0);
    EXPECT_EQ(parameter, 100);
    // ...and is dropped by a cancel, as is the wait.
    EXPECT_EQ(learn.capture(64), 0);
    learn.cancel();
    EXPECT_FALSE(learn.take(controller, parameter));
    learn.arm(7, controller, parameter);
    learn.cancel();
    EXPECT_EQ(learn.capture(64), -1);
    // Indices outside 0..100 do not wait.
    learn.arm(101, controller, parameter);
    EXPECT_EQ(learn.waitingParameter(), -1);
    learn.arm(-5, controller, parameter);
    EXPECT_EQ(learn.capture(1), -1);
}

TEST(MidiLearn, EngineCatchesTheNextLearnableControllerAndItMovesTheParameter)
{
    EngineRig rig;
    int32_t controller, parameter;
    rig.engine.learn.arm(kAttract, controller, parameter);
    // A reset controller and a note pass by as usual; controller 40 is caught.
    rig.play({{0, 0x90, 60, 100}, {1, 0xB0, 123, 0}, {2, 0xB0, 40, 127}, {3, 0xB0, 7, 0}}, 8);
    EXPECT_EQ(rig.engine.freeCount, 8); // 123 still reset the voices
    ASSERT_EQ(rig.parameterChanges.size(), 2u);
    EXPECT_EQ(rig.parameterChanges[0].index, kAttract);
    EXPECT_FLOAT_EQ(rig.parameterChanges[0].value, 1.0f);
    EXPECT_EQ(rig.parameterChanges[1].index, 0); // 7 still drives its mapping
    ASSERT_TRUE(rig.engine.learn.take(controller, parameter));
    EXPECT_EQ(controller, 40);
    EXPECT_EQ(parameter, kAttract);
    // The engine itself never writes the map.
    EXPECT_EQ(rig.patch.midiMap[40], -1);
    rig.play({{0, 0xB0, 40, 10}}, 4);
    EXPECT_EQ(rig.parameterChanges.size(), 2u);
}

TEST(MidiLearn, LearnedControllerDrivesTheKnobThroughMapFilesAndChunks)
{
    auto synth = synthtest::makeSynth();
    synth->setSampleRate(44100.0f);
    synth->resume();
    Patch& program = *synth->getCurrentProgram();
    program.midiMap[41] = kAttract; // another controller on the same knob stays
    synth->learnMidiController(kAttract);
    EXPECT_EQ(synth->learningParameter(), kAttract);
    sendControllers(*synth, {{0xB0, 40, 0}});
    EXPECT_EQ(synth->learningParameter(), -1);
    EXPECT_FLOAT_EQ(synth->getParameter(kAttract), 0.0f); // moved by the learning message
    EXPECT_EQ(synth->applyLearnedController(), 40);
    EXPECT_EQ(synth->applyLearnedController(), -1);
    EXPECT_EQ(program.midiMap[40], kAttract);
    EXPECT_EQ(program.midiMap[41], kAttract);

    sendControllers(*synth, {{0xB0, 40, 127}});
    EXPECT_FLOAT_EQ(synth->getParameter(kAttract), 1.0f);
    sendControllers(*synth, {{0xB3, 40, 64}}); // any channel
    EXPECT_NEAR(synth->getParameter(kAttract), 0.5f, 0.01f);

    // Learning a mapped controller replaces its old parameter.
    synth->learnMidiController(5);
    sendControllers(*synth, {{0xB0, 7, 127}});
    EXPECT_EQ(synth->applyLearnedController(), 7);
    EXPECT_EQ(program.midiMap[7], 5);

    // A map file holds it; a chunk carries it to another instance.
    const std::string path = testing::TempDir() + "learned.nbm";
    ASSERT_EQ(MidiMapFile::save(program, path.c_str()), MidiMapFile::Result::Ok);
    Patch loaded = program;
    loaded.midiMap[40] = -1;
    ASSERT_EQ(MidiMapFile::load(loaded, path.c_str()), MidiMapFile::Result::Ok);
    EXPECT_EQ(loaded.midiMap[40], kAttract);
    std::remove(path.c_str());

    void* chunk = nullptr;
    const VstInt32 size = synth->getChunk(&chunk, false);
    auto other = synthtest::makeSynth();
    other->setSampleRate(44100.0f);
    other->resume();
    ASSERT_EQ(other->setChunk(chunk, size, false), 1908);
    EXPECT_EQ(other->getCurrentProgram()->midiMap[40], kAttract);
    sendControllers(*other, {{0xB0, 40, 0}});
    EXPECT_FLOAT_EQ(other->getParameter(kAttract), 0.0f);
}

TEST(MidiLearn, ASecondLearnReplacesTheFirstAndCancelForgets)
{
    auto synth = synthtest::makeSynth();
    synth->resume();
    Patch& program = *synth->getCurrentProgram();
    synth->learnMidiController(kAttract);
    synth->learnMidiController(14);
    sendControllers(*synth, {{0xB0, 30, 100}});
    // A result not applied yet is applied when the next learn (or cancel) starts.
    synth->learnMidiController(-1);
    EXPECT_EQ(program.midiMap[30], 14);
    EXPECT_EQ(synth->applyLearnedController(), -1);

    synth->learnMidiController(kAttract);
    synth->learnMidiController(-1);
    sendControllers(*synth, {{0xB0, 31, 100}});
    EXPECT_EQ(synth->applyLearnedController(), -1);
    EXPECT_EQ(program.midiMap[31], -1);
}

// The UI thread arms, re-arms and takes while the audio thread captures:
// every pair taken names a controller that was sent and a parameter that was
// armed, and nothing is caught twice.
TEST(MidiLearn, RacingThreadsOnlyEverHandOverArmedPairs)
{
    MidiLearn learn;
    std::atomic<bool> done{false};
    std::atomic<long> caught{0};
    std::thread audio([&] {
        int32_t c = 0;
        while (!done.load()) {
            if (learn.capture(c) >= 0)
                caught.fetch_add(1);
            c = (c + 1) % 128;
        }
    });
    long taken = 0;
    bool valid = true;
    for (int i = 0; i < 20000; ++i) {
        int32_t controller, parameter;
        learn.arm(i % 101, controller, parameter);
        if (controller >= 0) {
            ++taken;
            valid &= controller < 120 && parameter == (i - 1) % 101;
        }
        if (learn.take(controller, parameter)) {
            ++taken;
            valid &= controller < 120 && parameter == i % 101;
        }
    }
    done.store(true);
    audio.join();
    int32_t controller, parameter;
    if (learn.take(controller, parameter))
        ++taken;
    EXPECT_TRUE(valid);
    EXPECT_EQ(taken, caught.load());
}
