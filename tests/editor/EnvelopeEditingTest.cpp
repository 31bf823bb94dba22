// Envelope controls: where the points of a program envelope are drawn and
// how presses and drags edit them, on the geometry of the editor's home
// envelope control (252 x 65 pixels: plot 24..248 x 11..53, attack area to
// x 113, sustain column 180).
#include "EnvelopeEditing.h"
#include "EnvelopeGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {
class EnvelopeEditingTest : public ::testing::Test {
protected:
    EnvelopeEditingTest() : geometry(252, 65)
    {
        resetEnvelope(envelope, true, false); // points at 0 and 1, level 0.5
    }

    int32_t insertAt(int32_t x, int32_t y = 30)
    {
        return EnvelopeEditing::insertPoint(envelope, geometry, {x, y});
    }
    int32_t x(int32_t i) const { return geometry.point(envelope, i).x; }

    EnvelopeGeometry geometry;
    PatchEnvelope envelope = {};
};

TEST_F(EnvelopeEditingTest, GeometryFollowsTheControlSize)
{
    EXPECT_EQ(geometry.plot.left, 24);
    EXPECT_EQ(geometry.plot.top, 11);
    EXPECT_EQ(geometry.plot.right, 248);
    EXPECT_EQ(geometry.plot.bottom, 53);
    EXPECT_EQ(geometry.x40, 113);
    EXPECT_EQ(geometry.x70, 180);
    EXPECT_EQ(geometry.timeEntry[EnvelopeGeometry::kAttack].left, 44);
    EXPECT_EQ(geometry.timeEntry[EnvelopeGeometry::kAttack].right, 93);
    EXPECT_EQ(geometry.timeEntry[EnvelopeGeometry::kDecay].left, 123);
    EXPECT_EQ(geometry.timeEntry[EnvelopeGeometry::kRelease].right, 238);
    EXPECT_EQ(geometry.timeEntry[EnvelopeGeometry::kRelease].top, 48);
    EXPECT_EQ(geometry.timeText[EnvelopeGeometry::kDecay].bottom, 65);
    EXPECT_EQ(geometry.upperAxisLabel.right, 24);
    EXPECT_EQ(geometry.lowerAxisLabel.top, 39);
    EXPECT_EQ(geometry.baseline(2), 32);
    EXPECT_EQ(geometry.baseline(0), 53);
}

TEST_F(EnvelopeEditingTest, PointsLieInTheirColumns)
{
    envelope.sustainLevel = 0.25f;
    envelope.releaseLevel = 1.0f;
    EXPECT_EQ(geometry.point(envelope, 0).x, 24);
    EXPECT_EQ(geometry.point(envelope, 0).y, 53 - 21);
    EXPECT_EQ(geometry.point(envelope, 1).x, 113);
    EXPECT_EQ(geometry.point(envelope, 2).x, 180);
    EXPECT_EQ(geometry.point(envelope, 2).y, 53 - 10);
    EXPECT_EQ(geometry.point(envelope, 3).x, 248);
    EXPECT_EQ(geometry.point(envelope, 3).y, 11);
    EXPECT_EQ(geometry.hitTest(envelope, {116, 35}), 1);
    EXPECT_EQ(geometry.hitTest(envelope, {118, 32}), -1); // 5 pixels away
    EXPECT_EQ(geometry.hitTest(envelope, {60, 32}), -1);
}

TEST_F(EnvelopeEditingTest, HostileRecordsDrawWithoutOverflow)
{
    envelope.pointCount = 1000;
    envelope.pointTime[9] = NAN;
    envelope.pointLevel[9] = 1e30f;
    EXPECT_EQ(EnvelopeGeometry::attackPoints(envelope), 10);
    EXPECT_EQ(geometry.point(envelope, 9).x, 24);
    EXPECT_EQ(geometry.point(envelope, 9).y, 53 - 1000000);
    envelope.pointCount = -7;
    EXPECT_EQ(EnvelopeGeometry::attackPoints(envelope), 2);
    EXPECT_EQ(geometry.point(envelope, 3).x, 248);
}

TEST_F(EnvelopeEditingTest, DecayGlidesHalfwayInThreePieces)
{
    Point glide[3];
    EnvelopeGeometry::decayGlide({113, 11}, {180, 111}, glide);
    EXPECT_EQ(glide[0].x, 135);
    EXPECT_EQ(glide[0].y, 32);
    EXPECT_EQ(glide[1].x, 157);
    EXPECT_EQ(glide[1].y, 48);
    EXPECT_EQ(glide[2].x, 180);
    EXPECT_EQ(glide[2].y, 61);
}

TEST_F(EnvelopeEditingTest, InsertsAttackPointsInTimeOrder)
{
    EXPECT_EQ(insertAt(60, 20), 1);
    EXPECT_EQ(envelope.pointCount, 3);
    EXPECT_EQ(x(1), 60);
    EXPECT_NEAR(envelope.pointLevel[1], 33.0f / 42.0f, 1e-6);
    EXPECT_EQ(envelope.pointTime[2], 1.0f); // the old last point moved up
    EXPECT_EQ(insertAt(40), 1);
    EXPECT_EQ(insertAt(90), 3);
    EXPECT_EQ(envelope.pointCount, 5);
    for (int i = 1; i < 5; ++i)
        EXPECT_LT(envelope.pointTime[i - 1], envelope.pointTime[i]);
}

TEST_F(EnvelopeEditingTest, RefusesInsertionsOutsideTheAttackArea)
{
    EXPECT_EQ(insertAt(24), -1);     // on the left edge
    EXPECT_EQ(insertAt(113), -1);    // on the last attack point
    EXPECT_EQ(insertAt(150), -1);    // in the decay
    EXPECT_EQ(insertAt(60, 10), -1); // above the plot
    EXPECT_EQ(insertAt(60, 53), -1); // on the bottom edge
    EXPECT_EQ(insertAt(60, 52), 1);  // just inside
    EXPECT_EQ(insertAt(62), -1);     // within 2 pixels of the inner point
    EXPECT_EQ(insertAt(58), -1);
    EXPECT_EQ(insertAt(63), 2); // 3 pixels away
    EXPECT_EQ(envelope.pointCount, 4);
}

TEST_F(EnvelopeEditingTest, TheEleventhPointIsRefused)
{
    for (int i = 0; i < 8; ++i)
        EXPECT_GE(insertAt(30 + 8 * i), 1) << i;
    EXPECT_EQ(envelope.pointCount, 10);
    EXPECT_EQ(insertAt(105), -1);
    EXPECT_EQ(envelope.pointCount, 10);
}

TEST_F(EnvelopeEditingTest, DraggingPastANeighbourReordersThePoints)
{
    insertAt(50, 40); // 1
    insertAt(80, 20); // 2
    const float movedLevel = envelope.pointLevel[1];
    EnvelopeEditing::DragResult r = EnvelopeEditing::dragPoint(envelope, geometry, 1, {95, 40}, 2);
    EXPECT_EQ(r.selected, 2);
    EXPECT_EQ(r.change, EnvelopeEditing::kNothingHeard);
    EXPECT_EQ(x(2), 95);
    EXPECT_EQ(x(1), 80);
    EXPECT_EQ(envelope.pointLevel[2], movedLevel);
    // Landing within 2 pixels of a neighbour: the nearest free pixel toward
    // where the point came from.
    r = EnvelopeEditing::dragPoint(envelope, geometry, 2, {81, 40}, 2);
    EXPECT_EQ(r.selected, 2);
    EXPECT_EQ(x(2), 83);
}

TEST_F(EnvelopeEditingTest, DraggingBeyondTheLastAttackPointMakesItTheLast)
{
    envelope.pointTime[1] = 0.5f; // the last attack point at x 68
    insertAt(40);                 // 1; the last is now 2
    const EnvelopeEditing::DragResult r =
        EnvelopeEditing::dragPoint(envelope, geometry, 1, {100, 11}, 2);
    EXPECT_EQ(r.selected, 2);
    EXPECT_EQ(r.change, EnvelopeEditing::kLastAttackPoint);
    EXPECT_EQ(envelope.pointLevel[2], 1.0f);
    EXPECT_EQ(x(2), 100);
}

TEST_F(EnvelopeEditingTest, FixedColumnPointsOnlyChangeLevel)
{
    EnvelopeEditing::DragResult r = EnvelopeEditing::dragPoint(envelope, geometry, 2, {20, 0}, 1);
    EXPECT_EQ(r.change, EnvelopeEditing::kSustainLevel);
    EXPECT_EQ(envelope.sustainLevel, 1.0f); // above the plot: limited to 1
    r = EnvelopeEditing::dragPoint(envelope, geometry, 3, {20, 500}, 1);
    EXPECT_EQ(r.change, EnvelopeEditing::kReleaseLevel);
    EXPECT_EQ(envelope.releaseLevel, 0.0f);
    r = EnvelopeEditing::dragPoint(envelope, geometry, 1, {50, 32}, 1);
    EXPECT_EQ(r.change, EnvelopeEditing::kLastAttackPoint);
    EXPECT_EQ(envelope.pointTime[1], 1.0f);
    r = EnvelopeEditing::dragPoint(envelope, geometry, 0, {90, 11}, 1);
    EXPECT_EQ(r.change, EnvelopeEditing::kNothingHeard);
    EXPECT_EQ(envelope.pointTime[0], 0.0f);
    EXPECT_EQ(envelope.pointLevel[0], 1.0f);
}

TEST_F(EnvelopeEditingTest, VolumeEnvelopeStartsAndEndsOnTheBottomLine)
{
    resetEnvelope(envelope, true, true);
    EnvelopeEditing::dragPoint(envelope, geometry, 0, {30, 11}, 0);
    EnvelopeEditing::dragPoint(envelope, geometry, 3, {240, 11}, 0);
    EXPECT_EQ(envelope.pointLevel[0], 0.0f);
    EXPECT_EQ(envelope.releaseLevel, 0.0f);
    EnvelopeEditing::dragPoint(envelope, geometry, 2, {240, 11}, 0);
    EXPECT_EQ(envelope.sustainLevel, 1.0f);
}

TEST_F(EnvelopeEditingTest, RightPressDeletesOnlyInnerPoints)
{
    EXPECT_FALSE(EnvelopeEditing::deleteInnerPoint(envelope, geometry, {24, 32}));
    EXPECT_FALSE(EnvelopeEditing::deleteInnerPoint(envelope, geometry, {113, 32}));
    insertAt(50, 20);
    insertAt(80, 40);
    EXPECT_TRUE(EnvelopeEditing::deleteInnerPoint(envelope, geometry, {51, 21}));
    EXPECT_EQ(envelope.pointCount, 3);
    EXPECT_EQ(x(1), 80);
    EXPECT_EQ(envelope.pointTime[2], 1.0f);
    EXPECT_FALSE(EnvelopeEditing::deleteInnerPoint(envelope, geometry, {60, 40}));
}

TEST_F(EnvelopeEditingTest, StrayIndicesEditNothing)
{
    const PatchEnvelope before = envelope;
    EXPECT_EQ(EnvelopeEditing::dragPoint(envelope, geometry, 7, {50, 20}, 1).selected, -1);
    EXPECT_EQ(EnvelopeEditing::dragPoint(envelope, geometry, -1, {50, 20}, 1).selected, -1);
    EXPECT_EQ(std::memcmp(&before, &envelope, sizeof envelope), 0);
}
} // namespace
