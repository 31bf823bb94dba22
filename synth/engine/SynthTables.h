// Lookup tables shared by the engine and the hyperspace view: note
// frequencies, one sine cycle, a fixed noise burst, the per-oscillator count
// gain, square roots for the flock's distances and the flight-speed curve.
// Filled once at construction and never changed afterwards, so any thread may
// read them.
#pragma once

#include <cstdint>

class SynthTables {
public:
    enum { kNotes = 129, kGains = 65, kWave = 8193, kRoots = 101, kSpeeds = 101 };

    // Reseeds this thread's generator with 0 and draws the noise table
    // (two draws per entry), so the noise is the same in every instance.
    SynthTables();

    double noteFrequency[kNotes]; // Hz of MIDI note i
    float countGain[kGains];      // entry k: (k + 1)^-0.9
    float sine[kWave];            // one cycle and its closing point
    float noise[kWave];           // +-0.5..1.0
    float roots[4][kRoots];       // sqrt(i x 0.001), sqrt(i x 0.01), sqrt(i x 0.1), sqrt(i)
    float speed[kSpeeds];         // box units per second; 10 at index 50

    // Truncates x and limits it to lo..hi without ever converting an
    // out-of-range float (NaN gives lo).
    static inline int32_t truncLimit(double x, int32_t lo, int32_t hi)
    {
        if (!(x >= lo))
            return lo;
        if (x >= hi)
            return hi;
        return static_cast<int32_t>(x);
    }

    // Frequency in Hz of a fractional note number (0..128 on the MIDI scale).
    inline double frequency(float pitch) const
    {
        int32_t i = truncLimit(pitch, 0, 127);
        return noteFrequency[i] + (noteFrequency[i + 1] - noteFrequency[i]) * (pitch - i);
    }

    // Per-oscillator gain for a voice holding n oscillators (n^-0.9).
    inline float gain(float n) const
    {
        int32_t i = truncLimit(n, 1, 64);
        float fraction = n - static_cast<float>(i);
        if (!(fraction >= 0.0f))
            fraction = 0.0f;
        else if (fraction > 1.0f)
            fraction = 1.0f;
        return countGain[i - 1] + (countGain[i] - countGain[i - 1]) * fraction;
    }

    // Sine table read at position 0..8192 (one cycle), linearly interpolated;
    // the end of the cycle reads the closing point.
    inline float sineAt(double position) const
    {
        int32_t i = truncLimit(position, 0, kWave - 1);
        if (i >= kWave - 1)
            return sine[kWave - 1];
        float fraction = static_cast<float>(position - i);
        return sine[i] + (sine[i + 1] - sine[i]) * fraction;
    }

    // Flight speed for a speed-envelope value times the speed setting (0..100).
    inline float speedAt(float x) const
    {
        int32_t i = truncLimit(x, 0, kSpeeds - 1);
        if (i >= kSpeeds - 1)
            return speed[kSpeeds - 1];
        float fraction = x - static_cast<float>(i);
        if (!(fraction >= 0.0f))
            fraction = 0.0f;
        return speed[i] + (speed[i + 1] - speed[i]) * fraction;
    }

    // Square root by table interpolation below 100, exact above.
    float fastSqrt(float x) const;
};
