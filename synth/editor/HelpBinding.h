// The binding to the HTML Help viewer, made once at the first help request:
// the library named by the viewer's class registration, else the viewer
// control by its file name; then its help function by ordinal 14. A failed
// binding is remembered: later requests neither retry nor report, and show
// nothing. A bound library stays loaded for the life of the plug-in.
//
// The window system is reached through the Platform functions, so the
// order of attempts and the remembered failure are checked natively with
// stand-ins. UI thread only.
#pragma once

#include <cstddef>

class HelpBinding {
public:
    enum { kHelpOrdinal = 14 };
    static const char* const kViewerLibrary; // "hhctrl.ocx"

    struct Platform {
        // Writes the library file named by the viewer's class registration
        // into `path` (`size` bytes, zero-terminated); false when there is
        // no such registration.
        bool (*registeredLibrary)(char* path, size_t size);
        void* (*loadLibrary)(const char* name); // null on failure
        void* (*lookup)(void* library, int ordinal);
        void (*freeLibrary)(void* library);
    };

    enum State { kUnbound, kBound, kFailed };

    explicit HelpBinding(const Platform& platform) : platform(platform) {}

    // The viewer's help function (to be called through its real type by the
    // caller), binding at the first call; null once binding has failed.
    void* helpFunction();
    State state() const { return current; }
    void* library() const { return loaded; }

private:
    void bind();

    Platform platform;
    State current = kUnbound;
    void* loaded = nullptr;
    void* function = nullptr;
};
