// The About box: the title picture, the product and its version, and a
// Close button. A modeless dialog like the option dialogs, but it neither
// reads nor changes the program, and a program change leaves it open.
// UI thread only.
#pragma once

#include "COptionDialog.h"

class CAboutDialog : public COptionDialog {
public:
    enum { kTemplate = 147, kCloseButton = 1029, kProductLine = 1001, kTitlePicture = 1002 };

    CAboutDialog() : COptionDialog(nullptr, kTemplate) {}
    void command(int code, int id, HWND from) override;
};
