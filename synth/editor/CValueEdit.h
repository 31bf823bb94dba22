// The small entry box a knob or an envelope control opens over a value: a
// bordered pop-up edit window owned by the control, which holds the mouse
// capture while the box is open (so a press anywhere else reaches the
// control and closes the box). Enter closes it too. The owner receives the
// box's EN_CHANGE notifications and reads the text at each keystroke.
// UI thread only.
#pragma once

#include "Rect.h"

#include <windows.h>

class CValueEdit {
public:
    CValueEdit() = default;
    ~CValueEdit();
    CValueEdit(const CValueEdit&) = delete;
    CValueEdit& operator=(const CValueEdit&) = delete;

    // Opens the box over `place` (owner client coordinates) with `text`
    // selected; does nothing when it is already open.
    void open(HWND owner, const char* text, const Rect& place);
    void close();
    bool isOpen() const { return box != nullptr; }
    HWND window() const { return box; }
    // The box's text (at most 20 characters).
    void text(char* out, int size) const;

private:
    static LRESULT CALLBACK boxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND box = nullptr;
    HWND owner = nullptr;
    WNDPROC editProc = nullptr;
};
