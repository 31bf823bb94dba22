// The installer's message boxes: captioned with the program's file name
// without its extension ("setup"), owned by the window that asks. Win32 only.
#pragma once

#include <windows.h>

#include <string>

class SetupMessages {
public:
    // Shows `text` with `flags` (MB_OK, MB_YESNO, an icon); returns the
    // button pressed (IDOK, IDYES, IDNO).
    static int show(HWND owner, const std::string& text, UINT flags);
    // An error or notice with an OK button.
    static void notify(HWND owner, const std::string& text);
    // A question with Yes and No; true for Yes.
    static bool ask(HWND owner, const std::string& text);
    // The program's file name without folder and extension.
    static std::string caption();
};
