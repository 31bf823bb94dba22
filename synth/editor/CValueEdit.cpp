#include "CValueEdit.h"

#include "PluginModule.h"

CValueEdit::~CValueEdit()
{
    close();
}

void CValueEdit::open(HWND ownerWindow, const char* initial, const Rect& place)
{
    if (box || !ownerWindow)
        return;
    POINT corner = {place.left, place.top};
    ClientToScreen(ownerWindow, &corner);
    SetCapture(ownerWindow);
    box = CreateWindowExA(0, "EDIT", initial,
                          WS_POPUP | WS_VISIBLE | WS_BORDER | ES_CENTER | ES_AUTOHSCROLL, corner.x,
                          corner.y, place.width(), place.height(), ownerWindow, nullptr,
                          PluginModule::instance(), nullptr);
    if (!box) {
        ReleaseCapture();
        return;
    }
    owner = ownerWindow;
    SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), TRUE);
    SetWindowLongPtrA(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(boxProc)));
    SendMessageA(box, EM_SETSEL, 0, -1);
    SetFocus(box);
}

void CValueEdit::close()
{
    if (!box)
        return;
    HWND closing = box;
    box = nullptr;
    if (GetCapture() == owner)
        ReleaseCapture();
    DestroyWindow(closing);
}

void CValueEdit::text(char* out, int size) const
{
    if (!out || size <= 0)
        return;
    out[0] = 0;
    if (box)
        GetWindowTextA(box, out, size < 21 ? size : 21);
}

LRESULT CALLBACK CValueEdit::boxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CValueEdit* edit = reinterpret_cast<CValueEdit*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!edit)
        return DefWindowProcA(window, message, wParam, lParam);
    WNDPROC original = edit->editProc;
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        edit->close();
        return 0;
    }
    if (message == WM_CHAR && wParam == '\r')
        return 0; // no beep for the Enter that closed the box
    if (message == WM_NCDESTROY) {
        // Destroyed with its owner (the editor closing): forget it.
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        if (edit->box == window)
            edit->box = nullptr;
    }
    return CallWindowProcA(original, window, message, wParam, lParam);
}
