// What one envelope control shows: which envelope of the current program,
// under what name and colour, and how its levels read (kind and scale).
#pragma once

#include "Patch.h"

#include <cstdint>

struct EnvelopeView {
    int32_t index;       // envelope 0..10 (PatchEnvelopeIndex)
    const char* name;    // drawn at the control's top left
    uint32_t colour;     // 0x00BBGGRR
    PatchEnvelope* data; // inside the current Patch; set when the view is shown
    int32_t kind;        // 0 volume home (0 dB at the top), 1 unipolar, 2 bipolar home
    int32_t scale;       // kind 2: the largest range the range box accepts
};
