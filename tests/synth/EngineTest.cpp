// The engine without the plug-in around it: envelopes, voice lists, the
// oscillator pool, reseeding, MIDI handling, tempo and the computer keys.
#include "EngineRig.h"
#include "Random.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
const float kRate = 44100.0f;

PatchEnvelope line(float from, float to, float attack)
{
    PatchEnvelope e{};
    e.pointCount = 2;
    e.pointTime[1] = 1.0f;
    e.pointLevel[0] = from;
    e.pointLevel[1] = to;
    e.sustainLevel = 0.5f;
    e.attackTime = attack;
    e.decayTime = 0.5f;
    e.releaseTime = 0.1f;
    return e;
}

Envelope running(const PatchEnvelope& shape, bool bipolar = false)
{
    Envelope e;
    e.shape = &shape;
    e.bipolar = bipolar;
    e.start(kRate);
    return e;
}
} // namespace

TEST(SynthTables, NoiseComesFromTheSeededGeneratorTwoDrawsPerEntry)
{
    SynthTables tables;
    seedRandom(0);
    for (int i = 0; i < SynthTables::kWave; ++i) {
        int32_t sign = nextRandom();
        float size = ((nextRandom() & 4095) / 4095.0f + 1.0f) * 0.5f;
        ASSERT_EQ(tables.noise[i], (sign & 1) ? size : -size) << "entry " << i;
    }
    EXPECT_FLOAT_EQ(tables.gain(1.0f), 1.0f);
    EXPECT_NEAR(tables.gain(1.5f), (1.0f + std::pow(2.0f, -0.9f)) / 2.0f, 1e-6);
    EXPECT_NEAR(tables.frequency(69.0f), 440.0, 1e-9);
    EXPECT_NEAR(tables.speedAt(50.0f), 10.0f, 1e-5);
    EXPECT_EQ(tables.sineAt(8192.0), tables.sine[8192]);
}

TEST(SynthTables, TableSquareRootStaysCloseToTheExactOne)
{
    SynthTables tables;
    double worstAbsolute = 0.0, worstRelative = 0.0;
    for (float x = 0.0001f; x < 150.0f; x *= 1.01f) {
        double error = std::fabs(tables.fastSqrt(x) - std::sqrt(x));
        worstAbsolute = std::fmax(worstAbsolute, error);
        if (x > 0.01f)
            worstRelative = std::fmax(worstRelative, error / std::sqrt(x));
    }
    EXPECT_LT(worstAbsolute, 0.01);
    EXPECT_LT(worstRelative, 0.03);
    EXPECT_EQ(tables.fastSqrt(-1.0f), 0.0f);
    EXPECT_EQ(tables.fastSqrt(NAN), 0.0f);
}

TEST(Envelope, OneSecondAttackEndsOnTheSampleAfterItsLength)
{
    PatchEnvelope shape = line(0.0f, 1.0f, 1.0f);
    Envelope e = running(shape);
    EXPECT_FLOAT_EQ(e.tick(kRate), 1.0f / 44100.0f);
    for (int i = 2; i <= 44100; ++i)
        e.tick(kRate);
    EXPECT_EQ(e.stage, Envelope::kAttack);
    EXPECT_EQ(e.tick(kRate), 1.0f); // sample 44101: the decay begins at the point's level
    EXPECT_EQ(e.stage, Envelope::kDecay);
    // The distance to the sustain level halves every decay time (0.5 s).
    for (int i = 0; i < 22050; ++i)
        e.tick(kRate);
    EXPECT_NEAR(e.value, 0.75f, 1e-3);
}

TEST(Envelope, ZeroLengthSegmentsAndReleasesPassInOneSample)
{
    PatchEnvelope shape = line(0.2f, 0.8f, 0.0f);
    Envelope e = running(shape);
    EXPECT_EQ(e.tick(kRate), 0.8f);
    EXPECT_EQ(e.stage, Envelope::kDecay);

    PatchEnvelope three = line(0.0f, 1.0f, 1.0f);
    three.pointCount = 3;
    three.pointTime[1] = 0.5f;
    three.pointTime[2] = 0.5f; // second segment of zero length
    three.pointLevel[1] = 0.4f;
    three.pointLevel[2] = 0.9f;
    Envelope f = running(three);
    for (int i = 0; i < 22050; ++i)
        f.tick(kRate);
    EXPECT_EQ(f.tick(kRate), 0.4f); // the second segment starts at its own level
    EXPECT_EQ(f.tick(kRate), 0.9f); // and ends at once
    EXPECT_EQ(f.stage, Envelope::kDecay);

    shape.releaseTime = 0.0f;
    shape.releaseLevel = 0.3f;
    e.release(kRate);
    EXPECT_EQ(e.tick(kRate), 0.3f);
    EXPECT_EQ(e.stage, Envelope::kFinished);
}

TEST(Envelope, ReleaseFromMidAttackStartsAtTheCurrentValue)
{
    PatchEnvelope shape = line(0.0f, 1.0f, 1.0f);
    shape.releaseTime = 1.0f;
    Envelope e = running(shape);
    for (int i = 0; i < 11025; ++i)
        e.tick(kRate);
    float current = e.value;
    EXPECT_NEAR(current, 0.25f, 1e-4);
    e.release(kRate);
    EXPECT_NEAR(e.tick(kRate), current - current / 44100.0f, 1e-6);
    for (int i = 0; i < 44100; ++i)
        e.tick(kRate);
    EXPECT_EQ(e.stage, Envelope::kFinished);
    EXPECT_EQ(e.value, 0.0f); // ends on the release level exactly
}

TEST(Envelope, BipolarLevelsSpanMinusToPlusRange)
{
    PatchEnvelope shape = line(0.25f, 1.0f, 1.0f);
    shape.range = 12;
    Envelope e = running(shape, true);
    EXPECT_EQ(e.map(0.25f), -6.0f);
    EXPECT_EQ(e.map(0.5f), 0.0f);
    EXPECT_EQ(e.map(1.0f), 12.0f);
    EXPECT_NEAR(e.value, -6.0f, 1e-6);
}

TEST(Envelope, HostileShapesNeverProduceNonFiniteSteps)
{
    PatchEnvelope shape = line(0.0f, 1.0f, -3.0f);
    shape.pointCount = 1000;
    shape.decayTime = -1.0f;
    shape.releaseTime = INFINITY;
    Envelope e = running(shape);
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(std::isfinite(e.tick(kRate)));
    e.release(kRate);
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(std::isfinite(e.tick(kRate)));
}

TEST(Voices, StealTheMostRecentlyReleasedAndDropTheNinthHeldNote)
{
    EngineRig rig;
    std::vector<MidiMessage> on;
    for (int n = 0; n < 8; ++n)
        on.push_back({0, 0x90, static_cast<unsigned char>(60 + n), 100});
    rig.play(on, 16);
    EXPECT_EQ(rig.engine.activeCount, 8);
    rig.play({{0, 0x90, 80, 100}}, 16); // all active: ignored
    EXPECT_EQ(rig.engine.activeCount, 8);
    EXPECT_EQ(rig.engine.freeCount, 0);

    rig.play({{0, 0x80, 61, 0}, {0, 0x90, 63, 0}}, 16); // note-on velocity 0 is a note-off
    EXPECT_EQ(rig.engine.releasingCount, 2);
    Voice* lastReleased = rig.engine.releasingVoices;
    EXPECT_EQ(lastReleased->note, 63);
    rig.play({{0, 0x90, 90, 100}}, 16);
    EXPECT_EQ(rig.engine.activeVoices, lastReleased);
    EXPECT_EQ(lastReleased->note, 90);
    EXPECT_EQ(rig.engine.releasingCount, 1);
    EXPECT_EQ(rig.engine.activeCount + rig.engine.releasingCount + rig.engine.freeCount, 8);
}

TEST(Voices, SameNoteTwiceTakesTwoVoicesAndOneNoteOffReleasesTheNewer)
{
    EngineRig rig;
    rig.play({{0, 0x90, 60, 100}}, 8);
    Voice* first = rig.engine.activeVoices;
    rig.play({{0, 0x90, 60, 100}}, 8);
    Voice* second = rig.engine.activeVoices;
    ASSERT_NE(first, second);
    rig.play({{0, 0x80, 60, 0}}, 8);
    EXPECT_EQ(rig.engine.releasingVoices, second);
    EXPECT_EQ(rig.engine.activeVoices, first);
}

TEST(Voices, MonophonicNoteTakesEveryOscillatorGlidingFromTheOldVoice)
{
    EngineRig rig;
    rig.patch.polyphonic = 0;
    rig.render(64); // the count check brings in the 8 oscillators
    rig.play({{0, 0x90, 60, 100}}, 2000);
    rig.play({{0, 0x90, 72, 100}}, 1);
    Voice* fresh = rig.engine.activeVoices;
    EXPECT_EQ(rig.engine.activeCount, 1);
    EXPECT_EQ(rig.engine.releasingCount, 1);
    EXPECT_EQ(rig.oscillatorsOf(fresh), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(rig.engine.oscillators[i].gliding) << i;
    rig.render(44100 * 21 / 1000); // portamento 20 ms
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(rig.engine.oscillators[i].gliding) << i;
}

TEST(OscillatorPool, TwoNotesShareFourAndFourThenThreeThreeTwo)
{
    EngineRig rig;
    rig.render(16);
    rig.play({{0, 0x90, 60, 100}}, 1);
    Voice* a = rig.engine.activeVoices;
    EXPECT_EQ(rig.oscillatorsOf(a), 8);
    rig.play({{0, 0x90, 64, 100}}, 1);
    Voice* b = rig.engine.activeVoices;
    EXPECT_EQ(rig.oscillatorsOf(a), 4);
    EXPECT_EQ(rig.oscillatorsOf(b), 4);
    EXPECT_EQ(b->oscCount, 4);
    EXPECT_EQ(b->smoothedCount, 4.0f);
    rig.play({{0, 0x90, 67, 100}}, 1);
    Voice* c = rig.engine.activeVoices;
    EXPECT_EQ(rig.oscillatorsOf(c), 3);
    EXPECT_EQ(rig.oscillatorsOf(a) + rig.oscillatorsOf(b), 5);
    EXPECT_GE(std::min(rig.oscillatorsOf(a), rig.oscillatorsOf(b)), 2);
}

TEST(OscillatorPool, EndedVoiceHandsItsOscillatorsToTheOthersOrGoesIdle)
{
    EngineRig rig;
    rig.patch.envelopes[kVolumeEnv].releaseTime = 0.01f;
    rig.render(16);
    rig.play({{0, 0x90, 60, 100}, {0, 0x90, 64, 100}}, 256);
    Voice* second = rig.engine.activeVoices;
    Voice* first = second->next;
    rig.play({{0, 0x80, 64, 0}}, 44100 / 50);
    EXPECT_EQ(rig.engine.releasingCount, 0);
    EXPECT_EQ(rig.oscillatorsOf(first), 8);
    EXPECT_EQ(rig.oscillatorsOf(second), 0);
    int fading = 0;
    for (int i = 0; i < 8; ++i)
        fading += rig.engine.oscillators[i].fadeDirection == 1;
    EXPECT_EQ(fading, 4); // the newcomers fade in over the redistribution time
    rig.play({{0, 0x80, 60, 0}}, 44100 / 50);
    EXPECT_EQ(rig.engine.freeCount, 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(rig.engine.oscillators[i].voice, nullptr) << i;
}

TEST(OscillatorPool, LoweringTheCountFadesTheSurplusOutRaisingFadesNewcomersIn)
{
    EngineRig rig;
    rig.render(16);
    rig.play({{0, 0x90, 60, 100}}, 256);
    rig.patch.oscillatorCount = 3;
    rig.render(1);
    EXPECT_EQ(rig.settings.requestedCount, 3);
    EXPECT_EQ(rig.settings.liveCount, 8);
    rig.render(44100 * 41 / 100); // redistribution 400 ms
    EXPECT_EQ(rig.settings.liveCount, 3);
    EXPECT_EQ(rig.oscillatorsOf(rig.engine.activeVoices), 3);
    rig.patch.oscillatorCount = 6;
    rig.render(1);
    EXPECT_EQ(rig.settings.liveCount, 6);
    EXPECT_EQ(rig.oscillatorsOf(rig.engine.activeVoices), 6);
    EXPECT_EQ(rig.engine.oscillators[5].fadeDirection, 1);
}

TEST(Reseeding, DeterministicModeRestartsTheSameFlockAndPitchDependsWhenAsked)
{
    auto startOf = [](int32_t note, bool onPitch) {
        EngineRig rig;
        rig.patch.reseedMode = 2;
        rig.patch.seed = 1234;
        rig.patch.seedOnPitch = onPitch;
        rig.restart();
        rig.render(16);
        rig.play({{0, 0x90, static_cast<unsigned char>(note), 100}}, 1);
        std::vector<double> velocity;
        for (int d = 0; d < 5; ++d)
            velocity.push_back(rig.engine.oscillators[3].velocity(d));
        return velocity;
    };
    EXPECT_EQ(startOf(60, false), startOf(61, false));
    EXPECT_EQ(startOf(60, true), startOf(60, true));
    EXPECT_NE(startOf(60, true), startOf(61, true));
}

TEST(Reseeding, WithoutReseedTheFlockContinuesAndNothingIsDrawn)
{
    EngineRig rig;
    rig.render(16);
    rig.play({{0, 0x90, 60, 100}}, 100);
    rig.play({{0, 0x80, 60, 0}}, 44100 / 2);
    EXPECT_EQ(rig.engine.freeCount, 8);
    double before = rig.engine.oscillators[0].position(2);
    seedRandom(77);
    rig.play({{0, 0x90, 60, 100}}, 1);
    EXPECT_NE(rig.engine.oscillators[0].position(2), 0.0);
    EXPECT_NEAR(rig.engine.oscillators[0].position(2), before, 0.01);
    EXPECT_EQ(nextRandom(), (77u * 214013u + 2531011u) >> 16 & 0x7FFF);
}

TEST(Midi, ControllersGoThroughTheMapExceptTheResets)
{
    EngineRig rig;
    rig.play({{0, 0xB0, 7, 127}, {0, 0xB0, 7, 64}, {0, 0xB2, 2, 100}}, 4);
    ASSERT_EQ(rig.parameterChanges.size(), 2u);
    EXPECT_EQ(rig.parameterChanges[0].index, 0);
    EXPECT_FLOAT_EQ(rig.parameterChanges[0].value, 1.0f);
    EXPECT_NEAR(rig.parameterChanges[1].value, 0.503937f, 1e-6);
    rig.patch.midiMap[123] = 5;
    rig.patch.midiMap[9] = 5000; // out of range: ignored
    rig.play({{0, 0x90, 60, 100}, {2, 0xB0, 123, 0}, {3, 0xB0, 9, 1}}, 4);
    EXPECT_EQ(rig.engine.freeCount, 8);
    EXPECT_EQ(rig.parameterChanges.size(), 2u);
}

TEST(Midi, PitchBendSpansTheRange)
{
    EngineRig rig;
    rig.play({{0, 0xE0, 0, 0}}, 1);
    EXPECT_FLOAT_EQ(rig.settings.pitchBendTarget, -2.0f);
    rig.play({{0, 0xE0, 0x7F, 0x7F}}, 1);
    EXPECT_NEAR(rig.settings.pitchBendTarget, 1.99976f, 1e-5);
    rig.play({{0, 0xE0, 0x00, 0x40}}, 1);
    EXPECT_EQ(rig.settings.pitchBendTarget, 0.0f);
}

TEST(Midi, EventsPlayAtTheirSampleAndLateOnesWaitForTheNextBlock)
{
    EngineRig rig;
    rig.render(16);
    rig.play({{0, 0x90, 60, 100}, {40, 0x90, 62, 100}}, 32);
    EXPECT_EQ(rig.engine.activeCount, 1); // delta 40 is beyond a 32-sample block
    rig.render(40); // offsets count from each block's start: sample 40 is not reached
    EXPECT_EQ(rig.engine.activeCount, 1);
    rig.render(41);
    EXPECT_EQ(rig.engine.activeCount, 2);
    rig.send({{0, 0x90, 64, 100}});
    rig.send({}); // a new list replaces the old one
    rig.render(4);
    EXPECT_EQ(rig.engine.activeCount, 2);
}

TEST(Engine, SilentAndStillWithoutNotes)
{
    EngineRig rig;
    rig.render(4096);
    for (size_t i = 0; i < rig.left.size(); ++i)
        ASSERT_EQ(rig.left[i], 0.0f) << i;
    EXPECT_EQ(rig.engine.steerIndex, 0);
}

TEST(Engine, HostTempoIsClampedAndItsAbsenceSwitchesSyncOff)
{
    EngineRig rig;
    rig.patch.syncToHost = 1;
    rig.hostTempo = 300.0;
    rig.render(4);
    EXPECT_EQ(rig.patch.localBpm, 250);
    rig.hostTempo = 12.0;
    rig.render(4);
    EXPECT_EQ(rig.patch.localBpm, 30);
    EXPECT_EQ(rig.tempoChanges, 2);
    EXPECT_NEAR(rig.settings.lfoStep, 30 / 44100.0 * 8192.0 / 60.0, 1e-6);
    rig.hostTempo = 0.0;
    rig.render(4);
    EXPECT_EQ(rig.patch.syncToHost, 0);
}

namespace {
bool heldKeys[256];
bool fakeKeyState(int virtualKey)
{
    return heldKeys[virtualKey & 255];
}
} // namespace

TEST(ComputerKeyboard, PlaysTheTableOnlyWhileEnabledAndReleasesOnClose)
{
    EXPECT_EQ(ComputerKeyboard::keys[0].virtualKey, 'Z');
    EXPECT_EQ(ComputerKeyboard::keys[7].note, 47);  // A
    EXPECT_EQ(ComputerKeyboard::keys[21].note, 59); // 1
    EXPECT_EQ(ComputerKeyboard::keys[26].virtualKey, '7');
    EXPECT_EQ(ComputerKeyboard::keys[26].note, 70);

    EngineRig rig;
    rig.keySource = fakeKeyState;
    heldKeys[static_cast<int>('Q')] = true;
    rig.render(8); // editor closed: nothing
    EXPECT_EQ(rig.engine.activeCount, 0);
    rig.engine.keyPollEnabled = true;
    rig.render(8);
    ASSERT_EQ(rig.engine.activeCount, 1);
    EXPECT_EQ(rig.engine.activeVoices->note, 60);
    EXPECT_EQ(rig.engine.activeVoices->velocityGain, 96 * 0.0063f);
    rig.render(8); // still held: no second note
    EXPECT_EQ(rig.engine.activeCount, 1);
    heldKeys[static_cast<int>('Q')] = false;
    heldKeys[static_cast<int>('3')] = true;
    rig.render(8);
    EXPECT_EQ(rig.engine.activeCount, 1);
    EXPECT_EQ(rig.engine.activeVoices->note, 63);
    rig.engine.releaseComputerKeys();
    EXPECT_EQ(rig.engine.activeCount, 0);
    rig.patch.qwertyControl = 0;
    heldKeys[static_cast<int>('3')] = false;
    heldKeys[static_cast<int>('Z')] = true;
    rig.render(8);
    EXPECT_EQ(rig.engine.activeCount, 0);
    heldKeys[static_cast<int>('Z')] = false;
}

// A key still down when play from the computer keyboard stops (the option
// cleared, the editor closed) gets its note-off at the next block, and a key
// pressed again later plays anew once play resumes.
TEST(ComputerKeyboard, AKeyHeldWhenPlayStopsIsReleasedNotLeftSounding)
{
    EngineRig rig;
    rig.keySource = fakeKeyState;
    rig.engine.keyPollEnabled = true;
    heldKeys[static_cast<int>('W')] = true;
    rig.render(8);
    ASSERT_EQ(rig.engine.activeCount, 1);
    rig.patch.qwertyControl = 0;
    rig.render(8);
    EXPECT_EQ(rig.engine.activeCount, 0);
    EXPECT_EQ(rig.shownNotes, (std::vector<int32_t>{62, -63}));
    rig.render(8); // nothing more to release
    EXPECT_EQ(rig.shownNotes.size(), 2u);

    rig.patch.qwertyControl = 1;
    rig.render(8);
    ASSERT_EQ(rig.engine.activeCount, 1);
    rig.engine.keyPollEnabled = false;
    rig.render(8);
    EXPECT_EQ(rig.engine.activeCount, 0);
    heldKeys[static_cast<int>('W')] = false;
}

TEST(Engine, ScreenNoteChangesBecomeNoteOffThenNoteOn)
{
    EngineRig rig;
    rig.screenNote = 50;
    rig.render(4);
    rig.screenNote = 52;
    rig.render(4);
    EXPECT_EQ(rig.engine.activeCount, 1);
    EXPECT_EQ(rig.engine.activeVoices->note, 52);
    EXPECT_EQ(rig.shownNotes, (std::vector<int32_t>{50, -51, 52}));
}

TEST(Oscillator, OneOscillatorFliesTenBoxUnitsPerSecondAndBouncesExactly)
{
    EngineRig rig;
    rig.patch.oscillatorCount = 1;
    rig.patch.attract = rig.patch.repel = 0;
    rig.restart();
    rig.render(1);
    rig.play({{0, 0x90, 60, 100}}, 1);
    Oscillator& o = rig.engine.oscillators[0];
    double moved = 0.0;
    double last[5];
    for (int d = 0; d < 5; ++d)
        last[d] = o.position(d);
    for (int i = 0; i < 4410; ++i) {
        rig.render(1);
        double step2 = 0.0;
        for (int d = 0; d < 5; ++d) {
            ASSERT_LE(std::fabs(o.position(d)), 1.0);
            step2 += (o.position(d) - last[d]) * (o.position(d) - last[d]);
        }
        moved += std::sqrt(step2);
        for (int d = 0; d < 5; ++d)
            last[d] = o.position(d);
    }
    // 0.1 s at 10 units per second; wall contacts shorten a step a little.
    EXPECT_NEAR(moved, 1.0, 0.05);
    double length2 = 0.0;
    for (int d = 0; d < 5; ++d)
        length2 += o.velocity(d) * o.velocity(d);
    EXPECT_NEAR(length2, 1.0, 0.02);
}
