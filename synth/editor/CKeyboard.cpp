#include "CKeyboard.h"

#include "PluginModule.h"
#include "SynthInterface.h"

CKeyboard::CKeyboard(SynthInterface* synth) : CControl(synth)
{
    HINSTANCE module = PluginModule::instance();
    for (int i = 0; i < KeyboardGeometry::kColumnBitmaps; ++i) {
        bitmaps[i] = static_cast<HBITMAP>(LoadImageA(
            module, MAKEINTRESOURCEA(KeyboardGeometry::bitmapIds[i]), IMAGE_BITMAP, 0, 0, 0));
        // Without its picture a column is drawn plain grey rather than not
        // at all.
        brushes[i] =
            bitmaps[i] ? CreatePatternBrush(bitmaps[i]) : CreateSolidBrush(RGB(200, 200, 200));
    }
    frame = CreateSolidBrush(RGB(12, 14, 17));
}

CKeyboard::~CKeyboard()
{
    for (int i = 0; i < KeyboardGeometry::kColumnBitmaps; ++i) {
        if (brushes[i])
            DeleteObject(brushes[i]);
        if (bitmaps[i])
            DeleteObject(bitmaps[i]);
    }
    DeleteObject(frame);
}

void CKeyboard::attach(HWND dialog, int id, const Rect& place, bool buffered)
{
    CControl::attach(dialog, id, place, buffered);
    mousePlaying = false;
    display.setWindowOpen(hwnd != nullptr);
}

void CKeyboard::serveRepaints()
{
    bool full = false;
    if (display.takeRepaintRequest(full) && hwnd)
        InvalidateRect(hwnd, nullptr, full ? TRUE : FALSE);
}

void CKeyboard::drawColumn(HDC dc, int32_t column)
{
    const int32_t white = KeyboardGeometry::whiteNote(column);
    const int32_t id = KeyboardGeometry::columnBitmap(
        column, display.isHeld(white - 1), display.isHeld(white), display.isHeld(white + 1));
    HBRUSH brush = brushes[0];
    for (int i = 0; i < KeyboardGeometry::kColumnBitmaps; ++i)
        if (KeyboardGeometry::bitmapIds[i] == id)
            brush = brushes[i];
    const Rect r = KeyboardGeometry::columnRect(column, client.bottom);
    RECT area = {r.left, r.top, r.right, r.bottom};
    // The picture tiles from the column's own corner.
    POINT oldOrigin;
    SetBrushOrgEx(dc, r.left, 0, &oldOrigin);
    FillRect(dc, &area, brush);
    SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
}

bool CKeyboard::eraseBackground(HDC dc)
{
    for (int32_t column = 0; column < KeyboardGeometry::kColumns; ++column)
        drawColumn(dc, column);
    if (client.right > KeyboardGeometry::kWidth) {
        RECT rest = {KeyboardGeometry::kWidth, 0, client.right, client.bottom};
        FillRect(dc, &rest, frame);
    }
    display.discardPending();
    return true;
}

void CKeyboard::paint(HDC dc, const PAINTSTRUCT&)
{
    int32_t notes[KeyboardDisplay::kNotes];
    const int32_t count = display.takePending(notes);
    bool dirty[KeyboardGeometry::kColumns] = {};
    for (int32_t i = 0; i < count; ++i) {
        int32_t columns[2];
        const int32_t n = KeyboardGeometry::columnsOfNote(notes[i], columns);
        for (int32_t k = 0; k < n; ++k)
            dirty[columns[k]] = true;
    }
    for (int32_t column = 0; column < KeyboardGeometry::kColumns; ++column)
        if (dirty[column])
            drawColumn(dc, column);
}

void CKeyboard::leftButtonDown(Point p)
{
    const int32_t note = KeyboardGeometry::hitTest(p, client);
    if (note < 0)
        return;
    mousePlaying = true;
    SetCapture(hwnd);
    if (synth)
        synth->setScreenNoteRequest(note);
}

void CKeyboard::mouseMove(Point p, WPARAM)
{
    if (!mousePlaying)
        return;
    // Off the keyboard the last key keeps sounding.
    const int32_t note = KeyboardGeometry::hitTest(p, client);
    if (note >= 0 && synth)
        synth->setScreenNoteRequest(note);
}

void CKeyboard::leftButtonUp(Point)
{
    mousePlaying = false;
    ReleaseCapture();
    if (synth)
        synth->setScreenNoteRequest(-1);
}

void CKeyboard::captureLost()
{
    if (!mousePlaying)
        return;
    mousePlaying = false;
    if (synth)
        synth->setScreenNoteRequest(-1);
}
