// One running envelope of a voice: a multi-point attack spread over the
// attack time, an exponential decay towards the sustain level (the distance
// halves every decay time), and a linear release towards the release level.
//
// The shape lives in the current program (a PatchEnvelope) and is read live,
// so edits show at once; a shape from outside may hold any bytes, so every
// count is limited and every length guarded where it is used here.
// Runs on the audio thread, sample by sample; the edit hooks run on the UI
// thread while the voice sounds (single stores, no locks).
#pragma once

#include "LowPassCascade.h"
#include "Patch.h"

#include <cstdint>
#include <cstring>

class Envelope {
public:
    enum Stage { kAttack = 0, kDecay = 1, kRelease = 2, kFinished = 3 };

    bool bipolar = false; // levels map to -range..+range
    const PatchEnvelope* shape = nullptr;
    int32_t stage = kFinished;
    float value = 0.0f;
    float step = 0.0f;     // increment per sample (attack, release); keep factor (decay)
    int32_t remaining = 0; // samples left in the attack segment or release
    int32_t point = 0;     // start point of the attack segment
    float target = 0.0f;
    // In the decay stage: the value has reached the fixed point of the decay
    // step (the next tick would give the same bits), so ticks skip it.
    bool settled = false;

    // rate: sample rate in Hz.
    void start(float rate);   // note-on
    void release(float rate); // note-off, from any stage
    inline float tick(float rate);
    // Finished, or a decay at its fixed point: ticks change nothing until
    // a note event or an edit.
    bool atRest() const { return stage == kFinished || (stage == kDecay && settled); }

    // Live edits of the shape (envelope edit hooks).
    void attackTimeChanged(float rate);
    void decayTimeChanged(float rate);
    void releaseTimeChanged(float rate);
    void pointLevelChanged();
    void lastPointChanged();
    void sustainLevelChanged();
    void releaseLevelChanged();

    float map(float level) const;

private:
    void setUpSegment(float rate);
    void startDecay(float rate);
    void setDecayStep(float rate);
    static float lengthStep(float from, float to, float samples);
    static int32_t sampleCount(float samples);
    int32_t points() const { return safePointCount(*shape); }
};

inline float Envelope::tick(float rate)
{
    switch (stage) {
    case kAttack:
        value += step;
        if (remaining == 0) {
            point += 1;
            if (point < points() - 1) {
                setUpSegment(rate);
                if (remaining > 0)
                    remaining -= 1;
                return value;
            }
            startDecay(rate);
        } else {
            remaining -= 1;
        }
        break;
    case kDecay: {
        if (settled)
            break;
        const float next = LowPassCascade::flushDenormal((1.0f - step) * target + step * value);
        uint32_t a, b;
        std::memcpy(&a, &next, sizeof a);
        std::memcpy(&b, &value, sizeof b);
        settled = a == b;
        value = next;
        break;
    }
    case kRelease:
        value += step;
        if (remaining == 0) {
            stage = kFinished;
            value = target;
        } else {
            remaining -= 1;
        }
        break;
    default:
        break;
    }
    return value;
}
