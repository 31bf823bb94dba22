// The editing rules of an envelope control: inserting, dragging and deleting
// attack points on a PatchEnvelope, as the pointer moves in the control's
// geometry. Each returns what changed so the control can repaint and tell
// the engine.
#pragma once

#include "EnvelopeGeometry.h"
#include "Patch.h"

class EnvelopeEditing {
public:
    // What a drag changed that sounding voices must hear about.
    enum Change { kNothingHeard = 0, kLastAttackPoint, kSustainLevel, kReleaseLevel };

    struct DragResult {
        int32_t selected; // the dragged point's index after the move
        Change change;
    };

    // A press at p that hit no point: inserts an attack point there when p
    // lies inside the plot, left of the last attack point, not within 2
    // pixels of an inner point, and fewer than 10 points exist. Returns the
    // new point's index, -1 when nothing was inserted.
    static int32_t insertPoint(PatchEnvelope& envelope, const EnvelopeGeometry& geometry, Point p);

    // Moves point `selected` toward p. Volume envelopes (kind 0) keep their
    // first and release points on the bottom line. Only inner attack points
    // move sideways; they keep 2 pixels from the other attack points and the
    // points stay sorted by time, so a point dragged past a neighbour swaps
    // places with it.
    static DragResult dragPoint(PatchEnvelope& envelope, const EnvelopeGeometry& geometry,
                                int32_t selected, Point p, int32_t kind);

    // A right-button press at p: deletes the inner attack point (1..n-2) hit
    // there. Returns true when one was deleted.
    static bool deleteInnerPoint(PatchEnvelope& envelope, const EnvelopeGeometry& geometry,
                                 Point p);

private:
    static bool nearOtherAttackPoint(const PatchEnvelope& envelope,
                                     const EnvelopeGeometry& geometry, int32_t except, int32_t x);
    static void swapAttackPoints(PatchEnvelope& envelope, int32_t a, int32_t b);
};
