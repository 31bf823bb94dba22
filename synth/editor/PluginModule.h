// The module (DLL) that holds the editor's code and resources. A plug-in
// runs inside a host's process, so the host executable's instance handle
// would find neither the dialog template nor the bitmaps.
#pragma once

#include <windows.h>

class PluginModule {
public:
    // The module containing this code (the plug-in DLL, or a test program
    // that links the editor in).
    static HINSTANCE instance();
};
