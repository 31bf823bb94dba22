// Engine-wide settings derived from the current program. The smoothed fields
// move towards their Patch source every sample (audio thread); the others
// are taken over when the program is loaded or a parameter changes.
#pragma once

#include <cstdint>

class SynthTables;

struct SynthSettings {
    SynthTables* tables = nullptr;

    // Smoothed towards the Patch fields of the same name.
    float volume = 0.0f; // percent; master gain is volume x 0.01
    float panHome = 0.0f;
    float resonanceHome = 0.0f;
    float noiseHome = 0.0f;
    float volumeRange = 0.0f;
    float pitchRange = 0.0f;
    float panRange = 0.0f;
    float resonanceRange = 0.0f;
    float noiseRange = 0.0f;

    double reflectionFactor = 1.0; // 2 ^ ((reflection - 50) x 0.1)
    float speedScale = 0.0f;       // speed as float, when it differs from speedApplied
    int32_t speedApplied = -1;
    float lfoDepth = 0.0f; // lfoDepth x 0.01
    float lfoRest = 1.0f;  // 1 - lfoDepth
    float lfoStep = 0.0f;  // LFO phase increment per sample
    float attractStep = 0.0f;
    float repelStep = 0.0f;
    float proximityRadius = 0.0f; // proximity x 0.005

    float cutoffNote = 100.0f; // smoothed, a note number
    float filterQParam = 0.0f; // smoothed
    float driveParam = 0.0f;   // smoothed
    int32_t filterDepth = 1;
    float cutoffHz = 5000.0f; // 2 x note frequency of cutoffNote
    float filterQ = 1.0f;
    float driveGain = 1.0f; // 1 + driveParam x 0.2; read by the clippers

    int32_t redistributionMs = -1; // last values taken over from the Patch
    int32_t portamentoMs = -1;
    int32_t smoothingMs = -1;
    float fadeStep = 0.0f;   // samplePeriod x 1000 / redistributionTime
    float glideStep = 0.0f;  // samplePeriod x 1000 / portamentoTime
    float smoothKeep = 0.0f; // 2 ^ (-1000 / (44100 x smoothingHalfLife))
    float smoothCoef = 1.0f; // 1 - smoothKeep

    int32_t requestedCount = 0; // oscillators asked for
    int32_t liveCount = 0;      // oscillators taking part
    bool phaseCorrelation = true;
    float mouseTarget[5] = {0, 0, 0, 0, 0}; // 0..1 per dimension
    int32_t mouseSteering = 0;
    int32_t reseedMode = 0;
    float pitchBend = 0.0f;       // semitones, smoothed
    float pitchBendTarget = 0.0f; // semitones
};
