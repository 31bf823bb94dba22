// Saturation that leaves |x| <= 0.9 untouched and compresses everything
// beyond into +-1.0 (slope 0.05 past the knee, hard limit at 1.0).
//
// The instrument's clipper reads a drive gain (by reference, so the engine
// can smooth it) and multiplies each sample by it first; the filter effect's
// clipper has no gain.
#pragma once

#include <cmath>

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

private:
    const float* gain;
};
