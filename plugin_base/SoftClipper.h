// Saturation that leaves |x| <= 0.9 untouched and compresses everything
// beyond into +-1.0 (slope 0.05 past the knee, hard limit at 1.0).
//
// The instrument's clipper reads a drive gain (by reference, so the engine
// can smooth it) and multiplies each sample by it first; the filter effect's
// clipper has no gain.
#pragma once

#include <cmath>
#include <cstdint>

#if defined(__SSE2__) || defined(__x86_64__) || defined(_M_X64)
#include <emmintrin.h>
#define NIMBULATOR_CLIPPER_SSE2 1
#endif

class SoftClipper {
public:
    SoftClipper() : gain(nullptr) {}
    explicit SoftClipper(const float& driveGain) : gain(&driveGain) {}

    inline float shape(float x) const
    {
        if (gain)
            x = x * *gain;
        return curve(x);
    }

    static inline float curve(float x)
    {
        if (x >= -0.9f && x <= 0.9f)
            return x;
        float y = 0.9f + (std::fabs(x) - 0.9f) * 0.05f;
        if (y > 1.0f)
            y = 1.0f;
        return std::copysign(y, x);
    }

    // curve() over a block in place, each result then multiplied by scale;
    // the same bits as the scalar curve, four samples at a time.
    static inline void curveBlock(float* samples, int32_t frames, float scale)
    {
        int32_t i = 0;
#ifdef NIMBULATOR_CLIPPER_SSE2
        const __m128 sign = _mm_set1_ps(-0.0f);
        const __m128 knee = _mm_set1_ps(0.9f);
        const __m128 slope = _mm_set1_ps(0.05f);
        const __m128 one = _mm_set1_ps(1.0f);
        const __m128 factor = _mm_set1_ps(scale);
        for (; i + 4 <= frames; i += 4) {
            const __m128 x = _mm_loadu_ps(samples + i);
            const __m128 magnitude = _mm_andnot_ps(sign, x);
            __m128 y = _mm_add_ps(knee, _mm_mul_ps(_mm_sub_ps(magnitude, knee), slope));
            y = _mm_min_ps(one, y); // one < y ? one : y, so a NaN stays NaN
            y = _mm_or_ps(_mm_andnot_ps(sign, y), _mm_and_ps(sign, x));
            const __m128 inside = _mm_cmple_ps(magnitude, knee);
            y = _mm_or_ps(_mm_and_ps(inside, x), _mm_andnot_ps(inside, y));
            _mm_storeu_ps(samples + i, _mm_mul_ps(y, factor));
        }
#endif
        for (; i < frames; ++i)
            samples[i] = curve(samples[i]) * scale;
    }

private:
    const float* gain;
};
