#include "CHyperspace.h"

CHyperspace::CHyperspace(SynthInterface* synth) : CControl(synth)
{
    ground = CreateSolidBrush(RGB(12, 14, 18));
    edge = CreatePen(PS_SOLID, 1, RGB(70, 80, 92));
}

CHyperspace::~CHyperspace()
{
    DeleteObject(ground);
    DeleteObject(edge);
}

void CHyperspace::paint(HDC dc, const PAINTSTRUCT&)
{
    RECT all = {0, 0, client.right, client.bottom};
    FillRect(dc, &all, ground);
    // The box's front face fills the drawing area; its back wall sits
    // half-size at the centre.
    const int left = 30, top = 24, right = client.right - 12, bottom = client.bottom - 24;
    const int cx = (left + right) / 2, cy = (top + bottom) / 2;
    const int bx = (right - left) / 4, by = (bottom - top) / 4;
    const POINT front[5] = {
        {left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
    const POINT back[5] = {{cx - bx, cy - by},
                           {cx + bx, cy - by},
                           {cx + bx, cy + by},
                           {cx - bx, cy + by},
                           {cx - bx, cy - by}};
    HGDIOBJ oldPen = SelectObject(dc, edge);
    Polyline(dc, front, 5);
    Polyline(dc, back, 5);
    for (int i = 0; i < 4; ++i) {
        MoveToEx(dc, front[i].x, front[i].y, nullptr);
        LineTo(dc, back[i].x, back[i].y);
    }
    SelectObject(dc, oldPen);
}
