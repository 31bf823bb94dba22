// The editor's layout tables: every control placed once inside the window,
// knobs tied to their program fields and parameters, envelope views, the
// parameter routing of host changes, and the connector's shape.
#include "EditorLayout.h"
#include "ConnectorGeometry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {
TEST(EditorLayout, ControlsAreUniqueAndInsideTheWindow)
{
    std::set<int32_t> ids;
    for (const auto& control : EditorLayout::controls) {
        EXPECT_TRUE(ids.insert(control.id).second) << control.id;
        EXPECT_GE(control.rect.left, 0) << control.id;
        EXPECT_GE(control.rect.top, 0) << control.id;
        EXPECT_LE(control.rect.right, EditorLayout::kWidth) << control.id;
        EXPECT_LE(control.rect.bottom, EditorLayout::kHeight) << control.id;
        EXPECT_EQ(EditorLayout::findControl(control.id), &control);
    }
    EXPECT_EQ(EditorLayout::findControl(1027),
              nullptr); // buttons stay where the template puts them
}

TEST(EditorLayout, EveryKnobHasAKnobWindowOfItsFaceSize)
{
    std::set<int32_t> parameters;
    for (const auto& knob : EditorLayout::knobs) {
        const EditorLayout::ControlPlace* place = EditorLayout::findControl(knob.id);
        ASSERT_NE(place, nullptr) << knob.id;
        EXPECT_STREQ(place->className, "CKnob");
        const int32_t face = knob.settings.face;
        const int32_t width = face == 160 ? 38 : 45;
        EXPECT_EQ(place->rect.width(), width) << knob.id;
        EXPECT_LE(place->rect.height(), face == 159 ? 27 : face == 160 ? 47 : 52) << knob.id;
        EXPECT_LE(knob.settings.min, knob.settings.max);
        if (knob.parameter >= 0) {
            EXPECT_TRUE(parameters.insert(knob.parameter).second);
            EXPECT_EQ(EditorLayout::knobForParameter(knob.parameter), &knob);
        }
        // Only the dimension knobs select envelopes and show values.
        EXPECT_EQ(knob.settings.valueText != 0, knob.settings.dimension >= 0) << knob.id;
    }
    EXPECT_EQ(parameters.size(), 19u); // 0..18; the tune knobs have none
    EXPECT_EQ(EditorLayout::knobForParameter(19), nullptr);
    EXPECT_EQ(EditorLayout::knobForParameter(-1), nullptr);
}

TEST(EditorLayout, KnobsWriteTheProgramFieldsOfTheirControls)
{
    Patch patch = {};
    const struct {
        int32_t id;
        int32_t* field;
    } expected[] = {{1022, &patch.volumeHome}, {1037, &patch.coarseTune},
                    {1038, &patch.fineTune},   {1051, &patch.lfoDepth},
                    {1041, &patch.filterQ},    {1042, &patch.lowpassCutoff}};
    for (const auto& e : expected) {
        for (const auto& knob : EditorLayout::knobs) {
            if (knob.id == e.id) {
                EXPECT_EQ(&(patch.*knob.field), e.field) << e.id;
            }
        }
    }
}

TEST(EditorLayout, ColumnsRunFromUpperControlToRangeKnob)
{
    for (int32_t d = 0; d < EditorLayout::kDimensions; ++d) {
        const Rect upper = EditorLayout::findControl(EditorLayout::upperControlId(d))->rect;
        const Rect range = EditorLayout::findControl(EditorLayout::rangeKnobId(d))->rect;
        EXPECT_EQ(upper.left, range.left) << d;
        EXPECT_LT(upper.bottom, range.top) << d;
    }
    EXPECT_EQ(EditorLayout::upperControlId(5), 0);
    EXPECT_EQ(EditorLayout::rangeKnobId(-1), 0);
}

TEST(EditorLayout, EnvelopeViewsReadTheirEnvelopesByKind)
{
    EXPECT_STREQ(EditorLayout::envelopeView(0).name, "Vol Env");
    EXPECT_EQ(EditorLayout::envelopeView(0).kind, 0);
    EXPECT_EQ(EditorLayout::envelopeView(1).kind, 2);
    EXPECT_EQ(EditorLayout::envelopeView(1).scale, 24);
    EXPECT_EQ(EditorLayout::envelopeView(2).scale, 100);
    EXPECT_EQ(EditorLayout::envelopeView(4).scale, 50);
    EXPECT_STREQ(EditorLayout::envelopeView(9).name, "Noise Range");
    EXPECT_EQ(EditorLayout::envelopeView(9).kind, 1);
    EXPECT_EQ(EditorLayout::envelopeView(6).colour, EditorLayout::dimensionLight[1]);
    EXPECT_STREQ(EditorLayout::envelopeView(10).name, "Speed Env");
    EXPECT_EQ(EditorLayout::envelopeView(10).colour, EditorLayout::rgb(128, 128, 128));
    EXPECT_EQ(EditorLayout::envelopeView(10).data, nullptr);
}

TEST(EditorLayout, HostParametersRouteToTheirControls)
{
    using L = EditorLayout;
    const struct {
        int32_t index;
        L::Target target;
        int32_t dimension;
    } cases[] = {
        {0, L::kKnob, -1},
        {18, L::kKnob, -1},
        {19, L::kSynthesisOption, -1},
        {20, L::kSynthesisOption, -1},
        {21, L::kSeedOption, -1},
        {22, L::kHomeEnvelope, 0},
        {26, L::kHomeEnvelope, 0},
        {27, L::kHomeEnvelope, 1},
        {34, L::kHomeEnvelope, 1},
        {35, L::kHomeEnvelope, 2},
        {51, L::kHomeEnvelope, 4},
        {58, L::kHomeEnvelope, 4},
        {59, L::kRangeEnvelope, 0},
        {66, L::kRangeEnvelope, 1},
        {93, L::kRangeEnvelope, 4},
        {94, L::kSpeedEnvelope, -1},
        {100, L::kSpeedEnvelope, -1},
        {101, L::kUnknown, -1},
        {-1, L::kUnknown, -1},
    };
    for (const auto& c : cases) {
        const L::ParameterTarget t = L::parameterTarget(c.index);
        EXPECT_EQ(t.target, c.target) << c.index;
        EXPECT_EQ(t.dimension, c.dimension) << c.index;
    }
}

TEST(ConnectorGeometry, FunnelsFromTheRangeKnobToTheEnvelopeEdges)
{
    const Rect upper = {63, 124, 108, 150}; // coarse: pitch column, cx 85
    const Rect range = {63, 185, 108, 237};
    const Rect envelope = {12, 252, 264, 317};
    ConnectorGeometry::Line lines[ConnectorGeometry::kMaxLines];
    const int32_t count = ConnectorGeometry::lines(upper, range, envelope, lines);
    ASSERT_EQ(count, 3 + (185 - 150) + (252 - 237));
    EXPECT_EQ(lines[0].y, 121);
    EXPECT_EQ(lines[0].x1, 77);
    EXPECT_EQ(lines[0].x2, 93);
    EXPECT_EQ(lines[2].y, 123);
    EXPECT_EQ(lines[3].y, 150);
    EXPECT_EQ(lines[3].x1, 82);
    // The funnel widens row by row and reaches halfway to the edges on its
    // last row.
    const ConnectorGeometry::Line& last = lines[count - 1];
    EXPECT_EQ(last.y, 251);
    EXPECT_EQ(last.x1, (82 + 12) / 2);
    EXPECT_EQ(last.x2, (88 + 264) / 2);
    for (int32_t i = count - 14; i < count; ++i) {
        EXPECT_LE(lines[i].x1, lines[i - 1].x1);
        EXPECT_GE(lines[i].x2, lines[i - 1].x2);
    }
    const Rect strip = ConnectorGeometry::repaintStrip({12, 125, 57, 177}, envelope);
    EXPECT_EQ(strip.top, 122);
    EXPECT_EQ(strip.bottom, 253);
    EXPECT_EQ(strip.left, 12);
    EXPECT_EQ(strip.right, 264);
}
} // namespace
