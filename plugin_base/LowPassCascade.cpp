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

void LowPassCascade::runStereoBlock(int stages, float inputGain, float* left, float* right,
                                    int32_t frames)
{
#ifdef NIMBULATOR_FILTER_SSE2
    switch (stages) {
    case 1:
        stereoBlock<1>(inputGain, left, right, frames);
        break;
    case 2:
        stereoBlock<2>(inputGain, left, right, frames);
        break;
    case 3:
        stereoBlock<3>(inputGain, left, right, frames);
        break;
    default:
        stereoBlock<0>(inputGain, left, right, frames);
        break;
    }
#else
    if (stages < 0 || stages > 3)
        stages = 0;
    for (int32_t i = 0; i < frames; ++i) {
        float l = inputGain * left[i];
        float r = inputGain * right[i];
        for (int k = 0; k < stages; ++k) {
            l = stage<false>(k, l);
            r = stage<false>(3 + k, r);
        }
        dropNonFinite(l, r);
        left[i] = l;
        right[i] = r;
    }
#endif
}

#ifdef NIMBULATOR_FILTER_SSE2
// The same lanes and operations as stereoStages, but the two sections'
// history of every stage stays in registers between samples instead of
// going through memory (the recursion then runs at the arithmetic's pace).
template <int Stages>
void LowPassCascade::stereoBlock(float inputGain, float* left, float* right, int32_t frames)
{
    const float(*c)[4] = spread;
    const __m128 gain = _mm_loadu_ps(c[0]);
    const __m128 input = _mm_set1_ps(inputGain);
    __m128 first[Stages > 0 ? Stages : 1];
    __m128 second[Stages > 0 ? Stages : 1];
    auto load = [&] {
#pragma GCC unroll 4
        for (int k = 0; k < Stages; ++k) {
            const __m128 l = _mm_loadu_ps(history[k]);
            const __m128 r = _mm_loadu_ps(history[3 + k]);
            first[k] = _mm_unpacklo_ps(l, r);
            second[k] = _mm_unpackhi_ps(l, r);
        }
    };
    auto store = [&] {
#pragma GCC unroll 4
        for (int k = 0; k < Stages; ++k) {
            _mm_storeu_ps(history[k], _mm_shuffle_ps(first[k], second[k], _MM_SHUFFLE(2, 0, 2, 0)));
            _mm_storeu_ps(history[3 + k],
                          _mm_shuffle_ps(first[k], second[k], _MM_SHUFFLE(3, 1, 3, 1)));
        }
    };

    load();
    for (int32_t i = 0; i < frames; ++i) {
        __m128 x = _mm_mul_ps(input, _mm_unpacklo_ps(_mm_set_ss(left[i]), _mm_set_ss(right[i])));
#pragma GCC unroll 4
        for (int k = 0; k < Stages; ++k) {
            x = _mm_mul_ps(x, gain);
            x = stereoSection(x, c + 1, first[k]);
            x = stereoSection(x, c + 5, second[k]);
        }
        float l = _mm_cvtss_f32(x);
        float r = _mm_cvtss_f32(_mm_shuffle_ps(x, x, _MM_SHUFFLE(1, 1, 1, 1)));
        // x - x is NaN exactly in the lanes holding an infinity or a NaN.
        const __m128 zeroIfFinite = _mm_sub_ps(x, x);
        const int faulty = _mm_movemask_ps(_mm_cmpunord_ps(zeroIfFinite, zeroIfFinite)) & 3;
        if (faulty) {
            store();
            dropNonFinite(l, r);
            load();
        }
        left[i] = l;
        right[i] = r;
    }
    store();
}
#endif
