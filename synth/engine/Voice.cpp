#include "Voice.h"

#include "SynthTables.h"
#include "VoiceInputs.h"

#include <cmath>
#include <cstring>

#if defined(__SSE2__) || defined(__x86_64__) || defined(_M_X64)
#include <emmintrin.h>
#endif

void Voice::usePatch(Patch* program)
{
    patch = program;
    for (int k = 0; k < kEnvelopeCount; ++k) {
        envelopes[k].shape = &program->envelopes[k];
        envelopes[k].bipolar = k >= kPitchEnv && k <= kNoiseEnv;
    }
}

namespace {
bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// 0 for a negative r; NaN and -0 pass as they are (the processor's
// maximum returns its second operand for those, and the compiler would
// otherwise keep a branch).
inline float notNegative(float r)
{
#if defined(__SSE2__) || defined(__x86_64__) || defined(_M_X64)
    return _mm_cvtss_f32(_mm_max_ss(_mm_setzero_ps(), _mm_set_ss(r)));
#else
    return r < 0.0f ? 0.0f : r;
#endif
}

constexpr uint32_t bit(int envelope)
{
    return 1u << envelope;
}

constexpr int32_t kFewLive = 3;          // fewer are found by their bits, more by a walk
constexpr int32_t kRestCheckPeriod = 16; // samples
constexpr uint32_t kHomeEnvelopes =
    bit(kPitchEnv) | bit(kPanEnv) | bit(kResonanceEnv) | bit(kNoiseEnv);
constexpr uint32_t kRangeEnvelopes = bit(kVolumeRangeEnv) | bit(kPitchRangeEnv) |
                                     bit(kPanRangeEnv) | bit(kResonanceRangeEnv) |
                                     bit(kNoiseRangeEnv);
} // namespace

void Voice::findLiveEnvelopes()
{
    uint32_t live = 0;
    int32_t count = 0;
    for (int k = 0; k < kEnvelopeCount; ++k) {
        if (!envelopes[k].atRest()) {
            live |= bit(k);
            ++count;
        }
    }
    liveEnvelopes = live;
    liveCount = count;
}

void Voice::noteOn(int32_t noteNumber, int32_t velocity, float rate)
{
    note = noteNumber;
    velocityGain = static_cast<float>(velocity) * 0.0063f;
    for (Envelope& e : envelopes)
        e.start(rate);
    findLiveEnvelopes();
    fresh = true;
    state = kAttack;
    countSmoothing = false;
    lfoPhase = 2048.0f;
    smoothedCount = static_cast<float>(oscCount);
    oscillatorGain = tables->gain(smoothedCount);
    gainCount = smoothedCount;
}

void Voice::release(float rate)
{
    for (Envelope& e : envelopes)
        e.release(rate);
    findLiveEnvelopes();
}

void Voice::startCountSmoothing()
{
    countSmoothing = true;
    countDirection = static_cast<float>(oscCount) > smoothedCount ? 1.0f : -1.0f;
}

void Voice::computeSoundState(float rate)
{
    const SynthSettings& s = *settings;
    const Patch& p = *patch;

    // An edit may have woken an envelope at rest; the flag is raised after
    // the edit's stores, so the look that follows sees them.
    if (envelopeEdited.load(std::memory_order_relaxed) &&
        envelopeEdited.exchange(false, std::memory_order_acquire))
        findLiveEnvelopes();

    // Envelopes at rest are passed over (a tick would change nothing). The
    // list may still name envelopes that came to rest since it was last
    // drawn up: they tick without effect, and what they feed is computed
    // again to the same bits, so it is drawn up again only now and then.
    const uint32_t ticked = liveEnvelopes;
    if (liveCount > kFewLive) {
        uint32_t live = ticked;
        for (Envelope& envelope : envelopes) {
            if (live & 1u)
                envelope.tick(rate);
            live >>= 1;
        }
    } else {
        for (uint32_t live = ticked; live != 0; live &= live - 1)
            envelopes[__builtin_ctz(live)].tick(rate);
    }
    if (--untilRestCheck <= 0) {
        untilRestCheck = kRestCheckPeriod;
        findLiveEnvelopes();
    }
    const uint32_t changed = ticked; // may have changed bits this sample
    auto e = [this](int k) { return envelopes[k].value; };

    const uint32_t generation = sharedInputs->generation();
    const bool inputsMoved = fresh || generation != inputsSeen;
    inputsSeen = generation;

    if (fresh || (changed & bit(kVolumeEnv)))
        home[0] = e(kVolumeEnv) * velocityGain;
    if (inputsMoved || (changed & kHomeEnvelopes)) {
        home[1] = e(kPitchEnv) + static_cast<float>(p.fineTune) * 0.01f +
                  static_cast<float>(p.coarseTune) + s.pitchBend + static_cast<float>(note);
        home[2] = (e(kPanEnv) + s.panHome) * 0.005f + 0.5f;
        home[3] = (e(kResonanceEnv) + s.resonanceHome) * 0.01f;
        home[4] = (e(kNoiseEnv) + s.noiseHome) * 0.01f;
    }
    if (inputsMoved || (changed & kRangeEnvelopes)) {
        float pitchScale = s.pitchRange * 0.01f;
        range[0] = e(kVolumeRangeEnv) * s.volumeRange * 0.01f;
        range[1] = e(kPitchRangeEnv) * 48.0f * (pitchScale * pitchScale);
        range[2] = e(kPanRangeEnv) * s.panRange * 0.005f;
        range[3] = e(kResonanceRangeEnv) * s.resonanceRange * 0.01f;
        range[4] = e(kNoiseRangeEnv) * s.noiseRange * 0.01f;
        range[0] = notNegative(range[0]);
        range[1] = notNegative(range[1]);
        range[2] = notNegative(range[2]);
        range[3] = notNegative(range[3]);
        range[4] = notNegative(range[4]);
    }
    if (inputsMoved || (changed & bit(kSpeedEnv)))
        speedBase = tables->speedAt(e(kSpeedEnv) * s.speedScale);
    fresh = false;

    lfoPhase += s.lfoStep;
    if (lfoPhase > 8192.0f)
        lfoPhase -= 8192.0f;

    speed = speedBase;
    if (p.lfoDepth > 0) {
        float lfo;
        if (p.lfoSine)
            lfo = 1.0f + tables->sineAt(lfoPhase);
        else
            lfo = (lfoPhase >= 2048.0f && lfoPhase < 6144.0f) ? 2.0f : 0.0f;
        speed = (lfo * s.lfoDepth + s.lfoRest) * speedBase;
    }

    const Envelope& volume = envelopes[kVolumeEnv];
    state = volume.stage;
    if (state == kSustain && volume.value < 0.001f && volume.shape->sustainLevel < 0.001f)
        state = kFinished;

    // Count smoothing heads for oscCount from wherever it lies this sample:
    // a note-on may take oscillators from a voice that is smoothing the
    // other way, and a voice may get back exactly the count it had, so a
    // direction fixed at the start could run away for good.
    if (countSmoothing) {
        const float target = static_cast<float>(oscCount);
        if (smoothedCount != target) {
            countDirection = target > smoothedCount ? 1.0f : -1.0f;
            smoothedCount += countDirection * s.fadeStep;
        }
        if (std::fabs(target - smoothedCount) <= s.fadeStep) {
            smoothedCount = target;
            countSmoothing = false;
        }
    }
    // The oscillators read the count gain of this sample; the count moves
    // only here and at note-on.
    if (!sameBits(smoothedCount, gainCount)) {
        oscillatorGain = tables->gain(smoothedCount);
        gainCount = smoothedCount;
    }
}
