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

#include <cstdint>
#include <cstring>

class LowPassCascade {
public:
    enum { kSlots = 6 };

    // limitFactor: cutoffs at or above limitFactor x fs are clamped there.
    explicit LowPassCascade(double limitFactor);

    // Designs the coefficient set (history untouched). fc in Hz, fs in Hz.
    // Non-finite or non-positive arguments leave the previous design in place.
    void designLowPass(double fc, double q, double fs);

    // One four-pole stage on one sample; slot 0..5.
    inline float runStage(int slot, float sample)
    {
        float* h = history[slot];
        float out = sample * coefficients[0];
        out = runSection(out, coefficients + 1, h);
        out = runSection(out, coefficients + 5, h + 2);
        return out;
    }

    // Clears all history (the design keeps it across suspend/resume; this is
    // for owners that need a clean start, such as tests).
    void clearHistory() { std::memset(history, 0, sizeof(history)); }
    void clearSlot(int slot) { std::memset(history[slot], 0, sizeof(history[slot])); }

    double clampedCutoff() const { return cutoff; }              // Hz, of the last design
    const float* coefficientSet() const { return coefficients; } // gain, b1 b2 a1 a2 x2
    const float* slotHistory(int slot) const { return history[slot]; }

    static inline float flushDenormal(float x)
    {
        uint32_t bits;
        std::memcpy(&bits, &x, sizeof bits);
        return ((bits & 0x7F800000u) == 0 && (bits & 0x007FFFFFu) != 0) ? 0.0f : x;
    }

private:
    // c: beta1, beta2, alpha1, alpha2; h: h1 (newest), h2.
    static inline float runSection(float in, const float* c, float* h)
    {
        float w = flushDenormal(in - h[0] * c[0]);
        float fresh = flushDenormal(w - h[1] * c[1]);
        float out = flushDenormal(fresh + h[0] * c[2]);
        out = flushDenormal(out + h[1] * c[3]);
        h[1] = h[0];
        h[0] = fresh;
        return out;
    }

    struct Section {
        double a0, a1, a2, b0, b1, b2;
    };

    Section prototype[2];
    float coefficients[9];
    float history[kSlots][4];
    double limit;
    double rate = 0.0;
    double cutoff = 0.0;
    double quality = 0.0;
};
