// A library that only has the preset maker's module name: the editor offers
// the preset export while a module of that name is loaded. Nothing in it is
// called. It also serves as a library without a help function.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
