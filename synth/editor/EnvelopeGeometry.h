// Where an envelope control draws its parts and where each point of a
// PatchEnvelope lies. The graph has n attack points spread over the first 40 %
// of the plot width, the sustain point at 70 % and the release point at the
// right edge; levels run from the plot's bottom (0) to its top (1).
//
// A record from a chunk may hold a point count outside 2..10 or levels and
// times outside 0..1: positions use the count limited to 2..10 and keep
// wild values far outside the control instead of overflowing.
#pragma once

#include "Patch.h"
#include "Rect.h"

class EnvelopeGeometry {
public:
    enum { kMaxAttackPoints = 10, kHitDistance = 5, kNeighbourGap = 2 };
    enum Segment { kAttack = 0, kDecay = 1, kRelease = 2 };

    // For a control whose client area is width x height.
    EnvelopeGeometry(int32_t width, int32_t height);

    Rect plot;           // the white graph area P
    int32_t x40;         // end of the attack area
    int32_t x70;         // the sustain point's column
    Rect name;           // the view's name, top left
    Rect topLabel[3];    // "attack", "decay", "release"
    Rect timeText[3];    // the segment times under the plot
    Rect timeEntry[3];   // where a press opens the segment's time box
    Rect upperAxisLabel; // left of the plot's top
    Rect lowerAxisLabel; // left of the plot's bottom

    // n: the envelope's attack point count limited to 2..10.
    static int32_t attackPoints(const PatchEnvelope& envelope);
    // Point i of 0..n+1 (n attack points, sustain, release).
    Point point(const PatchEnvelope& envelope, int32_t i) const;
    // The baseline: the plot's middle for bipolar views (kind 2), else its
    // bottom.
    int32_t baseline(int32_t kind) const;
    // The first point (index order) within 4 pixels of p on both axes, -1
    // for none.
    int32_t hitTest(const PatchEnvelope& envelope, Point p) const;
    // The decay from the last attack point a to the sustain point s as three
    // straight pieces of an exponential glide that covers half the distance.
    static void decayGlide(Point a, Point s, Point out[3]);

    // Pixel column of an attack point time, and back; pixel row of a level,
    // and back. Back and forth again gives the same pixel.
    int32_t timeToX(float time) const;
    float xToTime(int32_t x) const;
    int32_t levelToY(float level) const;
    float yToLevel(int32_t y) const;
};
