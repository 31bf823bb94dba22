#include "MenuButton.h"

#include "EditorLayout.h"

#include <windowsx.h>

namespace {
const COLORREF kResting = RGB(40, 63, 79);
const COLORREF kLit = RGB(56, 79, 95);
} // namespace

void MenuButton::subclass(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    if (!button || GetWindowLongPtrA(button, GWLP_USERDATA))
        return;
    const LONG_PTR original =
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buttonProc));
    SetWindowLongPtrA(button, GWLP_USERDATA, original);
}

int MenuButton::indexOf(HWND button)
{
    return GetDlgCtrlID(button) - EditorLayout::kPresetsButtonId;
}

void MenuButton::paint(HWND button, bool pressed)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(button, &ps);
    if (!dc)
        return;
    RECT r;
    GetClientRect(button, &r);
    const bool lit = pressed || GetCapture() == button;
    HBRUSH fill = CreateSolidBrush(lit ? kLit : kResting);
    FillRect(dc, &r, fill);
    DeleteObject(fill);
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    FrameRect(dc, &r, white);
    if (pressed) {
        RECT left = {r.left, r.top, r.left + 3, r.bottom};
        RECT top = {r.left, r.top, r.right, r.top + 3};
        FillRect(dc, &left, white);
        FillRect(dc, &top, white);
    }
    char text[24];
    GetWindowTextA(button, text, 21);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT area = r;
    OffsetRect(&area, pressed ? 2 : 0, pressed ? 5 : 3);
    DrawTextA(dc, text, -1, &area, DT_CENTER | DT_TOP | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    EndPaint(button, &ps);
}

LRESULT CALLBACK MenuButton::buttonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(button, GWLP_USERDATA));
    HWND dialog = GetParent(button);
    const int index = indexOf(button);
    switch (message) {
    case WM_PAINT: {
        BYTE pressed = 0;
        SendMessageA(dialog, WM_USER + 7, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&pressed));
        paint(button, pressed != 0);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE: {
        if (GetCapture() != button) {
            SetCapture(button);
            InvalidateRect(button, nullptr, FALSE);
        } else {
            RECT r;
            GetClientRect(button, &r);
            POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (!PtInRect(&r, p)) {
                ReleaseCapture();
                InvalidateRect(button, nullptr, FALSE);
            }
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SendMessageA(dialog, WM_USER + 8, static_cast<WPARAM>(index), 1);
        InvalidateRect(button, nullptr, FALSE);
        UpdateWindow(button);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        SendMessageA(dialog, WM_USER + 8, static_cast<WPARAM>(index), 0);
        InvalidateRect(button, nullptr, FALSE);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrA(button, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return original ? CallWindowProcA(original, button, message, wParam, lParam)
                    : DefWindowProcA(button, message, wParam, lParam);
}
