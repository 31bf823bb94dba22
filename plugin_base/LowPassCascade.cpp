#include "LowPassCascade.h"

#include <cmath>

#if defined(__SSE2__) || defined(__x86_64__) || defined(_M_X64)
#include <xmmintrin.h>

bool LowPassCascade::hardwareFlushes()
{
    return (_mm_getcsr() & 0x8000u) != 0; // FTZ
}
#else
bool LowPassCascade::hardwareFlushes()
{
    return false;
}
#endif

LowPassCascade::LowPassCascade(double limitFactor)
    : prototype{{1.0, 0.0, 0.0, 1.0, 0.765367, 1.0}, {1.0, 0.0, 0.0, 1.0, 1.847759, 1.0}},
      coefficients{}, spread{}, history{}, limit(limitFactor)
{
}

// Per section: prewarp the analogue prototype to the cutoff, then map it with
// the bilinear transform s = 2 fs (z - 1) / (z + 1). The numerators are
// constant (a1 = a2 = 0), so alpha1 = 2 and alpha2 = 1 in both sections and
// the two section gains ad / bd multiply into the stage's input gain.
void LowPassCascade::designLowPass(double fc, double q, double fs)
{
    if (!std::isfinite(fc) || !std::isfinite(q) || !std::isfinite(fs) || fc <= 0.0 || q <= 0.0 ||
        fs <= 0.0)
        return;
    if (!(fc < limit * fs))
        fc = limit * fs;
    rate = fs;
    cutoff = fc;
    quality = q;

    const double pi = 4.0 * std::atan(1.0);
    const double fs2 = fs * fs;
    double gain = 1.0;
    for (int n = 0; n < 2; ++n) {
        const Section& p = prototype[n];
        double a0 = p.a0, a1 = p.a1, a2 = p.a2, b0 = p.b0, b1 = p.b1 / q, b2 = p.b2;

        const double wp = 2.0 * fs * std::tan(pi * fc / fs);
        a2 = a2 / (wp * wp);
        a1 = a1 / wp;
        b2 = b2 / (wp * wp);
        b1 = b1 / wp;

        const double ad = 4.0 * a2 * fs2 + 2.0 * a1 * fs + a0;
        const double bd = 4.0 * b2 * fs2 + 2.0 * b1 * fs + b0;
        gain = gain * ad / bd;

        float* c = coefficients + 1 + 4 * n;
        c[0] = static_cast<float>((2.0 * b0 - 8.0 * b2 * fs2) / bd);
        c[1] = static_cast<float>((4.0 * b2 * fs2 - 2.0 * b1 * fs + b0) / bd);
        c[2] = static_cast<float>((2.0 * a0 - 8.0 * a2 * fs2) / ad);
        c[3] = static_cast<float>((4.0 * a2 * fs2 - 2.0 * a1 * fs + a0) / ad);
    }
    coefficients[0] = static_cast<float>(gain);
    for (int i = 0; i < 9; ++i)
        for (float& lane : spread[i])
            lane = coefficients[i];
}
