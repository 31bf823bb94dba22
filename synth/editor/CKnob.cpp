#include "CKnob.h"

#include "KnobGeometry.h"
#include "SynthInterface.h"
#include "ValueText.h"

#include <cstdio>

CKnob::CKnob(SynthInterface* synth, const EditorLayout::KnobSettings& knobSettings, HBITMAP face)
    : CControl(synth), settings(knobSettings), scale(1)
{
    if (settings.format == ValueText::kDecibel) {
        settings.min = 0;
        settings.decimals = 2;
        scale = 100;
    } else if (settings.format == ValueText::kFixedPoint) {
        for (int32_t i = 0; i < settings.decimals && i < 9; ++i)
            scale *= 10;
    }
    dotBrush = CreateSolidBrush(settings.dotColour);
    captionBrush = CreateSolidBrush(settings.captionColour);
    faceBrush = face ? CreatePatternBrush(face) : CreateSolidBrush(RGB(40, 46, 54));
    nullPen = CreatePen(PS_NULL, 0, 0);
    blackPen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
}

CKnob::~CKnob()
{
    valueEdit.close();
    DeleteObject(dotBrush);
    DeleteObject(captionBrush);
    DeleteObject(faceBrush);
    DeleteObject(nullPen);
    DeleteObject(blackPen);
}

void CKnob::attach(HWND dialog, int id, const Rect& place, bool)
{
    CControl::attach(dialog, id, place, false);
    dragging = false;
    captionRect = KnobGeometry::captionRect(client.right, client.bottom);
    valueRect = KnobGeometry::valueRect(client.right, client.bottom);
    dialRect = KnobGeometry::dialRect(client.right, client.bottom);
}

void CKnob::formatValue(char* text, size_t size) const
{
    char number[32];
    ValueText::formatKnob(number, sizeof number, settings.format, scale, settings.decimals,
                          getValue());
    std::snprintf(text, size, "%s%s", number, settings.unit);
}

void CKnob::paint(HDC dc, const PAINTSTRUCT&)
{
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    RECT all = {0, 0, client.right, client.bottom};
    SetBrushOrgEx(dc, 0, 0, nullptr);
    FillRect(dc, &all, faceBrush);
    SetBkMode(dc, TRANSPARENT);

    char text[64];
    GetWindowTextA(hwnd, text, 21);
    RECT caption = {captionRect.left, captionRect.top, captionRect.right, captionRect.bottom};
    SetTextColor(dc, settings.captionColour);
    DrawTextA(dc, text, -1, &caption, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOCLIP);

    if (settings.valueText) {
        formatValue(text, sizeof text);
        RECT valueArea = {valueRect.left, valueRect.top, valueRect.right, valueRect.bottom};
        SetTextColor(dc, RGB(255, 255, 255));
        DrawTextA(dc, text, -1, &valueArea, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
    }
    if (settings.dial) {
        const Point dot = KnobGeometry::dotCentre(dialRect, getValue(), settings.min, settings.max);
        HGDIOBJ oldBrush = SelectObject(dc, dotBrush);
        HGDIOBJ oldPen = SelectObject(dc, blackPen);
        Ellipse(dc, dot.x - KnobGeometry::kDotRadius, dot.y - KnobGeometry::kDotRadius,
                dot.x + KnobGeometry::kDotRadius, dot.y + KnobGeometry::kDotRadius);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
    }
    SelectObject(dc, oldFont);
}

void CKnob::leftButtonDown(Point p)
{
    if (settings.dimension >= 0 && hwnd)
        SendMessageA(GetParent(hwnd), WM_USER, static_cast<WPARAM>(settings.dimension), 0);
    if (settings.valueText && valueRect.contains(p)) {
        if (!valueEdit.isOpen()) {
            char number[32];
            ValueText::formatKnob(number, sizeof number, settings.format, scale, settings.decimals,
                                  getValue());
            valueEdit.open(hwnd, number, KnobGeometry::valueEditRect(client.right, client.bottom));
        }
        return;
    }
    valueEdit.close();
    if (settings.dial && dialRect.contains(p)) {
        SetCapture(hwnd);
        dragging = true;
        dragStartY = p.y;
        dragStartValue = getValue();
    }
}

void CKnob::mouseMove(Point p, WPARAM)
{
    if (!dragging)
        return;
    userChange(
        KnobGeometry::dragValue(dragStartValue, dragStartY, p.y, settings.min, settings.max));
}

void CKnob::leftButtonUp(Point)
{
    if (!dragging)
        return;
    dragging = false;
    ReleaseCapture();
}

void CKnob::captureLost()
{
    // The release went elsewhere: the drag ends where it is.
    dragging = false;
}

void CKnob::command(int code, int, HWND from)
{
    if (code != EN_CHANGE || from != valueEdit.window())
        return;
    char text[32];
    valueEdit.text(text, sizeof text);
    userChange(
        ValueText::parseKnob(text, settings.format, scale, settings.min, settings.max, getValue()));
}

void CKnob::userChange(int32_t newValue)
{
    if (newValue == getValue())
        return;
    setValue(newValue);
    repaint();
    if (synth)
        synth->setControlValue(controlId, newValue);
}
