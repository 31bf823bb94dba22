// The instrument's one source of randomness: a linear congruential generator
// with a state per thread (1 in a thread that never seeded it), so the audio
// thread's note-on reseeding is not disturbed by draws on the UI thread, and
// instances on different threads never share a sequence.
#pragma once

#include <cstdint>

void seedRandom(uint32_t seed);
// state = state * 214013 + 2531011; returns bits 16..30: 0..32767.
int32_t nextRandom();
