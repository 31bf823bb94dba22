#include "FlockState.h"

#include <cstring>

FlockState::FlockState()
{
    for (int i = 0; i < kSize; ++i) {
        for (int d = 0; d < 5; ++d) {
            position[d][i] = 0.0;
            velocity[d][i] = 0.0;
            value[d][i] = 0.0f;
        }
        phase[i] = 0.0;
        noiseIndex[i] = 0;
        speedFactor[i] = 1.0f;
    }
}

void FlockState::permute(const int32_t* source, FlockState& scratch)
{
    for (int c = 0; c < kSize; ++c) {
        const int32_t from = source[c];
        for (int d = 0; d < 5; ++d) {
            scratch.position[d][c] = position[d][from];
            scratch.velocity[d][c] = velocity[d][from];
            scratch.value[d][c] = value[d][from];
        }
        scratch.phase[c] = phase[from];
        scratch.noiseIndex[c] = noiseIndex[from];
        scratch.speedFactor[c] = speedFactor[from];
    }
    std::memcpy(position, scratch.position, sizeof position);
    std::memcpy(velocity, scratch.velocity, sizeof velocity);
    std::memcpy(value, scratch.value, sizeof value);
    std::memcpy(phase, scratch.phase, sizeof phase);
    std::memcpy(noiseIndex, scratch.noiseIndex, sizeof noiseIndex);
    std::memcpy(speedFactor, scratch.speedFactor, sizeof speedFactor);
}
