// A held voice whose envelopes have come to rest skips their ticks and keeps
// its home point, ranges, speed and count gain until an input changes. These
// tests hold that it still follows every change: edits of a resting
// envelope, settings and tuning moved under a resting voice, the oscillator
// count shared anew, and a voice that rests and is then taken for a new
// note. Where a twin engine can reach the same moment by another path, the
// two voices must agree bit for bit.
#include "EngineRig.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
// Every envelope attacks and decays within a few milliseconds, so a held
// note is at rest after a few hundred samples.
void useQuickEnvelopes(Patch& patch)
{
    for (PatchEnvelope& e : patch.envelopes) {
        e.attackTime = 0.002f;
        e.decayTime = 0.001f;
        e.releaseTime = 0.002f;
    }
    patch.smoothingHalfLife = 0; // settings take new values at once
    patch.panRange = 50;
    patch.lfoDepth = 40;
}

const Voice* voiceFor(const SynthEngine& engine, int32_t note)
{
    for (const Voice* v = engine.activeVoices; v; v = v->next)
        if (v->note == note)
            return v;
    return nullptr;
}

bool allAtRest(const Voice& v)
{
    for (const Envelope& e : v.envelopes)
        if (!e.atRest())
            return false;
    return true;
}

template <typename T> bool sameBits(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The sound state the oscillators read, and the envelopes behind it.
void expectSameSoundState(const Voice& a, const Voice& b)
{
    for (int d = 0; d < 5; ++d)
        EXPECT_TRUE(sameBits(a.home[d], b.home[d]))
            << "home point " << d << ": " << a.home[d] << " / " << b.home[d];
    EXPECT_TRUE(sameBits(a.range, b.range)) << "ranges";
    EXPECT_TRUE(sameBits(a.speed, b.speed)) << "speed " << a.speed << " / " << b.speed;
    EXPECT_TRUE(sameBits(a.oscillatorGain, b.oscillatorGain)) << "count gain";
    EXPECT_EQ(a.state, b.state);
    for (int k = 0; k < kEnvelopeCount; ++k) {
        EXPECT_EQ(a.envelopes[k].stage, b.envelopes[k].stage) << "envelope " << k;
        EXPECT_TRUE(sameBits(a.envelopes[k].value, b.envelopes[k].value)) << "envelope " << k;
    }
}
} // namespace

TEST(VoiceAtRest, AnEditedSustainLevelWakesASettledDecay)
{
    EngineRig rig;
    useQuickEnvelopes(rig.patch);
    rig.restart();
    rig.play({{0, 0x90, 60, 100}}, 2000);
    const Voice* v = voiceFor(rig.engine, 60);
    ASSERT_NE(v, nullptr);
    ASSERT_TRUE(allAtRest(*v));
    EXPECT_FLOAT_EQ(v->range[2], 0.25f); // level 1 x pan range 50 %

    // The editor moves the sustain level of the resting pan range envelope.
    rig.patch.envelopes[kPanRangeEnv].sustainLevel = 0.2f;
    rig.engine.sustainLevelChanged(kPanRangeEnv);
    rig.render(1); // it moves on the very next sample
    EXPECT_LT(v->envelopes[kPanRangeEnv].value, 1.0f);
    rig.render(1000); // some 20 decay times
    EXPECT_NEAR(v->envelopes[kPanRangeEnv].value, 0.2f, 1e-4f);
    EXPECT_NEAR(v->range[2], 0.05f, 1e-4f);
    EXPECT_TRUE(allAtRest(*v)) << "the decay settles again at its new level";

    // The same for a home envelope, through the level of its range.
    rig.patch.envelopes[kPitchEnv].range = 2;
    rig.engine.pointLevelChanged(kPitchEnv);
    rig.render(1000);
    EXPECT_NEAR(v->home[1], 60.0f, 1e-4f); // sustain 0.5: the middle of -2..+2
    rig.patch.envelopes[kPitchEnv].sustainLevel = 1.0f;
    rig.engine.sustainLevelChanged(kPitchEnv);
    rig.render(1000);
    EXPECT_NEAR(v->home[1], 62.0f, 1e-4f);
}

TEST(VoiceAtRest, SettingsChangedUnderARestingVoiceGiveTheStateOfAVoiceThatHadThemAllAlong)
{
    auto change = [](EngineRig& rig) {
        rig.patch.fineTune = 37;
        rig.patch.coarseTune = -5;
        rig.patch.panRange = 80;
        rig.patch.noiseRange = 30;
        rig.patch.pitchRange = 60;
        rig.patch.resonanceHome = 25;
        rig.patch.speed = 70;
        rig.patch.lfoSine = 0;
    };
    EngineRig late, early;
    for (EngineRig* rig : {&late, &early}) {
        useQuickEnvelopes(rig->patch);
        rig->patch.envelopes[kPitchRangeEnv].sustainLevel = 0.7f;
        rig->restart();
    }
    change(early);
    early.play({{0, 0xE0, 0x11, 0x55}, {0, 0x90, 64, 90}}, 3000); // pitch bend, note

    late.play({{0, 0x90, 64, 90}}, 1000);
    const Voice* resting = voiceFor(late.engine, 64);
    ASSERT_NE(resting, nullptr);
    ASSERT_TRUE(allAtRest(*resting));
    change(late);
    late.play({{0, 0xE0, 0x11, 0x55}}, 2000);

    const Voice* fresh = voiceFor(early.engine, 64);
    ASSERT_NE(fresh, nullptr);
    expectSameSoundState(*resting, *fresh);
    EXPECT_EQ(resting->lfoPhase, fresh->lfoPhase);
}

TEST(VoiceAtRest, TheCountGainFollowsTheCountOfARestingVoice)
{
    EngineRig rig;
    useQuickEnvelopes(rig.patch);
    rig.patch.oscillatorCount = 8;
    rig.restart();
    const SynthTables& tables = rig.engine.tables;
    rig.play({{0, 0x90, 60, 100}}, 2000);
    const Voice* v = voiceFor(rig.engine, 60);
    ASSERT_NE(v, nullptr);
    ASSERT_TRUE(allAtRest(*v));
    EXPECT_EQ(v->oscillatorGain, tables.gain(8.0f));

    // More oscillators fade in: the count glides up and the gain follows it
    // on every sample, down to the end of the glide.
    rig.patch.oscillatorCount = 12;
    rig.render(1);
    EXPECT_TRUE(v->countSmoothing);
    bool followed = true;
    for (int i = 0; i < 10 * 44100 && v->countSmoothing; ++i) {
        rig.render(1);
        followed = followed && v->oscillatorGain == tables.gain(v->smoothedCount);
    }
    EXPECT_TRUE(followed);
    EXPECT_FALSE(v->countSmoothing);
    EXPECT_EQ(v->smoothedCount, 12.0f);
    EXPECT_EQ(v->oscillatorGain, tables.gain(12.0f));

    rig.patch.oscillatorCount = 5;
    rig.render(10 * 44100);
    EXPECT_EQ(v->smoothedCount, 5.0f);
    EXPECT_EQ(v->oscillatorGain, tables.gain(5.0f));
}

TEST(VoiceAtRest, AVoiceThatRestedAndEndedSoundsLikeANewOneForItsNextNote)
{
    EngineRig reused, unused;
    for (EngineRig* rig : {&reused, &unused}) {
        useQuickEnvelopes(rig->patch);
        rig->restart();
    }
    reused.play({{0, 0x90, 50, 20}}, 1000);
    const Voice* earlier = voiceFor(reused.engine, 50);
    ASSERT_NE(earlier, nullptr);
    ASSERT_TRUE(allAtRest(*earlier));
    reused.play({{0, 0x80, 50, 0}}, 1000); // released, finished and freed
    ASSERT_EQ(reused.engine.activeVoices, nullptr);
    ASSERT_EQ(reused.engine.releasingVoices, nullptr);

    reused.play({{0, 0x90, 72, 127}}, 1500);
    unused.play({{0, 0x90, 72, 127}}, 1500);
    const Voice* again = voiceFor(reused.engine, 72);
    const Voice* first = voiceFor(unused.engine, 72);
    ASSERT_EQ(again, earlier) << "the freed voice is the first one taken";
    ASSERT_NE(first, nullptr);
    expectSameSoundState(*again, *first);
}
