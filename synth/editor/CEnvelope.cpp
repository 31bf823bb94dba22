#include "CEnvelope.h"

#include "EnvelopeEditing.h"
#include "SynthInterface.h"
#include "ValueText.h"

#include <cstdio>
#include <initializer_list>

namespace {
const COLORREF kBackground = RGB(63, 63, 63);
const COLORREF kGrey = RGB(128, 128, 128);

RECT toRect(const Rect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}
} // namespace

CEnvelope::CEnvelope(SynthInterface* synth) : CControl(synth)
{
    blackBrush = CreateSolidBrush(RGB(0, 0, 0));
    whiteBrush = CreateSolidBrush(RGB(255, 255, 255));
    greyBrush = CreateSolidBrush(kBackground);
    LOGBRUSH hollow = {BS_HOLLOW, 0, 0};
    hollowBrush = CreateBrushIndirect(&hollow);
    nullPen = CreatePen(PS_NULL, 0, 0);
    blackPen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    dottedPen = CreatePen(PS_DOT, 1, kGrey);
    greyPen = CreatePen(PS_SOLID, 1, kGrey);
}

CEnvelope::~CEnvelope()
{
    closeBoxes();
    for (HGDIOBJ o : {static_cast<HGDIOBJ>(blackBrush), static_cast<HGDIOBJ>(whiteBrush),
                      static_cast<HGDIOBJ>(greyBrush), static_cast<HGDIOBJ>(hollowBrush),
                      static_cast<HGDIOBJ>(nullPen), static_cast<HGDIOBJ>(blackPen),
                      static_cast<HGDIOBJ>(dottedPen), static_cast<HGDIOBJ>(greyPen)})
        DeleteObject(o);
}

void CEnvelope::attach(HWND dialog, int id, const Rect& place, bool)
{
    CControl::attach(dialog, id, place, true);
    geometry = EnvelopeGeometry(client.right, client.bottom);
    selected = -1;
}

void CEnvelope::setView(EnvelopeView* newView)
{
    closeBoxes();
    if (selected >= 0 && GetCapture() == hwnd)
        ReleaseCapture();
    selected = -1;
    view = newView;
    repaint();
}

float* CEnvelope::segmentTime(int segment) const
{
    PatchEnvelope& e = *view->data;
    return segment == EnvelopeGeometry::kAttack  ? &e.attackTime
           : segment == EnvelopeGeometry::kDecay ? &e.decayTime
                                                 : &e.releaseTime;
}

void CEnvelope::paint(HDC dc, const PAINTSTRUCT&)
{
    RECT all = {0, 0, client.right, client.bottom};
    FillRect(dc, &all, greyBrush);
    RECT plot = toRect(geometry.plot);
    FillRect(dc, &plot, whiteBrush);
    if (!view || !view->data)
        return;
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    HGDIOBJ oldPen = SelectObject(dc, greyPen);
    HGDIOBJ oldBrush = SelectObject(dc, blackBrush);
    const PatchEnvelope& envelope = *view->data;
    paintTimes(dc, envelope);
    paintGraph(dc, envelope);
    paintLabels(dc);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldFont);
}

void CEnvelope::paintTimes(HDC dc, const PatchEnvelope& envelope)
{
    const float times[3] = {envelope.attackTime, envelope.decayTime, envelope.releaseTime};
    SelectObject(dc, greyPen);
    for (int i = 0; i < 3; ++i) {
        const Rect& r = geometry.timeText[i];
        const int y = (r.top + r.bottom) / 2;
        const int left = r.left + 4, right = r.right - 4;
        MoveToEx(dc, left, y, nullptr);
        LineTo(dc, right, y);
        MoveToEx(dc, left + 4, y - 4, nullptr);
        LineTo(dc, left, y);
        LineTo(dc, left + 4, y + 4);
        MoveToEx(dc, right - 4, y - 4, nullptr);
        LineTo(dc, right, y);
        LineTo(dc, right - 4, y + 4);
        char number[64], text[80];
        ValueText::formatMilliseconds(number, sizeof number, times[i]);
        std::snprintf(text, sizeof text, "%sms", number);
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, kBackground);
        SetTextColor(dc, RGB(255, 255, 255));
        RECT area = toRect(r);
        DrawTextA(dc, text, -1, &area, DT_CENTER | DT_TOP | DT_SINGLELINE);
    }
}

void CEnvelope::paintGraph(HDC dc, const PatchEnvelope& envelope)
{
    const Rect& p = geometry.plot;
    const int32_t n = EnvelopeGeometry::attackPoints(envelope);
    const int32_t y0 = geometry.baseline(view->kind);
    SelectObject(dc, greyPen);
    MoveToEx(dc, p.left, p.top, nullptr);
    LineTo(dc, p.left, p.bottom);
    MoveToEx(dc, p.left, y0, nullptr);
    LineTo(dc, p.right, y0);

    const Point last = geometry.point(envelope, n - 1);
    const Point sustain = geometry.point(envelope, n);
    SelectObject(dc, dottedPen);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(255, 255, 255));
    MoveToEx(dc, last.x, y0, nullptr);
    LineTo(dc, last.x, last.y);
    MoveToEx(dc, sustain.x, y0, nullptr);
    LineTo(dc, sustain.x, sustain.y);

    SelectObject(dc, blackPen);
    Point first = geometry.point(envelope, 0);
    MoveToEx(dc, first.x, first.y, nullptr);
    for (int32_t i = 1; i < n; ++i) {
        const Point q = geometry.point(envelope, i);
        LineTo(dc, q.x, q.y);
    }
    Point glide[3];
    EnvelopeGeometry::decayGlide(last, sustain, glide);
    for (const Point& g : glide)
        LineTo(dc, g.x, g.y);
    MoveToEx(dc, sustain.x, sustain.y, nullptr);
    const Point release = geometry.point(envelope, n + 1);
    LineTo(dc, release.x, release.y);

    for (int32_t i = 0; i < n + 2; ++i) {
        const Point q = geometry.point(envelope, i);
        SelectObject(dc, i == selected ? hollowBrush : blackBrush);
        Rectangle(dc, q.x - 2, q.y - 2, q.x + 4, q.y + 4);
    }
}

void CEnvelope::paintLabels(HDC dc)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, view->colour);
    RECT name = toRect(geometry.name);
    DrawTextA(dc, view->name, -1, &name, DT_LEFT | DT_TOP | DT_SINGLELINE);
    static const char* const labels[3] = {"attack", "decay", "release"};
    for (int i = 0; i < 3; ++i) {
        RECT r = toRect(geometry.topLabel[i]);
        DrawTextA(dc, labels[i], -1, &r, DT_RIGHT | DT_TOP | DT_SINGLELINE);
    }
    char lower[24], upper[24];
    if (view->kind == 0) {
        std::snprintf(lower, sizeof lower, "-oo ");
        std::snprintf(upper, sizeof upper, "0 ");
    } else if (view->kind == 1) {
        std::snprintf(lower, sizeof lower, "0 ");
        std::snprintf(upper, sizeof upper, "100 ");
    } else {
        std::snprintf(lower, sizeof lower, "%i ", -static_cast<int>(view->data->range));
        std::snprintf(upper, sizeof upper, "%i ", static_cast<int>(view->data->range));
    }
    RECT lowerArea = toRect(geometry.lowerAxisLabel);
    DrawTextA(dc, lower, -1, &lowerArea, DT_RIGHT | DT_TOP | DT_SINGLELINE);
    if (view->kind == 2)
        SetTextColor(dc, RGB(255, 255, 255));
    RECT upperArea = toRect(geometry.upperAxisLabel);
    DrawTextA(dc, upper, -1, &upperArea, DT_RIGHT | DT_TOP | DT_SINGLELINE);
}

void CEnvelope::closeBoxes(int except)
{
    for (int i = 0; i < kBoxes; ++i)
        if (i != except)
            boxes[i].close();
}

void CEnvelope::openTimeBox(int segment)
{
    closeBoxes(segment);
    char text[64];
    ValueText::formatMilliseconds(text, sizeof text, *segmentTime(segment));
    const Rect& area = geometry.timeEntry[segment];
    boxes[segment].open(hwnd, text, {area.left, area.top, area.right, area.bottom});
}

void CEnvelope::leftButtonDown(Point p)
{
    if (!view || !view->data)
        return;
    PatchEnvelope& envelope = *view->data;
    if (view->kind == 2 && geometry.upperAxisLabel.contains(p)) {
        closeBoxes(kRangeBox);
        char text[24];
        std::snprintf(text, sizeof text, "%i", static_cast<int>(envelope.range));
        boxes[kRangeBox].open(hwnd, text, geometry.upperAxisLabel);
        return;
    }
    if (p.y >= geometry.plot.bottom) {
        for (int segment :
             {EnvelopeGeometry::kDecay, EnvelopeGeometry::kRelease, EnvelopeGeometry::kAttack}) {
            if (geometry.timeEntry[segment].contains(p)) {
                openTimeBox(segment);
                return;
            }
        }
    }
    closeBoxes();
    selected = geometry.hitTest(envelope, p);
    if (selected < 0)
        selected = EnvelopeEditing::insertPoint(envelope, geometry, p);
    if (selected >= 0) {
        SetCapture(hwnd);
        repaint();
    }
}

void CEnvelope::mouseMove(Point p, WPARAM)
{
    if (selected < 0 || !view || !view->data)
        return;
    const EnvelopeEditing::DragResult result =
        EnvelopeEditing::dragPoint(*view->data, geometry, selected, p, view->kind);
    selected = result.selected;
    if (synth) {
        switch (result.change) {
        case EnvelopeEditing::kLastAttackPoint:
            synth->lastAttackPointChanged(view->index);
            break;
        case EnvelopeEditing::kSustainLevel:
            synth->sustainLevelChanged(view->index);
            break;
        case EnvelopeEditing::kReleaseLevel:
            synth->releaseLevelChanged(view->index);
            break;
        case EnvelopeEditing::kNothingHeard:
            break;
        }
    }
    repaint();
}

void CEnvelope::leftButtonUp(Point)
{
    if (selected < 0)
        return;
    selected = -1;
    ReleaseCapture();
    repaint();
}

void CEnvelope::captureLost()
{
    // The release went elsewhere: the point stays where it was dragged.
    if (selected < 0)
        return;
    selected = -1;
    repaint();
}

void CEnvelope::rightButtonDown(Point p)
{
    if (view && view->data && EnvelopeEditing::deleteInnerPoint(*view->data, geometry, p)) {
        repaint();
        return;
    }
    CControl::rightButtonDown(p);
}

void CEnvelope::command(int code, int, HWND from)
{
    if (code != EN_CHANGE || !from || !view || !view->data)
        return;
    char text[32];
    if (from == boxes[kRangeBox].window()) {
        boxes[kRangeBox].text(text, sizeof text);
        view->data->range = ValueText::parseRangeBox(text, view->scale, view->data->range);
        if (synth)
            synth->pointLevelChanged(view->index);
        repaint();
        return;
    }
    for (int segment = 0; segment < 3; ++segment) {
        if (from != boxes[segment].window())
            continue;
        boxes[segment].text(text, sizeof text);
        float* time = segmentTime(segment);
        *time = ValueText::parseTimeBox(text, *time);
        if (synth) {
            if (segment == EnvelopeGeometry::kAttack)
                synth->attackTimeChanged(view->index);
            else if (segment == EnvelopeGeometry::kDecay)
                synth->decayTimeChanged(view->index);
            else
                synth->releaseTimeChanged(view->index);
        }
        repaint();
    }
}
