// The flock's per-sample state, one array per field and dimension across
// the pool, so that the flock kernel loads and stores the fields of
// neighbouring columns as whole vectors. The arrays are the only copy: each
// Oscillator is bound to one column and reaches it through its accessors.
// Which oscillator has which column is up to the owner, who keeps those of
// one voice side by side so that the kernel's groups mostly share a voice
// (permute moves the columns). Rows are 64-byte aligned and kSize is a
// multiple of every kernel width, so a group never runs past a row.
// Audio thread only; the hyperspace view reads `value` (UI thread, racy by
// design: a torn float only misplaces a dot for one frame).
#pragma once

#include <cstdint>

struct alignas(64) FlockState {
    enum { kSize = 64 };

    FlockState();

    // Column c takes what column source[c] held (source: a permutation of
    // 0..kSize - 1), through `scratch`. The regroup flag is left alone.
    void permute(const int32_t* source, FlockState& scratch);

    double position[5][kSize]; // -1..+1 per dimension, 0 = the voice's home point
    double velocity[5][kSize]; // unit length
    float value[5][kSize];     // amplitude, pitch 0..128, pan, resonance, noise
    double phase[kSize];       // 0..1 through the period
    int32_t noiseIndex[kSize]; // the noise burst's next table entry
    float speedFactor[kSize];  // includes the sample period
    // Set when an oscillator changes its voice: the owner's grouping of
    // columns by voice is out of date (a matter of speed only).
    bool regroup = true;
};
