// Resonant low-pass of up to three identical four-pole stages per channel.
//
// Each stage is a fourth-order Butterworth prototype (two second-order
// sections), prewarped and mapped with the bilinear transform; dividing the
// sections' damping by Q raises a resonant peak at the cutoff. All six
// history slots (0..2 left, 3..5 right) share one coefficient set, so the
// owner chooses the depth simply by how many slots a channel passes.
//
// runStage is the per-sample kernel: single precision, no allocation, every
// intermediate flushed to zero when it would be denormal.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

// SSE2 is the baseline of every build (32-bit ones included).
#if defined(__SSE2__) || defined(__x86_64__) || defined(_M_X64)
#include <emmintrin.h>
#define NIMBULATOR_FILTER_SSE2 1
#endif

class LowPassCascade {
public:
    enum { kSlots = 6 };

    // limitFactor: cutoffs at or above limitFactor x fs are clamped there.
    explicit LowPassCascade(double limitFactor);

    // Designs the coefficient set (history untouched). fc in Hz, fs in Hz.
    // Non-finite or non-positive arguments leave the previous design in place.
    void designLowPass(double fc, double q, double fs);

    // One four-pole stage on one sample; slot 0..5.
    inline float runStage(int slot, float sample) { return stage<true>(slot, sample); }

    // Both channels of one stereo sample through `stages` stages (1..3):
    // left through slots 0, 1, 2, right through 3, 4, 5, as runStage would.
    // softwareFlush false skips the explicit flushes, which is exact only
    // while the processor flushes denormal results itself (see
    // hardwareFlushes); the results are then bit for bit those of runStage.
    inline void runStereo(int stages, float& left, float& right, bool softwareFlush)
    {
        float l = left, r = right;
        if (softwareFlush) {
            for (int k = 0; k < stages; ++k) {
                l = stage<true>(k, l);
                r = stage<true>(3 + k, r);
            }
        } else {
#ifdef NIMBULATOR_FILTER_SSE2
            stereoStages(stages, l, r);
#else
            for (int k = 0; k < stages; ++k) {
                l = stage<false>(k, l);
                r = stage<false>(3 + k, r);
            }
#endif
        }
        left = l;
        right = r;
    }

    // A block of stereo samples in place: each multiplied by inputGain, then
    // through `stages` stages (0..3) as runStereo(stages, l, r, false) would
    // run them sample by sample, with the history held in registers for the
    // whole block, and each output through dropNonFinite.
    // Only while the processor flushes denormals itself (hardwareFlushes).
    void runStereoBlock(int stages, float inputGain, float* left, float* right, int32_t frames);

    // An output that is not finite (from such an input, or from a design
    // driven past stability) would stay in the history for good: it becomes
    // zero and that channel's three slots start again from silence.
    void dropNonFinite(float& left, float& right)
    {
        if (!std::isfinite(left)) {
            left = 0.0f;
            for (int slot = 0; slot < 3; ++slot)
                clearSlot(slot);
        }
        if (!std::isfinite(right)) {
            right = 0.0f;
            for (int slot = 3; slot < 6; ++slot)
                clearSlot(slot);
        }
    }

    // True while the processor's flush-to-zero mode is on (as the processing
    // entries set it): every arithmetic result is then zero or normal, so
    // flushing the results again in software changes nothing.
    static bool hardwareFlushes();

    // Clears all history (the design keeps it across suspend/resume; this is
    // for owners that need a clean start, such as tests).
    void clearHistory()
    {
        std::memset(history, 0, sizeof(history));
    }
    void clearSlot(int slot)
    {
        std::memset(history[slot], 0, sizeof(history[slot]));
    }

    // Every history value is zero: silence in gives silence out.
    bool isSilent() const
    {
        for (const auto& slot : history)
            for (float h : slot)
                if (h != 0.0f)
                    return false;
        return true;
    }

    double clampedCutoff() const
    {
        return cutoff;
    } // Hz, of the last design
    const float* coefficientSet() const
    {
        return coefficients;
    } // gain, b1 b2 a1 a2 x2
    const float* slotHistory(int slot) const
    {
        return history[slot];
    }

    static inline float flushDenormal(float x)
    {
        uint32_t bits;
        std::memcpy(&bits, &x, sizeof bits);
        return ((bits & 0x7F800000u) == 0 && (bits & 0x007FFFFFu) != 0) ? 0.0f : x;
    }

private:
    template <bool Flush> static inline float flushIf(float x)
    {
        return Flush ? flushDenormal(x) : x;
    }

#ifdef NIMBULATOR_FILTER_SSE2
    // The left channel in lane 0 and the right in lane 1 of one vector, each
    // lane computing exactly what stage<false> computes for its channel
    // (lanes 2 and 3 carry values nobody reads).
    inline void stereoStages(int stages, float& left, float& right)
    {
        const float(*c)[4] = spread;
        const __m128 gain = _mm_loadu_ps(c[0]);
        __m128 x = _mm_unpacklo_ps(_mm_set_ss(left), _mm_set_ss(right));
        for (int k = 0; k < stages; ++k) {
            const __m128 l = _mm_loadu_ps(history[k]);
            const __m128 r = _mm_loadu_ps(history[3 + k]);
            __m128 first = _mm_unpacklo_ps(l, r);  // h1, h2 of section 1: L R L R
            __m128 second = _mm_unpackhi_ps(l, r); // the same of section 2
            x = _mm_mul_ps(x, gain);
            x = stereoSection(x, c + 1, first);
            x = stereoSection(x, c + 5, second);
            _mm_storeu_ps(history[k], _mm_shuffle_ps(first, second, _MM_SHUFFLE(2, 0, 2, 0)));
            _mm_storeu_ps(history[3 + k], _mm_shuffle_ps(first, second, _MM_SHUFFLE(3, 1, 3, 1)));
        }
        left = _mm_cvtss_f32(x);
        right = _mm_cvtss_f32(_mm_shuffle_ps(x, x, _MM_SHUFFLE(1, 1, 1, 1)));
    }

    template <int Stages>
    void stereoBlock(float inputGain, float* left, float* right, int32_t frames);

    // h: lanes 0, 1 the two channels' h1, lanes 2, 3 their h2; updated.
    static inline __m128 stereoSection(__m128 in, const float (*c)[4], __m128& h)
    {
        const __m128 h1 = h;
        const __m128 h2 = _mm_movehl_ps(h, h);
        const __m128 w = _mm_sub_ps(in, _mm_mul_ps(h1, _mm_loadu_ps(c[0])));
        const __m128 fresh = _mm_sub_ps(w, _mm_mul_ps(h2, _mm_loadu_ps(c[1])));
        __m128 out = _mm_add_ps(fresh, _mm_mul_ps(h1, _mm_loadu_ps(c[2])));
        out = _mm_add_ps(out, _mm_mul_ps(h2, _mm_loadu_ps(c[3])));
        h = _mm_movelh_ps(fresh, h1);
        return out;
    }
#endif

    template <bool Flush> inline float stage(int slot, float sample)
    {
        float* h = history[slot];
        float out = sample * coefficients[0];
        out = runSection<Flush>(out, coefficients + 1, h);
        out = runSection<Flush>(out, coefficients + 5, h + 2);
        return out;
    }

    // c: beta1, beta2, alpha1, alpha2; h: h1 (newest), h2.
    template <bool Flush> static inline float runSection(float in, const float* c, float* h)
    {
        float w = flushIf<Flush>(in - h[0] * c[0]);
        float fresh = flushIf<Flush>(w - h[1] * c[1]);
        float out = flushIf<Flush>(fresh + h[0] * c[2]);
        out = flushIf<Flush>(out + h[1] * c[3]);
        h[1] = h[0];
        h[0] = fresh;
        return out;
    }

    struct Section {
        double a0, a1, a2, b0, b1, b2;
    };

    Section prototype[2];
    float coefficients[9];
    float spread[9][4]; // each coefficient four times, for the stereo kernel
    float history[kSlots][4];
    double limit;
    double rate = 0.0;
    double cutoff = 0.0;
    double quality = 0.0;
};
