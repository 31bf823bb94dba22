// The editor's three menu buttons (Presets, Options, Help), subclassed so
// they paint themselves in the instrument's colours: a hover state while
// the pointer is over them and a pressed state while their menu is up. The
// pressed state lives in the editor; the button asks the dialog for it
// (WM_USER+7) and sets it (WM_USER+8). UI thread only.
#pragma once

#include <windows.h>

class MenuButton {
public:
    // Subclasses dialog item `id` as button `index` (0..2); the button's own
    // window procedure is kept in its user data.
    static void subclass(HWND dialog, int id);

private:
    static LRESULT CALLBACK buttonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
    static void paint(HWND button, bool pressed);
    static int indexOf(HWND button);
};
