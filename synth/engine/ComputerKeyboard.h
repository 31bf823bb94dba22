// Playing from the computer keyboard: 27 keys, two rows of white keys and the
// black keys above each, polled once per processed block through an
// asynchronous key-state query (on Windows GetAsyncKeyState's high bit).
// The query is injectable so tests can drive it. Audio thread, except
// releaseAll, which the editor calls on the UI thread when it closes.
#pragma once

#include "NoteReceiver.h"

#include <cstdint>

class ComputerKeyboard {
public:
    enum { kKeys = 27, kVelocity = 96 };
    struct Key {
        int32_t virtualKey; // Windows virtual-key code
        int32_t note;
    };
    // In polling order.
    static const Key keys[kKeys];

    typedef bool (*KeyStateSource)(int virtualKey); // true while held

    // Keys newly down play their note, keys newly up end it, in table order.
    void poll(KeyStateSource isDown, NoteReceiver& receiver);
    // Every key still marked down gets its note-off.
    void releaseAll(NoteReceiver& receiver);
    void clear(); // forgets every key (reset)

    bool keyDown[kKeys] = {};
};
