// The built instrument through its binary interface: programs go in as the
// host's chunk, MIDI as event lists, and what comes out is measured as
// sound (frequency from zero crossings, levels, channel balance).
#include "PluginPlayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {
// One oscillator and nothing that moves it: the plainest sound.
Patch plainPatch()
{
    Patch p;
    newPatch(p);
    p.oscillatorCount = 1;
    p.resonanceHome = 0;
    p.noiseHome = 0;
    p.syncToHost = 0;
    p.reseedMode = 0;
    p.envelopes[kVolumeEnv].sustainLevel = 1.0f;
    p.envelopes[kVolumeEnv].attackTime = 0.01f;
    return p;
}

// Frequency from the positive-going zero crossings of x[from, to).
double measureFrequency(const std::vector<float>& x, size_t from, size_t to, double rate)
{
    double first = -1.0, last = -1.0;
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i) {
        if (x[i - 1] < 0.0f && x[i] >= 0.0f) {
            double t = (i - 1) + x[i - 1] / (x[i - 1] - x[i]);
            if (first < 0.0)
                first = t;
            last = t;
            ++crossings;
        }
    }
    return crossings > 1 ? (crossings - 1) * rate / (last - first) : 0.0;
}

double rms(const std::vector<float>& x, size_t from, size_t to)
{
    double sum = 0.0;
    for (size_t i = from; i < to; ++i)
        sum += static_cast<double>(x[i]) * x[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

float peak(const std::vector<float>& x, size_t from, size_t to)
{
    float p = 0.0f;
    for (size_t i = from; i < to; ++i)
        p = std::fmax(p, std::fabs(x[i]));
    return p;
}

// The lag in [low, high] at which x correlates best with itself.
int bestLag(const std::vector<float>& x, size_t from, size_t to, int low, int high,
            double& correlation)
{
    int best = low;
    correlation = -2.0;
    for (int lag = low; lag <= high; ++lag) {
        double xy = 0.0, xx = 0.0, yy = 0.0;
        for (size_t i = from; i + lag < to; ++i) {
            xy += x[i] * x[i + lag];
            xx += x[i] * x[i];
            yy += x[i + lag] * x[i + lag];
        }
        double c = xy / std::sqrt(xx * yy + 1e-30);
        if (c > correlation) {
            correlation = c;
            best = lag;
        }
    }
    return best;
}
} // namespace

TEST(RenderedSound, OneOscillatorIsASineAtTheNoteFrequencyAndItsLevel)
{
    Player player;
    ASSERT_TRUE(player.ok());
    Patch p = plainPatch();
    ASSERT_EQ(player.setPatch(p), 1908);
    Render r = player.play({{4096, 0x90, 69, 127}}, 4096 + 3 * 44100);
    const size_t from = 4096 + 44100, to = r.left.size();
    EXPECT_NEAR(measureFrequency(r.left, from, to, 44100.0), 440.0, 0.1);
    // velocity 127 x 0.0063, twice per oscillator, half to each side.
    EXPECT_NEAR(peak(r.left, from, to), 0.8001f, 0.8001f * 0.01f);
    EXPECT_NEAR(rms(r.left, from, to), 0.8001 / std::sqrt(2.0), 0.01);
    for (size_t i = 0; i < r.left.size(); ++i)
        ASSERT_EQ(r.left[i], r.right[i]) << i;
}

TEST(RenderedSound, ResonanceSqueezesTheCycleAndNoiseKeepsThePeriod)
{
    Player player(44000.0); // note 33 (55 Hz) then has a period of 800 samples
    ASSERT_TRUE(player.ok());
    Patch p = plainPatch();
    p.resonanceHome = 100;
    p.lowpassCutoff = 128; // the filter as open as it goes
    ASSERT_EQ(player.setPatch(p), 1908);
    Render squeezed = player.play({{100, 0x90, 33, 127}}, 44000);
    const size_t from = 22000, to = 44000;
    double c = 0.0;
    EXPECT_NEAR(bestLag(squeezed.left, from, to, 700, 900, c), 800, 1);
    const float top = peak(squeezed.left, from, to);
    size_t active = 0;
    for (size_t i = from; i < to; ++i)
        active += std::fabs(squeezed.left[i]) > 0.02f * top;
    const double share = static_cast<double>(active) / (to - from);
    EXPECT_GT(share, 0.5 / 57);
    EXPECT_LT(share, 2.0 / 57);

    Player noisy(44000.0);
    p.resonanceHome = 0;
    p.noiseHome = 100;
    ASSERT_EQ(noisy.setPatch(p), 1908);
    Render n = noisy.play({{100, 0x90, 33, 127}}, 44000);
    EXPECT_NEAR(bestLag(n.left, from, to, 700, 900, c), 800, 1);
    EXPECT_GT(c, 0.5);
    int crossings = 0;
    for (size_t i = from + 1; i < from + 800; ++i)
        crossings += (n.left[i - 1] < 0.0f) != (n.left[i] < 0.0f);
    EXPECT_GT(crossings, 50); // noise, not one cycle per period
}

TEST(RenderedSound, PanSendsTheSoundToOneSideOnly)
{
    for (int pan : {-100, 100}) {
        Player player;
        ASSERT_TRUE(player.ok());
        Patch p = plainPatch();
        p.panHome = pan;
        ASSERT_EQ(player.setPatch(p), 1908);
        Render r = player.play({{1024, 0x90, 60, 100}}, 22050);
        const std::vector<float>& loud = pan < 0 ? r.left : r.right;
        const std::vector<float>& quiet = pan < 0 ? r.right : r.left;
        // Once the pan setting has settled (within its 0.01 smoothing dead
        // band, 5e-5 of the way across) the other side is 86 dB down.
        EXPECT_GT(rms(loud, 4096, loud.size()), 0.1) << pan;
        EXPECT_LT(peak(quiet, 4096, quiet.size()), 1e-4f * peak(loud, 4096, loud.size())) << pan;
    }
}

TEST(RenderedSound, FullPitchBendRaisesByAlmostTwoSemitones)
{
    Player player;
    ASSERT_TRUE(player.ok());
    Patch p = plainPatch();
    ASSERT_EQ(player.setPatch(p), 1908);
    Render r = player.play({{1024, 0x90, 69, 127}, {2048, 0xE0, 0x7F, 0x7F}}, 2048 + 3 * 44100);
    double f = measureFrequency(r.left, 2048 + 44100, r.left.size(), 44100.0);
    EXPECT_NEAR(12.0 * std::log2(f / 440.0), 1.99976, 0.011);
}

TEST(RenderedSound, AllNotesOffAndReleaseTailsEndInExactZeros)
{
    Player player;
    ASSERT_TRUE(player.ok());
    Patch p;
    newPatch(p);
    p.syncToHost = 0;
    p.filterQ = 100; // a ringing filter makes the tail as long as it gets
    ASSERT_EQ(player.setPatch(p), 1908);
    Render r = player.play({{0, 0x90, 60, 120},
                            {0, 0x90, 67, 120},
                            {22050, 0xB0, 123, 0},
                            {44100, 0x90, 62, 120},
                            {50000, 0x80, 62, 0}},
                           44100 * 3);
    auto silentFrom = [&](size_t from, size_t to) {
        size_t last = from;
        for (size_t i = from; i < to; ++i) {
            EXPECT_NE(std::fpclassify(r.left[i]), FP_SUBNORMAL) << i;
            if (r.left[i] != 0.0f || r.right[i] != 0.0f)
                last = i + 1;
        }
        return last;
    };
    EXPECT_GT(rms(r.left, 11025, 22050), 0.01);
    size_t quietAfterReset = silentFrom(22050, 44100);
    EXPECT_LT(quietAfterReset, 22050u + 4410u); // only the filter's ringing follows
    // Release 0.2 s: the voice ends, the filter rings out, then zeros.
    size_t quietAfterRelease = silentFrom(50000, r.left.size());
    EXPECT_LT(quietAfterRelease, 50000u + 44100u);
}

TEST(RenderedSound, SameMidiAndPatchRenderBitIdenticalOutput)
{
    Patch p;
    newPatch(p);
    p.syncToHost = 0;
    p.seed = 4321;
    p.reseedMode = 2;
    std::vector<Message> music = {{0, 0x90, 60, 100},
                                  {300, 0x90, 64, 90},
                                  {5000, 0xE0, 0, 80},
                                  {9000, 0xB0, 1, 90},
                                  {12000, 0x80, 60, 0}};
    Render a, b;
    {
        Player player;
        ASSERT_TRUE(player.ok());
        ASSERT_EQ(player.setPatch(p), 1908);
        a = player.play(music, 30000, 333);
    }
    {
        Player player;
        ASSERT_TRUE(player.ok());
        ASSERT_EQ(player.setPatch(p), 1908);
        b = player.play(music, 30000, 333);
    }
    ASSERT_EQ(a.left.size(), b.left.size());
    EXPECT_EQ(std::memcmp(a.left.data(), b.left.data(), a.left.size() * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(a.right.data(), b.right.data(), a.right.size() * sizeof(float)), 0);
    EXPECT_GT(rms(a.left, 0, a.left.size()), 0.01);
}

TEST(RenderedSound, AnyChunkGivesFiniteOutputWithinTheClipperTimesVolume)
{
    const unsigned seed = 20240607;
    std::mt19937 random(seed);
    Player player;
    ASSERT_TRUE(player.ok());
    float loudestVolume = 100.0f; // the smoothed volume never passes its targets
    for (int round = 0; round < 60; ++round) {
        Patch p;
        newPatch(p);
        unsigned char* bytes = reinterpret_cast<unsigned char*>(&p);
        const int mode = round % 3;
        for (size_t i = 24; i < sizeof p; ++i) {
            if (mode == 0 || random() % 8 == 0)
                bytes[i] = static_cast<unsigned char>(random());
        }
        if (mode == 2) { // non-numbers in every float of the envelopes
            for (PatchEnvelope& e : p.envelopes) {
                e.attackTime = NAN;
                e.pointLevel[1] = INFINITY;
                e.decayTime = -INFINITY;
            }
        }
        ASSERT_EQ(player.setPatch(p), 1908);
        Render r = player.play({{0, 0x90, 60, 127},
                                {5, 0x90, 30, 90},
                                {9, 0xE0, 0x7F, 0x7F},
                                {600, 0xB0, 1, 127},
                                {900, 0x80, 60, 0}},
                               2048, 256);
        loudestVolume = std::fmax(loudestVolume, std::fabs(static_cast<float>(p.volumeHome)));
        const float bound = loudestVolume * 0.01f * 1.0001f;
        for (size_t i = 0; i < r.left.size(); ++i) {
            ASSERT_TRUE(std::isfinite(r.left[i]) && std::isfinite(r.right[i]))
                << "seed " << seed << " round " << round << " sample " << i;
            ASSERT_LE(std::fabs(r.left[i]), bound) << "seed " << seed << " round " << round;
            ASSERT_LE(std::fabs(r.right[i]), bound) << "seed " << seed << " round " << round;
        }
    }
}

TEST(RenderedSound, EachFilterDepthAddsTheSameAttenuationAgain)
{
    // A 4186 Hz sine (note 108) above a 2637 Hz cutoff (2 x note 88): every
    // further identical section pair takes the same number of decibels off.
    double level[3];
    for (int depth = 0; depth < 3; ++depth) {
        Player player;
        ASSERT_TRUE(player.ok());
        Patch p = plainPatch();
        p.lowpassCutoff = 88;
        p.filterDepth = depth;
        ASSERT_EQ(player.setPatch(p), 1908);
        Render r = player.play({{0, 0x90, 108, 100}}, 44100);
        level[depth] = 20.0 * std::log10(rms(r.left, 22050, 44100));
    }
    const double first = level[1] - level[0], second = level[2] - level[1];
    EXPECT_LT(first, -3.0);
    EXPECT_NEAR(second, first, 0.1);
}

namespace {
// The default patch with a volume envelope that sustains at full level.
Patch sustainingPatch()
{
    Patch p;
    newPatch(p);
    p.syncToHost = 0;
    p.envelopes[kVolumeEnv].sustainLevel = 1.0f;
    return p;
}

double levelDb(const Render& r, double fromSeconds, double toSeconds)
{
    return 20.0 * std::log10(rms(r.left, static_cast<size_t>(fromSeconds * 44100.0),
                                 static_cast<size_t>(toSeconds * 44100.0)));
}

// Level in dB of the component of x[from, to) at `hz` (Hann window), so
// that one of two notes at different pitches can be followed on its own.
double toneDb(const std::vector<float>& x, double fromSeconds, double toSeconds, double hz)
{
    const size_t from = static_cast<size_t>(fromSeconds * 44100.0);
    const size_t to = static_cast<size_t>(toSeconds * 44100.0);
    const double pi = 3.14159265358979323846, n = static_cast<double>(to - from);
    double re = 0.0, im = 0.0;
    for (size_t i = from; i < to; ++i) {
        const double w = 0.5 - 0.5 * std::cos(2.0 * pi * static_cast<double>(i - from) / n);
        const double phase = 2.0 * pi * hz * static_cast<double>(i) / 44100.0;
        re += w * x[i] * std::cos(phase);
        im += w * x[i] * std::sin(phase);
    }
    return 20.0 * std::log10(std::hypot(re, im) / (0.25 * n) + 1e-12);
}

bool sameSamples(const Render& a, const Render& b)
{
    return a.left.size() == b.left.size() && a.right.size() == b.right.size() &&
           std::memcmp(a.left.data(), b.left.data(), a.left.size() * sizeof(float)) == 0 &&
           std::memcmp(a.right.data(), b.right.data(), a.right.size() * sizeof(float)) == 0;
}
} // namespace

TEST(RenderedSound, AHeldNoteKeepsItsLevelAfterAnotherNoteComesAndGoes)
{
    Player player;
    ASSERT_TRUE(player.ok());
    Patch p = sustainingPatch();
    ASSERT_EQ(player.setPatch(p), 1908);
    // Note 64 takes half the flock and, once it has ended, gives it back.
    Render r =
        player.play({{0, 0x90, 60, 100}, {22050, 0x90, 64, 100}, {44100, 0x80, 64, 0}}, 44100 * 7);
    const double before = levelDb(r, 0.25, 0.5);
    for (double t = 2.0; t < 7.0; t += 0.5)
        EXPECT_NEAR(levelDb(r, t, t + 0.5), before, 1.0) << "at " << t << " s";
}

TEST(RenderedSound, AHeldNoteKeepsItsLevelAfterACountRaiseAndASecondNote)
{
    Player player;
    ASSERT_TRUE(player.ok());
    Patch p = sustainingPatch();
    p.redistributionTime = 100; // one count per 0.1 s
    ASSERT_EQ(player.setPatch(p), 1908);
    player.play({{0, 0x90, 60, 100}}, 22050);
    player.host->setParameter(19, 15.5f / 63.0f); // 16 oscillators
    player.play({}, 22050);
    // The second note comes while the held voice is still on its way to 16,
    // takes 8 of them and stays: both voices hold 8 from then on.
    Render both = player.play({{0, 0x90, 67, 100}}, 44100 * 8);
    const double note60 = 8.1757989156437 * 32.0; // Hz
    const double settled = toneDb(both.left, 1.0, 1.5, note60);
    EXPECT_GT(settled, -30.0);
    for (double t = 1.5; t < 8.0; t += 0.5)
        EXPECT_NEAR(toneDb(both.left, t, t + 0.5, note60), settled, 1.0) << "at " << t << " s";
}

TEST(RenderedSound, AProgramRestoredBeforeOrAfterResumeSoundsTheSame)
{
    // Counts that the chunk lowers and raises, with a note at the very first
    // sample after the load and one a little later. An earlier count of 0
    // stands for a fresh plug-in (8 oscillators) whose first resume comes
    // after the chunk in the one order and before it in the other.
    struct Case {
        int32_t earlier, loaded;
        long noteAt;
    };
    for (Case c : {Case{0, 4, 0}, Case{0, 4, 2205}, Case{0, 16, 0}, Case{8, 4, 0}, Case{16, 4, 0},
                   Case{16, 4, 2205}, Case{8, 16, 0}, Case{1, 2, 0}}) {
        Patch earlier = sustainingPatch(), loaded = sustainingPatch();
        earlier.oscillatorCount = c.earlier;
        loaded.oscillatorCount = c.loaded;
        // Steering that scales with the live count, and ranges that let the
        // flock's flight be heard.
        loaded.attract = 90;
        loaded.volumeRange = earlier.volumeRange = 50;
        loaded.pitchRange = earlier.pitchRange = 20;
        loaded.panRange = earlier.panRange = 60;
        const std::vector<Message> notes = {{c.noteAt, 0x90, 60, 110},
                                            {c.noteAt + 100, 0x90, 72, 90}};
        const bool fresh = c.earlier == 0;
        Render afterResume, beforeResume;
        {
            Player player;
            ASSERT_TRUE(player.ok());
            if (!fresh) {
                ASSERT_EQ(player.setPatch(earlier), 1908);
                player.play({}, 4096);
            }
            ASSERT_EQ(player.setPatch(loaded), 1908);
            afterResume = player.play(notes, 44100);
        }
        {
            Player player(44100.0, 0.0, !fresh);
            ASSERT_TRUE(player.ok());
            if (!fresh) {
                ASSERT_EQ(player.setPatch(earlier), 1908);
                player.play({}, 4096);
                player.host->dispatch(effMainsChanged, 0, 0);
            }
            ASSERT_EQ(player.setPatch(loaded), 1908);
            if (fresh)
                player.start();
            else
                player.host->dispatch(effMainsChanged, 0, 1);
            beforeResume = player.play(notes, 44100);
        }
        EXPECT_GT(rms(afterResume.left, 0, 44100), 0.01);
        EXPECT_TRUE(sameSamples(afterResume, beforeResume))
            << c.earlier << " to " << c.loaded << " oscillators, note at " << c.noteAt;
    }
}

TEST(RenderedSound, FewerFilterStagesStillEndInExactZeros)
{
    // Depth pairs as tens and units; filter settings as cutoff and Q.
    for (int32_t depths : {20, 21, 10}) {
        for (std::pair<int32_t, int32_t> filter :
             {std::make_pair(40, 30), std::make_pair(100, 100)}) {
            const int32_t from = depths / 10, to = depths % 10;
            Player player;
            ASSERT_TRUE(player.ok());
            Patch p = sustainingPatch();
            p.filterDepth = from;
            p.lowpassCutoff = filter.first;
            p.filterQ = filter.second;
            p.overdrive = 100;
            ASSERT_EQ(player.setPatch(p), 1908);
            Render loud = player.play({{0, 0x90, 48, 127}, {0, 0x90, 55, 127}}, 44100);
            ASSERT_GT(rms(loud.left, 22050, 44100), 0.1);
            p.filterDepth = to;
            ASSERT_EQ(player.setPatch(p), 1908); // the voices stop, the filter rings
            Render tail = player.play({}, 44100 * 3);
            size_t last = 0;
            for (size_t i = 0; i < tail.left.size(); ++i)
                if (tail.left[i] != 0.0f || tail.right[i] != 0.0f)
                    last = i + 1;
            EXPECT_LT(last, 44100u * 2) << "depth " << from << " to " << to << ", cutoff "
                                        << filter.first << ", Q " << filter.second;
        }
    }
}

TEST(RenderedSound, CallsOfNoFramesTakeTheHostTempoAtOnce)
{
    Player player;
    ASSERT_TRUE(player.ok());
    Patch p = sustainingPatch();
    p.syncToHost = 1;
    p.localBpm = 120;
    ASSERT_EQ(player.setPatch(p), 1908);
    player.host->timeAvailable = true;
    player.host->timeInfo.flags = kVstTempoValid;
    float l[1], r[1];
    float* outputs[] = {l, r};
    for (double tempo : {97.0, 140.0}) {
        player.host->timeInfo.tempo = tempo;
        player.host->processReplacing(nullptr, outputs, 0);
        void* chunk = nullptr;
        ASSERT_EQ(player.host->dispatch(effGetChunk, 0, 0, &chunk), 1908);
        Patch now;
        std::memcpy(&now, chunk, sizeof now);
        EXPECT_EQ(now.localBpm, static_cast<int32_t>(tempo)) << tempo;
        EXPECT_EQ(now.syncToHost, 1);
    }
}
