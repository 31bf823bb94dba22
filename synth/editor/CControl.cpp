#include "CControl.h"

#include <windowsx.h>

#include <atomic>
#include <cstring>

namespace {
// Registrations of each control class: several editors (instances) share
// them; the last one to go removes the class, so the module can unload.
struct ClassCount {
    const char* name;
    std::atomic<int> count;
};
ClassCount classCounts[] = {
    {"CKnob", {0}}, {"CEnvelope", {0}}, {"CKeyboard", {0}}, {"CHyperspace", {0}}};

ClassCount* countOf(const char* name)
{
    for (ClassCount& c : classCounts)
        if (std::strcmp(c.name, name) == 0)
            return &c;
    return nullptr;
}

Point pointOf(LPARAM lParam)
{
    // Signed: while the mouse is captured, points left of or above the
    // window are negative.
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}
} // namespace

CControl::~CControl()
{
    detach();
    if (bufferDc) {
        SelectObject(bufferDc, bufferOldBitmap);
        DeleteDC(bufferDc);
    }
    if (bufferBitmap)
        DeleteObject(bufferBitmap);
}

bool CControl::registerClass(HINSTANCE module, const char* name)
{
    ClassCount* count = countOf(name);
    if (count && count->count.fetch_add(1) > 0)
        return true;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = module;
    wc.lpszClassName = name;
    if (RegisterClassExA(&wc))
        return true;
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void CControl::unregisterClass(HINSTANCE module, const char* name)
{
    ClassCount* count = countOf(name);
    if (count && count->count.fetch_sub(1) > 1)
        return;
    UnregisterClassA(name, module);
}

void CControl::attach(HWND dialog, int id, const Rect& place, bool buffered)
{
    detach();
    HWND item = GetDlgItem(dialog, id);
    if (!item)
        return;
    MoveWindow(item, place.left, place.top, place.width(), place.height(), FALSE);
    hwnd = item;
    controlId = id;
    doubleBuffered = buffered;
    SetWindowLongPtrA(item, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    RECT r;
    GetClientRect(item, &r);
    client = {0, 0, r.right, r.bottom};
}

void CControl::detach()
{
    if (hwnd && IsWindow(hwnd) &&
        GetWindowLongPtrA(hwnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    hwnd = nullptr;
}

void CControl::repaint(bool erase)
{
    if (hwnd)
        InvalidateRect(hwnd, nullptr, erase ? TRUE : FALSE);
}

void CControl::rightButtonDown(Point p)
{
    if (hwnd)
        SendMessageA(GetParent(hwnd), WM_USER + 4, static_cast<WPARAM>(controlId),
                     MAKELPARAM(p.x, p.y));
}

void CControl::raiseHostFrame()
{
    HWND frame = hwnd;
    for (int i = 0; i < 3 && frame; ++i)
        frame = GetParent(frame);
    if (frame)
        SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CControl::paintMessage()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (!dc)
        return;
    if (doubleBuffered) {
        if (!bufferDc) {
            bufferDc = CreateCompatibleDC(dc);
            bufferBitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
            if (bufferDc && bufferBitmap)
                bufferOldBitmap = SelectObject(bufferDc, bufferBitmap);
        }
        if (bufferDc && bufferBitmap) {
            paint(bufferDc, ps);
            BitBlt(dc, 0, 0, client.right, client.bottom, bufferDc, 0, 0, SRCCOPY);
        }
    } else {
        paint(dc, ps);
    }
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK CControl::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CControl* control = reinterpret_cast<CControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (control && control->hwnd == window)
        return control->handle(message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CControl::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = hwnd;
    switch (message) {
    case WM_PAINT:
        paintMessage();
        return 0;
    case WM_ERASEBKGND:
        if (eraseBackground(reinterpret_cast<HDC>(wParam)))
            return 1;
        break;
    case WM_NOTIFY:
        notify(reinterpret_cast<NMHDR*>(lParam));
        break;
    case WM_COMMAND:
        command(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        break;
    case WM_MOUSEMOVE:
        mouseMove(pointOf(lParam), wParam);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        raiseHostFrame();
        leftButtonDown(pointOf(lParam));
        break;
    case WM_LBUTTONUP:
        leftButtonUp(pointOf(lParam));
        break;
    case WM_CAPTURECHANGED:
        captureLost();
        break;
    case WM_RBUTTONDOWN:
        raiseHostFrame();
        rightButtonDown(pointOf(lParam));
        break;
    case WM_RBUTTONUP:
        rightButtonUp(pointOf(lParam));
        break;
    case WM_MOUSEWHEEL:
        mouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        break;
    case WM_NCDESTROY:
        // The host tore the window down: forget it, keep the object.
        detach();
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
