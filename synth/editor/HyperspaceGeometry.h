// Geometry and colour of the hyperspace view, without any window system:
// where the view's parts sit in its client area, the perspective projection
// of the flock's box and its inverse for the pointer, the hyperspace cursor's
// depth and size, the oscillator colours, and the quadrilaterals that make up
// the trail ribbons. CHyperspace draws what these compute; the unit tests
// check them without a window.
//
// Box coordinates X, Y, Z run 0..1 (Y = 1 the top, Z = 1 the front face
// nearest to the eye, Z = 0 the back wall). The view space point is
// x' = X - 0.5, y' = 0.5 - Y, z' = 1 - Z; the rotation R = Ry(a) * Rx(b) of
// the two view angles turns it, and the eye sits at distance 1 in front of
// the front face's centre.
//
// Any thread may call these functions; they only read their arguments.
#pragma once

#include <cstdint>

class SynthTables;

namespace hyperspace {

struct Rect {
    int32_t left, top, right, bottom;
};

struct Point {
    float x, y;
};

struct IntPoint {
    int32_t x, y;
};

// The fixed places of the view's parts in a client rectangle.
struct Layout {
    Rect client;
    Rect drawingArea; // left + 30, top + 24, right - 12, bottom - 24
    int32_t areaWidth, areaHeight, areaCentreX, areaCentreY;
    Rect hueLegend, luminanceLegend; // 30 x 12 each, along the top
    Rect horizontalTrack;            // top right, 136 x 12
    Rect verticalTrack;              // right edge, 12 x 136
    Rect labels[5];                  // per display slot; 0..2 follow the projection
};

Layout makeLayout(const Rect& client);

// The projection made for one pair of view angles (radians).
struct Projection {
    float angleA = -1000.0f, angleB = -1000.0f; // what it was made for
    float rowX[3] = {1, 0, 0};
    float rowY[3] = {0, 1, 0};
    float rowD[3] = {0, 0, 1}; // depth row; the eye is at -rowD
    float scale = 1.0f;
    float offsetX = 0.0f, offsetY = 0.0f;
};

// Recomputes `p` for angles a, b unless it was made for exactly these;
// returns whether it did. Scale and offsets fit the front face's bounding
// box into the layout's drawing area, centred.
bool updateProjection(Projection& p, float a, float b, const Layout& layout);

// Screen position (before truncation) of box point X, Y, Z; `w` receives the
// perspective factor 1 / (depth + 1), without the scale.
Point project(const Projection& p, float x, float y, float z, float* w = nullptr);

// The ray of a pointer position through the box: where it crosses the front
// face (near) and the back wall (far), as box X, Y.
struct PointerRay {
    Point nearPoint, farPoint;
    bool overBox; // the near point lies within 0..1 in X and Y
};

PointerRay unproject(const Projection& p, float sx, float sy);

// The cursor's box X, Y at depth t (0 front face, 1 back wall).
Point cursorPoint(const PointerRay& ray, float t);

// Depth t, or less where the cursor point would leave the box sideways: the
// depth at which it meets the nearest side wall.
float effectiveDepth(const PointerRay& ray, float t);

// Which of the seven cursor sizes shows depth t: 0 at the front face, 5 at
// depth 0.5, 6 at the back wall.
int32_t cursorSizeIndex(float t);

// Cursor resource id for a colour group (0..15 each) and a size (0..6).
inline int32_t cursorId(int32_t hueIndex, int32_t luminanceIndex, int32_t sizeIndex)
{
    return 2000 + (hueIndex * 16 + luminanceIndex) * 7 + sizeIndex;
}

// Colour group index of a hue or luminance 0..1.
int32_t colourIndex(float value);

// Clamps a value to 0..1.
float clampUnit(float value);

struct Colour {
    uint8_t red, green, blue;
};

// An oscillator's colour from its hue and luminance values (0..1 each):
// three phase-shifted sines of 0.8 x hue around the colour circle, then
// darkened below and lightened above the middle luminance.
Colour oscillatorColour(const SynthTables& tables, float hue, float luminance);

// Slider angle (radians, within +-0.34) for a pointer coordinate along a
// track that starts at `trackStart` and is `trackLength` long.
float sliderAngle(int32_t pointer, int32_t trackStart, int32_t trackLength);
// Offset of a slider knob along its track for an angle.
int32_t sliderKnobOffset(float angle, int32_t trackLength);

// Where the three axis labels (slots 0..2) go for the current projection.
void placeAxisLabels(Layout& layout, const Projection& p);

// The four corners of tile (row, column) of an 8 x 8 tiling of wall `wall`
// (0: X = 0, 1: Y = 0, 2: Y = 1, 3: X = 1, 4: the back wall Z = 0), as box
// points, in drawing order around the tile.
struct BoxPoint {
    float x, y, z;
};
void wallTile(int32_t wall, int32_t row, int32_t column, BoxPoint corners[4]);

// An axis's arrowhead: two strokes from the tip back along the line, 5
// pixels back and 5 to each side. False when the line has no length.
bool arrowHead(const SynthTables& tables, IntPoint start, IntPoint tip, IntPoint& left,
               IntPoint& right);

// The quadrilateral of one trail segment.
struct TrailQuad {
    IntPoint frontLeft, frontRight, backRight, backLeft;
};

// What one segment step knows before it draws.
struct TrailStep {
    Point point;            // the oscillator's projected position now
    Point previousPoint;    // its projected position one frame ago
    IntPoint previousLeft;  // the previous segment's front corners
    IntPoint previousRight; //
    float w;                // perspective factor at `point`
    int32_t trailWidth;     // the program's trail width
    bool restart;           // the trail starts afresh at `restartPoint`
    Point restartPoint;     //
    bool previousDrawn;     // the previous segment is on screen
};

// The ribbon segment from the previous frame's front edge to this frame's:
// a ribbon (trailWidth + 2) x w pixels wide across the direction of motion,
// kept from twisting, or a block one width long when the step is shorter
// than the width.
TrailQuad trailQuad(const SynthTables& tables, const TrailStep& step);

// The pin polygon that ties an oscillator at `c` to its projections `a` on
// the left wall and `b` on the floor.
void pinPolygon(Point a, Point b, Point c, IntPoint polygon[6]);

// The point on the segment from `from` to `to` nearest to `p`, as a fraction
// 0..1 of the segment.
float fractionAlong(Point from, Point to, Point p);

// Trail ring positions for trail length L: the new head and its neighbours.
struct TrailRing {
    int32_t previous, head, next;
};
TrailRing advanceTrailRing(int32_t head, int32_t trailLength);

} // namespace hyperspace
