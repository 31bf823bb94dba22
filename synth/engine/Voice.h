// One of the eight voices: a note's eleven envelopes and, every sample, the
// home point, box ranges and flight speed that its oscillators read.
// Audio thread only (the voice lists are owned by the engine).
#pragma once

#include "Envelope.h"
#include "Patch.h"
#include "SynthSettings.h"

#include <cstdint>

class SynthTables;

class Voice {
public:
    enum State { kAttack = 0, kSustain = 1, kRelease = 2, kFinished = 3 };

    Voice* next = nullptr; // list link
    Patch* patch = nullptr;
    SynthSettings* settings = nullptr;
    const SynthTables* tables = nullptr;
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
};
