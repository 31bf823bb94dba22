// The generator and random patches: sequence, per-thread state, draw order
// (checked against an independent generator) and the limits of every field.
#include "RandomPatch.h"
#include "Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <thread>

namespace {
// An independent copy of the generator, so the tests do not check the
// code against itself.
struct Lcg {
    uint32_t state;
    int32_t next()
    {
        state = state * 214013u + 2531011u;
        return static_cast<int32_t>((state >> 16) & 0x7FFF);
    }
};

Patch randomPatch(int32_t r0)
{
    Patch patch;
    newPatch(patch);
    fillRandomPatchFromDraw(patch, r0);
    return patch;
}
} // namespace

TEST(Random, SequenceAfterSeedingOne)
{
    seedRandom(1);
    EXPECT_EQ(nextRandom(), 41);
    EXPECT_EQ(nextRandom(), 18467);
    EXPECT_EQ(nextRandom(), 6334);
}

TEST(Random, EachThreadHasItsOwnStateStartingAtOne)
{
    seedRandom(12345);
    const int32_t expected = Lcg{12345}.next();
    int32_t firstInFreshThread = -1;
    std::thread other([&] {
        firstInFreshThread = nextRandom();
        seedRandom(99); // must not disturb the main thread
        nextRandom();
    });
    other.join();
    EXPECT_EQ(firstInFreshThread, 41);
    EXPECT_EQ(nextRandom(), expected);
}

TEST(RandomPatch, NameShowsTheFirstDrawInHex)
{
    EXPECT_STREQ(randomPatch(6699).name, "random patch #1A2B");
    EXPECT_STREQ(randomPatch(0).name, "random patch #0");
    EXPECT_STREQ(randomPatch(32767).name, "random patch #7FFF");

    // Without a given draw the running sequence provides it.
    Patch patch;
    newPatch(patch);
    seedRandom(1);
    fillRandomPatch(patch);
    EXPECT_STREQ(patch.name, "random patch #29"); // 41
}

TEST(RandomPatch, IsAPureFunctionOfTheFirstDrawAndKeepsOtherFields)
{
    Patch a = randomPatch(6699);
    Patch b;
    newPatch(b);
    b.volumeHome = 7;
    b.fineTune = -33;
    b.smoothingHalfLife = 250;
    b.animateHyperspace = 0;
    b.animateKeyboard = 0;
    b.midiMap[3] = 42;
    b.pitchBendRange = 12;
    b.localBpm = 90;
    b.syncToHost = 0;
    b.qwertyControl = 0;
    b.oscillatorCount = 60;
    b.envelopes[kNoiseEnv].pointCount = 10;
    seedRandom(777); // unrelated state before the call
    fillRandomPatchFromDraw(b, 6699);

    EXPECT_EQ(b.volumeHome, 7);
    EXPECT_EQ(b.fineTune, -33);
    EXPECT_EQ(b.smoothingHalfLife, 250);
    EXPECT_EQ(b.animateHyperspace, 0);
    EXPECT_EQ(b.animateKeyboard, 0);
    EXPECT_EQ(b.midiMap[3], 42);
    EXPECT_EQ(b.pitchBendRange, 12);
    EXPECT_EQ(b.localBpm, 90);
    EXPECT_EQ(b.syncToHost, 0);
    EXPECT_EQ(b.qwertyControl, 0);

    // With the kept fields put back, the records are identical, including
    // the envelope points beyond the random count.
    b.volumeHome = a.volumeHome;
    b.fineTune = a.fineTune;
    b.smoothingHalfLife = a.smoothingHalfLife;
    b.animateHyperspace = a.animateHyperspace;
    b.animateKeyboard = a.animateKeyboard;
    b.midiMap[3] = a.midiMap[3];
    b.pitchBendRange = a.pitchBendRange;
    b.localBpm = a.localBpm;
    b.syncToHost = a.syncToHost;
    b.qwertyControl = a.qwertyControl;
    for (int d = 0; d < kEnvelopeCount; ++d)
        for (int i = a.envelopes[d].pointCount; i < 10; ++i) {
            b.envelopes[d].pointTime[i] = a.envelopes[d].pointTime[i];
            b.envelopes[d].pointLevel[i] = a.envelopes[d].pointLevel[i];
        }
    EXPECT_EQ(std::memcmp(&a, &b, sizeof(Patch)), 0);
}

// The first 26 draws after the reseed set the scalar sound fields, in the
// order the fields are listed; the last three set the LFO.
TEST(RandomPatch, DrawsInTheDocumentedOrder)
{
    for (int32_t r0 : {1, 6699, 31337}) {
        const Patch p = randomPatch(r0);
        Lcg g{static_cast<uint32_t>(r0)};
        auto sq = [&](int m) {
            int a = g.next() % m;
            return a * (g.next() % m);
        };
        EXPECT_EQ(p.coarseTune, (g.next() % 5 - 2) * 12);
        EXPECT_EQ(p.panHome, g.next() % 201 - 100);
        EXPECT_EQ(p.resonanceHome, sq(11));
        EXPECT_EQ(p.noiseHome, sq(11));
        EXPECT_EQ(p.volumeRange, g.next() % 101);
        EXPECT_EQ(p.pitchRange, sq(11));
        EXPECT_EQ(p.panRange, g.next() % 101);
        EXPECT_EQ(p.resonanceRange, g.next() % 101);
        EXPECT_EQ(p.noiseRange, g.next() % 101);
        EXPECT_EQ(p.lowpassCutoff, g.next() % 50 + 50);
        EXPECT_EQ(p.filterQ, sq(10));
        EXPECT_EQ(p.filterDepth, g.next() % 3);
        EXPECT_EQ(p.overdrive, sq(11));
        EXPECT_EQ(p.speed, g.next() % 101);
        EXPECT_EQ(p.stdDev, sq(11));
        EXPECT_EQ(p.reflection, g.next() % 80 + 10);
        EXPECT_EQ(p.attract, g.next() % 100);
        EXPECT_EQ(p.repel, g.next() % (p.attract + 1));
        EXPECT_EQ(p.proximity, sq(11));

        // Volume envelope: count, levels, sustain, release, three times, range.
        const PatchEnvelope& v = p.envelopes[kVolumeEnv];
        int a = g.next() % 3;
        EXPECT_EQ(v.pointCount, a * (g.next() % 2) + 2);
        for (int i = 0; i < v.pointCount; ++i) {
            float level = static_cast<float>((g.next() & 4095) * double(0.00024420026f));
            if (i > 0) {
                EXPECT_EQ(v.pointLevel[i], level);
            }
        }
        EXPECT_EQ(v.sustainLevel, static_cast<float>((g.next() & 4095) * double(0.00024420026f)));
        g.next(); // release level, zeroed for the volume envelope
        EXPECT_EQ(v.releaseLevel, 0.0f);
        EXPECT_EQ(v.pointLevel[0], 0.0f);
        const double u = (g.next() & 4095) * double(0.00024420026f);
        EXPECT_EQ(v.attackTime,
                  static_cast<float>(u * double(g.next() & 4095) * double(0.0004884005f)));

        // Skip to the end: 12 + n draws per envelope were used in all (the
        // volume envelope's attack time has taken 2 of its 6 time draws).
        int remaining = 4 + 2;
        for (int d = 1; d < kEnvelopeCount; ++d)
            remaining += 12 + p.envelopes[d].pointCount;
        remaining += 5 + 2 + 20 + 5 + 2 + 4;
        while (remaining-- > 0)
            g.next();
        EXPECT_EQ(p.lfoDepth, g.next() % 100);
        EXPECT_EQ(p.lfoMeasure, g.next() % 9);
        EXPECT_EQ(p.lfoSine, (g.next() & 1) == 0 ? 1 : 0);
    }
}

// Every draw of an envelope, replayed with the independent generator. Each
// time is the level draw times the time draw times 2/4095, converted to
// float once: a level rounded to float first is off by one bit in about a
// quarter of all times.
TEST(RandomPatch, EnvelopeDrawsAndTimesConvertedOnce)
{
    const double levelStep = 0.00024420026f, timeStep = 0.0004884005f;
    for (uint32_t seed = 0; seed < 3000; ++seed) {
        for (bool isVolume : {false, true}) {
            PatchEnvelope e;
            std::memset(&e, 0, sizeof e);
            seedRandom(seed);
            randomiseEnvelope(e, isVolume, 24);
            Lcg g{seed};
            auto level = [&] { return (g.next() & 4095) * levelStep; };
            const int a = g.next() % 3;
            const int n = a * (g.next() % 2) + 2;
            ASSERT_EQ(e.pointCount, n) << seed;
            for (int i = 0; i < n; ++i) {
                const float l = static_cast<float>(level());
                ASSERT_EQ(e.pointLevel[i], (isVolume && i == 0) ? 0.0f : l) << seed << " " << i;
                ASSERT_EQ(e.pointTime[i], static_cast<float>(i) / static_cast<float>(n - 1));
            }
            ASSERT_EQ(e.sustainLevel, static_cast<float>(level())) << seed;
            const float release = static_cast<float>(level());
            ASSERT_EQ(e.releaseLevel, isVolume ? 0.0f : release) << seed;
            for (float time : {e.attackTime, e.decayTime, e.releaseTime}) {
                const double u = level();
                ASSERT_EQ(time, static_cast<float>(u * (g.next() & 4095) * timeStep)) << seed;
            }
            const int range = g.next() % 25;
            ASSERT_EQ(e.range, range * (g.next() % 2)) << seed;
            ASSERT_EQ(nextRandom(), g.next()) << seed; // no draw more, none fewer
        }
    }
}

TEST(RandomPatch, EveryFirstDrawGivesFieldsWithinTheirLimits)
{
    static const int maxRange[kEnvelopeCount] = {1, 24, 100, 50, 50, 1, 1, 1, 1, 1, 1};
    int fourPoints = 0, sixteenOscillators = 0;
    for (int32_t r0 = 0; r0 <= 32767; ++r0) {
        const Patch p = randomPatch(r0);
        ASSERT_GE(p.oscillatorCount, 1) << r0;
        ASSERT_LE(p.oscillatorCount, 16) << r0;
        sixteenOscillators += p.oscillatorCount == 16;
        ASSERT_LE(p.repel, p.attract) << r0;
        ASSERT_GE(p.repel, 0) << r0;
        ASSERT_TRUE(p.redistributionTime >= 1 && p.redistributionTime <= 10) << r0;
        ASSERT_TRUE(p.portamentoTime >= 1 && p.portamentoTime <= 10) << r0;
        ASSERT_TRUE(p.coarseTune >= -24 && p.coarseTune <= 24 && p.coarseTune % 12 == 0);
        ASSERT_TRUE(p.trailLength >= 1 && p.trailLength <= 17) << r0;
        ASSERT_TRUE(p.reseedMode >= 0 && p.reseedMode <= 2) << r0;
        for (float angle : p.viewRotation)
            ASSERT_TRUE(angle >= -0.3400001f && angle <= 0.3400001f) << r0;
        int sorted[kAxisCount];
        std::copy(p.axisOrder, p.axisOrder + kAxisCount, sorted);
        std::sort(sorted, sorted + kAxisCount);
        for (int i = 0; i < kAxisCount; ++i)
            ASSERT_EQ(sorted[i], i) << r0;
        for (int d = 0; d < kEnvelopeCount; ++d) {
            const PatchEnvelope& e = p.envelopes[d];
            ASSERT_TRUE(e.pointCount >= 2 && e.pointCount <= 4) << r0;
            fourPoints += e.pointCount == 4;
            ASSERT_EQ(e.pointTime[0], 0.0f);
            ASSERT_EQ(e.pointTime[e.pointCount - 1], 1.0f);
            for (int i = 0; i < e.pointCount; ++i)
                ASSERT_TRUE(e.pointLevel[i] >= 0.0f && e.pointLevel[i] <= 1.0f) << r0;
            for (float t : {e.attackTime, e.decayTime, e.releaseTime})
                ASSERT_TRUE(t >= 0.0f && t <= 2.0f) << r0;
            ASSERT_TRUE(e.range >= 0 && e.range <= maxRange[d]) << r0 << " " << d;
        }
        ASSERT_EQ(p.envelopes[kVolumeEnv].pointLevel[0], 0.0f);
        ASSERT_EQ(p.envelopes[kVolumeEnv].releaseLevel, 0.0f);
    }
    EXPECT_GT(fourPoints, 0);
    EXPECT_GT(sixteenOscillators, 0);
}
