// A picture as 0x00RRGGBB pixels, rows from the top. What the editor host
// captures from a window and what the PNG writer stores.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // width * height, row after row

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // 0x00RRGGBB; 0xFFFFFFFF outside the picture.
    uint32_t at(int x, int y) const
    {
        return contains(x, y) ? pixels[static_cast<size_t>(y) * width + x] : 0xFFFFFFFFu;
    }
    static uint32_t rgb(int r, int g, int b)
    {
        return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
               static_cast<uint32_t>(b);
    }
};
