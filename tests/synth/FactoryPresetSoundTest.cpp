// Every factory preset played through the built plug-in's binary interface,
// and its character measured: clean output, then per family the property a
// musician would name (low basses, slow pads, short plucks, steady organs,
// noisy effects, moving pitch, tempo-locked pulsing), and that no two
// presets sound alike. Renders run at 22050 Hz to keep the suite quick.
//
// Set NIMBULATOR_PRESET_REPORT=1 to print the measured numbers per preset.
#include "FactoryBank.h"
#include "PluginPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {
const double kRate = 22050.0;
const double kHold = 2.0;      // seconds the single note is held
const double kChordHold = 0.5; // seconds the chord is held
const double kPi = 3.14159265358979323846;

long frames(double seconds)
{
    return static_cast<long>(std::lround(seconds * kRate));
}

std::vector<float> mono(const Render& r)
{
    std::vector<float> m(r.left.size());
    for (size_t i = 0; i < m.size(); ++i)
        m[i] = r.left[i] + r.right[i];
    return m;
}

double decibels(double level)
{
    return 20.0 * std::log10(std::max(level, 1e-12));
}

// RMS of x[from, from + length).
double rms(const std::vector<float>& x, long from, long length)
{
    double sum = 0.0;
    long end = std::min<long>(from + length, static_cast<long>(x.size()));
    for (long i = std::max(0L, from); i < end; ++i)
        sum += static_cast<double>(x[i]) * x[i];
    return std::sqrt(sum / std::max(1L, end - from));
}

// ---- Spectra ----------------------------------------------------------------

void fft(std::vector<std::complex<double>>& a)
{
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> w = std::polar(1.0, -2.0 * kPi / static_cast<double>(len));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> wk(1.0, 0.0);
            for (size_t k = 0; k < len / 2; ++k) {
                std::complex<double> u = a[i + k], v = a[i + k + len / 2] * wk;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                wk *= w;
            }
        }
    }
}

// Magnitude spectrum (Hann window) of the `size` samples from `from`.
std::vector<double> magnitudes(const std::vector<float>& x, long from, size_t size)
{
    std::vector<std::complex<double>> a(size);
    for (size_t i = 0; i < size; ++i) {
        long k = from + static_cast<long>(i);
        double v = k >= 0 && k < static_cast<long>(x.size()) ? x[static_cast<size_t>(k)] : 0.0;
        a[i] = v * (0.5 - 0.5 * std::cos(2.0 * kPi * static_cast<double>(i) / size));
    }
    fft(a);
    std::vector<double> m(size / 2);
    for (size_t i = 0; i < m.size(); ++i)
        m[i] = std::abs(a[i]);
    return m;
}

// Mean power spectrum of x[from, to) in 4096-sample frames, half overlapped.
std::vector<double> powerSpectrum(const std::vector<float>& x, long from, long to)
{
    const size_t size = 4096;
    std::vector<double> sum(size / 2, 0.0);
    int count = 0;
    for (long at = from; at + static_cast<long>(size) <= to; at += size / 2, ++count) {
        std::vector<double> m = magnitudes(x, at, size);
        for (size_t i = 0; i < sum.size(); ++i)
            sum[i] += m[i] * m[i];
    }
    for (double& v : sum)
        v /= std::max(1, count);
    return sum;
}

double binHz(size_t bins)
{
    return kRate / (2.0 * static_cast<double>(bins));
}

double centroid(const std::vector<double>& power)
{
    double weighted = 0.0, total = 0.0;
    for (size_t i = 1; i < power.size(); ++i) {
        weighted += power[i] * static_cast<double>(i) * binHz(power.size());
        total += power[i];
    }
    return total > 0.0 ? weighted / total : 0.0;
}

// Spectral flatness (geometric over arithmetic mean of the power) within
// third-octave bands from 100 Hz to 4 kHz, averaged over the bands: near 1
// for noise whatever its overall tilt, near 0 for a line spectrum.
double bandFlatness(const std::vector<double>& power)
{
    double sum = 0.0;
    int bands = 0;
    for (double low = 100.0; low * 1.26 <= 4000.0; low *= 1.26) {
        size_t a = static_cast<size_t>(low / binHz(power.size()));
        size_t b = static_cast<size_t>(low * 1.26 / binHz(power.size()));
        double logSum = 0.0, linear = 0.0;
        for (size_t i = a; i < b; ++i) {
            logSum += std::log(power[i] + 1e-20);
            linear += power[i];
        }
        if (b > a + 1 && linear > 0.0) {
            sum += std::exp(logSum / static_cast<double>(b - a)) / (linear / (b - a));
            ++bands;
        }
    }
    return bands ? sum / bands : 0.0;
}

// ---- Pitch ------------------------------------------------------------------

// Fundamental frequency of x[from, from + 2048) by the normalised square
// difference function: the first lag whose peak reaches 0.9 of the highest
// (so a strong harmonic does not pass for the fundamental). 0 when none is
// clear.
double pitchAt(const std::vector<float>& x, long from)
{
    const long size = 2048;
    const long minLag = static_cast<long>(kRate / 1500.0), maxLag = static_cast<long>(kRate / 40.0);
    if (from < 0 || from + size + maxLag > static_cast<long>(x.size()))
        return 0.0;
    std::vector<double> nsdf(static_cast<size_t>(maxLag + 2), 0.0);
    double best = 0.0;
    for (long lag = minLag; lag <= maxLag + 1; ++lag) {
        double r = 0.0, m = 0.0;
        for (long i = 0; i < size; ++i) {
            double a = x[from + i], b = x[from + i + lag];
            r += a * b;
            m += a * a + b * b;
        }
        nsdf[lag] = m > 0.0 ? 2.0 * r / m : 0.0;
        best = std::max(best, nsdf[lag]);
    }
    if (best < 0.3)
        return 0.0;
    for (long lag = minLag + 1; lag <= maxLag; ++lag) {
        if (nsdf[lag] >= 0.9 * best && nsdf[lag] >= nsdf[lag - 1] && nsdf[lag] >= nsdf[lag + 1]) {
            double a = nsdf[lag - 1], b = nsdf[lag], c = nsdf[lag + 1];
            double denominator = a - 2.0 * b + c;
            double shift = denominator != 0.0 ? 0.5 * (a - c) / denominator : 0.0;
            return kRate / (static_cast<double>(lag) + shift);
        }
    }
    return 0.0;
}

// ---- Modulation -------------------------------------------------------------

// How fast the sound's spectrum changes, frame by frame (1024-sample frames,
// hop 256): the summed magnitude difference relative to the frame's total.
std::vector<double> spectralFlux(const std::vector<float>& x, long from, long to)
{
    std::vector<double> flux, previous;
    for (long at = from; at + 1024 <= to; at += 256) {
        std::vector<double> m = magnitudes(x, at, 1024);
        if (!previous.empty()) {
            double change = 0.0, total = 1e-12;
            for (size_t i = 0; i < m.size(); ++i) {
                change += std::fabs(m[i] - previous[i]);
                total += m[i];
            }
            flux.push_back(change / total);
        }
        previous = m;
    }
    return flux;
}

// Strongest modulation frequency of a sequence sampled at `rate`, searched
// from `low` to `high` hertz.
double dominantRate(std::vector<double> sequence, double rate, double low, double high)
{
    double mean = 0.0;
    for (double v : sequence)
        mean += v;
    mean /= std::max<size_t>(1, sequence.size());
    double bestRate = 0.0, bestPower = -1.0;
    for (double f = low; f <= high; f += 0.02) {
        std::complex<double> sum = 0.0;
        for (size_t i = 0; i < sequence.size(); ++i)
            sum += (sequence[i] - mean) * std::polar(1.0, -2.0 * kPi * f * i / rate);
        if (std::norm(sum) > bestPower) {
            bestPower = std::norm(sum);
            bestRate = f;
        }
    }
    return bestRate;
}

// ---- Rendering --------------------------------------------------------------

struct PresetSound {
    Render note;          // middle C, velocity 100, held kHold seconds
    Render chord;         // C E G, velocity 100, held kChordHold seconds
    double release = 0;   // seconds of the volume envelope's release
    std::vector<float> m; // the note's mono sum
};

// Plays `notes` at velocity 100, held `hold` seconds, and returns from the
// note-on to 1.1 seconds after the release. Like a host, it
// runs the freshly loaded program for a few blocks before the first note.
Render playHeld(Player& player, const std::vector<int>& notes, double hold, double release)
{
    const long lead = 1024;
    std::vector<Message> messages;
    for (int n : notes)
        messages.push_back({lead, 0x90, static_cast<unsigned char>(n), 100});
    for (int n : notes)
        messages.push_back({lead + frames(hold), 0x80, static_cast<unsigned char>(n), 0});
    Render r = player.play(messages, lead + frames(hold + release + 1.1));
    r.left.erase(r.left.begin(), r.left.begin() + lead);
    r.right.erase(r.right.begin(), r.right.begin() + lead);
    return r;
}

// Renders every preset once; the tests below share the renders.
const std::vector<PresetSound>& sounds()
{
    static std::vector<PresetSound> all;
    if (!all.empty())
        return all;
    for (int32_t i = 0; i < FactoryBank::count(); ++i) {
        const Patch& p = FactoryBank::record(i);
        PresetSound s;
        s.release = p.envelopes[kVolumeEnv].releaseTime;
        {
            Player player(kRate, 120.0);
            if (!player.ok() || player.setPatch(p) != 1908) {
                ADD_FAILURE() << "cannot load " << p.name;
                all.clear();
                return all;
            }
            s.note = playHeld(player, {60}, kHold, s.release);
        }
        {
            Player player(kRate, 120.0);
            player.setPatch(p);
            s.chord = playHeld(player, {60, 64, 67}, kChordHold, s.release);
        }
        s.m = mono(s.note);
        all.push_back(s);
    }
    return all;
}

int indexOf(const char* name)
{
    for (int32_t i = 0; i < FactoryBank::count(); ++i)
        if (std::strcmp(FactoryBank::name(i), name) == 0)
            return i;
    ADD_FAILURE() << "no preset " << name;
    return 0;
}

bool reporting()
{
    const char* flag = std::getenv("NIMBULATOR_PRESET_REPORT");
    return flag && *flag && std::strcmp(flag, "0") != 0;
}

// Seconds from note-on until the note first comes within 1 dB of its
// loudest (10 ms frames, over the held part).
double attackSeconds(const std::vector<float>& x)
{
    const long frame = frames(0.01);
    std::vector<double> levels;
    for (long at = 0; at + frame <= frames(kHold); at += frame)
        levels.push_back(rms(x, at, frame));
    double loudest = *std::max_element(levels.begin(), levels.end());
    for (size_t i = 0; i < levels.size(); ++i)
        if (levels[i] >= loudest * 0.891)
            return static_cast<double>(i + 1) * 0.01;
    return kHold;
}
} // namespace

TEST(FactoryPresetSound, EveryPresetPlaysCleanlyAndFallsSilentAfterItsRelease)
{
    const std::vector<PresetSound>& all = sounds();
    ASSERT_EQ(all.size(), 45u);
    for (size_t i = 0; i < all.size(); ++i) {
        const PresetSound& s = all[i];
        SCOPED_TRACE(FactoryBank::name(static_cast<int32_t>(i)));
        for (const auto& [render, hold] :
             {std::make_pair(&s.note, kHold), std::make_pair(&s.chord, kChordHold)}) {
            double peak = 0.0, heldSquares = 0.0;
            size_t nonFinite = 0, lastSound = 0;
            for (const std::vector<float>* channel : {&render->left, &render->right}) {
                for (size_t k = 0; k < channel->size(); ++k) {
                    float v = (*channel)[k];
                    if (!std::isfinite(v)) {
                        ++nonFinite;
                        continue;
                    }
                    peak = std::max(peak, static_cast<double>(std::fabs(v)));
                    if (static_cast<long>(k) < frames(hold))
                        heldSquares += static_cast<double>(v) * v;
                    if (v != 0.0f)
                        lastSound = std::max(lastSound, k);
                }
            }
            EXPECT_EQ(nonFinite, 0u);
            EXPECT_LE(peak, 1.0);
            double heldRms = std::sqrt(heldSquares / (2.0 * frames(hold)));
            EXPECT_GT(decibels(heldRms), -40.0) << "too quiet while held";
            // Exact silence from the end of the release plus one second.
            EXPECT_LT(static_cast<long>(lastSound), frames(hold + s.release + 1.0))
                << "still sounding " << lastSound / kRate - hold << " s after note-off";
            if (reporting() && render == &s.chord)
                std::printf("%-20s chord peak before the master volume %.2f\n",
                            FactoryBank::name(static_cast<int32_t>(i)),
                            peak /
                                (FactoryBank::record(static_cast<int32_t>(i)).volumeHome * 0.01));
            if (reporting() && render == &s.note)
                std::printf("%-20s peak %6.2f dBFS, held RMS %6.1f dBFS, silent %.2f s after "
                            "note-off\n",
                            FactoryBank::name(static_cast<int32_t>(i)), decibels(peak),
                            decibels(heldRms), lastSound / kRate - hold);
        }
    }
}

// Basses sound an octave or more below the note played, with their energy
// low in the spectrum.
TEST(FactoryPresetSound, BassesAreLowAndDark)
{
    const double kMaxFundamentalHz = 135.0; // middle C is 261.6 Hz
    const double kMaxCentroidHz = 900.0;
    const std::vector<PresetSound>& all = sounds();
    ASSERT_EQ(all.size(), 45u);
    for (const char* name :
         {"Filth Bass", "Growing Bass", "Kick Bass", "Power Bass", "Wobble Bass"}) {
        const std::vector<float>& x = all[indexOf(name)].m;
        std::vector<double> pitches;
        for (double t = 0.3; t < 1.9; t += 0.2) {
            double f = pitchAt(x, frames(t));
            if (f > 0.0)
                pitches.push_back(f);
        }
        ASSERT_FALSE(pitches.empty()) << name << ": no clear pitch";
        std::sort(pitches.begin(), pitches.end());
        double fundamental = pitches[pitches.size() / 2];
        double c = centroid(powerSpectrum(x, frames(0.1), frames(kHold)));
        if (reporting())
            std::printf("%-20s fundamental %6.1f Hz, centroid %6.0f Hz\n", name, fundamental, c);
        EXPECT_LT(fundamental, kMaxFundamentalHz) << name;
        EXPECT_LT(c, kMaxCentroidHz) << name;
    }
}

TEST(FactoryPresetSound, PadsFadeInSlowly)
{
    const double kMinAttackSeconds = 0.3;
    const std::vector<PresetSound>& all = sounds();
    ASSERT_EQ(all.size(), 45u);
    for (const char* name : {"Large Pad", "Mad Pad", "String Pad", "Enola"}) {
        double attack = attackSeconds(all[indexOf(name)].m);
        if (reporting())
            std::printf("%-20s reaches full level after %.2f s\n", name, attack);
        EXPECT_GT(attack, kMinAttackSeconds) << name;
    }
}

TEST(FactoryPresetSound, PlucksAndPercussionDieAwayWhileHeld)
{
    const double kMinDropDb = 30.0; // one second into a held note
    const std::vector<PresetSound>& all = sounds();
    ASSERT_EQ(all.size(), 45u);
    for (const char* name : {"Pizzicato", "Harpsichord", "Digi Tamba", "Metallic Thwack",
                             "Tuned Perc", "Funky Slap"}) {
        const std::vector<float>& x = all[indexOf(name)].m;
        const long frame = frames(0.02);
        double loudest = 0.0;
        for (long at = 0; at < frames(0.5); at += frame)
            loudest = std::max(loudest, rms(x, at, frame));
        double drop = decibels(loudest) - decibels(rms(x, frames(1.0), frame));
        if (reporting())
            std::printf("%-20s %.1f dB down after 1 s\n", name, drop);
        EXPECT_GT(drop, kMinDropDb) << name;
    }
}

TEST(FactoryPresetSound, OrgansHoldTheirLevel)
{
    const double kMaxDeviationDb = 1.0;
    const std::vector<PresetSound>& all = sounds();
    ASSERT_EQ(all.size(), 45u);
    for (const char* name : {"Possessed Organ", "Soft Organ", "Spooky Organ"}) {
        const int i = indexOf(name);
        const std::vector<float>& x = all[i].m;
        const long frame = frames(0.05);
        const long attackEnd = frames(FactoryBank::record(i).envelopes[kVolumeEnv].attackTime);
        const double attackLevel = decibels(rms(x, attackEnd, frame));
        double worst = 0.0;
        for (long at = attackEnd; at + frame <= frames(kHold); at += frame)
            worst = std::max(worst, std::fabs(decibels(rms(x, at, frame)) - attackLevel));
        if (reporting())
            std::printf("%-20s level while held within %.2f dB of the attack\n", name, worst);
        EXPECT_LT(worst, kMaxDeviationDb) << name;
    }
}

TEST(FactoryPresetSound, NoisyPresetsHaveAFlatSpectrum)
{
    const double kMinFlatness = 0.35;
    const std::vector<PresetSound>& all = sounds();
    ASSERT_EQ(all.size(), 45u);
    for (const char* name : {"Thunderclap", "Passing Gust", "Firework"}) {
        const std::vector<float>& x = all[indexOf(name)].m;
        double flatness = bandFlatness(powerSpectrum(x, frames(0.1), frames(kHold)));
        if (reporting())
            std::printf("%-20s band flatness %.3f\n", name, flatness);
        EXPECT_GT(flatness, kMinFlatness) << name;
    }
    // A plainly pitched preset for comparison.
    double organ =
        bandFlatness(powerSpectrum(all[indexOf("Soft Organ")].m, frames(0.1), frames(kHold)));
    if (reporting())
        std::printf("%-20s band flatness %.3f\n", "Soft Organ", organ);
    EXPECT_LT(organ, kMinFlatness);
}

TEST(FactoryPresetSound, SirenAndWailMoveInPitch)
{
    const double kMinSpanSemitones = 1.0;
    const std::vector<PresetSound>& all = sounds();
    ASSERT_EQ(all.size(), 45u);
    for (const char* name : {"Siren", "Ghostly Wail"}) {
        const std::vector<float>& x = all[indexOf(name)].m;
        std::vector<double> pitches;
        for (double t = 0.1; t < kHold - 0.1; t += 0.05) {
            double f = pitchAt(x, frames(t));
            if (f > 0.0)
                pitches.push_back(f);
        }
        ASSERT_GT(pitches.size(), 10u) << name;
        std::sort(pitches.begin(), pitches.end());
        double low = pitches[pitches.size() / 10], high = pitches[pitches.size() * 9 / 10];
        double span = 12.0 * std::log2(high / low);
        if (reporting())
            std::printf("%-20s pitch moves over %.1f semitones (%.0f to %.0f Hz)\n", name, span,
                        low, high);
        EXPECT_GT(span, kMinSpanSemitones) << name;
    }
}

// The tempo-synced presets change fastest and slowest at the speed LFO's
// rate, two cycles per beat: 4 Hz at 120 beats per minute, 3 Hz at 90.
TEST(FactoryPresetSound, TempoSyncedPresetsPulseWithTheHostTempo)
{
    const double kTolerance = 0.08; // relative
    for (const char* name : {"Wobble Bass", "Rhythmic"}) {
        const Patch& p = FactoryBank::record(indexOf(name));
        for (double tempo : {120.0, 90.0}) {
            Player player(kRate, tempo);
            ASSERT_EQ(player.setPatch(p), 1908);
            Render r = player.play({{0, 0x90, 60, 100}}, frames(3.0));
            std::vector<float> x = mono(r);
            std::vector<double> flux = spectralFlux(x, frames(0.25), frames(3.0));
            double measured = dominantRate(flux, kRate / 256.0, 1.0, 10.0);
            double expected = tempo / 60.0 * 2.0;
            if (reporting())
                std::printf("%-20s at %3.0f BPM pulses at %.2f Hz (LFO %.2f Hz)\n", name, tempo,
                            measured, expected);
            EXPECT_NEAR(measured, expected, expected * kTolerance) << name << " at " << tempo;
        }
    }
}

// The distance of two presets: third-octave band levels (50 Hz to 10 kHz)
// in five stretches of the held note and its release, each level relative
// to the whole render's, compared as an RMS difference in decibels.
TEST(FactoryPresetSound, NoTwoPresetsSoundAlike)
{
    const double kMinDistanceDb = 3.0;
    const std::vector<PresetSound>& all = sounds();
    ASSERT_EQ(all.size(), 45u);
    const double stretches[][2] = {{0.0, 0.25}, {0.25, 0.75}, {0.75, 1.4}, {1.4, 2.0}, {2.0, 2.6}};
    std::vector<std::vector<double>> features;
    for (const PresetSound& s : all) {
        std::vector<double> f;
        double total = decibels(rms(s.m, 0, frames(2.6)));
        for (const auto& stretch : stretches) {
            std::vector<double> spectrum =
                powerSpectrum(s.m, frames(stretch[0]), frames(stretch[1]));
            for (double low = 50.0; low * 1.26 <= 10000.0; low *= 1.26) {
                size_t a = static_cast<size_t>(low / binHz(2048));
                size_t b = std::max(a + 1, static_cast<size_t>(low * 1.26 / binHz(2048)));
                double band = 0.0;
                for (size_t i = a; i < b; ++i)
                    band += spectrum[i];
                f.push_back(std::max(10.0 * std::log10(band + 1e-20) - total, -90.0));
            }
        }
        features.push_back(f);
    }
    double closest = 1e9;
    for (size_t a = 0; a < features.size(); ++a) {
        for (size_t b = a + 1; b < features.size(); ++b) {
            double sum = 0.0;
            for (size_t k = 0; k < features[a].size(); ++k)
                sum += (features[a][k] - features[b][k]) * (features[a][k] - features[b][k]);
            double distance = std::sqrt(sum / static_cast<double>(features[a].size()));
            closest = std::min(closest, distance);
            EXPECT_GT(distance, kMinDistanceDb)
                << FactoryBank::name(static_cast<int32_t>(a)) << " and "
                << FactoryBank::name(static_cast<int32_t>(b)) << " sound alike";
            if (reporting() && distance < 2.0 * kMinDistanceDb)
                std::printf("%-20s ~ %-20s %.1f dB\n", FactoryBank::name(static_cast<int32_t>(a)),
                            FactoryBank::name(static_cast<int32_t>(b)), distance);
        }
    }
    if (reporting())
        std::printf("closest pair: %.1f dB apart\n", closest);
}

// Vowel Swarm's formant wanders: the spectral centroid of its held note
// (0.1 s stretches) moves over a wide span, while a steady organ's does not.
TEST(FactoryPresetSound, VowelSwarmMovesInResonance)
{
    const double kMinRatio = 1.5; // highest centroid over lowest
    const std::vector<PresetSound>& all = sounds();
    ASSERT_EQ(all.size(), 45u);
    for (const char* name : {"Vowel Swarm", "Soft Organ"}) {
        const std::vector<float>& x = all[indexOf(name)].m;
        std::vector<double> centroids;
        for (double t = 0.3; t + 0.1 < kHold; t += 0.1)
            centroids.push_back(centroid(powerSpectrum(x, frames(t), frames(t) + 4096)));
        auto range = std::minmax_element(centroids.begin(), centroids.end());
        double ratio = *range.second / *range.first;
        if (reporting())
            std::printf("%-20s centroid moves %.0f to %.0f Hz\n", name, *range.first,
                        *range.second);
        if (std::strcmp(name, "Vowel Swarm") == 0)
            EXPECT_GT(ratio, kMinRatio) << name;
        else
            EXPECT_LT(ratio, kMinRatio) << name;
    }
}
