// Catches faults inside a plug-in's module that Windows (and Wine) would
// otherwise swallow: an access violation in a window procedure makes the
// message return 0 and the program goes on. A vectored exception handler
// sees every exception first; those raised at an address inside the
// watched module are recorded here (and then handled as usual), so a test
// or `nimhost editor` can fail on them. Win32 only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class PluginFaultGuard {
public:
    PluginFaultGuard();  // installs the handler (one per process at a time)
    ~PluginFaultGuard(); // removes it

    PluginFaultGuard(const PluginFaultGuard&) = delete;
    PluginFaultGuard& operator=(const PluginFaultGuard&) = delete;

    // Adds the module holding `address` (a plug-in's entry point, say).
    void watchModuleOf(const void* address);
    // One line per fault seen so far: code, address and module offset.
    std::vector<std::string> faults() const;
    void clear();

private:
    static LONG CALLBACK handler(EXCEPTION_POINTERS* info);
};
