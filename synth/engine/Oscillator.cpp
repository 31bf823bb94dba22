#include "Oscillator.h"

#include "LowPassCascade.h"
#include "Random.h"
#include "SynthSettings.h"
#include "SynthTables.h"
#include "Voice.h"

#include <cmath>

namespace {
inline float clampUnit(float x, float top)
{
    if (!(x >= 0.0f)) // also catches NaN
        return 0.0f;
    return x > top ? top : x;
}
} // namespace

double Oscillator::velocityLength2() const
{
    const double* v = &flock->velocity[0][slot];
    const int n = FlockState::kSize;
    return v[0] * v[0] + v[n] * v[n] + v[2 * n] * v[2 * n] + v[3 * n] * v[3 * n] +
           v[4 * n] * v[4 * n];
}

int32_t Oscillator::voiceState() const
{
    return voice ? voice->state : 3;
}

void Oscillator::randomise()
{
    do {
        for (int d = 0; d < 5; ++d) {
            position(d) = (nextRandom() & 4095) * (2.0 / 4095.0) - 1.0;
            velocity(d) = (nextRandom() & 4095) * (2.0 / 4095.0) - 1.0;
        }
    } while (velocityLength2() < 0.001);
    double length = std::sqrt(velocityLength2());
    for (int d = 0; d < 5; ++d)
        velocity(d) /= length;
    neighbour = nullptr;
    neighbourDist2 = 10000.0f;
    invDistance = 0.0f;
    scanIndex = 0;
}

void Oscillator::assignVoice(Voice* newVoice, bool redistribute, const SynthSettings& settings)
{
    if (voice) {
        voice->oscCount -= 1;
        if (redistribute)
            voice->startCountSmoothing();
        if (voice->state != 3) {
            for (int d = 0; d < 5; ++d)
                previous[d] = value(d);
            glideLevel = 1.0f;
            gliding = true;
        }
    } else {
        gliding = false;
        if (newVoice && settings.phaseCorrelation) {
            phase() = 0.0;
            noiseIndex() = 0;
        }
    }
    voice = newVoice;
    if (flock)
        flock->regroup = true;
    if (!newVoice)
        return;
    if (settings.reseedMode != 0)
        randomise();
    newVoice->oscCount += 1;
    changed = true;
    if (redistribute) {
        fadeDirection = 1;
        fadeLevel = 0.0f;
        newVoice->startCountSmoothing();
    }
}

void Oscillator::normalise(const SynthTables& tables)
{
    double length2 = velocityLength2();
    if (length2 > 0.0001) {
        double length = tables.fastSqrt(static_cast<float>(length2));
        for (int d = 0; d < 5; ++d)
            velocity(d) /= length;
    }
}

void Oscillator::reflect(int d, double factor, const SynthTables& tables)
{
    velocity(d) = -factor * velocity(d);
    normalise(tables);
}

void Oscillator::step(const SynthSettings& settings, const SynthTables& tables, double samplePeriod,
                      float& left, float& right)
{
    if (!voice || voice->state == 3)
        return;
    const Voice& v = *voice;

    // Flight: each dimension moves, and a wall turns the velocity at once.
    float distance = v.speed * speedFactor();
    for (int d = 0; d < 5; ++d) {
        position(d) += distance * static_cast<float>(velocity(d));
        if (position(d) > 1.0) {
            position(d) = 1.0;
            reflect(d, settings.reflectionFactor, tables);
        } else if (position(d) < -1.0) {
            position(d) = -1.0;
            reflect(d, settings.reflectionFactor, tables);
        }
    }

    value(0) = static_cast<float>((position(0) * v.range[0] + 1.0) * v.home[0]);
    if (fadeDirection == 1) {
        fadeLevel += settings.fadeStep;
        if (fadeLevel >= 1.0f)
            fadeDirection = 0;
        else
            value(0) *= fadeLevel;
    } else if (fadeDirection == -1) {
        fadeLevel -= settings.fadeStep;
        if (fadeLevel <= 0.0f) {
            value(0) = 0.0f;
            fadeDirection = 0;
            removed = true;
        } else {
            value(0) *= fadeLevel;
        }
    }
    for (int d = 1; d < 5; ++d)
        value(d) = static_cast<float>(position(d) * v.range[d] + v.home[d]);

    if (gliding) {
        glideLevel -= settings.glideStep;
        if (glideLevel > 0.0f) {
            for (int d = 0; d < 5; ++d)
                value(d) = (1.0f - glideLevel) * value(d) + glideLevel * previous[d];
        } else {
            gliding = false;
        }
    }

    value(0) = clampUnit(value(0), 1.0f);
    value(1) = clampUnit(value(1), 128.0f);
    value(2) = clampUnit(value(2), 1.0f);
    value(3) = clampUnit(value(3), 1.0f);
    value(4) = clampUnit(value(4), 1.0f);

    // Sound: one squeezed sine (or noise) burst per period.
    const float amp = value(0), pan = value(2), res = value(3), noise = value(4);
    double& phase = this->phase();
    int32_t& noiseIndex = this->noiseIndex();
    phase += tables.frequency(value(1)) * samplePeriod;
    if (phase >= 1.0) {
        phase -= 1.0;
        if (phase >= 1.0) // a period shorter than a sample
            phase -= std::floor(phase);
        noiseIndex = 0;
    }
    double x = static_cast<double>(res * res * res * 56.0f + 1.0f) * phase;
    float w = 0.0f;
    if (x <= 1.0) {
        float s = tables.sineAt(x * 8192.0);
        if (noiseIndex >= SynthTables::kWave || noiseIndex < 0)
            noiseIndex = 0;
        float n = tables.noise[noiseIndex];
        noiseIndex += 1;
        w = noise * n + (1.0f - noise) * s;
    }
    float out = 2.0f * amp * v.oscillatorGain * w;
    left += (1.0f - pan) * out;
    right += pan * out;
}

float Oscillator::distance2(const Oscillator& o) const
{
    float a = value(0) - o.value(0);
    float b = (value(1) - o.value(1)) * 0.0078125f;
    float c = (value(2) - o.value(2)) * 0.5f;
    float d = value(3) - o.value(3);
    float e = value(4) - o.value(4);
    return LowPassCascade::flushDenormal(a * a + b * b + c * c + d * d + e * e);
}

void Oscillator::steer(Oscillator* pool, const SynthSettings& settings, const SynthTables& tables)
{
    if (settings.mouseSteering == 0) {
        steerByNeighbour(pool, settings, tables);
    } else {
        float strength = static_cast<float>(settings.mouseSteering);
        for (int d = 0; d < 5; ++d) {
            float v = d == 1 ? value(1) * 0.0078125f : value(d);
            velocity(d) += (settings.mouseTarget[d] - v) * strength;
        }
    }
    if (velocityLength2() > 0.0001) {
        normalise(tables);
    } else {
        int k = scanIndex % 5;
        velocity(k) += (scanIndex & 1) ? 1.0 : -1.0;
    }
}

void Oscillator::steerByNeighbour(Oscillator* pool, const SynthSettings& settings,
                                  const SynthTables& tables)
{
    if (neighbour) {
        if (!neighbour->sounding()) {
            neighbour = nullptr;
            neighbourDist2 = 10000.0f;
        } else {
            neighbourDist2 = distance2(*neighbour);
        }
    }

    const int32_t count = settings.requestedCount;
    for (int32_t tries = 0; tries < count; ++tries) {
        scanIndex += 1;
        if (scanIndex >= count || scanIndex < 0)
            scanIndex = 0;
        Oscillator& candidate = pool[scanIndex];
        if (&candidate == this || !candidate.sounding())
            continue;
        float d2 = distance2(candidate);
        float inverse = 1.0f / std::fmax(0.01f, tables.fastSqrt(d2));
        if (d2 < neighbourDist2) {
            neighbour = &candidate;
            neighbourDist2 = d2;
            invDistance = inverse;
        }
        if (d2 < candidate.neighbourDist2) {
            candidate.neighbour = this;
            candidate.neighbourDist2 = d2;
            candidate.invDistance = inverse;
        }
        break;
    }

    if (!neighbour)
        return;
    const Oscillator& there = *neighbour;
    if (settings.proximityRadius * settings.proximityRadius < neighbourDist2) {
        float pull = invDistance * settings.attractStep;
        for (int d = 0; d < 5; ++d)
            velocity(d) += pull * (there.position(d) - position(d));
    } else {
        float push = invDistance * settings.repelStep;
        for (int d = 0; d < 5; ++d)
            velocity(d) -= push * (there.position(d) - position(d));
    }
}
