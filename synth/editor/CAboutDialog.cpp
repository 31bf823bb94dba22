#include "CAboutDialog.h"

void CAboutDialog::command(int, int id, HWND)
{
    if (id == kCloseButton || id == IDCANCEL)
        close();
}
