// Points and rectangles of the editor's geometry, in pixels, with the
// conventions of the window system: a rectangle holds left <= x < right and
// top <= y < bottom.
#pragma once

#include <cstdint>

struct Point {
    int32_t x;
    int32_t y;
};

struct Rect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool contains(Point p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
};
