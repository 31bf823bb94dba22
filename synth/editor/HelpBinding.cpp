#include "HelpBinding.h"

const char* const HelpBinding::kViewerLibrary = "hhctrl.ocx";

void* HelpBinding::helpFunction()
{
    if (current == kUnbound)
        bind();
    return current == kBound ? function : nullptr;
}

void HelpBinding::bind()
{
    current = kFailed;
    char path[260] = {};
    if (platform.registeredLibrary && platform.loadLibrary &&
        platform.registeredLibrary(path, sizeof path)) {
        path[sizeof path - 1] = '\0';
        if (path[0])
            loaded = platform.loadLibrary(path);
    }
    if (!loaded && platform.loadLibrary)
        loaded = platform.loadLibrary(kViewerLibrary);
    if (!loaded)
        return;
    function = platform.lookup ? platform.lookup(loaded, kHelpOrdinal) : nullptr;
    if (!function) {
        // A library without the help function is no use; let it go.
        if (platform.freeLibrary)
            platform.freeLibrary(loaded);
        loaded = nullptr;
        return;
    }
    current = kBound;
}
