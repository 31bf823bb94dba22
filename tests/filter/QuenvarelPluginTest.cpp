// The quenvarel plug-in loaded through its entry point, as a host does:
// identity, and measurements on audio processed through the binary interface.
#include "PluginFiles.h"
#include "PluginHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {
const char* const kPlugin = PLUGIN_FILE("quenvarel");
const double kPi = 3.14159265358979323846;
const double kRate = 44100.0;

std::unique_ptr<PluginHost> loadStarted()
{
    std::string error;
    auto host = PluginHost::load(kPlugin, error);
    EXPECT_TRUE(host) << error;
    if (host)
        host->start(static_cast<float>(kRate), 512);
    return host;
}

// Processes `input` (both channels alike) in blocks of 512 and returns the
// left output.
std::vector<float> render(PluginHost& host, const std::vector<float>& input)
{
    std::vector<float> in(input), left(input.size()), right(input.size());
    for (size_t start = 0; start < input.size(); start += 512) {
        int32_t n = static_cast<int32_t>(std::min<size_t>(512, input.size() - start));
        float* ins[] = {in.data() + start, in.data() + start};
        float* outs[] = {left.data() + start, right.data() + start};
        host.processReplacing(ins, outs, n);
    }
    return left;
}

std::vector<float> sine(double frequency, double amplitude, double seconds)
{
    std::vector<float> x(static_cast<size_t>(seconds * kRate));
    for (size_t n = 0; n < x.size(); ++n)
        x[n] = static_cast<float>(amplitude * std::sin(2.0 * kPi * frequency * n / kRate));
    return x;
}

// Gain in dB of the settled plug-in at `frequency`: half a second to settle,
// half a second measured.
double gainDb(PluginHost& host, double frequency)
{
    std::vector<float> x = sine(frequency, 0.25, 1.0);
    std::vector<float> y = render(host, x);
    double in2 = 0.0, out2 = 0.0;
    for (size_t n = x.size() / 2; n < x.size(); ++n) {
        in2 += double(x[n]) * x[n];
        out2 += double(y[n]) * y[n];
    }
    return 10.0 * std::log10(out2 / in2);
}

double peak(const std::vector<float>& y, size_t from)
{
    double p = 0.0;
    for (size_t n = from; n < y.size(); ++n)
        p = std::max(p, std::fabs(double(y[n])));
    return p;
}
} // namespace

TEST(QuenvarelPlugin, PresentsItselfToTheHost)
{
    auto host = loadStarted();
    ASSERT_TRUE(host);
    AEffect* e = host->effect();
    EXPECT_EQ(e->numPrograms, 1);
    EXPECT_EQ(e->numParams, 5);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
#if defined(_WIN32)
    EXPECT_EQ(e->flags, 0x11); // replacing, and an editor window
#else
    EXPECT_EQ(e->flags, 0x10); // replacing; no editor outside Windows
#endif
    EXPECT_EQ(e->uniqueID, 0x1D9B0053);
    EXPECT_EQ(e->version, 1);
    EXPECT_EQ(host->effectName(), "Quenvarel");
    EXPECT_EQ(host->vendorString(), "Orvalend");
    EXPECT_EQ(host->productString(), "Quenvarel");
    const char* const names[] = {"PreGain", "Resonance", "Cutoff", "Depth", "PostGain"};
    const char* const labels[] = {"Db", "", "Hz", "Db", "Db"};
    const char* const displays[] = {"0.000000", "1.501000", "12840.000381", "24", "0.000000"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(host->parameterName(i), names[i]);
        EXPECT_EQ(host->parameterLabel(i), labels[i]);
        EXPECT_EQ(host->parameterDisplay(i), displays[i]);
    }
    const float defaults[] = {0.25f, 0.5f, 0.8f, 0.44482756f, 1.0f};
    for (int i = 0; i < 5; ++i)
        EXPECT_FLOAT_EQ(host->getParameter(i), defaults[i]) << i;
    EXPECT_EQ(host->getParameter(5), 0.0f);
    EXPECT_EQ(host->parameterDisplay(5), "");
    EXPECT_EQ(host->parameterName(-1), "");
}

// Q = 1 at every depth (Resonance r with k r^2 + 0.5 = 1): each stage is a
// plain fourth-order Butterworth low-pass, prewarped by the bilinear map.
TEST(QuenvarelPlugin, MatchesTheButterworthResponseAndStacksStages)
{
    const float resonance[] = {std::sqrt(0.1f), std::sqrt(0.2f), std::sqrt(1.0f / 3.0f)};
    const float cutoff = 0.3f; // 20000 x 0.09 + 40 = 1840 Hz
    const double fc = 20000.0 * double(cutoff) * cutoff + 40.0;
    double octaveUp[3];
    for (int depth = 0; depth < 3; ++depth) {
        auto host = loadStarted();
        ASSERT_TRUE(host);
        host->setParameter(1, resonance[depth]);
        host->setParameter(2, cutoff);
        host->setParameter(3, depth * 0.5f);
        for (double ratio : {0.25, 0.5, 1.0}) {
            const double f = fc * ratio;
            const double r = std::tan(kPi * f / kRate) / std::tan(kPi * fc / kRate);
            const double analytic = -10.0 * (depth + 1) * std::log10(1.0 + std::pow(r, 8.0));
            EXPECT_NEAR(gainDb(*host, f), analytic, 0.2) << "depth " << depth << ", " << f;
        }
        octaveUp[depth] = gainDb(*host, 2.0 * fc);
    }
    EXPECT_LT(octaveUp[0], -20.0);
    EXPECT_NEAR(octaveUp[1] / octaveUp[0], 2.0, 0.1);
    EXPECT_NEAR(octaveUp[2] / octaveUp[0], 3.0, 0.15);
}

TEST(QuenvarelPlugin, PassesMinusSixDbfsUnclippedAndLimitsTwelveDbBoost)
{
    const std::vector<float> x = sine(440.0, 0.5012, 1.0); // -6 dBFS
    auto host = loadStarted();
    ASSERT_TRUE(host);
    std::vector<float> y = render(*host, x);
    EXPECT_NEAR(peak(y, y.size() / 2), 0.5012, 0.01);
    EXPECT_LT(peak(y, 0), 0.9); // never reached the clipper's knee

    host->setParameter(0, 1.0f); // +12.04 dB
    EXPECT_EQ(host->parameterDisplay(0), "12.04119");
    y = render(*host, x);
    EXPECT_LE(peak(y, 0), 1.0);
    EXPECT_NEAR(peak(y, y.size() / 2), 0.9 + (2.0048 - 0.9) * 0.05, 0.003);
    y = render(*host, sine(440.0, 1.0, 0.5));
    EXPECT_EQ(peak(y, 0), 1.0);
}

TEST(QuenvarelPlugin, ProcessesInPlaceLikeSeparateBuffersAndBothEntriesOverwrite)
{
    auto separate = loadStarted(), inPlace = loadStarted(), adding = loadStarted();
    ASSERT_TRUE(separate && inPlace && adding);
    const std::vector<float> x = sine(3000.0, 0.7, 0.1);
    const int32_t n = static_cast<int32_t>(x.size());
    std::vector<float> a = render(*separate, x);

    std::vector<float> l(x), r(x);
    float* buffers[] = {l.data(), r.data()};
    inPlace->processReplacing(buffers, buffers, n);
    EXPECT_EQ(l, a);

    std::vector<float> in(x), ol(x.size(), 5.0f), orr(x.size(), 5.0f);
    float* ins[] = {in.data(), in.data()};
    float* outs[] = {ol.data(), orr.data()};
    adding->process(ins, outs, n);
    EXPECT_EQ(ol, a);
}

TEST(QuenvarelPlugin, SurvivesEmptyBlocksNullBuffersAndBadRates)
{
    auto host = loadStarted(), reference = loadStarted();
    ASSERT_TRUE(host && reference);
    std::vector<float> l(64, 3.0f), r(64, 3.0f);
    float* outs[] = {l.data(), r.data()};
    float* nulls[] = {nullptr, nullptr};
    host->processReplacing(outs, outs, 0);
    host->processReplacing(outs, nulls, 64);
    host->processReplacing(outs, nullptr, 64);
    host->processReplacing(nulls, nulls, 64);
    EXPECT_EQ(l[0], 3.0f);
    host->processReplacing(nulls, outs, 64); // missing inputs are silence
    reference->processReplacing(nulls, outs, 64);
    EXPECT_EQ(l[63], 0.0f);

    // Rates of zero or below (or not finite) keep the rate in use: the output
    // stays as at 48 kHz.
    const std::vector<float> x = sine(1000.0, 0.5, 0.2);
    for (PluginHost* h : {host.get(), reference.get()}) {
        h->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
        render(*h, x);
    }
    for (float bad : {0.0f, -48000.0f, std::nanf(""), std::numeric_limits<float>::infinity()}) {
        host->dispatch(effSetSampleRate, 0, 0, nullptr, bad);
        std::vector<float> y = render(*host, x);
        EXPECT_EQ(y, render(*reference, x)) << bad;
    }
}

TEST(QuenvarelPlugin, RecoversFromNonFiniteInput)
{
    auto host = loadStarted();
    ASSERT_TRUE(host);
    std::vector<float> x = sine(440.0, 0.5, 0.2);
    x[1000] = std::numeric_limits<float>::quiet_NaN();
    x[2000] = std::numeric_limits<float>::infinity();
    x[3000] = -1.7e38f; // finite, but past the float range once pre-gained
    std::vector<float> y = render(*host, x);
    for (size_t n = 0; n < y.size(); ++n)
        ASSERT_TRUE(std::isfinite(y[n])) << "sample " << n;
    // Once the bad samples have passed, the sine comes through again.
    EXPECT_GT(peak(y, y.size() / 2), 0.3);
}
