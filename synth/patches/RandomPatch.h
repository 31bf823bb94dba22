// Random patches. Every value comes from the calling thread's generator in
// one fixed order, after reseeding it with the first draw, so a random
// patch is a pure function of that first draw (which its name shows).
#pragma once

#include "Patch.h"

#include <cstdint>

// Draws r0 from the running sequence and fills `patch` from it.
void fillRandomPatch(Patch& patch);
// Fills `patch` as the random patch of first draw `r0` (0..32767): reseeds
// the generator with r0 and draws the rest. Fields a random patch does not
// set (volumeHome, fineTune, smoothingHalfLife, the animation flags, the
// MIDI map, pitch-bend range, local tempo, host sync, computer-keyboard
// control) keep their values.
void fillRandomPatchFromDraw(Patch& patch, int32_t r0);
// A random envelope shape: 2 to 4 attack points at one level, times up to
// 2 s, range up to `maxRange`. The volume envelope starts and ends at 0.
void randomiseEnvelope(PatchEnvelope& envelope, bool isVolume, int32_t maxRange);
