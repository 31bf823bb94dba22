// The quenvarel editor's rules without a window: the slider scale, the depth
// buttons, which control shows which parameter, the geometry that keeps the
// dialog on its picture, and how the effect talks to its editor.
#include "FilterEditorControls.h"
#include "FilterEditorLayout.h"
#include "FilterEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace Controls = FilterEditorControls;
namespace Layout = FilterEditorLayout;

TEST(FilterEditorSliders, MapPositionsZeroToFourHundredOntoZeroToOne)
{
    EXPECT_EQ(Controls::valueFromPosition(0), 0.0f);
    EXPECT_EQ(Controls::valueFromPosition(1), 0.0025f);
    EXPECT_EQ(Controls::valueFromPosition(200), 0.5f);
    EXPECT_EQ(Controls::valueFromPosition(400), 1.0f);
    EXPECT_EQ(Controls::positionFromValue(0.5f), 200);
    EXPECT_EQ(Controls::positionFromValue(0.8f), 320);   // Cutoff's default
    EXPECT_EQ(Controls::positionFromValue(0.00249f), 0); // truncated, not rounded
    EXPECT_EQ(Controls::positionFromValue(0.99999f), 399);
    EXPECT_EQ(Controls::positionFromValue(0.7f), 280); // single precision: 0.7f x 400 = 280
}

TEST(FilterEditorSliders, EveryPositionSurvivesTheRoundTripThroughItsValue)
{
    for (int p = 0; p <= Controls::kSliderMax; ++p) {
        const float v = Controls::valueFromPosition(p);
        EXPECT_EQ(Controls::positionFromValue(v), p) << p;
        EXPECT_FALSE(Controls::positionChangesValue(p, v)) << p;
    }
}

TEST(FilterEditorSliders, ShowValuesOutsideTheRangeAtTheEnds)
{
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(Controls::positionFromValue(-0.3f), 0);
    EXPECT_EQ(Controls::positionFromValue(1.7f), 400);
    EXPECT_EQ(Controls::positionFromValue(3e38f), 400);
    EXPECT_EQ(Controls::positionFromValue(inf), 400);
    EXPECT_EQ(Controls::positionFromValue(-inf), 0);
    EXPECT_EQ(Controls::positionFromValue(std::nanf("")), 0);
}

// A press that leaves the thumb where the value already shows must not round
// a host's value onto the slider grid.
TEST(FilterEditorSliders, OnlyAMovedThumbRewritesTheValue)
{
    EXPECT_FALSE(Controls::positionChangesValue(49, 0.123f)); // 0.123 shows at 49
    EXPECT_TRUE(Controls::positionChangesValue(50, 0.123f));
    EXPECT_FALSE(Controls::positionChangesValue(400, 1.5f)); // an end stays an end
    EXPECT_TRUE(Controls::positionChangesValue(399, 1.5f));
}

TEST(FilterEditorControls, SlidersAndParametersMapBothWays)
{
    const struct {
        int id, index;
    } sliders[] = {{1017, 0}, {1012, 1}, {1013, 2}, {1018, 4}};
    for (const auto& s : sliders) {
        EXPECT_EQ(Controls::parameterOfSlider(s.id), s.index);
        EXPECT_EQ(Controls::sliderOfParameter(s.index), s.id);
    }
    for (int id : {0, 1005, 1014, 1015, 1016, 1019, -1})
        EXPECT_EQ(Controls::parameterOfSlider(id), -1) << id;
    for (int index : {3, 5, -1, 100})
        EXPECT_EQ(Controls::sliderOfParameter(index), 0) << index;
}

TEST(FilterEditorControls, DepthButtonsFollowTheReadBackDepth)
{
    // The values the effect reads back for one, two and three stages.
    EXPECT_EQ(Controls::depthButtonFor(0.1f), 1014);
    EXPECT_EQ(Controls::depthButtonFor(0.44482756f), 1015);
    EXPECT_EQ(Controls::depthButtonFor(0.78965515f), 1016);
    EXPECT_EQ(Controls::depthButtonFor(-0.2f), 1014); // trunc(-0.58) is 0
    // A depth that bypasses the filter checks no button rather than a control
    // next to the group.
    EXPECT_EQ(Controls::depthButtonFor(1.1344827f), 0);
    EXPECT_EQ(Controls::depthButtonFor(-0.58965516f), 0);
    EXPECT_EQ(Controls::depthButtonFor(7.4e8f), 0);
    EXPECT_EQ(Controls::depthButtonFor(-7.4e8f), 0);
    EXPECT_EQ(Controls::depthButtonFor(std::nanf("")), 0);

    float value = -1.0f;
    ASSERT_TRUE(Controls::depthValueOfButton(1014, value));
    EXPECT_EQ(value, 0.0f);
    ASSERT_TRUE(Controls::depthValueOfButton(1015, value));
    EXPECT_EQ(value, 0.5f);
    ASSERT_TRUE(Controls::depthValueOfButton(1016, value));
    EXPECT_EQ(value, 1.0f);
    EXPECT_FALSE(Controls::depthValueOfButton(1005, value));
    EXPECT_FALSE(Controls::depthValueOfButton(1017, value));
}

// Each button's value, set on the effect and read back, checks that button.
TEST(FilterEditorControls, DepthButtonsRoundTripThroughTheEffect)
{
    FilterEffect effect(nullptr);
    for (int id = 1014; id <= 1016; ++id) {
        float value = 0.0f;
        ASSERT_TRUE(Controls::depthValueOfButton(id, value));
        effect.applyParameter(FilterEffect::kDepth, value, true);
        EXPECT_EQ(effect.depthSetting(), id - 1014);
        EXPECT_EQ(Controls::depthButtonFor(effect.getParameter(FilterEffect::kDepth)), id);
    }
}

// MapDialogRect places x at MulDiv(x, baseX, 4) and y at MulDiv(y, baseY, 8).
TEST(FilterEditorLayout, PutsControlsAtTheDesignsBaseUnitsWhateverTheFont)
{
    auto mulDiv = [](int v, int n, int d) { return (v * n + d / 2) / d; };
    for (int baseX = 4; baseX <= 16; ++baseX)
        for (int baseY = 8; baseY <= 32; baseY += 3)
            for (int du = 0; du <= 330; du += 7) {
                const Layout::Box laid = {mulDiv(du, baseX, 4), mulDiv(du, baseY, 8),
                                          mulDiv(du + 1, baseX, 4), mulDiv(du + 2, baseY, 8)};
                const Layout::Box design = Layout::toDesign(laid, baseX, baseY);
                ASSERT_EQ(design.x, mulDiv(du, 6, 4)) << baseX << " " << du;
                ASSERT_EQ(design.y, mulDiv(du, 13, 8)) << baseY << " " << du;
                ASSERT_EQ(design.width, mulDiv(du + 1, 6, 4)) << baseX << " " << du;
                ASSERT_EQ(design.height, mulDiv(du + 2, 13, 8)) << baseY << " " << du;
            }
    // The whole template, 322 x 134 dialog units, is the 483 x 218 picture.
    const Layout::Box dialog = Layout::toDesign({563, 218, 563, 218}, 7, 13);
    EXPECT_EQ(dialog.width, Layout::kWidth);
    EXPECT_EQ(dialog.height, Layout::kHeight);
    // The right edge of the depth buttons (282 + 33 units) stays inside it.
    const Layout::Box radio = Layout::toDesign({494, 11, 58, 16}, 7, 13);
    EXPECT_LE(radio.x + radio.width, Layout::kWidth);
    // A base unit of 0 (no font at all) does not divide by zero.
    Layout::toDesign({10, 10, 10, 10}, 0, 0);
}

TEST(FilterEditorLayout, GrowsARightAlignedLabelLeftwardsUntilItsTextFits)
{
    const Layout::Box label = {30, 75, 53, 24};
    const Layout::Box same = Layout::fitRightAligned(label, 53);
    EXPECT_EQ(same.x, 30);
    EXPECT_EQ(same.width, 53);
    const Layout::Box wider = Layout::fitRightAligned(label, 58);
    EXPECT_EQ(wider.x + wider.width, 83); // the text ends where the design says
    EXPECT_EQ(wider.width, 58);
    EXPECT_EQ(wider.y, 75);
    EXPECT_EQ(wider.height, 24);
    const Layout::Box clamped = Layout::fitRightAligned(label, 500);
    EXPECT_EQ(clamped.x, 0);
    EXPECT_EQ(clamped.width, 83);
}

namespace {
// An editor that records what the effect asks of it.
class RecordingEditor : public FilterEditorBase {
public:
    explicit RecordingEditor(FilterEffect& effect) : FilterEditorBase(&effect) {}
    void refreshControl(int32_t index) override { refreshed.push_back(index); }
    std::vector<int32_t> refreshed;
};

RecordingEditor* lastEditor = nullptr;
FilterEditorBase* makeRecordingEditor(FilterEffect& effect)
{
    lastEditor = new RecordingEditor(effect);
    return lastEditor;
}
FilterEditorBase* failToMakeEditor(FilterEffect&)
{
    return nullptr;
}

int automateRequests = 0;
intptr_t VSTCALLBACK countingHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float)
{
    if (opcode == audioMasterAutomate)
        ++automateRequests;
    return opcode == audioMasterVersion ? 2400 : 0;
}
} // namespace

TEST(FilterEffectEditor, HostChangesRefreshTheirControlAndEditorChangesDoNot)
{
    automateRequests = 0;
    FilterEffect effect(countingHost, makeRecordingEditor);
    ASSERT_NE(lastEditor, nullptr);
    EXPECT_EQ(effect.getAeffect()->flags, 0x11);
    EXPECT_EQ(effect.getEditor(), lastEditor);
    EXPECT_FALSE(effect.editorFailed());

    effect.setParameter(2, 0.5f);
    effect.setParameter(3, 0.2f);
    effect.setParameter(7, 0.2f); // no such parameter: nothing to show
    effect.applyParameter(0, 0.7f, true);
    effect.applyParameter(3, 1.0f, true);
    EXPECT_EQ(lastEditor->refreshed, (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(automateRequests, 0); // nothing is reported to the host as automation
    // The editor's own changes are stored all the same.
    EXPECT_EQ(effect.getParameter(0), 0.7f);
    EXPECT_EQ(effect.depthSetting(), 2);
}

TEST(FilterEffectEditor, WithoutAnEditorTheRecordHasNoEditorFlag)
{
    FilterEffect plain(nullptr);
    EXPECT_EQ(plain.getAeffect()->flags, 0x10);
    EXPECT_FALSE(plain.editorFailed());
    plain.setParameter(2, 0.5f); // nobody to tell; must not crash

    FilterEffect failed(nullptr, failToMakeEditor);
    EXPECT_EQ(failed.getAeffect()->flags, 0x10);
    EXPECT_TRUE(failed.editorFailed());
    EXPECT_EQ(failed.getEditor(), nullptr);
}
