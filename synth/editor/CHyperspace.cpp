#include "CHyperspace.h"

#include "EditorResources.h"
#include "Oscillator.h"
#include "Patch.h"
#include "PluginModule.h"
#include "SynthInterface.h"
#include "SynthSettings.h"
#include "SynthTables.h"

#include <cmath>

namespace {

const char* const kDimensionNames[5] = {"Vol", "Pitch", "Pan", "Res", "Noise"};

RECT toRect(const hyperspace::Rect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

POINT toPoint(hyperspace::IntPoint p)
{
    return {p.x, p.y};
}

hyperspace::IntPoint toIntPoint(POINT p)
{
    return {p.x, p.y};
}

int32_t truncated(float v)
{
    return SynthTables::truncLimit(v, -1000000, 1000000);
}

} // namespace

CHyperspace::CHyperspace(SynthInterface* synthInterface) : CControl(synthInterface)
{
    instance = PluginModule::instance();
    tables = synth ? synth->getTables() : nullptr;

    backgroundBitmap = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_HYPERSPACE));
    backgroundBrush = CreatePatternBrush(backgroundBitmap);
    hueLegendBitmap = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_HUE_LEGEND));
    hueLegendBrush = CreatePatternBrush(hueLegendBitmap);
    luminanceLegendBitmap = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_LUMINANCE_LEGEND));
    luminanceLegendBrush = CreatePatternBrush(luminanceLegendBitmap);
    whiteBrush = CreateSolidBrush(0xFFFFFF);
    blackBrush = CreateSolidBrush(0x000000);
    for (int k = 0; k < 16; ++k) {
        COLORREF grey = 0x505050 + static_cast<COLORREF>(k) * 0x020202;
        darkWalls[k] = CreateSolidBrush(grey);
        lightWalls[k] = CreateSolidBrush(grey + 0x0A0A0A);
    }
    nullPen = CreatePen(PS_NULL, 0, 0);
    greyPen = CreatePen(PS_SOLID, 1, 0xB0B0B0);

    for (auto& flag : restartFlag)
        flag.store(false, std::memory_order_relaxed);
    sizeIndex = hyperspace::cursorSizeIndex(effectiveDepth);
    loadCursorGroup(7, 7);
}

CHyperspace::~CHyperspace()
{
    if (memoryDc) {
        SelectObject(memoryDc, originalBitmap);
        DeleteDC(memoryDc);
    }
    if (sceneBitmap)
        DeleteObject(sceneBitmap);
    if (sectionBitmap)
        DeleteObject(sectionBitmap);
    if (sceneBrush)
        DeleteObject(sceneBrush);
    HGDIOBJ objects[] = {backgroundBrush, backgroundBitmap,     hueLegendBrush,
                         hueLegendBitmap, luminanceLegendBrush, luminanceLegendBitmap,
                         whiteBrush,      blackBrush,           nullPen,
                         greyPen};
    for (HGDIOBJ object : objects)
        if (object)
            DeleteObject(object);
    for (int k = 0; k < 16; ++k) {
        DeleteObject(darkWalls[k]);
        DeleteObject(lightWalls[k]);
    }
    if (cursorsLoaded)
        for (HCURSOR c : cursors)
            if (c)
                DestroyCursor(c);
}

void CHyperspace::attach(HWND dialog, int id, const Rect& place, bool)
{
    // Animation frames draw on top of what the window shows, so the view
    // is never double buffered.
    CControl::attach(dialog, id, place, false);
    layout = hyperspace::makeLayout({client.left, client.top, client.right, client.bottom});
    oscillators = synth ? synth->getOscillators() : nullptr;
    // A new window shows nothing of the old trails.
    for (auto& row : drawn)
        for (bool& d : row)
            d = false;
    for (bool& p : pinDrawn)
        p = false;
}

// ---- The program's view options ----------------------------------------------

int32_t CHyperspace::trailLength(const Patch& patch) const
{
    return SynthTables::truncLimit(patch.trailLength, 1, kMaxTrail);
}

int32_t CHyperspace::drawnCount(const Patch& patch) const
{
    return SynthTables::truncLimit(patch.oscillatorCount, 0, kMaxOscillators);
}

float CHyperspace::slotValue(const Oscillator& o, const Patch& patch, int32_t slot) const
{
    int32_t dimension = patch.axisOrder[slot];
    if (dimension < 0 || dimension > 4)
        return 0.0f;
    return o.display[dimension];
}

void CHyperspace::currentAngles(float& a, float& b) const
{
    const Patch* patch = synth->getCurrentProgram();
    a = patch->viewRotation[0];
    b = patch->viewRotation[1];
    // A program from elsewhere may hold anything; draw it within the
    // sliders' range.
    a = std::isfinite(a) ? std::fmax(-0.34f, std::fmin(0.34f, a)) : 0.0f;
    b = std::isfinite(b) ? std::fmax(-0.34f, std::fmin(0.34f, b)) : 0.0f;
}

hyperspace::Point CHyperspace::projectPoint(float x, float y, float z, float* w) const
{
    return hyperspace::project(projection, x, y, z, w);
}

hyperspace::PointerRay CHyperspace::rayAt(Point point) const
{
    return hyperspace::unproject(projection, static_cast<float>(point.x),
                                 static_cast<float>(point.y));
}

// ---- The static scene ------------------------------------------------------------

void CHyperspace::paintScene(HDC target)
{
    const int32_t width = client.width(), height = client.height();
    if (!memoryDc) {
        memoryDc = CreateCompatibleDC(target);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height; // bottom-up
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        info.bmiHeader.biSizeImage = static_cast<DWORD>(width * 4 * height);
        info.bmiHeader.biXPelsPerMeter = 10000;
        info.bmiHeader.biYPelsPerMeter = 10000;
        void* bits = nullptr;
        sectionBitmap = CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!sectionBitmap)
            MessageBoxA(hwnd, "Create bmpDIB failed", "Nimbulator", MB_OK);
        else
            originalBitmap = SelectObject(memoryDc, sectionBitmap);
        sceneBitmap = CreateCompatibleBitmap(memoryDc, width, height);
        if (!sceneBitmap) {
            MessageBoxA(hwnd, "Create bmpMem failed", "Nimbulator", MB_OK);
        } else {
            HGDIOBJ old = SelectObject(memoryDc, sceneBitmap);
            if (!originalBitmap)
                originalBitmap = old;
        }
    }
    if (!memoryDc)
        return;
    HDC dc = memoryDc;
    RECT client = {0, 0, width, height};
    SetBrushOrgEx(dc, 0, 0, nullptr);
    FillRect(dc, &client, backgroundBrush);

    float a, b;
    currentAngles(a, b);
    hyperspace::updateProjection(projection, a, b, layout);
    hyperspace::placeAxisLabels(layout, projection);

    drawWalls(dc);
    drawAxes(dc);
    RECT hue = toRect(layout.hueLegend), luminance = toRect(layout.luminanceLegend);
    SetBrushOrgEx(dc, hue.left, hue.top, nullptr);
    FillRect(dc, &hue, hueLegendBrush);
    SetBrushOrgEx(dc, luminance.left, luminance.top, nullptr);
    FillRect(dc, &luminance, luminanceLegendBrush);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    drawLabels(dc);
    drawSliders(dc);

    // Show the scene through a pattern brush of it; the same brush erases
    // trail segments later.
    if (sceneBrush)
        DeleteObject(sceneBrush);
    sceneBrush = sceneBitmap ? CreatePatternBrush(sceneBitmap) : nullptr;
    if (sceneBrush) {
        SetBrushOrgEx(target, 0, 0, nullptr);
        FillRect(target, &client, sceneBrush);
    }
    // Nothing of the trails is on screen any more.
    for (auto& row : drawn)
        for (bool& d : row)
            d = false;
    for (bool& p : pinDrawn)
        p = false;
}

void CHyperspace::drawWalls(HDC dc)
{
    HGDIOBJ oldPen = SelectObject(dc, nullPen);
    HGDIOBJ oldBrush = GetCurrentObject(dc, OBJ_BRUSH);
    for (int32_t wall = 0; wall < 5; ++wall) {
        HBRUSH* set = wall < 4 ? lightWalls : darkWalls;
        for (int32_t row = 0; row < 8; ++row)
            for (int32_t column = 0; column < 8; ++column) {
                hyperspace::BoxPoint corners[4];
                hyperspace::wallTile(wall, row, column, corners);
                POINT polygon[4];
                for (int k = 0; k < 4; ++k) {
                    hyperspace::Point s = projectPoint(corners[k].x, corners[k].y, corners[k].z);
                    polygon[k] = {truncated(s.x), truncated(s.y)};
                }
                SelectObject(dc, set[(row + column) % 16]);
                Polygon(dc, polygon, 4);
            }
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

void CHyperspace::drawAxes(HDC dc)
{
    static const hyperspace::BoxPoint axes[3][2] = {
        {{0, 0, 1}, {1.02f, 0, 1}}, {{0, 0, 1}, {0, 1.02f, 1}}, {{0, 0, 0}, {0, 0, 1.02f}}};
    HGDIOBJ oldPen = SelectObject(dc, greyPen);
    for (const auto& axis : axes) {
        hyperspace::Point s = projectPoint(axis[0].x, axis[0].y, axis[0].z);
        hyperspace::Point t = projectPoint(axis[1].x, axis[1].y, axis[1].z);
        hyperspace::IntPoint start = {truncated(s.x), truncated(s.y)};
        hyperspace::IntPoint tip = {truncated(t.x), truncated(t.y)};
        MoveToEx(dc, start.x, start.y, nullptr);
        LineTo(dc, tip.x, tip.y);
        hyperspace::IntPoint left, right;
        if (tables && hyperspace::arrowHead(*tables, start, tip, left, right)) {
            MoveToEx(dc, tip.x, tip.y, nullptr);
            LineTo(dc, left.x, left.y);
            MoveToEx(dc, tip.x, tip.y, nullptr);
            LineTo(dc, right.x, right.y);
        }
    }
    SelectObject(dc, oldPen);
}

void CHyperspace::drawLabels(HDC dc)
{
    const Patch* patch = synth->getCurrentProgram();
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    for (int32_t slot = 0; slot < 5; ++slot) {
        int32_t dimension = patch->axisOrder[slot];
        const char* name =
            (dimension >= 0 && dimension <= 4) ? kDimensionNames[dimension] : "!error!";
        RECT r = toRect(layout.labels[slot]);
        RECT shadow = {r.left + 1, r.top + 1, r.right, r.bottom};
        SetTextColor(dc, 0x000000);
        DrawTextA(dc, name, -1, &shadow, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
        SetTextColor(dc, 0xB0B0B0);
        DrawTextA(dc, name, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    }
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

void CHyperspace::drawSliders(HDC dc)
{
    float a, b;
    currentAngles(a, b);
    HGDIOBJ oldPen = SelectObject(dc, greyPen);
    HGDIOBJ oldBrush = SelectObject(dc, blackBrush);
    const hyperspace::Rect& h = layout.horizontalTrack;
    const hyperspace::Rect& v = layout.verticalTrack;
    const int32_t hWidth = h.right - h.left, vHeight = v.bottom - v.top;
    const int32_t hCentre = (h.top + h.bottom) / 2, vCentre = (v.left + v.right) / 2;
    Rectangle(dc, h.left, hCentre - 1, h.right, hCentre + 1);
    Rectangle(dc, vCentre - 1, v.top, vCentre + 1, v.bottom);
    const int32_t knobX = h.left + hyperspace::sliderKnobOffset(a, hWidth);
    const int32_t knobY = v.top + hyperspace::sliderKnobOffset(b, vHeight);
    Rectangle(dc, knobX - 4, hCentre - 4, knobX + 4, hCentre + 4);
    Rectangle(dc, vCentre - 4, knobY - 4, vCentre + 4, knobY + 4);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

// ---- Animation ------------------------------------------------------------------

void CHyperspace::paint(HDC dc, const PAINTSTRUCT&)
{
    animateStep(dc);
}

bool CHyperspace::eraseBackground(HDC dc)
{
    paintScene(dc);
    return true;
}

void CHyperspace::animateStep(HDC dc)
{
    lastSegments = 0;
    if (!synth || !oscillators || !tables || !sceneBrush)
        return;
    const Patch& patch = *synth->getCurrentProgram();
    if (!patch.animateHyperspace)
        return;
    // The projection follows the program (a program change repaints the
    // scene first, so this only matters before the first scene).
    float a, b;
    currentAngles(a, b);
    if (a != projection.angleA || b != projection.angleB)
        return;

    hyperspace::TrailRing ring = hyperspace::advanceTrailRing(head, trailLength(patch));
    previous = ring.previous;
    head = ring.head;
    next = ring.next;

    SetBrushOrgEx(dc, 0, 0, nullptr);
    HGDIOBJ oldPen = SelectObject(dc, nullPen);
    HGDIOBJ oldBrush = GetCurrentObject(dc, OBJ_BRUSH);
    for (int32_t i = drawnCount(patch) - 1; i >= 0; --i)
        segmentStep(dc, i, patch);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

void CHyperspace::eraseQuad(HDC dc, const POINT* points, int count)
{
    SelectObject(dc, sceneBrush);
    Polygon(dc, points, count);
}

void CHyperspace::segmentStep(HDC dc, int32_t i, const Patch& patch)
{
    // The previous segment's front edge and point, taken before anything is
    // overwritten (with a one-slot trail, previous and head are one slot).
    hyperspace::TrailStep step{};
    step.previousPoint = {trailX[i][previous], trailY[i][previous]};
    step.previousLeft = toIntPoint(frontLeft[i][previous]);
    step.previousRight = toIntPoint(frontRight[i][previous]);
    step.previousDrawn = drawn[i][previous];

    // 1. The oldest segment goes: its front edge is in slot next, its back
    // edge was stored with slot head.
    if (drawn[i][next]) {
        POINT quad[4] = {frontLeft[i][next], frontRight[i][next], backRight[i][head],
                         backLeft[i][head]};
        eraseQuad(dc, quad, 4);
    }
    // 2. The old pin.
    if (pinDrawn[i]) {
        eraseQuad(dc, pins[i], 6);
        pinDrawn[i] = false;
    }
    const Oscillator& o = oscillators[i];
    // 3. A silent oscillator leaves its trail to fade out.
    if (!o.voice) {
        drawn[i][head] = false;
        return;
    }
    // 4. Where it is now.
    const float x = slotValue(o, patch, 0), y = slotValue(o, patch, 1), z = slotValue(o, patch, 2);
    float w = 1.0f;
    hyperspace::Point point = projectPoint(x, y, z, &w);
    trailX[i][head] = point.x;
    trailY[i][head] = point.y;

    // 5. Its pin to the left wall and the floor.
    if (patch.showPins) {
        hyperspace::Point left = projectPoint(0.0f, y, z), floor = projectPoint(x, 0.0f, z);
        hyperspace::IntPoint polygon[6];
        hyperspace::pinPolygon(left, floor, point, polygon);
        for (int k = 0; k < 6; ++k)
            pins[i][k] = toPoint(polygon[k]);
        SelectObject(dc, whiteBrush);
        Polygon(dc, pins[i], 6);
        pinDrawn[i] = true;
    }

    // 6-8. The new segment.
    step.point = point;
    step.w = w;
    step.trailWidth = SynthTables::truncLimit(patch.trailWidth, 0, 100);
    if (restartFlag[i].exchange(false, std::memory_order_acquire)) {
        step.restart = true;
        step.restartPoint = projectPoint(restartBox[i][0], restartBox[i][1], restartBox[i][2]);
    }
    hyperspace::TrailQuad q = hyperspace::trailQuad(*tables, step);
    drawn[i][head] = true;
    frontLeft[i][head] = toPoint(q.frontLeft);
    frontRight[i][head] = toPoint(q.frontRight);
    backLeft[i][previous] = toPoint(q.backLeft);
    backRight[i][previous] = toPoint(q.backRight);

    // 9. Fill it in the oscillator's colour, with the device context's own
    // brush (no brush object made and deleted per oscillator and frame).
    hyperspace::Colour c =
        hyperspace::oscillatorColour(*tables, slotValue(o, patch, 3), slotValue(o, patch, 4));
    SelectObject(dc, GetStockObject(DC_BRUSH));
    SetDCBrushColor(dc, RGB(c.red, c.green, c.blue));
    POINT quad[4] = {frontLeft[i][head], frontRight[i][head], backRight[i][previous],
                     backLeft[i][previous]};
    Polygon(dc, quad, 4);
    ++lastSegments;
}

// ---- Audio-side pass-throughs ------------------------------------------------------

void CHyperspace::resetTrail(int32_t index)
{
    if (index < 0 || index >= kMaxOscillators || !synth)
        return;
    Oscillator* pool = synth->getOscillators();
    if (!pool)
        return;
    Oscillator& o = pool[index];
    // Refresh the oscillator's snapshot so the restart point is where it
    // is now, not where it was at the start of the block.
    const SynthSettings* settings = synth->getSettings();
    const float volume = settings ? settings->volume : 100.0f;
    o.display[0] = o.value(0) * volume * 0.01f;
    o.display[1] = o.value(1) / 128.0f;
    for (int d = 2; d < 5; ++d)
        o.display[d] = o.value(d);
    const Patch& patch = *synth->getCurrentProgram();
    for (int32_t slot = 0; slot < 3; ++slot)
        restartBox[index][slot] = slotValue(o, patch, slot);
    restartFlag[index].store(true, std::memory_order_release);
}

// ---- The hyperspace cursor ---------------------------------------------------------

void CHyperspace::loadCursorGroup(int32_t hue, int32_t luminance)
{
    HCURSOR loaded[kCursorSizes];
    for (int32_t s = 0; s < kCursorSizes; ++s)
        loaded[s] = static_cast<HCURSOR>(
            LoadImageA(instance, MAKEINTRESOURCEA(hyperspace::cursorId(hue, luminance, s)),
                       IMAGE_CURSOR, 0, 0, LR_DEFAULTCOLOR));
    // Show the new group before the old one goes, so the cursor on screen
    // is never a destroyed one.
    HCURSOR old[kCursorSizes];
    bool hadOld = cursorsLoaded;
    for (int32_t s = 0; s < kCursorSizes; ++s) {
        old[s] = cursors[s];
        cursors[s] = loaded[s];
    }
    cursorsLoaded = true;
    hueIndex = hue;
    luminanceIndex = luminance;
    if (cursorActive)
        showCursor();
    if (hadOld)
        for (HCURSOR c : old)
            if (c)
                DestroyCursor(c);
}

void CHyperspace::showCursor()
{
    HCURSOR c = cursors[SynthTables::truncLimit(sizeIndex, 0, kCursorSizes - 1)];
    SetCursor(c ? c : LoadCursor(nullptr, IDC_ARROW));
}

void CHyperspace::updateCursorSize(float depth, bool show)
{
    int32_t index = hyperspace::cursorSizeIndex(depth);
    if (index != sizeIndex || show) {
        sizeIndex = index;
        showCursor();
    }
}

void CHyperspace::moveSystemPointer(Point clientPoint)
{
    POINT screen = {clientPoint.x, clientPoint.y};
    if (hwnd)
        ClientToScreen(hwnd, &screen);
    SetCursorPos(screen.x, screen.y);
    lastPoint = clientPoint;
}

void CHyperspace::deactivateCursor()
{
    cursorActive = false;
    depthLatch = false;
    colourLatch = false;
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    if (hwnd && GetCapture() == hwnd)
        ReleaseCapture();
}

void CHyperspace::takeFocus()
{
    if (hwnd && GetFocus() != hwnd)
        SetFocus(hwnd);
}

void CHyperspace::releaseView()
{
    if (cursorActive)
        deactivateCursor();
    dragHorizontal = dragVertical = false;
    hwnd = nullptr;
}

// ---- Mouse -------------------------------------------------------------------------

// A slider track includes its far ends, so a press there reaches the limit.
static bool inside(const hyperspace::Rect& r, Point p)
{
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

void CHyperspace::leftButtonDown(Point point)
{
    if (inside(layout.horizontalTrack, point)) {
        SetCapture(hwnd);
        dragHorizontal = true;
        mouseMove(point, MK_LBUTTON);
        return;
    }
    if (inside(layout.verticalTrack, point)) {
        SetCapture(hwnd);
        dragVertical = true;
        mouseMove(point, MK_LBUTTON);
        return;
    }
    if (rayAt(point).overBox)
        synth->setMouseSteering(1);
    takeFocus();
}

void CHyperspace::leftButtonUp(Point)
{
    if (dragHorizontal || dragVertical) {
        dragHorizontal = dragVertical = false;
        if (GetCapture() == hwnd)
            ReleaseCapture();
    }
    synth->setMouseSteering(0);
}

void CHyperspace::rightButtonDown(Point point)
{
    takeFocus();
    if (rayAt(point).overBox)
        synth->setMouseSteering(-1);
    else
        CControl::rightButtonDown(point); // the context menu
}

void CHyperspace::rightButtonUp(Point)
{
    synth->setMouseSteering(0);
}

void CHyperspace::mouseMove(Point point, WPARAM keys)
{
    Patch* patch = synth->getCurrentProgram();
    if (dragHorizontal || dragVertical) {
        const hyperspace::Rect& track =
            dragHorizontal ? layout.horizontalTrack : layout.verticalTrack;
        float angle = dragHorizontal
                          ? hyperspace::sliderAngle(point.x, track.left, track.right - track.left)
                          : hyperspace::sliderAngle(point.y, track.top, track.bottom - track.top);
        float& stored = patch->viewRotation[dragHorizontal ? 0 : 1];
        if (angle != stored) {
            stored = angle;
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return;
    }

    const hyperspace::PointerRay ray = rayAt(point);
    if (!cursorActive) {
        if (!ray.overBox)
            return;
        effectiveDepth = hyperspace::effectiveDepth(ray, cursorDepth);
        updateCursorSize(effectiveDepth, false);
        cursorActive = true;
        showCursor();
        if (keys & MK_LBUTTON)
            synth->setMouseSteering(1);
        else if (keys & MK_RBUTTON)
            synth->setMouseSteering(-1);
        hyperspace::Point c = hyperspace::cursorPoint(ray, effectiveDepth);
        cursorX = c.x;
        cursorY = c.y;
        lastPoint = point;
        SetCapture(hwnd);
        return;
    }

    if (!ray.overBox) {
        deactivateCursor();
        synth->setMouseSteering(0);
        return;
    }

    const bool moved = point.x != lastPoint.x || point.y != lastPoint.y;
    if (keys & MK_SHIFT) {
        // Depth mode: the pointer runs along the line of the cursor's X, Y
        // from the front face to the back wall.
        if (!depthLatch) {
            depthLatch = true;
            colourLatch = false;
            effectiveDepth = hyperspace::effectiveDepth(rayAt(lastPoint), cursorDepth);
            cursorDepth = effectiveDepth;
            depthFront = projectPoint(cursorX, cursorY, 1.0f);
            depthBack = projectPoint(cursorX, cursorY, 0.0f);
            takeFocus();
        }
        if (moved) {
            hyperspace::Point p = {static_cast<float>(point.x), static_cast<float>(point.y)};
            float t = hyperspace::fractionAlong(depthFront, depthBack, p);
            Point spot = {truncated(depthFront.x + (depthBack.x - depthFront.x) * t + 0.5f),
                          truncated(depthFront.y + (depthBack.y - depthFront.y) * t + 0.5f)};
            moveSystemPointer(spot);
            cursorDepth = t;
            effectiveDepth = t;
            updateCursorSize(effectiveDepth, false);
        }
        return;
    }
    if (keys & MK_CONTROL) {
        // hyperspace::Colour mode: the pointer stands still while sideways moves turn
        // the hue and upward moves raise the luminance.
        if (!colourLatch) {
            colourLatch = true;
            depthLatch = false;
            takeFocus();
        }
        if (moved) {
            cursorHue = hyperspace::clampUnit(cursorHue +
                                              static_cast<float>(point.x - lastPoint.x) * 0.003f);
            cursorLuminance = hyperspace::clampUnit(
                cursorLuminance + static_cast<float>(lastPoint.y - point.y) * 0.003f);
            int32_t h = hyperspace::colourIndex(cursorHue),
                    l = hyperspace::colourIndex(cursorLuminance);
            if (h != hueIndex || l != luminanceIndex)
                loadCursorGroup(h, l);
            moveSystemPointer(lastPoint);
        }
        return;
    }
    lastPoint = point;
    depthLatch = false;
    colourLatch = false;
    effectiveDepth = hyperspace::effectiveDepth(ray, cursorDepth);
    updateCursorSize(effectiveDepth, false);
    hyperspace::Point c = hyperspace::cursorPoint(ray, effectiveDepth);
    cursorX = c.x;
    cursorY = c.y;
}

void CHyperspace::mouseWheel(int delta)
{
    if (!cursorActive)
        return;
    const float step = static_cast<float>(delta) / 1440.0f;
    const Patch* patch = synth->getCurrentProgram();
    switch (patch->wheelMapping) {
    case 0: {
        cursorDepth = hyperspace::clampUnit(cursorDepth + step);
        hyperspace::Point s = projectPoint(cursorX, cursorY, 1.0f - cursorDepth);
        Point spot = {truncated(s.x + 0.5f), truncated(s.y + 0.5f)};
        effectiveDepth =
            hyperspace::effectiveDepth(hyperspace::unproject(projection, s.x, s.y), cursorDepth);
        updateCursorSize(effectiveDepth, false);
        // The pointer follows; the move it causes settles the cursor there.
        POINT screen = {spot.x, spot.y};
        ClientToScreen(hwnd, &screen);
        SetCursorPos(screen.x, screen.y);
        break;
    }
    case 1:
    case 2: {
        float& value = patch->wheelMapping == 1 ? cursorHue : cursorLuminance;
        value = hyperspace::clampUnit(value + step);
        int32_t h = hyperspace::colourIndex(cursorHue),
                l = hyperspace::colourIndex(cursorLuminance);
        if (h != hueIndex || l != luminanceIndex)
            loadCursorGroup(h, l);
        break;
    }
    default:
        break;
    }
}
