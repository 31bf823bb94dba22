// Things that must come to rest on the headless engine: a voice's smoothed
// oscillator count under any sequence of notes and count changes, the live
// range after a count drop with nothing sounding, and the smoothed settings
// (with the filter designs they cause) at long half-lives.
#include "EngineRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {
bool onList(const Voice* list, const Voice* v)
{
    for (; list; list = list->next)
        if (list == v)
            return true;
    return false;
}

// The span of oscillator counts a voice has held since its note began; its
// smoothed count must stay inside it.
struct CountSpan {
    bool open = false;
    float low = 0.0f, high = 0.0f;
};
} // namespace

TEST(CountSmoothing, RandomNotesAndCountChangesKeepEveryVoiceBetweenItsCountsAndSettle)
{
    const unsigned seed = 90210;
    std::mt19937 random(seed);
    EngineRig rig(11025.0); // a quarter of the samples, the same timing in seconds
    rig.patch.envelopes[kVolumeEnv].sustainLevel = 1.0f;
    rig.patch.envelopes[kVolumeEnv].releaseTime = 0.05f;
    rig.restart();
    SynthEngine& engine = rig.engine;
    CountSpan spans[SynthEngine::kVoices];
    std::vector<int> held;
    float l = 0.0f, r = 0.0f;
    auto sample = [&](const char* phase) {
        engine.process(&l, &r, 1, -1, nullptr);
        for (int k = 0; k < SynthEngine::kVoices; ++k) {
            const Voice& v = engine.voices[k];
            CountSpan& span = spans[k];
            if (!onList(engine.activeVoices, &v) && !onList(engine.releasingVoices, &v)) {
                span.open = false;
                continue;
            }
            const float count = static_cast<float>(v.oscCount);
            if (!span.open) {
                span = {true, v.smoothedCount, v.smoothedCount};
            }
            span.low = std::min(span.low, count);
            span.high = std::max(span.high, count);
            // One step of slack: a count held only between two samples is
            // not seen here.
            const float slack = rig.settings.fadeStep;
            ASSERT_GE(v.smoothedCount, span.low - slack)
                << "seed " << seed << " " << phase << " voice " << k << " count " << v.oscCount;
            ASSERT_LE(v.smoothedCount, span.high + slack)
                << "seed " << seed << " " << phase << " voice " << k << " count " << v.oscCount;
        }
    };
    for (int event = 0; event < 400; ++event) {
        const int choice = static_cast<int>(random() % 10);
        if (choice < 4 && held.size() < 6) {
            int note = 40 + static_cast<int>(random() % 40);
            held.push_back(note);
            rig.send({{0, 0x90, static_cast<unsigned char>(note), 100}});
        } else if (choice < 7 && !held.empty() && event < 370) { // ends with notes held
            size_t which = random() % held.size();
            rig.send({{0, 0x80, static_cast<unsigned char>(held[which]), 0}});
            held.erase(held.begin() + static_cast<long>(which));
        } else if (choice < 9) {
            rig.patch.oscillatorCount = 1 + static_cast<int32_t>(random() % 16);
        } else {
            // 1 to 4000 ms, spread evenly over the decades.
            double ms = std::pow(10.0, (random() % 1000) * 0.001 * std::log10(4000.0));
            rig.patch.redistributionTime = static_cast<int32_t>(ms);
        }
        const int frames = 200 + static_cast<int>(random() % 4000);
        for (int i = 0; i < frames; ++i) {
            sample("playing");
            if (HasFatalFailure())
                return;
        }
    }
    // Quick redistribution from here on: every smoothing still running must
    // reach its voice's count and stop there within 64 steps of a count.
    rig.patch.redistributionTime = 1;
    for (int i = 0; i < 11025 / 10; ++i) {
        sample("settling");
        if (HasFatalFailure())
            return;
    }
    int sounding = 0;
    for (int k = 0; k < SynthEngine::kVoices; ++k) {
        const Voice& v = engine.voices[k];
        if (!onList(engine.activeVoices, &v) && !onList(engine.releasingVoices, &v))
            continue; // a free voice is not updated
        ++sounding;
        EXPECT_FALSE(v.countSmoothing) << "seed " << seed << " voice " << k;
    }
    EXPECT_GT(sounding, 0);
}

TEST(CountSmoothing, AVoiceGivenBackTheCountItHadStopsThere)
{
    EngineRig rig;
    rig.patch.envelopes[kVolumeEnv].sustainLevel = 1.0f; // redistribution 400 ms
    rig.restart();
    rig.play({{0, 0x90, 60, 100}}, 4410);
    Voice* held = rig.engine.activeVoices;
    rig.play({{0, 0x90, 64, 100}}, 4410); // takes 4 of 8; the held voice keeps 8
    EXPECT_EQ(held->oscCount, 4);
    EXPECT_EQ(held->smoothedCount, 8.0f);
    rig.play({{0, 0x80, 64, 0}}, 44100); // the 4 come back: 8 again
    EXPECT_EQ(held->oscCount, 8);
    EXPECT_EQ(held->smoothedCount, 8.0f);
    EXPECT_FALSE(held->countSmoothing);
}

TEST(CountSmoothing, AVoiceRobbedWhileSmoothingUpwardsTurnsBackToItsCount)
{
    EngineRig rig;
    rig.patch.envelopes[kVolumeEnv].sustainLevel = 1.0f;
    rig.patch.redistributionTime = 100;
    rig.restart();
    rig.play({{0, 0x90, 60, 100}}, 4410);
    Voice* held = rig.engine.activeVoices;
    rig.patch.oscillatorCount = 16;
    rig.render(4410); // 8 newcomers: smoothing from 8 towards 16, one count per 0.1 s
    ASSERT_TRUE(held->countSmoothing);
    const float reached = held->smoothedCount;
    EXPECT_GT(reached, 8.5f);
    rig.play({{0, 0x90, 64, 100}}, 1); // takes 8 of 16
    EXPECT_EQ(held->oscCount, 8);
    rig.render(44100);
    EXPECT_EQ(held->smoothedCount, 8.0f);
    EXPECT_FALSE(held->countSmoothing);
}

TEST(OscillatorPool, ACountDropWithNothingSoundingTakesEffectAtOnce)
{
    EngineRig rig;
    rig.patch.oscillatorCount = 16;
    rig.restart();
    rig.play({{0, 0x90, 60, 100}, {100, 0x80, 60, 0}}, 44100); // played and ended
    ASSERT_EQ(rig.engine.activeVoices, nullptr);
    ASSERT_EQ(rig.engine.releasingVoices, nullptr);
    const float attractAt16 = rig.settings.attractStep;
    rig.patch.oscillatorCount = 4;
    rig.render(64);
    EXPECT_EQ(rig.settings.requestedCount, 4);
    EXPECT_EQ(rig.settings.liveCount, 4);
    EXPECT_FLOAT_EQ(rig.settings.attractStep, attractAt16 / 4.0f);
    for (int i = 4; i < 16; ++i)
        EXPECT_EQ(rig.engine.oscillators[i].voice, nullptr) << i;

    // Lowered while a note fades: the surplus fades with it, and the voice's
    // end takes the rest out of the live range.
    rig.patch.oscillatorCount = 16;
    rig.play({{0, 0x90, 60, 100}, {4410, 0x80, 60, 0}}, 4410);
    rig.patch.oscillatorCount = 2;
    rig.render(44100);
    EXPECT_EQ(rig.settings.liveCount, 2);
    for (int i = 2; i < 16; ++i)
        EXPECT_EQ(rig.engine.oscillators[i].voice, nullptr) << i;
}

TEST(OscillatorPool, AllNotesOffDuringAFadeOutEndsTheLiveRangeAtTheNewCount)
{
    EngineRig rig;
    rig.patch.envelopes[kVolumeEnv].sustainLevel = 1.0f;
    rig.restart();
    rig.play({{0, 0x90, 60, 100}}, 4410);
    rig.patch.oscillatorCount = 3;
    rig.render(100); // fading out over 400 ms
    EXPECT_EQ(rig.settings.liveCount, 8);
    rig.play({{0, 0xB0, 123, 0}}, 1);
    EXPECT_EQ(rig.settings.liveCount, 3);
}

TEST(Settings, LongHalfLivesReachTheirTargetsAndStopRedesigningTheFilter)
{
    for (int halfLife : {50, 200, 500}) {
        EngineRig rig;
        rig.patch.smoothingHalfLife = halfLife;
        rig.restart();
        rig.render(44100 * 2 * halfLife / 50); // settle on the new patch
        rig.patch.lowpassCutoff = 90;
        rig.patch.filterQ = 37;
        rig.patch.volumeHome = 61;
        rig.patch.panHome = -45;
        rig.patch.resonanceHome = 73;
        rig.patch.noiseRange = 29;
        rig.patch.overdrive = 44;
        const int64_t before = rig.engine.filterDesignCount();
        // 15 half-lives bring a step of 100 to 0.003, inside the dead band.
        const int32_t settle = 15 * 441 * halfLife / 10;
        rig.render(settle);
        const int64_t settling = rig.engine.filterDesignCount() - before;
        EXPECT_LE(settling, settle) << halfLife;
        EXPECT_GT(settling, 0) << halfLife;
        const SynthSettings& s = rig.settings;
        EXPECT_NEAR(s.cutoffNote, 90.0f, 0.01f) << halfLife;
        EXPECT_NEAR(s.filterQParam, 37.0f, 0.01f) << halfLife;
        EXPECT_NEAR(s.volume, 61.0f, 0.01f) << halfLife;
        EXPECT_NEAR(s.panHome, -45.0f, 0.01f) << halfLife;
        EXPECT_NEAR(s.resonanceHome, 73.0f, 0.01f) << halfLife;
        EXPECT_NEAR(s.noiseRange, 29.0f, 0.01f) << halfLife;
        EXPECT_NEAR(s.driveParam, 44.0f, 0.01f) << halfLife;
        // At rest: no further design.
        const int64_t settled = rig.engine.filterDesignCount();
        rig.render(44100);
        EXPECT_EQ(rig.engine.filterDesignCount(), settled) << halfLife;
    }
}

TEST(Settings, SmoothingAtRestTakesEveryLaterChangeOnTheNextSample)
{
    EngineRig rig;
    rig.patch.smoothingHalfLife = 0; // new values at once
    rig.restart();
    rig.play({{0, 0x90, 60, 100}}, 4000); // a held note: no sample is skipped
    SynthEngine& engine = rig.engine;
    const SynthSettings& s = rig.settings;
    ASSERT_NE(engine.activeVoices, nullptr);

    struct Change {
        const char* what;
        void (*apply)(EngineRig&);
        bool (*taken)(const SynthSettings&);
    };
    const Change changes[] = {
        {"pan range", [](EngineRig& r) { r.patch.panRange = 77; },
         [](const SynthSettings& t) { return t.panRange == 77.0f; }},
        {"volume", [](EngineRig& r) { r.patch.volumeHome = 40; },
         [](const SynthSettings& t) { return t.volume == 40.0f; }},
        {"cutoff", [](EngineRig& r) { r.patch.lowpassCutoff = 40; },
         [](const SynthSettings& t) { return t.cutoffNote == 40.0f; }},
        {"overdrive", [](EngineRig& r) { r.patch.overdrive = 50; },
         [](const SynthSettings& t) { return t.driveGain == 11.0f; }},
        {"speed", [](EngineRig& r) { r.patch.speed = 80; },
         [](const SynthSettings& t) { return t.speedScale == 80.0f; }},
        {"filter depth", [](EngineRig& r) { r.patch.filterDepth = 2; },
         [](const SynthSettings& t) { return t.filterDepth == 2; }},
        {"redistribution time", [](EngineRig& r) { r.patch.redistributionTime = 100; },
         [](const SynthSettings& t) { return t.redistributionMs == 100; }},
        {"pitch bend",
         [](EngineRig& r) {
             r.send({{0, 0xE0, 0, 0}});
         },
         [](const SynthSettings& t) { return t.pitchBend == -2.0f; }},
        {"reloaded settings", [](EngineRig& r) { r.engine.loadSettings(); },
         [](const SynthSettings& t) { return t.pitchBend == 0.0f; }},
    };
    for (const Change& c : changes) {
        rig.render(500); // at rest again
        c.apply(rig);
        rig.render(1);
        EXPECT_TRUE(c.taken(s)) << c.what;
    }

    // A half-life given while at rest slows the next change down.
    rig.render(500);
    rig.patch.smoothingHalfLife = 100;
    rig.render(1);
    const float noiseBefore = s.noiseHome;
    rig.patch.noiseHome = 90;
    rig.render(1);
    EXPECT_GT(s.noiseHome, noiseBefore);
    EXPECT_LT(s.noiseHome, noiseBefore + 1.0f);
}
