// The hyperspace view in the real instrument, under a host that renders
// audio beside the editor: sliders, trails, the cursor's depth and colour
// modes, steering the flock, labels, the cost of an animation frame and
// object counts over many editor sessions.
//
// The plug-in is loaded into this process, so besides pixels and the host
// interface the test reads the instrument's state the way its editor does:
// the current program, the oscillators' display snapshot and the view object
// that the view's window carries.
#include "CHyperspace.h"
#include "EditorHost.h"
#include "HyperspaceGeometry.h"
#include "Oscillator.h"
#include "Patch.h"
#include "PluginFiles.h"
#include "SynthInterface.h"
#include "SynthSettings.h"
#include "SynthTables.h"
#include "VstXSynth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {
const char* const kPlugin = PLUGIN_FILE("nimbulator");
const int kView = 1045;

const SynthTables& tables()
{
    static SynthTables t;
    return t;
}

class HyperspaceGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Keep the real pointer away from the editor until a test moves it.
        SetCursorPos(4000, 4000);
        std::string error;
        host = EditorHost::load(kPlugin, error);
        ASSERT_TRUE(host) << error;
        AudioEffect* object = static_cast<AudioEffect*>(host->plugin().effect()->object);
        synth = static_cast<VstXSynth*>(object);
        ASSERT_TRUE(host->open(error)) << error;
        window = host->control(kView);
        ASSERT_TRUE(window);
        view = static_cast<CHyperspace*>(
            reinterpret_cast<CControl*>(GetWindowLongPtrA(window, GWLP_USERDATA)));
        ASSERT_TRUE(view);
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

    Patch& patch() { return *static_cast<SynthInterface*>(synth)->getCurrentProgram(); }
    Oscillator* oscillators() { return static_cast<SynthInterface*>(synth)->getOscillators(); }
    void chord()
    {
        for (int note : {48, 55, 60, 64}) {
            host->audio().noteOn(note, 100);
            held.push_back(note);
        }
    }
    // What the editor asks for after an option change: the whole scene.
    void repaintScene()
    {
        InvalidateRect(window, nullptr, TRUE);
        host->pump(100);
    }
    // The view's projection for the program's angles, computed as the view
    // does.
    hyperspace::Projection projection()
    {
        RECT r;
        GetClientRect(window, &r);
        hyperspace::Layout layout = hyperspace::makeLayout({r.left, r.top, r.right, r.bottom});
        hyperspace::Projection p;
        hyperspace::updateProjection(p, patch().viewRotation[0], patch().viewRotation[1], layout);
        return p;
    }
    int sounding()
    {
        int n = 0;
        for (int i = 0; i < patch().oscillatorCount; ++i)
            n += oscillators()[i].voice != nullptr;
        return n;
    }
    // Mean distance of the sounding oscillators from the cursor's point in
    // pan, resonance and noise (the dimensions the test gives wide ranges).
    double distanceFromCursor()
    {
        float target[5] = {};
        for (int slot = 0; slot < 5; ++slot) {
            int d = patch().axisOrder[slot];
            if (d >= 0 && d < 5)
                target[d] = view->getCursorCoordinate(slot);
        }
        double sum = 0;
        int n = 0;
        for (int i = 0; i < patch().oscillatorCount; ++i) {
            const Oscillator& o = oscillators()[i];
            if (!o.voice)
                continue;
            for (int d = 2; d < 5; ++d)
                sum += std::fabs(o.display[d] - target[d]);
            ++n;
        }
        return n ? sum / n : 0.0;
    }
    double averageDistance(int samples)
    {
        double sum = 0;
        for (int k = 0; k < samples; ++k) {
            sum += distanceFromCursor();
            host->pump(20);
        }
        return sum / samples;
    }
    POINT viewOrigin()
    {
        RECT r = host->controlRect(kView);
        return {r.left, r.top};
    }

    std::unique_ptr<EditorHost> host;
    VstXSynth* synth = nullptr;
    CHyperspace* view = nullptr;
    HWND window = nullptr;
    std::vector<int> held;
};

bool lightGrey(uint32_t pixel)
{
    const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return r >= 0x70 && std::abs(r - g) < 10 && std::abs(g - b) < 10;
}

bool sameColour(uint32_t pixel, hyperspace::Colour c)
{
    return pixel == RgbImage::rgb(c.red, c.green, c.blue);
}

} // namespace

TEST_F(HyperspaceGui, CursorStartsHalfwayAndUnknownSlotsReadZero)
{
    EXPECT_FLOAT_EQ(view->getCursorCoordinate(2), 0.5f);
    EXPECT_FLOAT_EQ(view->getCursorCoordinate(3), 0.5f);
    EXPECT_FLOAT_EQ(view->getCursorCoordinate(4), 0.5f);
    EXPECT_FLOAT_EQ(view->getCursorCoordinate(7), 0.0f);
    EXPECT_FLOAT_EQ(view->getCursorCoordinate(-1), 0.0f);
}

TEST_F(HyperspaceGui, SliderTrackEndsGiveTheLimitsAndEachPressRedrawsTheScene)
{
    const POINT o = viewOrigin();
    const RgbImage before = host->capture();
    // Horizontal track: 239..375 at the top, centre line y 6.
    host->mouseDown(kView, 239, 6);
    host->pump(100);
    EXPECT_FLOAT_EQ(patch().viewRotation[0], -0.34f);
    host->mouseMove(kView, 120, 6); // beyond the left end
    host->pump(50);
    EXPECT_FLOAT_EQ(patch().viewRotation[0], -0.34f);
    host->mouseUp(kView, 120, 6);
    const RgbImage turned = host->capture();
    // The knob sits at the track's left end; the box has turned.
    EXPECT_EQ(turned.at(o.x + 240, o.y + 6), RgbImage::rgb(0, 0, 0));
    int changed = 0;
    for (int y = 30; y < 340; y += 5)
        for (int x = 40; x < 370; x += 5)
            changed += before.at(o.x + x, o.y + y) != turned.at(o.x + x, o.y + y);
    EXPECT_GT(changed, 200);

    host->mouseDown(kView, 375, 6);
    host->pump(50);
    EXPECT_FLOAT_EQ(patch().viewRotation[0], 0.34f);
    host->mouseMove(kView, 600, 6);
    host->pump(50);
    EXPECT_FLOAT_EQ(patch().viewRotation[0], 0.34f);
    host->mouseUp(kView, 600, 6);

    // Vertical track: 24..160 at the right edge, centre line x 393.
    host->mouseDown(kView, 393, 24);
    host->pump(50);
    EXPECT_FLOAT_EQ(patch().viewRotation[1], -0.34f);
    host->mouseMove(kView, 393, 500);
    host->pump(50);
    EXPECT_FLOAT_EQ(patch().viewRotation[1], 0.34f);
    host->mouseUp(kView, 393, 500);
    const RgbImage tilted = host->capture();
    EXPECT_EQ(tilted.at(o.x + 393, o.y + 160), RgbImage::rgb(0, 0, 0));
    EXPECT_EQ(tilted.at(o.x + 374, o.y + 6), RgbImage::rgb(0, 0, 0));
    // Releasing gives the pointer back.
    EXPECT_NE(GetCapture(), window);
}

TEST_F(HyperspaceGui, TrailLengthOneShowsOneSegmentPerOscillatorAndFourShowsThree)
{
    patch().animateHyperspace = 1;
    patch().trailLength = 1;
    chord();
    host->pump(600);
    repaintScene();
    host->pump(300);
    int n = sounding();
    ASSERT_GT(n, 0);
    EXPECT_EQ(view->segmentsOnScreen(), n);
    EXPECT_EQ(view->segmentsDrawn(), n);

    patch().trailLength = 4;
    repaintScene();
    host->pump(400);
    n = sounding();
    EXPECT_EQ(view->segmentsOnScreen(), 3 * n);
}

TEST_F(HyperspaceGui, AStandingOscillatorDrawsABlockOneTrailWidthLong)
{
    // One oscillator that does not fly, on pan, resonance and noise (which
    // stand still once the note sustains).
    Patch& p = patch();
    p.animateHyperspace = 1;
    p.showPins = 0;
    p.oscillatorCount = 1;
    p.speed = 0;
    p.trailLength = 5;
    p.trailWidth = 10;
    const int32_t order[5] = {2, 3, 4, 1, 0};
    for (int k = 0; k < 5; ++k)
        p.axisOrder[k] = order[k];
    host->pump(200);
    host->audio().noteOn(60, 100);
    held.push_back(60);
    host->pump(2500);
    repaintScene();
    host->pump(400);

    const Oscillator& o = oscillators()[0];
    ASSERT_TRUE(o.voice);
    float w = 0;
    hyperspace::Point at =
        hyperspace::project(projection(), o.display[2], o.display[3], o.display[4], &w);
    const float width = 12.0f * w;
    const hyperspace::Colour colour =
        hyperspace::oscillatorColour(tables(), o.display[1], o.display[0]);
    const RgbImage image = host->capture();
    const POINT v = viewOrigin();
    const int y = v.y + static_cast<int>(at.y);
    const int x = v.x + static_cast<int>(at.x);
    // The block runs one width back along x from the point, half a width to
    // each side of it.
    EXPECT_TRUE(sameColour(image.at(x - static_cast<int>(width / 2), y), colour));
    EXPECT_TRUE(sameColour(image.at(x - 1, y - static_cast<int>(width / 4)), colour));
    EXPECT_TRUE(sameColour(image.at(x - static_cast<int>(width) + 1, y), colour));
    EXPECT_FALSE(sameColour(image.at(x - static_cast<int>(width) - 3, y), colour));
    EXPECT_FALSE(sameColour(image.at(x + 3, y), colour));
    EXPECT_FALSE(
        sameColour(image.at(x - static_cast<int>(width / 2), y + static_cast<int>(width)), colour));
}

TEST_F(HyperspaceGui, HoldingTheButtonsSteersTheFlockTowardAndAwayFromTheCursor)
{
    Patch& p = patch();
    p.animateHyperspace = 1;
    p.panRange = 100;
    p.resonanceRange = 100;
    p.noiseRange = 100;
    host->setRealInput(true);
    chord();
    host->pump(800);

    // Over the box: the cursor takes the pointer, near the lower left of the
    // front face and halfway in.
    host->mouseMove(kView, 110, 280);
    host->pump(50);
    ASSERT_EQ(GetCapture(), window);
    const double free = averageDistance(10);

    host->mouseDown(kView, 110, 280);
    host->pump(1500);
    const double toward = averageDistance(10);
    host->mouseUp(kView, 110, 280);
    EXPECT_LT(toward, free * 0.8) << "free " << free << " toward " << toward;

    host->pump(300);
    const double before = averageDistance(5);
    const RECT r = host->controlRect(kView);
    POINT screen = {r.left + 110, r.top + 280};
    ClientToScreen(host->window(), &screen);
    SetCursorPos(screen.x, screen.y);
    INPUT press = {};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    SendInput(1, &press, sizeof press);
    host->pump(1500);
    const double away = averageDistance(10);
    press.mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(1, &press, sizeof press);
    host->pump(100);
    EXPECT_GT(away, before * 1.1) << "before " << before << " away " << away;

    // Leaving the box: no steering, the standard arrow, the pointer free.
    host->mouseDown(kView, 110, 280);
    host->pump(100);
    host->mouseMove(kView, 5, 200);
    host->pump(100);
    EXPECT_EQ(static_cast<SynthInterface*>(synth)->getSettings()->mouseSteering, 0);
    EXPECT_NE(GetCapture(), window);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
    host->mouseUp(kView, 5, 200);
}

TEST_F(HyperspaceGui, WheelNotchMovesTheCursorATwelfthDeeper)
{
    patch().wheelMapping = 0;
    host->setRealInput(true);
    host->mouseMove(kView, 208, 184);
    host->pump(50);
    ASSERT_EQ(GetCapture(), window);
    EXPECT_NEAR(view->getCursorCoordinate(2), 0.5f, 1e-6);
    host->setRealInput(false); // the wheel message straight to the view
    host->wheel(kView, 208, 184, 120);
    host->pump(100);
    EXPECT_NEAR(view->getCursorCoordinate(2), 0.5f - 1.0f / 12, 1e-3);
    host->wheel(kView, 208, 184, -240);
    host->pump(100);
    EXPECT_NEAR(view->getCursorCoordinate(2), 0.5f + 1.0f / 12, 1e-3);
    // The pointer went with the cursor to its point at the new depth.
    POINT pointer;
    GetCursorPos(&pointer);
    ScreenToClient(window, &pointer);
    hyperspace::Point expected =
        hyperspace::project(projection(), view->getCursorCoordinate(0),
                            view->getCursorCoordinate(1), view->getCursorCoordinate(2));
    EXPECT_NEAR(pointer.x, expected.x, 1.5);
    EXPECT_NEAR(pointer.y, expected.y, 1.5);
}

TEST_F(HyperspaceGui, CtrlAndAHundredPixelsRaiseTheHueByPointThreeWhileThePointerStands)
{
    host->setRealInput(true);
    host->mouseMove(kView, 200, 200);
    host->pump(50);
    ASSERT_EQ(GetCapture(), window);
    POINT start;
    GetCursorPos(&start);
    host->keyDown(VK_CONTROL);
    host->pump(50);
    host->mouseMove(kView, 300, 200);
    host->pump(100);
    host->keyUp(VK_CONTROL);
    EXPECT_NEAR(view->getCursorCoordinate(3), 0.8f, 1e-4);
    EXPECT_NEAR(view->getCursorCoordinate(4), 0.5f, 1e-4);
    POINT now;
    GetCursorPos(&now);
    EXPECT_EQ(now.x, start.x);
    EXPECT_EQ(now.y, start.y);
}

TEST_F(HyperspaceGui, AnAxisOrderEntryOutsideTheDimensionsReadsError)
{
    // Width of the grey label text on the top strip around the hue legend
    // (the text's edges may be smoothed, so any light grey counts).
    auto labelSpan = [&]() {
        const RgbImage image = host->capture();
        const POINT v = viewOrigin();
        int first = -1, last = -1;
        for (int x = 0; x < 100; ++x)
            for (int y = 0; y < 13; ++y)
                if (lightGrey(image.at(v.x + x, v.y + y))) {
                    if (first < 0)
                        first = x;
                    last = x;
                }
        return first < 0 ? 0 : last - first + 1;
    };
    auto textWidth = [](const char* text) {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
        SIZE size;
        GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return static_cast<int>(size.cx);
    };
    patch().axisOrder[3] = 3;
    repaintScene();
    const int res = labelSpan();
    patch().axisOrder[3] = 9;
    repaintScene();
    const int error = labelSpan();
    EXPECT_NEAR(res, textWidth("Res"), 3);
    EXPECT_NEAR(error, textWidth("!error!"), 3);
    EXPECT_GT(error, res);
}

TEST_F(HyperspaceGui, AnimationFrameCostWithSixtyFourOscillatorsAndLongTrails)
{
    Patch& p = patch();
    p.animateHyperspace = 1;
    p.showPins = 1;
    p.oscillatorCount = 64;
    p.trailLength = 20;
    p.trailWidth = 6;
    chord();
    host->pump(1000);
    repaintScene();
    ASSERT_EQ(sounding(), 64);

    LARGE_INTEGER frequency, t0, t1;
    QueryPerformanceFrequency(&frequency);
    double total = 0, slowest = 0;
    const int frames = 120;
    // CPU time of this (the UI) thread over the frames alone: on a busy
    // machine the wall-clock time includes other processes' turns.
    auto cpuMs = []() {
        FILETIME created, exited, kernel, user;
        GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
        auto ms = [](FILETIME t) {
            return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4;
        };
        return ms(kernel) + ms(user);
    };
    double cpu = 0;
    for (int k = 0; k < frames; ++k) {
        const double cpu0 = cpuMs();
        InvalidateRect(window, nullptr, FALSE);
        QueryPerformanceCounter(&t0);
        UpdateWindow(window);
        QueryPerformanceCounter(&t1);
        cpu += cpuMs() - cpu0;
        double ms = 1000.0 * (t1.QuadPart - t0.QuadPart) / frequency.QuadPart;
        total += ms;
        slowest = ms > slowest ? ms : slowest;
        EXPECT_EQ(view->segmentsDrawn(), 64);
        host->pump(10);
    }
    InvalidateRect(window, nullptr, TRUE);
    QueryPerformanceCounter(&t0);
    UpdateWindow(window);
    QueryPerformanceCounter(&t1);
    const double scene = 1000.0 * (t1.QuadPart - t0.QuadPart) / frequency.QuadPart;
    std::printf("hyperspace frame, 64 oscillators, trail 20, pins: mean %.3f ms (UI thread CPU "
                "%.3f ms), slowest %.3f ms (a frame at 30 Hz is 33.3 ms); full scene %.3f ms\n",
                total / frames, cpu / frames, slowest, scene);
    RecordProperty("frame_mean_ms", static_cast<int>(total / frames * 1000));
}

TEST_F(HyperspaceGui, HundredEditorSessionsWithTheViewAnimatingLeakNoObjects)
{
    patch().animateHyperspace = 1;
    chord();
    std::string error;
    host->pump(300);
    host->close();
    ASSERT_TRUE(host->open(error)) << error;
    host->pump(100);
    host->close();
    const ObjectCounts before = ObjectCounts::take();
    for (int k = 0; k < 100; ++k) {
        ASSERT_TRUE(host->open(error)) << error;
        host->pump(70); // two idle frames or so
        host->close();
    }
    const ObjectCounts after = ObjectCounts::take();
    EXPECT_LE(after.gdiTotal(), before.gdiTotal() + 2)
        << before.describe() << " -> " << after.describe();
    EXPECT_LE(after.windows, before.windows) << before.describe() << " -> " << after.describe();
    ASSERT_TRUE(host->open(error)) << error;
}
