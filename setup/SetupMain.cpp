// The installer's start: common controls (the progress bar) and the
// three-dimensional dialog look, then the installer dialog, shown modally;
// the program ends when it closes.
#include "SetupDialog.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    SetupDialog dialog(instance);
    dialog.run();
    return 0;
}
