// The flock and the pool on the headless engine: walls, speed spread,
// steering kicks, pass order of the sharing, phase correlation, reseeding
// from the running sequence, count changes in quick succession, and the
// settings smoothing.
#include "EngineRig.h"
#include "Random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {
// A rig whose one oscillator flies alone (nothing to steer towards).
void soloFlight(EngineRig& rig)
{
    rig.patch.oscillatorCount = 1;
    rig.restart();
    rig.render(1);
    rig.play({{0, 0x90, 60, 100}}, 1);
}

double velocityLength2(const Oscillator& o)
{
    double sum = 0.0;
    for (int d = 0; d < 5; ++d)
        sum += o.velocity(d) * o.velocity(d);
    return sum;
}
} // namespace

TEST(Flock, OvershootStopsExactlyOnTheWallAndTurnsTheVelocity)
{
    EngineRig rig;
    soloFlight(rig);
    Oscillator& o = rig.engine.oscillators[0];
    o.position(0) = 0.99999;
    for (int d = 0; d < 5; ++d)
        o.velocity(d) = d == 0 ? 1.0 : 0.0;
    rig.render(1);
    EXPECT_EQ(o.position(0), 1.0);
    EXPECT_EQ(o.velocity(0), -1.0); // reflection 50: a mirror bounce, length 1
    EXPECT_NEAR(velocityLength2(o), 1.0, 1e-6);
    rig.render(1);
    EXPECT_LT(o.position(0), 1.0);
}

TEST(Flock, SpeedSpreadFromEvenToAllButTheLastStandingStill)
{
    EngineRig rig;
    const double period = 1.0 / 44100.0;
    rig.patch.stdDev = 0;
    rig.engine.applySpeedSpread();
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(rig.engine.oscillators[i].speedFactor(), static_cast<float>(period)) << i;
    rig.patch.stdDev = 25; // f = 0.5: from 0.5 to 1.5 of the voice's speed
    rig.engine.applySpeedSpread();
    EXPECT_NEAR(rig.engine.oscillators[0].speedFactor(), 0.5 * period, 1e-9);
    EXPECT_NEAR(rig.engine.oscillators[7].speedFactor(), 1.5 * period, 1e-9);
    rig.patch.stdDev = 100;
    rig.engine.applySpeedSpread();
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(rig.engine.oscillators[i].speedFactor(), 0.0f) << i;
    EXPECT_NEAR(rig.engine.oscillators[7].speedFactor(), 4.0 * period, 1e-9);
}

TEST(Flock, CollapsedVelocityIsKickedAlongTheScanAxis)
{
    EngineRig rig;
    soloFlight(rig);
    Oscillator& o = rig.engine.oscillators[0];
    for (int d = 0; d < 5; ++d)
        o.velocity(d) = 0.0;
    rig.engine.steerIndex = 0;
    rig.render(1);
    // Alone, the scan finds nobody; scanIndex 0 is even: axis 0 gets -1.
    EXPECT_EQ(o.scanIndex, 0);
    EXPECT_EQ(o.velocity(0), -1.0);
    for (int d = 1; d < 5; ++d)
        EXPECT_EQ(o.velocity(d), 0.0) << d;
}

TEST(Flock, VoiceSustainingAtZeroEndsOnceItsLevelFallsBelowAThousandth)
{
    EngineRig rig;
    PatchEnvelope& volume = rig.patch.envelopes[kVolumeEnv];
    volume.sustainLevel = 0.0f;
    volume.decayTime = 0.01f; // halves every 10 ms: 1 -> 0.001 in 10 halvings
    rig.render(16);
    rig.play({{0, 0x90, 60, 100}}, 1);
    Voice* v = rig.engine.activeVoices;
    const float attack = volume.attackTime;
    rig.render(static_cast<int32_t>(attack * 44100.0f) + 44100 / 10 - 441);
    EXPECT_EQ(rig.engine.activeCount, 1);
    rig.render(882);
    EXPECT_EQ(rig.engine.activeCount, 0);
    EXPECT_EQ(rig.engine.freeCount, 8);
    EXPECT_EQ(rig.oscillatorsOf(v), 0);
}

TEST(OscillatorPool, ANoteTakesTheOscillatorsOfReleasingVoicesFirst)
{
    EngineRig rig;
    rig.render(16);
    rig.play({{0, 0x90, 60, 100}}, 1);
    Voice* a = rig.engine.activeVoices;
    rig.play({{0, 0x90, 64, 100}}, 1);
    Voice* b = rig.engine.activeVoices;
    rig.play({{0, 0x80, 60, 0}}, 2); // a is releasing (its state follows next sample)
    ASSERT_EQ(a->state, Voice::kRelease);
    int32_t ofA[8], n = 0;
    for (int32_t i = 0; i < 8; ++i)
        if (rig.engine.oscillators[i].voice == a)
            ofA[n++] = i;
    ASSERT_EQ(n, 4);
    rig.play({{0, 0x90, 67, 100}}, 1);
    Voice* c = rig.engine.activeVoices;
    EXPECT_EQ(rig.oscillatorsOf(b), 4);
    EXPECT_EQ(rig.oscillatorsOf(c), 4);
    for (int32_t k = 0; k < n; ++k) {
        EXPECT_EQ(rig.engine.oscillators[ofA[k]].voice, c) << ofA[k];
        EXPECT_TRUE(rig.engine.oscillators[ofA[k]].gliding) << ofA[k];
    }
}

TEST(OscillatorPool, IdleOscillatorsStartInPhaseTakenOverOnesKeepTheirPhase)
{
    EngineRig rig;
    const double period = 1.0 / 44100.0;
    rig.render(16);
    rig.play({{0, 0x90, 60, 100}}, 1);
    for (const Oscillator& o : rig.engine.oscillators) {
        if (o.voice) { // one step from phase 0 at its own pitch
            EXPECT_EQ(o.phase(), rig.engine.tables.frequency(o.value(1)) * period);
        }
    }
    rig.render(999);
    double before[8];
    for (int i = 0; i < 8; ++i)
        before[i] = rig.engine.oscillators[i].phase();
    Voice* first = rig.engine.activeVoices;
    rig.play({{0, 0x90, 72, 100}}, 1);
    int takenOver = 0;
    for (int i = 0; i < 8; ++i) {
        const Oscillator& o = rig.engine.oscillators[i];
        if (o.voice == first)
            continue;
        ++takenOver;
        double moved = std::fabs(o.phase() - before[i]);
        EXPECT_LT(std::fmin(moved, 1.0 - moved), 0.05) << i; // continued, not restarted
    }
    EXPECT_EQ(takenOver, 4);
}

TEST(Reseeding, RandomModeDrawsFromTheRunningSequenceAtEveryAttachment)
{
    EngineRig rig;
    rig.patch.reseedMode = 1;
    rig.restart();
    rig.render(16);
    FlockState expectedState;
    Oscillator expected[8];
    for (int i = 0; i < 8; ++i)
        expected[i].bind(&expectedState, i);
    seedRandom(5);
    for (Oscillator& o : expected)
        o.randomise();
    seedRandom(5);
    rig.play({{0, 0x90, 60, 100}}, 1); // the note-on attaches 0..7 in order
    for (int i = 0; i < 8; ++i)
        for (int d = 0; d < 5; ++d)
            EXPECT_NEAR(rig.engine.oscillators[i].position(d), expected[i].position(d), 1e-3) << i;
}

TEST(OscillatorPool, RaisingTheCountWhileSurplusFadesOutLeavesNoStrayAttachments)
{
    EngineRig rig;
    rig.render(16);
    rig.play({{0, 0x90, 60, 100}}, 256);
    Voice* v = rig.engine.activeVoices;
    rig.patch.oscillatorCount = 3;
    rig.render(100); // 3..7 are fading out
    rig.patch.oscillatorCount = 5;
    rig.render(44100 * 3 / 2); // the gain follows 8 -> 5 at one count per 400 ms
    EXPECT_EQ(rig.settings.liveCount, 5);
    for (int i = 5; i < 64; ++i)
        EXPECT_EQ(rig.engine.oscillators[i].voice, nullptr) << i;
    EXPECT_EQ(v->oscCount, 5);
    EXPECT_EQ(rig.oscillatorsOf(v), 5);
    EXPECT_EQ(v->smoothedCount, 5.0f);
}

TEST(Settings, SteeringStepsFollowTheOscillatorsTakingPart)
{
    EngineRig rig;
    rig.render(1);
    const double period = 1.0 / 44100.0;
    EXPECT_NEAR(rig.settings.attractStep, 8 * rig.patch.attract * period * 0.03, 1e-9);
    EXPECT_NEAR(rig.settings.repelStep, 8 * rig.patch.repel * period * 0.01, 1e-9);
    EXPECT_GT(rig.settings.attractStep + rig.settings.repelStep, 0.0f);
}

TEST(Settings, HalfLifeZeroTakesNewValuesAtOnce)
{
    EngineRig rig;
    rig.patch.smoothingHalfLife = 0;
    rig.render(1); // taken over after this sample's smoothing
    EXPECT_EQ(rig.settings.smoothCoef, 1.0f);
    rig.render(1);
    EXPECT_EQ(rig.settings.volume, 100.0f);
    rig.patch.volumeHome = 37;
    rig.render(1);
    EXPECT_EQ(rig.settings.volume, 37.0f);

    rig.patch.smoothingHalfLife = -20; // damaged record: never diverges
    rig.patch.volumeHome = 60;
    rig.render(1);
    EXPECT_EQ(rig.settings.volume, 60.0f);
}

namespace {
// Every oscillator a sine at the note's pitch, in the middle, starting in
// phase: a voice's output is its oscillator count times the count gain.
void coherentFlock(EngineRig& rig, int32_t count, bool settle = true)
{
    rig.patch.oscillatorCount = count;
    rig.patch.volumeRange = rig.patch.pitchRange = rig.patch.panRange = 0;
    rig.patch.resonanceRange = rig.patch.noiseRange = 0;
    rig.patch.resonanceHome = rig.patch.noiseHome = rig.patch.panHome = 0;
    rig.patch.envelopes[kVolumeEnv].sustainLevel = 1.0f;
    rig.restart();
    if (settle)
        rig.render(16);
}

double tailRms(const std::vector<float>& x, size_t frames)
{
    double sum = 0.0;
    for (size_t i = x.size() - frames; i < x.size(); ++i)
        sum += static_cast<double>(x[i]) * x[i];
    return std::sqrt(sum / static_cast<double>(frames));
}
} // namespace

TEST(OscillatorPool, AVoiceThatLostOscillatorsToACountDropIsAsLoudAsOneStartedWithFewer)
{
    EngineRig lowered, fresh;
    coherentFlock(lowered, 8);
    coherentFlock(fresh, 3);
    lowered.play({{0, 0x90, 57, 100}}, 44100 / 4);
    fresh.play({{0, 0x90, 57, 100}}, 44100 / 4);
    lowered.patch.oscillatorCount = 3;
    // 400 ms fade-out, then the gain follows 8 -> 3 at one count per 400 ms.
    lowered.render(44100 * 5 / 2);
    fresh.render(44100 * 5 / 2);
    Voice* v = lowered.engine.activeVoices;
    EXPECT_EQ(v->oscCount, 3);
    EXPECT_EQ(v->smoothedCount, 3.0f);
    const double want = tailRms(fresh.left, 4410);
    ASSERT_GT(want, 0.05);
    EXPECT_NEAR(tailRms(lowered.left, 4410) / want, 1.0, 0.02);
}

TEST(OscillatorPool, TheFirstNoteAfterAResetHasItsFullFlockAndGainAtOnce)
{
    EngineRig first, later;
    coherentFlock(first, 8, false);
    coherentFlock(later, 8);
    first.play({{0, 0x90, 57, 100}}, 1); // on the very first sample
    later.play({{0, 0x90, 57, 100}}, 1);
    Voice* v = first.engine.activeVoices;
    EXPECT_EQ(v->oscCount, 8);
    EXPECT_EQ(v->smoothedCount, 8.0f);
    first.render(44100 / 2);
    later.render(44100 / 2);
    const double want = tailRms(later.left, 4410);
    ASSERT_GT(want, 0.05);
    EXPECT_NEAR(tailRms(first.left, 4410) / want, 1.0, 0.02);
}

TEST(Flock, DisplaySnapshotHoldsTheValuesAtTheStartOfTheBlock)
{
    EngineRig rig;
    rig.render(16);
    rig.play({{0, 0x90, 60, 100}, {0, 0x90, 67, 100}}, 3000);
    float values[8][5];
    for (int i = 0; i < 8; ++i)
        for (int d = 0; d < 5; ++d)
            values[i][d] = rig.engine.oscillators[i].value(d);
    const float volume = rig.settings.volume;
    rig.render(64);
    for (int i = 0; i < 8; ++i) {
        const Oscillator& o = rig.engine.oscillators[i];
        EXPECT_EQ(o.display[0], values[i][0] * volume * 0.01f) << i; // as heard
        EXPECT_EQ(o.display[1], values[i][1] / 128.0f) << i;
        for (int d = 2; d < 5; ++d)
            EXPECT_EQ(o.display[d], values[i][d]) << i;
    }
}

namespace {
PatchEnvelope ramp(float attack)
{
    PatchEnvelope e{};
    e.pointCount = 2;
    e.pointTime[1] = 1.0f;
    e.pointLevel[1] = 1.0f;
    e.sustainLevel = 0.5f;
    e.attackTime = attack;
    e.decayTime = 0.5f;
    e.releaseTime = 1.0f;
    return e;
}
} // namespace

TEST(EnvelopeEdits, AttackTimeStretchesWhatRemainsOfTheSegment)
{
    const float rate = 44100.0f;
    PatchEnvelope shape = ramp(1.0f);
    Envelope e;
    e.shape = &shape;
    e.start(rate);
    for (int i = 0; i < 22050; ++i)
        e.tick(rate);
    ASSERT_NEAR(e.value, 0.5f, 1e-4);
    shape.attackTime = 2.0f; // the remaining half now takes 1 s
    e.attackTimeChanged(rate);
    const int32_t left = e.remaining;
    EXPECT_NEAR(left, 44100, 10);
    for (int32_t i = 0; i < left; ++i)
        e.tick(rate);
    EXPECT_EQ(e.stage, Envelope::kAttack);
    EXPECT_NEAR(e.value, 1.0f, 1e-3);
    EXPECT_EQ(e.tick(rate), 1.0f);
    EXPECT_EQ(e.stage, Envelope::kDecay);

    // Sustain and decay edits while sustaining: a new target, a new pace.
    shape.sustainLevel = 0.2f;
    e.sustainLevelChanged();
    shape.decayTime = 0.25f;
    e.decayTimeChanged(rate);
    for (int i = 0; i < 11025; ++i)
        e.tick(rate);
    EXPECT_NEAR(e.value, 0.6f, 1e-3); // 0.8 above the target, halved once

    // Release level edits re-aim the ramp so it still ends on time.
    e.release(rate);
    for (int i = 0; i < 22050; ++i)
        e.tick(rate);
    shape.releaseLevel = 0.4f;
    e.releaseLevelChanged();
    for (int i = 0; i < 22050; ++i)
        e.tick(rate);
    EXPECT_NEAR(e.value, 0.4f, 1e-3);
    e.tick(rate);
    e.tick(rate);
    EXPECT_EQ(e.stage, Envelope::kFinished);
    EXPECT_EQ(e.value, 0.4f);
}

TEST(Flock, SquareSpeedLfoFliesAtTwiceTheSpeedHalfTheCycleAndStandsStillTheOtherHalf)
{
    EngineRig rig;
    rig.patch.lfoDepth = 100;
    rig.patch.lfoSine = 0;
    rig.patch.lfoMeasure = 4; // one cycle per beat: 0.5 s at 120 BPM
    rig.patch.localBpm = 120;
    soloFlight(rig);
    Oscillator& o = rig.engine.oscillators[0];
    int still = 0;
    int firstStill = -1;
    auto place = [&o] {
        std::vector<double> p;
        for (int d = 0; d < 5; ++d)
            p.push_back(o.position(d));
        return p;
    };
    std::vector<double> last = place();
    for (int i = 0; i < 44100; ++i) {
        rig.render(1);
        const std::vector<double> now = place();
        if (now == last) {
            ++still;
            if (firstStill < 0)
                firstStill = i;
        }
        last = now;
    }
    // The phase starts at 2048, where the fast half begins: half a cycle
    // (0.25 s) later it stops, and after two cycles it flies again at twice
    // the speed of 10 units per second.
    EXPECT_NEAR(firstStill, 44100 / 4, 4);
    EXPECT_NEAR(still, 44100 / 2, 8);
    EXPECT_NEAR(rig.engine.activeVoices->speed, 20.0f, 1e-3);
}

TEST(OscillatorPool, SharesAreTakenInIndexOrderFromTheRotatingIndex)
{
    EngineRig rig;
    rig.render(16);
    rig.play({{0, 0x90, 60, 100}}, 1);
    Voice* a = rig.engine.activeVoices;
    rig.play({{0, 0x90, 64, 100}}, 1);
    Voice* b = rig.engine.activeVoices;
    rig.play({{0, 0x90, 67, 100}}, 1);
    Voice* c = rig.engine.activeVoices;
    // b took 0..3 from a (quota 4); c (quota 3) went on from index 4: 4 and
    // 5 while a still held 3 or more, then 0 from b, which held 4.
    const Voice* expected[8] = {c, b, b, b, c, c, a, a};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(rig.engine.oscillators[i].voice, expected[i]) << i;
    EXPECT_EQ(rig.engine.redistributeIndex, 1);
}

TEST(Reseeding, OscillatorsStartFromTheSequenceThatContinuesAfterTheNoiseTable)
{
    SynthSettings settings;
    SynthEngine engine(settings);
    seedRandom(0);
    for (int i = 0; i < 2 * SynthTables::kWave; ++i)
        nextRandom();
    FlockState expectedState;
    for (int i = 0; i < SynthEngine::kOscillators; ++i) {
        Oscillator expected;
        expected.bind(&expectedState, 0);
        expected.randomise();
        for (int d = 0; d < 5; ++d) {
            ASSERT_EQ(engine.oscillators[i].position(d), expected.position(d)) << i;
            ASSERT_EQ(engine.oscillators[i].velocity(d), expected.velocity(d)) << i;
        }
    }
}

TEST(OscillatorPool, TheViewLearnsOfEveryNewVoiceOnceFromTheTopDown)
{
    EngineRig rig;
    rig.render(16);
    rig.changedOscillators.clear();
    rig.play({{0, 0x90, 60, 100}}, 1);
    EXPECT_EQ(rig.changedOscillators, (std::vector<int32_t>{7, 6, 5, 4, 3, 2, 1, 0}));
    rig.changedOscillators.clear();
    rig.render(500); // a held note changes nobody's voice
    EXPECT_TRUE(rig.changedOscillators.empty());
    rig.play({{0, 0x90, 64, 100}}, 1); // the second voice takes 0..3
    EXPECT_EQ(rig.changedOscillators, (std::vector<int32_t>{3, 2, 1, 0}));

    // Four fade out and leave (no news), then come back on the held voices.
    rig.changedOscillators.clear();
    rig.patch.oscillatorCount = 4;
    rig.render(44100 / 2);
    for (int i = 4; i < 8; ++i)
        EXPECT_EQ(rig.engine.oscillators[i].voice, nullptr) << i;
    EXPECT_TRUE(rig.changedOscillators.empty());
    rig.patch.oscillatorCount = 8;
    rig.render(1);
    EXPECT_EQ(rig.changedOscillators, (std::vector<int32_t>{7, 6, 5, 4}));
    rig.changedOscillators.clear();
    rig.render(100);
    EXPECT_TRUE(rig.changedOscillators.empty());
}
