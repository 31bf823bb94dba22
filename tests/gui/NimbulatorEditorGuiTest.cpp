// The instrument's editor in a host window under the GUI test host, with
// audio rendering beside it: where the controls sit, knob drags and typed
// values, column selection and the connector, host automation reaching the
// dials, envelope editing (also heard in the audio), whole-program
// refreshes, and object counts over many editor sessions.
//
// The plug-in is loaded into this process, so besides pixels and the host
// interface the test reads the program, the editor and its controls the way
// the editor itself does.
#include "CEnvelope.h"
#include "CKnob.h"
#include "ConnectorGeometry.h"
#include "Editor.h"
#include "EditorHost.h"
#include "EditorLayout.h"
#include "EnvelopeGeometry.h"
#include "KnobGeometry.h"
#include "Patch.h"
#include "PluginFiles.h"
#include "SynthInterface.h"
#include "ValueText.h"
#include "VstXSynth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
const char* const kPlugin = PLUGIN_FILE("nimbulator");
const int kMaster = EditorLayout::kMasterKnobId, kVolumeRange = 1036, kCoarse = 1037, kFine = 1038,
          kAttract = 1046, kHome = EditorLayout::kHomeEnvelopeId,
          kRange = EditorLayout::kRangeEnvelopeId, kSpeed = EditorLayout::kSpeedEnvelopeId;

// Layout colours are 0x00BBGGRR, captured pixels 0x00RRGGBB.
uint32_t pixelColour(uint32_t layoutColour)
{
    return RgbImage::rgb(layoutColour & 0xFF, (layoutColour >> 8) & 0xFF,
                         (layoutColour >> 16) & 0xFF);
}

class NimbulatorEditorGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetCursorPos(4000, 4000);
        std::string error;
        host = EditorHost::load(kPlugin, error);
        ASSERT_TRUE(host) << error;
        synth = static_cast<VstXSynth*>(static_cast<AudioEffect*>(host->plugin().effect()->object));
        ASSERT_TRUE(host->open(error)) << error;
        editor = static_cast<Editor*>(synth->getEditor());
        ASSERT_TRUE(editor);
        host->pump(100);
    }
    void TearDown() override
    {
        if (host) {
            EXPECT_TRUE(host->faults().empty()) << host->faults()[0];
            for (int note : held)
                host->audio().noteOff(note);
        }
        host.reset();
    }

    SynthInterface* synthInterface() { return static_cast<SynthInterface*>(synth); }
    Patch& patch() { return *synthInterface()->getCurrentProgram(); }
    template <class T> T* object(int id)
    {
        HWND window = host->control(id);
        return window ? static_cast<T*>(
                            reinterpret_cast<CControl*>(GetWindowLongPtrA(window, GWLP_USERDATA)))
                      : nullptr;
    }
    CKnob* knob(int id) { return object<CKnob>(id); }
    CEnvelope* envelope(int id) { return object<CEnvelope>(id); }
    const EditorLayout::KnobPlace& place(int id)
    {
        for (const EditorLayout::KnobPlace& k : EditorLayout::knobs)
            if (k.id == id)
                return k;
        ADD_FAILURE() << "no knob " << id;
        return EditorLayout::knobs[0];
    }
    Rect clientRect(int id)
    {
        RECT r;
        GetClientRect(host->control(id), &r);
        return {r.left, r.top, r.right, r.bottom};
    }
    Point dialCentre(int id)
    {
        Rect dial = KnobGeometry::dialRect(clientRect(id).width(), clientRect(id).height());
        return {(dial.left + dial.right) / 2, (dial.top + dial.bottom) / 2};
    }
    Point valuePoint(int id)
    {
        Rect value = KnobGeometry::valueRect(clientRect(id).width(), clientRect(id).height());
        return {(value.left + value.right) / 2, (value.top + value.bottom) / 2};
    }
    // A press and release on the dial, moving `dy` pixels on the way.
    void dragDial(int id, int dy)
    {
        Point c = dialCentre(id);
        host->drag(id, c.x, c.y, c.x, c.y + dy, 10);
    }
    // Presses the value text, types `text` into the box that opens, then
    // Enter.
    void typeIntoKnob(int id, const char* text)
    {
        Point v = valuePoint(id);
        host->mouseDown(id, v.x, v.y);
        host->mouseUp(id, v.x, v.y);
        ASSERT_TRUE(host->typeText(text)) << "no entry box on knob " << id;
        host->key(VK_RETURN);
    }
    void select(int id)
    {
        Point c = dialCentre(id);
        host->mouseDown(id, c.x, c.y);
        host->mouseUp(id, c.x, c.y);
        host->pump(50);
    }
    void hold(int note)
    {
        host->audio().noteOn(note, 100);
        held.push_back(note);
    }
    // The peak of the output over the next `ms` milliseconds.
    float peakOver(int ms)
    {
        float peak = 0.0f;
        for (int t = 0; t < ms; t += 20) {
            host->pump(20);
            peak = std::max(peak, host->audio().lastBlockPeak());
        }
        return peak;
    }
    // The envelope control's geometry and its points in its own client
    // coordinates.
    EnvelopeGeometry geometry(int id)
    {
        Rect r = clientRect(id);
        return EnvelopeGeometry(r.width(), r.height());
    }
    PatchEnvelope& shown(int id)
    {
        EnvelopeView* view = envelope(id)->getView();
        EXPECT_TRUE(view && view->data);
        return *view->data;
    }
    Point pointOf(int id, int i) { return geometry(id).point(shown(id), i); }
    void click(int id, Point p)
    {
        host->mouseDown(id, p.x, p.y);
        host->mouseUp(id, p.x, p.y);
    }
    // Knobs showing exactly their program fields.
    void expectKnobsShowTheProgram(const char* when)
    {
        for (const EditorLayout::KnobPlace& k : EditorLayout::knobs)
            EXPECT_EQ(knob(k.id)->getValue(), patch().*k.field) << when << ", knob " << k.id;
    }

    std::unique_ptr<EditorHost> host;
    VstXSynth* synth = nullptr;
    Editor* editor = nullptr;
    std::vector<int> held;
};

// ---- Controls ----------------------------------------------------------------

TEST(NimbulatorEditorGuiClosed, ReportsItsSizeBeforeItOpens)
{
    std::string error;
    std::unique_ptr<EditorHost> host = EditorHost::load(kPlugin, error);
    ASSERT_TRUE(host) << error;
    int width = 0, height = 0;
    ASSERT_TRUE(host->editorSize(width, height));
    EXPECT_EQ(width, 680);
    EXPECT_EQ(height, 536);
}

TEST_F(NimbulatorEditorGui, ControlsSitAtTheirPlacesWithTheirClassesAndTexts)
{
    for (const EditorLayout::ControlPlace& c : EditorLayout::controls) {
        ASSERT_TRUE(host->control(c.id)) << c.id;
        RECT r = host->controlRect(c.id);
        EXPECT_EQ(r.left, c.rect.left) << c.id;
        EXPECT_EQ(r.top, c.rect.top) << c.id;
        EXPECT_EQ(r.right, c.rect.right) << c.id;
        EXPECT_EQ(r.bottom, c.rect.bottom) << c.id;
        EXPECT_EQ(host->controlClass(c.id), c.className) << c.id;
        EXPECT_EQ(host->controlText(c.id), c.text) << c.id;
    }
    for (int id : {EditorLayout::kPresetsButtonId, EditorLayout::kOptionsButtonId,
                   EditorLayout::kHelpButtonId})
        EXPECT_TRUE(host->control(id)) << id;
}

// ---- Knobs -------------------------------------------------------------------

TEST_F(NimbulatorEditorGui, DraggingCoversTheRangeInOneHundredFiftyPixels)
{
    host->plugin().setParameter(0, 0.0f);
    host->pump(50);
    ASSERT_EQ(patch().volumeHome, 0);
    dragDial(kMaster, -75);
    EXPECT_EQ(patch().volumeHome, 50);
    EXPECT_EQ(knob(kMaster)->getValue(), 50);
    EXPECT_NEAR(host->plugin().getParameter(0), 0.5f, 0.01f);
    dragDial(kMaster, -400); // far above the window, the capture holds
    EXPECT_EQ(patch().volumeHome, 100);
    dragDial(kMaster, 400);
    EXPECT_EQ(patch().volumeHome, 0);
    // The wheel does nothing on a knob.
    Point c = dialCentre(kMaster);
    host->wheel(kMaster, c.x, c.y, 120);
    EXPECT_EQ(patch().volumeHome, 0);
    // A drag whose mouse another window takes ends there: moving over the
    // knob afterwards, button up, changes nothing.
    host->mouseDown(kMaster, c.x, c.y);
    host->mouseMove(kMaster, c.x, c.y - 30);
    EXPECT_EQ(patch().volumeHome, 20);
    SetCapture(host->window());
    host->pump(20);
    ReleaseCapture();
    host->mouseMove(kMaster, c.x, c.y - 90);
    EXPECT_EQ(patch().volumeHome, 20);
}

TEST_F(NimbulatorEditorGui, TypedValuesFollowEachKeystrokeWithinTheKnobsRange)
{
    typeIntoKnob(kMaster, "-3");
    EXPECT_EQ(patch().volumeHome, 70); // 10^(-0.15) of full scale
    typeIntoKnob(kMaster, "6");
    EXPECT_EQ(patch().volumeHome, 100);
    typeIntoKnob(kVolumeRange, "010"); // octal, as the box reads integers
    EXPECT_EQ(patch().volumeRange, 8);
    typeIntoKnob(kVolumeRange, "abc");
    EXPECT_EQ(patch().volumeRange, 8);
    typeIntoKnob(kCoarse, "-99");
    EXPECT_EQ(patch().coarseTune, -24);
    EXPECT_EQ(host->focusedBox(), nullptr) << "Enter closes the box";
}

TEST_F(NimbulatorEditorGui, GreyKnobsOpenNoBoxAndDragOnlyFromTheDial)
{
    const int before = patch().attract;
    const int selected = editor->selectedDimension();
    Point v = valuePoint(kAttract);
    host->mouseDown(kAttract, v.x, v.y);
    host->mouseMove(kAttract, v.x, v.y - 60);
    host->mouseUp(kAttract, v.x, v.y - 60);
    EXPECT_EQ(host->focusedBox(), nullptr);
    EXPECT_FALSE(host->typeText("5"));
    EXPECT_EQ(patch().attract, before);
    EXPECT_EQ(editor->selectedDimension(), selected);
    dragDial(kAttract, -15);
    EXPECT_EQ(patch().attract, std::min(100, before + 10));
}

TEST_F(NimbulatorEditorGui, TuneBoxesSelectThePitchColumnAndTypeOnTheirLowerHalf)
{
    EXPECT_EQ(editor->selectedDimension(), -1);
    select(kFine);
    EXPECT_EQ(editor->selectedDimension(), 1);
    ASSERT_TRUE(envelope(kHome)->getView());
    EXPECT_STREQ(envelope(kHome)->getView()->name, "Pitch Env");
    EXPECT_STREQ(envelope(kRange)->getView()->name, "Pitch Range Env");
    select(kMaster);
    EXPECT_EQ(editor->selectedDimension(), 0);
    typeIntoKnob(kFine, "-7");
    EXPECT_EQ(patch().fineTune, -7);
    EXPECT_EQ(editor->selectedDimension(), 1);
}

TEST_F(NimbulatorEditorGui, TheMasterKnobReadsDecibels)
{
    const EditorLayout::KnobSettings& s = place(kMaster).settings;
    const char* expected[] = {"0", "-6.02", "-oo"};
    const float values[] = {1.0f, 0.5f, 0.0f};
    for (int i = 0; i < 3; ++i) {
        host->plugin().setParameter(0, values[i]);
        host->pump(50);
        char text[32];
        ValueText::formatKnob(text, sizeof text, s.format, 100, s.decimals,
                              knob(kMaster)->getValue());
        EXPECT_STREQ(text, expected[i]);
        EXPECT_EQ(std::string(text) + s.unit, std::string(expected[i]) + "dB");
    }
}

// ---- Columns and the connector -----------------------------------------------

TEST_F(NimbulatorEditorGui, PressingAColumnsKnobSelectsItsEnvelopesAndDrawsTheConnector)
{
    EXPECT_EQ(envelope(kHome)->getView(), nullptr);
    EXPECT_EQ(envelope(kRange)->getView(), nullptr);
    ASSERT_TRUE(envelope(kSpeed)->getView());

    const Rect upper = EditorLayout::findControl(kMaster)->rect;
    const Rect range = EditorLayout::findControl(kVolumeRange)->rect;
    const Rect home = EditorLayout::findControl(kHome)->rect;
    ConnectorGeometry::Line lines[ConnectorGeometry::kMaxLines];
    const int n = ConnectorGeometry::lines(upper, range, home, lines);
    ASSERT_GT(n, 10);
    // The connector's pixels that no control covers.
    auto connectorPixels = [&](const RgbImage& image) {
        std::vector<uint32_t> out;
        for (int i = 0; i < n; ++i)
            for (int x = lines[i].x1; x < lines[i].x2; ++x) {
                bool covered = false;
                for (const EditorLayout::ControlPlace& c : EditorLayout::controls)
                    covered = covered || c.rect.contains({x, lines[i].y});
                if (!covered)
                    out.push_back(image.at(x, lines[i].y));
            }
        return out;
    };
    const std::vector<uint32_t> before = connectorPixels(host->capture());
    ASSERT_GT(before.size(), 20u);

    select(kAttract); // a grey knob changes nothing
    EXPECT_EQ(editor->selectedDimension(), -1);
    EXPECT_EQ(connectorPixels(host->capture()), before);

    select(kVolumeRange);
    EXPECT_EQ(editor->selectedDimension(), 0);
    EXPECT_STREQ(envelope(kHome)->getView()->name, "Vol Env");
    EXPECT_STREQ(envelope(kRange)->getView()->name, "Vol Range Env");
    const std::vector<uint32_t> after = connectorPixels(host->capture());
    ASSERT_EQ(after.size(), before.size());
    const uint32_t pen = pixelColour(EditorLayout::dimensionDark[0]);
    size_t drawn = 0, changed = 0;
    for (size_t i = 0; i < after.size(); ++i) {
        drawn += after[i] == pen;
        changed += after[i] != before[i];
    }
    EXPECT_GT(drawn, after.size() * 9 / 10) << "the connector in the volume colour";
    EXPECT_GT(changed, after.size() / 2);
}

// ---- Host automation ---------------------------------------------------------

TEST_F(NimbulatorEditorGui, HostAutomationMovesEachKnobsDot)
{
    const RgbImage before = host->capture();
    for (const EditorLayout::KnobPlace& k : EditorLayout::knobs) {
        if (k.parameter < 0 || !k.settings.dial)
            continue;
        const float value = k.parameter % 2 ? 0.1f : 0.9f;
        host->plugin().setParameter(k.parameter, value);
    }
    host->pump(100);
    const RgbImage image = host->capture();
    for (const EditorLayout::KnobPlace& k : EditorLayout::knobs) {
        if (k.parameter < 0 || !k.settings.dial)
            continue;
        const int32_t v = knob(k.id)->getValue();
        EXPECT_EQ(v, patch().*k.field) << k.id;
        const Rect r = clientRect(k.id);
        const Point dot = KnobGeometry::dotCentre(KnobGeometry::dialRect(r.width(), r.height()), v,
                                                  k.settings.min, k.settings.max);
        const Rect place = EditorLayout::findControl(k.id)->rect;
        EXPECT_EQ(image.at(place.left + dot.x, place.top + dot.y),
                  pixelColour(k.settings.dotColour))
            << "dot of knob " << k.id << " at value " << v;
    }
    EXPECT_NE(image.pixels, before.pixels);
}

TEST_F(NimbulatorEditorGui, EnvelopeAutomationOfAnotherColumnLeavesTheGraphsAlone)
{
    select(kMaster);
    const RgbImage before = host->capture();
    // Parameters above the knobs' belong to the envelopes; find a pitch
    // home envelope one.
    int pitchParameter = -1;
    for (int i = 19; i <= 100 && pitchParameter < 0; ++i) {
        EditorLayout::ParameterTarget t = EditorLayout::parameterTarget(i);
        if (t.target == EditorLayout::kHomeEnvelope && t.dimension == 1)
            pitchParameter = i;
    }
    ASSERT_GE(pitchParameter, 0);
    host->plugin().setParameter(pitchParameter, 0.77f);
    host->pump(100);
    const RgbImage after = host->capture();
    const Rect home = EditorLayout::findControl(kHome)->rect;
    for (int y = home.top; y < home.bottom; ++y)
        for (int x = home.left; x < home.right; ++x)
            ASSERT_EQ(after.at(x, y), before.at(x, y)) << x << ", " << y;
}

TEST_F(NimbulatorEditorGui, AnUnknownParameterIndexIsReportedInAMessageBox)
{
    host->modal().answerMessageBox(IDOK);
    editor->SetParameter(101, &patch()); // as a faulty caller might
    EXPECT_TRUE(host->finishModal());
    EXPECT_NE(host->modal().messageText(), "");
    host->pump(50);
    // The editor goes on working.
    dragDial(kVolumeRange, -15);
    EXPECT_GE(patch().volumeRange, 10);
}

// ---- Envelope editing --------------------------------------------------------

TEST_F(NimbulatorEditorGui, AttackPointsAreInsertedReorderedAndDeleted)
{
    select(kMaster);
    PatchEnvelope& e = shown(kHome);
    resetEnvelope(e, true, true);
    envelope(kHome)->repaint();
    host->pump(30);
    ASSERT_EQ(e.pointCount, 2);
    const EnvelopeGeometry g = geometry(kHome);
    const int y = (g.plot.top + g.plot.bottom) / 2;

    // Two inner points at a third and two thirds of the way to the last.
    const int x0 = pointOf(kHome, 0).x, xLast = pointOf(kHome, 1).x;
    click(kHome, {x0 + (xLast - x0) / 3, y});
    ASSERT_EQ(e.pointCount, 3);
    click(kHome, {x0 + 2 * (xLast - x0) / 3, y + 8});
    ASSERT_EQ(e.pointCount, 4);
    const float lowerLevel = e.pointLevel[2];
    EXPECT_LT(lowerLevel, e.pointLevel[1]);

    // Within 2 pixels of an inner point (and not on it) adds nothing.
    Point inner = pointOf(kHome, 1);
    click(kHome, {inner.x + 1, inner.y + 12});
    EXPECT_EQ(e.pointCount, 4);

    // Point 1 dragged past point 2 swaps places with it.
    Point p2 = pointOf(kHome, 2);
    host->drag(kHome, inner.x, inner.y, p2.x + 6, inner.y, 6);
    EXPECT_EQ(e.pointCount, 4);
    EXPECT_FLOAT_EQ(e.pointLevel[1], lowerLevel);
    for (int i = 1; i < 4; ++i)
        EXPECT_LE(e.pointTime[i - 1], e.pointTime[i]);

    // Dragged beyond the last attack point it becomes the last one (which
    // needs room: the last point of a reset envelope ends the attack area).
    e.pointTime[3] = 0.8f;
    const float lastLevel = e.pointLevel[3];
    Point p1 = pointOf(kHome, 1);
    host->drag(kHome, p1.x, p1.y, g.x40, p1.y, 6);
    EXPECT_FLOAT_EQ(e.pointLevel[2], lastLevel);
    EXPECT_FLOAT_EQ(e.pointLevel[3], lowerLevel);

    // The right button deletes inner points only.
    Point del = pointOf(kHome, 1);
    host->rightClick(kHome, del.x, del.y);
    EXPECT_EQ(e.pointCount, 3);
    host->pump(30);
}

TEST_F(NimbulatorEditorGui, TheEleventhAttackPointCannotBeAdded)
{
    select(kMaster);
    PatchEnvelope& e = shown(kHome);
    resetEnvelope(e, true, true);
    const EnvelopeGeometry g = geometry(kHome);
    const int y = (g.plot.top + g.plot.bottom) / 2;
    // Eight points spread evenly between the first and the last.
    const int x0 = pointOf(kHome, 0).x, xLast = pointOf(kHome, 1).x;
    for (int k = 1; k <= 8; ++k)
        click(kHome, {x0 + k * (xLast - x0) / 9, y});
    ASSERT_EQ(e.pointCount, 10);
    PatchEnvelope copy = e;
    Point last = pointOf(kHome, 9);
    click(kHome, {last.x - 3, y - 10});
    EXPECT_EQ(e.pointCount, 10);
    EXPECT_EQ(std::memcmp(&copy, &e, sizeof e), 0);
}

TEST_F(NimbulatorEditorGui, TheVolumeEnvelopesEndsStayOnTheBottomLine)
{
    select(kMaster);
    PatchEnvelope& e = shown(kHome);
    const EnvelopeGeometry g = geometry(kHome);
    Point first = pointOf(kHome, 0);
    host->drag(kHome, first.x, first.y, first.x, g.plot.top + 3, 6);
    EXPECT_EQ(e.pointLevel[0], 0.0f);
    const int n = e.pointCount;
    Point release = pointOf(kHome, n + 1);
    host->drag(kHome, release.x, release.y, release.x, g.plot.top + 3, 6);
    EXPECT_EQ(e.releaseLevel, 0.0f);
    // The sustain point does move.
    Point sustain = pointOf(kHome, n);
    host->drag(kHome, sustain.x, sustain.y, sustain.x, g.plot.top, 6);
    EXPECT_FLOAT_EQ(e.sustainLevel, 1.0f);
}

TEST_F(NimbulatorEditorGui, TimeAndRangeBoxesKeepTheirLimits)
{
    select(kMaster);
    PatchEnvelope& e = shown(kHome);
    const EnvelopeGeometry g = geometry(kHome);
    auto typeTime = [&](int segment, const char* text) {
        const Rect area = g.timeEntry[segment];
        click(kHome, {(area.left + area.right) / 2, (area.top + area.bottom) / 2});
        ASSERT_TRUE(host->typeText(text));
        host->key(VK_RETURN);
    };
    typeTime(EnvelopeGeometry::kRelease, "20000");
    EXPECT_FLOAT_EQ(e.releaseTime, 9.9999f);
    typeTime(EnvelopeGeometry::kAttack, "0");
    EXPECT_FLOAT_EQ(e.attackTime, 0.0001f);
    typeTime(EnvelopeGeometry::kDecay, "250");
    EXPECT_NEAR(e.decayTime, 0.25f, 1e-6f);

    select(kCoarse);
    PatchEnvelope& pitch = shown(kHome);
    auto typeRange = [&](const char* text) {
        const Rect label = g.upperAxisLabel;
        click(kHome, {(label.left + label.right) / 2, (label.top + label.bottom) / 2});
        ASSERT_TRUE(host->typeText(text));
        host->key(VK_RETURN);
    };
    typeRange("30");
    EXPECT_EQ(pitch.range, 24);
    typeRange("-5");
    EXPECT_EQ(pitch.range, 0);
    typeRange("12");
    EXPECT_EQ(pitch.range, 12);
}

TEST_F(NimbulatorEditorGui, EnvelopeEditsReachTheSoundingNote)
{
    select(kMaster);
    PatchEnvelope& e = shown(kHome);
    e.attackTime = 0.001f;
    e.decayTime = 0.001f;
    e.sustainLevel = 1.0f;
    host->plugin().setParameter(0, 1.0f);
    hold(60);
    const float loud = peakOver(600);
    ASSERT_GT(loud, 0.05f);

    // The sustain point dragged down a long way quietens the held note.
    const EnvelopeGeometry g = geometry(kHome);
    Point sustain = pointOf(kHome, e.pointCount);
    host->drag(kHome, sustain.x, sustain.y, sustain.x, g.levelToY(0.3f), 6);
    EXPECT_NEAR(e.sustainLevel, 0.3f, 0.03f);
    peakOver(400); // the level glides down
    const float quiet = peakOver(300);
    EXPECT_LT(quiet, loud * 0.7f);
    EXPECT_GT(quiet, 0.0f);

    // Back to the top: as loud as before, without a new note-on.
    Point low = pointOf(kHome, e.pointCount);
    host->drag(kHome, low.x, low.y, low.x, g.plot.top, 6);
    peakOver(400);
    EXPECT_GT(peakOver(300), loud * 0.8f);
}

// ---- Whole-program changes and sessions --------------------------------------

TEST_F(NimbulatorEditorGui, ProgramChangesChunksAndRandomPatchesRefreshEveryKnob)
{
    // Program 1 differs from program 0 in its knob values.
    host->plugin().dispatch(effSetProgram, 0, 1);
    for (const EditorLayout::KnobPlace& k : EditorLayout::knobs)
        patch().*k.field = k.settings.min + (k.settings.max - k.settings.min) / 3;
    std::vector<uint8_t> chunk = host->chunk();
    ASSERT_FALSE(chunk.empty());
    host->plugin().dispatch(effSetProgram, 0, 0);
    host->pump(100);
    expectKnobsShowTheProgram("program change");

    host->plugin().dispatch(effSetChunk, 0, static_cast<intptr_t>(chunk.size()), chunk.data());
    host->pump(100);
    host->plugin().dispatch(effSetProgram, 0, 1);
    host->pump(100);
    expectKnobsShowTheProgram("chunk load");

    synthInterface()->randomisePatch();
    host->pump(100);
    expectKnobsShowTheProgram("random patch");
}

TEST_F(NimbulatorEditorGui, ManySessionsLeakNothingAndTwoEditorsLiveSideBySide)
{
    std::string error;
    select(kMaster);
    host->close();
    host->pump(50);
    const ObjectCounts before = ObjectCounts::take();
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(host->open(error)) << error;
        if (i % 10 == 0) { // some sessions paint, select and idle
            host->pump(40);
            select(i % 20 ? kMaster : kCoarse);
        }
        host->close();
    }
    host->pump(50);
    const ObjectCounts after = ObjectCounts::take();
    std::printf("before: %s\nafter:  %s\n", before.describe().c_str(), after.describe().c_str());
    EXPECT_EQ(after.gdiTotal(), before.gdiTotal()) << before.describe() << "\n" << after.describe();
    EXPECT_EQ(after.windows, before.windows);

    ASSERT_TRUE(host->open(error)) << error;
    EditorHost::Options options;
    options.x = 700;
    std::unique_ptr<EditorHost> second = EditorHost::load(kPlugin, error, options);
    ASSERT_TRUE(second) << error;
    ASSERT_TRUE(second->open(error)) << error;
    second->audio().noteOn(64, 100);
    hold(60);
    host->pump(300);
    // Each editor edits its own instance.
    dragDial(kVolumeRange, -30);
    const int mine = patch().volumeRange;
    Point c = dialCentre(kVolumeRange);
    second->drag(kVolumeRange, c.x, c.y, c.x, c.y + 30, 10);
    host->pump(100);
    EXPECT_EQ(patch().volumeRange, mine);
    EXPECT_EQ(knob(kVolumeRange)->getValue(), mine);
    second->audio().noteOff(64);
    EXPECT_TRUE(second->faults().empty());
    second.reset();
    host->pump(100);
    EXPECT_GT(host->audio().blocksRendered(), 0u);
}
} // namespace
