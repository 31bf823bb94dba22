#include "Envelope.h"

#include <cmath>

float Envelope::map(float level) const
{
    if (!bipolar)
        return level;
    int64_t range = shape->range;
    return static_cast<float>(2 * range) * level - static_cast<float>(range);
}

// A length below one sample never shows its step (the stage moves on at the
// next tick), so it is not divided by.
float Envelope::lengthStep(float from, float to, float samples)
{
    return samples >= 1.0f ? (to - from) / samples : 0.0f;
}

int32_t Envelope::sampleCount(float samples)
{
    if (!(samples >= 0.0f))
        return 0;
    if (samples >= 2147483520.0f)
        return 2147483520;
    return static_cast<int32_t>(samples);
}

void Envelope::setUpSegment(float rate)
{
    const PatchEnvelope& e = *shape;
    value = map(e.pointLevel[point]);
    target = map(e.pointLevel[point + 1]);
    float samples = (e.pointTime[point + 1] - e.pointTime[point]) * e.attackTime * rate;
    step = lengthStep(value, target, samples);
    remaining = sampleCount(samples);
}

void Envelope::setDecayStep(float rate)
{
    settled = false;
    step = std::exp2(-1.0f / (rate * shape->decayTime));
    // A negative or non-numeric decay time would make the approach diverge.
    if (!(step >= 0.0f && step <= 1.0f))
        step = 0.0f;
}

void Envelope::startDecay(float rate)
{
    settled = false;
    stage = kDecay;
    value = map(shape->pointLevel[points() - 1]);
    target = map(shape->sustainLevel);
    setDecayStep(rate);
}

void Envelope::start(float rate)
{
    settled = false;
    stage = kAttack;
    point = 0;
    setUpSegment(rate);
}

void Envelope::release(float rate)
{
    settled = false;
    stage = kRelease;
    target = map(shape->releaseLevel);
    float samples = rate * shape->releaseTime;
    step = lengthStep(value, target, samples);
    remaining = sampleCount(samples);
}

void Envelope::attackTimeChanged(float rate)
{
    if (stage != kAttack || point + 1 >= points())
        return;
    const PatchEnvelope& e = *shape;
    float start = map(e.pointLevel[point]);
    float r =
        std::fabs(target - start) >= 0.0001f ? 1.0f - (value - start) / (target - start) : 0.0f;
    float samples = r * (e.pointTime[point + 1] - e.pointTime[point]) * e.attackTime * rate;
    step = lengthStep(value, target, samples);
    remaining = sampleCount(samples);
}

void Envelope::decayTimeChanged(float rate)
{
    if (stage == kDecay)
        setDecayStep(rate);
}

void Envelope::releaseTimeChanged(float rate)
{
    if (stage != kRelease)
        return;
    float samples = rate * shape->releaseTime;
    step = lengthStep(value, target, samples);
    remaining = sampleCount(samples);
}

void Envelope::pointLevelChanged()
{
    settled = false;
    int32_t left = remaining > 1 ? remaining : 1;
    if (stage == kAttack) {
        if (point + 1 >= points())
            return;
        target = map(shape->pointLevel[point + 1]);
        step = (target - value) / static_cast<float>(left);
    } else if (stage == kDecay) {
        target = map(shape->sustainLevel);
    } else if (stage == kRelease) {
        target = map(shape->releaseLevel);
        step = (target - value) / static_cast<float>(left);
    }
}

void Envelope::lastPointChanged()
{
    if (stage == kAttack && point == points() - 2)
        pointLevelChanged();
}

void Envelope::sustainLevelChanged()
{
    settled = false;
    if (stage == kDecay)
        target = map(shape->sustainLevel);
}

void Envelope::releaseLevelChanged()
{
    if (stage != kRelease)
        return;
    int32_t left = remaining > 1 ? remaining : 1;
    target = map(shape->releaseLevel);
    step = (target - value) / static_cast<float>(left);
}
