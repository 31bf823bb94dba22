// The hyperspace view: the oscillator flock flying through a perspective box
// of three of its five dimensions (the other two are each oscillator's hue
// and luminance), with a ribbon-shaped trail per oscillator, optional pins
// to two walls, two sliders that turn the box, and the hyperspace cursor, a
// coloured arrow that sits at a depth inside the box and steers the flock
// while a mouse button is held.
//
// Drawing comes in two kinds. The erase-background operation (paintScene)
// draws the whole static scene off screen and shows it through a pattern
// brush; the paint operation (animateStep) draws one animation frame on top
// of what is on screen: per oscillator it paints the scene brush over the
// oldest trail segment and adds one new quadrilateral. The geometry lives in
// HyperspaceGeometry; this class only draws what it computes.
//
// Threads: everything runs on the UI thread except resetTrail and
// getCursorCoordinate, which the synth's audio code calls through the
// editor. Neither blocks: resetTrail leaves a restart point and a flag for
// the next frame, getCursorCoordinate reads single floats.
#pragma once

#include "CControl.h"
#include "HyperspaceGeometry.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

class Oscillator;
class SynthTables;
struct Patch;

class CHyperspace : public CControl {
public:
    enum { kMaxOscillators = 64, kMaxTrail = 20, kCursorSizes = 7 };

    explicit CHyperspace(SynthInterface* synth); // UI thread
    ~CHyperspace() override;

    // CControl (UI thread). The view draws straight on its window, so it is
    // attached without double buffering.
    void attach(HWND dialog, int id, const Rect& place, bool doubleBuffered) override;
    const char* className() const override { return "CHyperspace"; }
    void paint(HDC dc, const PAINTSTRUCT& ps) override; // animateStep
    bool eraseBackground(HDC dc) override;              // paintScene
    void leftButtonDown(Point point) override;
    void leftButtonUp(Point point) override;
    void mouseMove(Point point, WPARAM keys) override;
    void rightButtonDown(Point point) override;
    void rightButtonUp(Point point) override;
    void mouseWheel(int delta) override;

    // Draws the static scene off screen and fills `target` with it.
    void paintScene(HDC target);
    // One animation frame, when the program animates the view.
    void animateStep(HDC target);

    // Audio thread: oscillator `index` changed its voice; its trail starts
    // afresh from where it is now.
    void resetTrail(int32_t index);
    // Audio thread: the cursor's place on display slot 0..4 (x, y, depth,
    // hue, luminance), 0..1; 0 for any other slot.
    float getCursorCoordinate(int32_t slot) const
    {
        switch (slot) {
        case 0:
            return cursorX;
        case 1:
            return cursorY;
        case 2:
            return 1.0f - effectiveDepth;
        case 3:
            return cursorHue;
        case 4:
            return cursorLuminance;
        default:
            return 0.0f;
        }
    }
    // UI thread, at the editor's close: gives the pointer back and forgets
    // the window.
    void releaseView();

    // Trail segments drawn by the last animation frame, and trail segments
    // on screen now (all but the slot the next frame erases), for tests.
    int32_t segmentsDrawn() const { return lastSegments; }
    int32_t segmentsOnScreen() const
    {
        int32_t count = 0;
        for (int32_t i = 0; i < kMaxOscillators; ++i)
            for (int32_t k = 0; k < kMaxTrail; ++k)
                if (drawn[i][k] && (k != next || next == head))
                    ++count;
        return count;
    }

private:
    void drawWalls(HDC dc);
    void drawAxes(HDC dc);
    void drawLabels(HDC dc);
    void drawSliders(HDC dc);
    void segmentStep(HDC dc, int32_t i, const Patch& patch);
    void eraseQuad(HDC dc, const POINT* points, int count);

    // The view's options, read safely from a program that may hold
    // anything.
    int32_t trailLength(const Patch& patch) const;
    int32_t drawnCount(const Patch& patch) const;
    float slotValue(const Oscillator& o, const Patch& patch, int32_t slot) const;
    void currentAngles(float& a, float& b) const;

    hyperspace::Point projectPoint(float x, float y, float z, float* w = nullptr) const;
    hyperspace::PointerRay rayAt(Point point) const;
    void updateCursorSize(float depth, bool show);
    void showCursor();
    void loadCursorGroup(int32_t hueIndex, int32_t luminanceIndex);
    void moveSystemPointer(Point clientPoint);
    void deactivateCursor();
    void takeFocus();

    HINSTANCE instance;
    Oscillator* oscillators = nullptr;
    const SynthTables* tables = nullptr;

    // Off-screen scene and the brush that shows it.
    HDC memoryDc = nullptr;
    HBITMAP sectionBitmap = nullptr;
    HBITMAP sceneBitmap = nullptr;
    HGDIOBJ originalBitmap = nullptr;
    HBRUSH sceneBrush = nullptr;

    HBITMAP backgroundBitmap = nullptr;
    HBRUSH backgroundBrush = nullptr;
    HBITMAP hueLegendBitmap = nullptr, luminanceLegendBitmap = nullptr;
    HBRUSH hueLegendBrush = nullptr, luminanceLegendBrush = nullptr;
    HBRUSH whiteBrush = nullptr, blackBrush = nullptr;
    HBRUSH lightWalls[16] = {}, darkWalls[16] = {};
    HPEN nullPen = nullptr, greyPen = nullptr;

    hyperspace::Layout layout{};
    hyperspace::Projection projection;

    // Trail ring, per-oscillator slots.
    int32_t head = 0, previous = 0, next = 0;
    float trailX[kMaxOscillators][kMaxTrail] = {};
    float trailY[kMaxOscillators][kMaxTrail] = {};
    POINT frontLeft[kMaxOscillators][kMaxTrail] = {};
    POINT frontRight[kMaxOscillators][kMaxTrail] = {};
    POINT backLeft[kMaxOscillators][kMaxTrail] = {};
    POINT backRight[kMaxOscillators][kMaxTrail] = {};
    bool drawn[kMaxOscillators][kMaxTrail] = {};
    POINT pins[kMaxOscillators][6] = {};
    bool pinDrawn[kMaxOscillators] = {};
    int32_t lastSegments = 0;

    // Restart points: written on the audio thread (the oscillator's box
    // place), taken over by the next frame.
    std::atomic<bool> restartFlag[kMaxOscillators];
    float restartBox[kMaxOscillators][3] = {};

    bool dragHorizontal = false, dragVertical = false;
    bool cursorActive = false, depthLatch = false, colourLatch = false;
    hyperspace::Point depthFront{}, depthBack{};
    float cursorDepth = 0.5f, effectiveDepth = 0.5f;
    float cursorX = 0.0f, cursorY = 0.0f;
    float cursorHue = 0.5f, cursorLuminance = 0.5f;
    Point lastPoint = {-1, -1};
    int32_t sizeIndex = 0;
    int32_t hueIndex = 7, luminanceIndex = 7;
    HCURSOR cursors[kCursorSizes] = {};
    bool cursorsLoaded = false;
};
