// Live GDI and USER objects of this process, for leak checks across editor
// open/close cycles. GetGuiResources answers 0 under Wine, so GDI objects
// are counted by asking GetObjectType about every handle value 1..65535
// (Wine accepts handles with a zero high word), by type. USER objects are
// counted as the windows of this process: every top-level window (hidden
// ones too) and all their descendants. Win32 only.
#pragma once

#include <string>

struct ObjectCounts {
    int pens = 0, brushes = 0, fonts = 0, bitmaps = 0, regions = 0, deviceContexts = 0,
        memoryDeviceContexts = 0, palettes = 0, other = 0;
    int windows = 0;

    int gdiTotal() const
    {
        return pens + brushes + fonts + bitmaps + regions + deviceContexts + memoryDeviceContexts +
               palettes + other;
    }
    std::string describe() const; // one line, for messages and dumps

    static ObjectCounts take();
};
