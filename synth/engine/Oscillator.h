// One member of the flock. It holds a place in its voice's five-dimensional
// box (-1..+1 per dimension, 0 = the voice's home point) and a unit velocity;
// every sample it moves, bounces off the walls, turns its place into five
// sound values (amplitude, pitch, pan, resonance, noise) and adds one sample
// of its waveform into its voice's outputs.
//
// The waveform is one sine cycle per period, squeezed by resonance into the
// first 1 / (1 + 56 res^3) of the period and blended with a noise burst that
// restarts every period, so both colour the sound without moving its pitch.
// Changes of voice are softened by a fade (redistribution) or a glide from
// the previous values (portamento).
//
// The fields the flock kernel reads and writes every sample (place,
// velocity, sound values, phase, noise position, speed factor) live in the
// pool's FlockState, one array per field; the oscillator is bound to a
// column there and reaches them through its accessors. Its owner may move
// its fields to another column and bind it there. Copying an oscillator
// copies the binding, not that state.
// Audio thread only; the hyperspace view reads `display` and `value`.
#pragma once

#include "FlockState.h"

#include <cstdint>

class Voice;
class SynthTables;
struct SynthSettings;

class Oscillator {
public:
    // Makes `column` (0..FlockState::kSize - 1) of `state` this
    // oscillator's place, velocity, sound values, phase, noise position and
    // speed factor; the owner binds every oscillator before using it.
    void bind(FlockState* state, int32_t column)
    {
        flock = state;
        slot = column;
    }
    int32_t column() const { return slot; }

    // d: dimension 0..4.
    double& position(int d) { return flock->position[d][slot]; }
    double position(int d) const { return flock->position[d][slot]; }
    double& velocity(int d) { return flock->velocity[d][slot]; }
    double velocity(int d) const { return flock->velocity[d][slot]; }
    // Amplitude, pitch 0..128, pan, resonance, noise.
    float& value(int d) { return flock->value[d][slot]; }
    float value(int d) const { return flock->value[d][slot]; }
    double& phase() { return flock->phase[slot]; } // 0..1 through the period
    double phase() const { return flock->phase[slot]; }
    int32_t& noiseIndex() { return flock->noiseIndex[slot]; }
    int32_t noiseIndex() const { return flock->noiseIndex[slot]; }
    float& speedFactor() { return flock->speedFactor[slot]; } // includes the sample period
    float speedFactor() const { return flock->speedFactor[slot]; }

    Voice* voice = nullptr;
    float display[5] = {0, 0, 0, 0, 0}; // snapshot for the view
    float previous[5] = {0, 0, 0, 0, 0};
    float glideLevel = 0.0f;
    bool gliding = false;
    float fadeLevel = 0.0f;
    int32_t fadeDirection = 0; // 1 in, -1 out, 0 none
    bool removed = false;
    bool changed = true;
    Oscillator* neighbour = nullptr;
    float neighbourDist2 = 10000.0f;
    float invDistance = 0.0f;
    int32_t scanIndex = 0;

    // Its voice's state, 3 (finished) when it has none.
    int32_t voiceState() const;
    bool sounding() const { return voiceState() != 3; }

    // New random place and direction from this thread's generator.
    void randomise();
    // Moves to newVoice (none detaches); redistribute fades it in and starts
    // the count smoothing of both voices.
    void assignVoice(Voice* newVoice, bool redistribute, const SynthSettings& settings);
    // One sample: flight, fades, glide, clamping and sound output, added
    // into this sample's left and right mix.
    void step(const SynthSettings& settings, const SynthTables& tables, double samplePeriod,
              float& left, float& right);
    // Re-steers (towards the mouse target or its neighbour). pool: the
    // oscillator array, searched for neighbours among the first
    // requestedCount.
    void steer(Oscillator* pool, const SynthSettings& settings, const SynthTables& tables);
    // Squared sound-space distance (pitch per 128 semitones, pan at half weight).
    float distance2(const Oscillator& other) const;

private:
    double velocityLength2() const;
    void reflect(int d, double factor, const SynthTables& tables);
    void normalise(const SynthTables& tables);
    void steerByNeighbour(Oscillator* pool, const SynthSettings& settings,
                          const SynthTables& tables);

    FlockState* flock = nullptr;
    int32_t slot = 0;
};
