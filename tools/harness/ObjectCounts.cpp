#include "ObjectCounts.h"

#include <windows.h>

#include <cstdio>

namespace {
BOOL CALLBACK countChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK countTopLevel(HWND window, LPARAM count)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) {
        ++*reinterpret_cast<int*>(count);
        EnumChildWindows(window, countChild, count); // all descendants
    }
    return TRUE;
}
} // namespace

ObjectCounts ObjectCounts::take()
{
    ObjectCounts c;
    for (uintptr_t h = 1; h <= 0xFFFF; ++h) {
        switch (GetObjectType(reinterpret_cast<HGDIOBJ>(h))) {
        case 0:
            break;
        case OBJ_PEN:
        case OBJ_EXTPEN:
            ++c.pens;
            break;
        case OBJ_BRUSH:
            ++c.brushes;
            break;
        case OBJ_FONT:
            ++c.fonts;
            break;
        case OBJ_BITMAP:
            ++c.bitmaps;
            break;
        case OBJ_REGION:
            ++c.regions;
            break;
        case OBJ_DC:
            ++c.deviceContexts;
            break;
        case OBJ_MEMDC:
            ++c.memoryDeviceContexts;
            break;
        case OBJ_PAL:
            ++c.palettes;
            break;
        default:
            ++c.other;
            break;
        }
    }
    EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&c.windows));
    return c;
}

std::string ObjectCounts::describe() const
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "GDI %d (pens %d, brushes %d, fonts %d, bitmaps %d, regions %d, DCs %d, "
                  "memory DCs %d, palettes %d, other %d); USER windows %d",
                  gdiTotal(), pens, brushes, fonts, bitmaps, regions, deviceContexts,
                  memoryDeviceContexts, palettes, other, windows);
    return text;
}
