#include "SynthTables.h"

#include "Random.h"

#include <cmath>

SynthTables::SynthTables()
{
    for (int i = 0; i < kNotes; ++i)
        noteFrequency[i] = 8.1757989156437 * std::pow(2.0, i / 12.0);
    for (int k = 0; k < kGains; ++k)
        countGain[k] = static_cast<float>(std::pow(static_cast<double>(k + 1), -0.9));
    const double pi = 4.0 * std::atan(1.0);
    for (int i = 0; i < kWave; ++i)
        sine[i] = static_cast<float>(std::sin(2.0 * pi * i / 8192.0));

    seedRandom(0);
    for (int i = 0; i < kWave; ++i) {
        int32_t sign = nextRandom();
        int32_t size = nextRandom();
        float magnitude = ((size & 4095) / 4095.0f + 1.0f) * 0.5f;
        noise[i] = (sign & 1) ? magnitude : -magnitude;
    }

    for (int i = 0; i < kRoots; ++i) {
        roots[0][i] = static_cast<float>(std::sqrt(i * 0.001));
        roots[1][i] = static_cast<float>(std::sqrt(i * 0.01));
        roots[2][i] = static_cast<float>(std::sqrt(i * 0.1));
        roots[3][i] = static_cast<float>(std::sqrt(static_cast<double>(i)));
    }
    speed[0] = 0.0f;
    for (int i = 1; i < kSpeeds; ++i)
        speed[i] = static_cast<float>(10.0 * std::pow(2.0, (i - 50) * 0.15));
}

float SynthTables::fastSqrt(float x) const
{
    if (!(x >= 0.0f))
        return 0.0f;
    const float* table;
    float position;
    if (x < 0.1f) {
        table = roots[0];
        position = x * 1000.0f;
    } else if (x < 1.0f) {
        table = roots[1];
        position = x * 100.0f;
    } else if (x < 10.0f) {
        table = roots[2];
        position = x * 10.0f;
    } else if (x < 100.0f) {
        table = roots[3];
        position = x;
    } else {
        return std::sqrt(x);
    }
    int32_t i = truncLimit(position, 0, kRoots - 1);
    if (i >= kRoots - 1)
        return table[kRoots - 1];
    return table[i] + (table[i + 1] - table[i]) * (position - static_cast<float>(i));
}
