// One of the eight voices: a note's eleven envelopes and, every sample, the
// home point, box ranges and flight speed that its oscillators read.
// Audio thread only (the voice lists are owned by the engine), except
// envelopeEdited, which the envelope edit hooks raise on the UI thread.
//
// A held note spends most of its life with its envelopes at rest (finished,
// or a decay that reached its fixed point), so the sample's work skips
// them: only the envelopes on the live list tick, the home point, the
// ranges and the speed before the LFO are computed again only when an
// envelope feeding them ticked or the settings they read changed bits, and
// the count gain only when the smoothed count did. The values are the ones
// a full computation would give, since every formula is the same and is fed
// the same bits.
#pragma once

#include "Envelope.h"
#include "Patch.h"
#include "SynthSettings.h"

#include <atomic>
#include <cstdint>

class SynthTables;
class VoiceInputs;

class Voice {
public:
    enum State { kAttack = 0, kSustain = 1, kRelease = 2, kFinished = 3 };

    Voice* next = nullptr; // list link
    Patch* patch = nullptr;
    SynthSettings* settings = nullptr;
    const SynthTables* tables = nullptr;
    const VoiceInputs* sharedInputs = nullptr;
    Envelope envelopes[kEnvelopeCount];

    float home[5] = {0, 0, 0, 0, 0};  // volume gain, pitch (semitones), pan 0..1, res, noise
    float range[5] = {0, 0, 0, 0, 0}; // half-widths of the box, never negative
    int32_t state = kFinished;
    int32_t oscCount = 0;
    float smoothedCount = 0.0f;
    float countDirection = 1.0f;
    bool countSmoothing = false;
    float speed = 0.0f;          // box units per second
    float lfoPhase = 0.0f;       // 0..8192
    float oscillatorGain = 0.0f; // gain(smoothedCount) of this sample, per oscillator
    int32_t note = 0;
    float velocityGain = 0.0f;

    // Points the eleven envelopes at the program's shapes.
    void usePatch(Patch* program);
    void noteOn(int32_t noteNumber, int32_t velocity, float rate);
    void release(float rate);
    // Starts count smoothing towards oscCount (followed wherever it moves).
    void startCountSmoothing();
    // The sound state of this sample (envelopes tick once).
    void computeSoundState(float rate);

    // Envelopes that may still change (bit k for envelope k): the others
    // are finished or settled, and their ticks would change nothing. It
    // may name some that have come to rest since it was drawn up.
    uint32_t liveEnvelopes = 0;
    // Raised (UI thread) after an edit hook changed an envelope, so that
    // the next sample looks at every envelope again.
    std::atomic<bool> envelopeEdited{false};
    // UI thread, after an edit hook changed one of the envelopes.
    void wakeEnvelopes() { envelopeEdited.store(true, std::memory_order_release); }

private:
    void findLiveEnvelopes();
    int32_t liveCount = 0;      // envelopes on the live list
    int32_t untilRestCheck = 0; // samples until the live list is drawn up again
    uint32_t inputsSeen = 0;    // generation of sharedInputs last computed with
    bool fresh = true;          // nothing computed since note-on
    float speedBase = 0.0f;     // speed before the LFO
    float gainCount = -1.0f;    // the smoothedCount oscillatorGain was taken for
};
