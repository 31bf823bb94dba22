// The hyperspace view's geometry without a window: projection and its
// inverse, the cursor's depth and size, colours, sliders and trail ribbons.
#include "HyperspaceGeometry.h"
#include "SynthTables.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace hyperspace;

namespace {

// The view's client area inside the editor (275, 11 to 674, 380).
const Rect kClient = {0, 0, 399, 369};

struct View {
    Layout layout = makeLayout(kClient);
    Projection projection;
    explicit View(float a = 0.0f, float b = 0.0f)
    {
        updateProjection(projection, a, b, layout);
        placeAxisLabels(layout, projection);
    }
};

const SynthTables& tables()
{
    static SynthTables t;
    return t;
}

} // namespace

TEST(HyperspaceProjection, FrontFaceFillsTheDrawingAreaAtRest)
{
    View v;
    EXPECT_FLOAT_EQ(v.projection.scale, 321.0f);
    EXPECT_FLOAT_EQ(v.projection.offsetX, 208.0f);
    EXPECT_FLOAT_EQ(v.projection.offsetY, 184.0f);
    Point p = project(v.projection, 0, 0, 1);
    EXPECT_FLOAT_EQ(p.x, 47.5f);
    EXPECT_FLOAT_EQ(p.y, 344.5f);
    p = project(v.projection, 1, 1, 1);
    EXPECT_FLOAT_EQ(p.x, 368.5f);
    EXPECT_FLOAT_EQ(p.y, 23.5f);
}

TEST(HyperspaceProjection, BackWallIsHalfTheFrontFaceAndPerspectiveHalves)
{
    View v;
    float w = 0;
    Point a = project(v.projection, 0, 0, 0, &w);
    EXPECT_FLOAT_EQ(w, 0.5f);
    Point b = project(v.projection, 1, 1, 0);
    EXPECT_NEAR(b.x - a.x, 160.5f, 1e-3);
    EXPECT_NEAR(a.y - b.y, 160.5f, 1e-3);
    EXPECT_NEAR((a.x + b.x) / 2, 208.0f, 1e-3);
    project(v.projection, 0.3f, 0.7f, 1, &w);
    EXPECT_FLOAT_EQ(w, 1.0f);
}

TEST(HyperspaceProjection, RecomputedOnlyWhenAnAngleChanges)
{
    Layout l = makeLayout(kClient);
    Projection p;
    EXPECT_TRUE(updateProjection(p, 0.2f, -0.1f, l));
    EXPECT_FALSE(updateProjection(p, 0.2f, -0.1f, l));
    EXPECT_TRUE(updateProjection(p, 0.2f, -0.2f, l));
}

// The centre is a whole pixel, so a face 321 pixels high may reach half a
// pixel past the area.
TEST(HyperspaceProjection, TurnedFrontFaceStaysInsideTheDrawingArea)
{
    for (float a : {-0.34f, 0.0f, 0.34f})
        for (float b : {-0.34f, 0.0f, 0.34f}) {
            View v(a, b);
            const Rect& area = v.layout.drawingArea;
            for (int k = 0; k < 4; ++k) {
                Point p = project(v.projection, k & 1, (k >> 1) & 1, 1);
                EXPECT_GE(p.x, area.left - 0.51f) << a << " " << b;
                EXPECT_LE(p.x, area.right + 0.51f) << a << " " << b;
                EXPECT_GE(p.y, area.top - 0.51f) << a << " " << b;
                EXPECT_LE(p.y, area.bottom + 0.51f) << a << " " << b;
            }
        }
}

TEST(HyperspaceProjection, UnprojectingAProjectedPointReturnsIt)
{
    for (float a : {0.0f, 0.34f, -0.21f})
        for (float b : {0.0f, -0.34f, 0.17f}) {
            View v(a, b);
            for (float x : {0.0f, 0.25f, 0.9f})
                for (float y : {0.1f, 0.5f, 1.0f})
                    for (float t : {0.0f, 0.5f, 1.0f}) {
                        Point s = project(v.projection, x, y, 1.0f - t);
                        PointerRay r = unproject(v.projection, s.x, s.y);
                        Point c = cursorPoint(r, t);
                        EXPECT_NEAR(c.x, x, 1e-4) << a << " " << b << " t " << t;
                        EXPECT_NEAR(c.y, y, 1e-4) << a << " " << b << " t " << t;
                    }
        }
}

TEST(HyperspaceCursor, OverTheBoxOnlyInsideTheFrontFace)
{
    View v;
    EXPECT_TRUE(unproject(v.projection, 208, 184).overBox);
    EXPECT_TRUE(unproject(v.projection, 48, 344).overBox);
    EXPECT_FALSE(unproject(v.projection, 40, 184).overBox);  // left margin
    EXPECT_FALSE(unproject(v.projection, 208, 10).overBox);  // above
    EXPECT_FALSE(unproject(v.projection, 395, 100).overBox); // vertical slider
}

TEST(HyperspaceCursor, EffectiveDepthKeepsTheCursorInsideTheBox)
{
    View v(0.3f, -0.25f);
    for (float sx = 40; sx < 380; sx += 17)
        for (float sy = 20; sy < 350; sy += 13) {
            PointerRay r = unproject(v.projection, sx, sy);
            if (!r.overBox)
                continue;
            for (float t : {0.0f, 0.4f, 1.0f}) {
                float e = effectiveDepth(r, t);
                EXPECT_LE(e, t);
                EXPECT_GE(e, 0.0f);
                Point c = cursorPoint(r, e);
                EXPECT_GE(c.x, -1e-4f);
                EXPECT_LE(c.x, 1 + 1e-4f);
                EXPECT_GE(c.y, -1e-4f);
                EXPECT_LE(c.y, 1 + 1e-4f);
            }
        }
    // Straight on, near the left edge: the ray leaves the box through the
    // left wall before the back wall.
    View front;
    PointerRay r = unproject(front.projection, 50, 184);
    ASSERT_TRUE(r.overBox);
    float e = effectiveDepth(r, 1.0f);
    EXPECT_LT(e, 0.1f);
    EXPECT_NEAR(cursorPoint(r, e).x, 0.0f, 1e-4);
    // Centred, the full depth is reachable.
    EXPECT_FLOAT_EQ(effectiveDepth(unproject(front.projection, 208, 184), 1.0f), 1.0f);
}

TEST(HyperspaceCursor, SizeShrinksFromFrontToBack)
{
    EXPECT_EQ(cursorSizeIndex(0.0f), 0);
    EXPECT_EQ(cursorSizeIndex(0.5f), 5);
    EXPECT_EQ(cursorSizeIndex(1.0f), 6);
    int last = 0;
    for (float t = 0; t <= 1.0f; t += 0.01f) {
        int s = cursorSizeIndex(t);
        EXPECT_GE(s, last);
        last = s;
    }
}

TEST(HyperspaceCursor, ColourGroupsAndIds)
{
    EXPECT_EQ(colourIndex(0.0f), 0);
    EXPECT_EQ(colourIndex(0.5f), 7);
    EXPECT_EQ(colourIndex(1.0f), 15);
    EXPECT_EQ(colourIndex(2.0f), 15);
    EXPECT_EQ(colourIndex(std::nanf("")), 0);
    EXPECT_EQ(cursorId(7, 7, 0), 2833);
    EXPECT_EQ(cursorId(7, 7, 6), 2839);
    EXPECT_EQ(cursorId(15, 15, 6), 3791);
    EXPECT_EQ(cursorId(0, 0, 0), 2000);
}

TEST(HyperspaceColour, HueRunsRoundTheCircleAndLuminanceDarkensOrLightens)
{
    // Hue 0, middle luminance: red phase 0.25 is the sine's crest.
    Colour c = oscillatorColour(tables(), 0.0f, 0.5f);
    EXPECT_EQ(c.red, 255);
    EXPECT_LT(c.green, 128);
    EXPECT_LT(c.blue, 128);
    // Luminance 0 scales each channel by 0.4; luminance 1 mixes 0.4 of the
    // way... to white (1 - (1 - c) x 0.4).
    Colour dark = oscillatorColour(tables(), 0.3f, 0.0f);
    Colour mid = oscillatorColour(tables(), 0.3f, 0.5f);
    Colour light = oscillatorColour(tables(), 0.3f, 1.0f);
    EXPECT_NEAR(dark.red, mid.red * 0.4, 1.0);
    EXPECT_NEAR(dark.green, mid.green * 0.4, 1.0);
    EXPECT_NEAR(255 - light.blue, (255 - mid.blue) * 0.4, 1.0);
    // Against the exact formula across the range.
    for (float h = 0; h <= 1.0f; h += 0.0625f)
        for (float l = 0; l <= 1.0f; l += 0.25f) {
            Colour k = oscillatorColour(tables(), h, l);
            const uint8_t got[3] = {k.red, k.green, k.blue};
            const double offsets[3] = {0.25, 0.91, 0.58};
            double lum = 0.6 * l + 0.2;
            for (int ch = 0; ch < 3; ++ch) {
                double c = (1 + std::sin(2 * 3.14159265358979 * (0.8 * h + offsets[ch]))) / 2;
                c = lum < 0.5 ? c * 2 * lum : 1 - (1 - c) * 2 * (1 - lum);
                EXPECT_NEAR(got[ch], c * 255, 1.01) << h << " " << l << " " << ch;
            }
        }
}

TEST(HyperspaceLayout, PartsOfTheStandardView)
{
    View v;
    const Layout& l = v.layout;
    EXPECT_EQ(l.drawingArea.left, 30);
    EXPECT_EQ(l.drawingArea.bottom, 345);
    EXPECT_EQ(l.areaCentreX, 208);
    EXPECT_EQ(l.areaCentreY, 184);
    EXPECT_EQ(l.horizontalTrack.left, 239);
    EXPECT_EQ(l.horizontalTrack.right, 375);
    EXPECT_EQ(l.verticalTrack.top, 24);
    EXPECT_EQ(l.verticalTrack.bottom, 160);
    // Axis labels: x at the front bottom right, y at the top left, depth
    // at the front bottom left, never below the client.
    EXPECT_EQ(l.labels[0].right, 368);
    EXPECT_EQ(l.labels[0].top, 344);
    EXPECT_EQ(l.labels[1].right, 47);
    EXPECT_EQ(l.labels[1].top, 23);
    EXPECT_EQ(l.labels[2].left, 47);
    for (int k = 0; k < 5; ++k)
        EXPECT_LE(l.labels[k].bottom, kClient.bottom);
}

TEST(HyperspaceSliders, TrackEndsGiveTheLimitsAndBeyondKeepsThem)
{
    EXPECT_FLOAT_EQ(sliderAngle(239, 239, 136), -0.34f);
    EXPECT_FLOAT_EQ(sliderAngle(375, 239, 136), 0.34f);
    EXPECT_FLOAT_EQ(sliderAngle(100, 239, 136), -0.34f);
    EXPECT_FLOAT_EQ(sliderAngle(900, 239, 136), 0.34f);
    EXPECT_NEAR(sliderAngle(307, 239, 136), 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(sliderAngle(5, 0, 0), 0.0f);
    EXPECT_EQ(sliderKnobOffset(-0.34f, 136), 0);
    EXPECT_EQ(sliderKnobOffset(0.0f, 136), 68);
    EXPECT_EQ(sliderKnobOffset(0.34f, 136), 136);
}

TEST(HyperspaceScene, WallTilesCoverEachWallOnce)
{
    // The tiles' corners run along the wall's plane and the 64 tiles add
    // up to the wall's unit area.
    const int fixedAxis[5] = {0, 1, 1, 0, 2};
    const float fixedValue[5] = {0, 0, 1, 1, 0};
    for (int wall = 0; wall < 5; ++wall) {
        double area = 0;
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) {
                BoxPoint q[4];
                wallTile(wall, r, c, q);
                for (auto& p : q) {
                    const float v[3] = {p.x, p.y, p.z};
                    EXPECT_FLOAT_EQ(v[fixedAxis[wall]], fixedValue[wall]);
                }
                // Area from the two edge vectors (orthogonal on a wall).
                float e1[3] = {q[1].x - q[0].x, q[1].y - q[0].y, q[1].z - q[0].z};
                float e2[3] = {q[3].x - q[0].x, q[3].y - q[0].y, q[3].z - q[0].z};
                area += std::sqrt(e1[0] * e1[0] + e1[1] * e1[1] + e1[2] * e1[2]) *
                        std::sqrt(e2[0] * e2[0] + e2[1] * e2[1] + e2[2] * e2[2]);
            }
        EXPECT_NEAR(area, 1.0, 1e-5) << wall;
    }
}

TEST(HyperspaceScene, ArrowheadsPointBackAlongTheAxis)
{
    IntPoint l, r;
    ASSERT_TRUE(arrowHead(tables(), {0, 100}, {100, 100}, l, r));
    EXPECT_EQ(l.x, 95);
    EXPECT_EQ(r.x, 95);
    EXPECT_EQ(l.y + r.y, 200);
    EXPECT_EQ(std::abs(l.y - r.y), 10);
    EXPECT_FALSE(arrowHead(tables(), {5, 5}, {5, 5}, l, r));
}

TEST(HyperspaceTrail, RingShowsTrailLengthMinusOneSegments)
{
    for (int length : {1, 2, 4, 20}) {
        int head = 0;
        for (int frame = 0; frame < 50; ++frame) {
            TrailRing ring = advanceTrailRing(head, length);
            EXPECT_EQ(ring.previous, head);
            EXPECT_GE(ring.head, 0);
            EXPECT_LT(ring.head, length);
            if (length > 1) {
                EXPECT_NE(ring.head, ring.previous);
            }
            head = ring.head;
        }
    }
    // A shortened trail restarts the ring from 0.
    TrailRing r = advanceTrailRing(15, 4);
    EXPECT_EQ(r.previous, 0);
    EXPECT_EQ(r.head, 0);
    EXPECT_EQ(r.next, 1);
}

namespace {

TrailStep moving(Point from, Point to)
{
    TrailStep s{};
    s.point = to;
    s.previousPoint = from;
    s.previousLeft = {static_cast<int32_t>(from.x), static_cast<int32_t>(from.y) - 3};
    s.previousRight = {static_cast<int32_t>(from.x), static_cast<int32_t>(from.y) + 3};
    s.w = 1.0f;
    s.trailWidth = 4; // 6 pixels wide at the front face
    s.previousDrawn = true;
    return s;
}

} // namespace

TEST(HyperspaceTrail, ContinuousRibbonJoinsThePreviousFrontEdge)
{
    TrailStep s = moving({100, 100}, {120, 100});
    TrailQuad q = trailQuad(tables(), s);
    EXPECT_EQ(q.frontLeft.x, 120);
    EXPECT_EQ(q.frontRight.x, 120);
    EXPECT_EQ(std::abs(q.frontLeft.y - q.frontRight.y), 6);
    EXPECT_EQ(q.backLeft.x, s.previousLeft.x);
    EXPECT_EQ(q.backLeft.y, s.previousLeft.y);
    EXPECT_EQ(q.backRight.y, s.previousRight.y);
    // No twist: the left corner stays on the previous left side.
    EXPECT_LT(q.frontLeft.y, q.frontRight.y);
    s.previousLeft.y = 103;
    s.previousRight.y = 97;
    q = trailQuad(tables(), s);
    EXPECT_GT(q.frontLeft.y, q.frontRight.y);
}

TEST(HyperspaceTrail, AStandingOscillatorDrawsABlockOneWidthLong)
{
    // No motion at all: a block along x.
    TrailQuad q = trailQuad(tables(), moving({100, 100}, {100, 100}));
    EXPECT_EQ(q.frontLeft.x - q.backLeft.x, 6);
    EXPECT_EQ(q.frontRight.x - q.backRight.x, 6);
    EXPECT_EQ(std::abs(q.frontLeft.y - q.frontRight.y), 6);
    // A short step upwards: a block one width long in that direction.
    q = trailQuad(tables(), moving({100, 100}, {100, 98}));
    EXPECT_EQ(q.frontLeft.y - q.backLeft.y, -6);
    EXPECT_EQ(q.frontLeft.x, q.backLeft.x);
    // Half the width at the back wall.
    TrailStep far = moving({100, 100}, {100, 100});
    far.w = 0.5f;
    q = trailQuad(tables(), far);
    EXPECT_EQ(q.frontLeft.x - q.backLeft.x, 3);
}

TEST(HyperspaceTrail, RestartAndStaleTrailsDoNotReachBack)
{
    TrailStep s = moving({10, 10}, {200, 150});
    s.restart = true;
    s.restartPoint = {190.7f, 149.2f};
    TrailQuad q = trailQuad(tables(), s);
    EXPECT_EQ(q.backLeft.x, 190);
    EXPECT_EQ(q.backRight.y, 149);
    // A trail with nothing on screen starts as a block at the point.
    s = moving({10, 10}, {200, 150});
    s.previousDrawn = false;
    q = trailQuad(tables(), s);
    EXPECT_LE(std::abs(q.backLeft.x - 200), 8);
    EXPECT_LE(std::abs(q.backLeft.y - 150), 8);
}

TEST(HyperspacePins, PolygonTiesThePointToBothWalls)
{
    IntPoint p[6];
    pinPolygon({50.7f, 80.2f}, {120.1f, 300.9f}, {140.5f, 90.5f}, p);
    EXPECT_EQ(p[0].x, 51);
    EXPECT_EQ(p[0].y, 80);
    EXPECT_EQ(p[1].x, 141);
    EXPECT_EQ(p[2].y, 300);
    EXPECT_EQ(p[3].x, 120);
    EXPECT_EQ(p[4].y, 91);
    EXPECT_EQ(p[5].y, 81);
}

TEST(HyperspaceCursor, DepthLineFractionIsClampedToItsEnds)
{
    EXPECT_FLOAT_EQ(fractionAlong({0, 0}, {10, 0}, {5, 7}), 0.5f);
    EXPECT_FLOAT_EQ(fractionAlong({0, 0}, {10, 0}, {-5, 0}), 0.0f);
    EXPECT_FLOAT_EQ(fractionAlong({0, 0}, {10, 0}, {50, 0}), 1.0f);
    EXPECT_FLOAT_EQ(fractionAlong({3, 3}, {3, 3}, {50, 0}), 0.0f);
}
