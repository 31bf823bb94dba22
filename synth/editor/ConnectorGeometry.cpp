#include "ConnectorGeometry.h"

#include <cmath>

int32_t ConnectorGeometry::lines(const Rect& upper, const Rect& range, const Rect& envelope,
                                 Line* out)
{
    int32_t count = 0;
    auto add = [&](int32_t y, int32_t x1, int32_t x2) {
        if (count < kMaxLines)
            out[count++] = {y, x1, x2};
    };
    const int32_t cx = (upper.left + upper.right) / 2;
    add(upper.top - 3, cx - 8, cx + 8);
    add(upper.top - 2, cx - 3, cx + 3);
    add(upper.top - 1, cx - 3, cx + 3);
    for (int32_t y = upper.bottom; y < range.top; ++y)
        add(y, cx - 3, cx + 3);
    const int32_t rows = envelope.top - range.bottom;
    for (int32_t k = 0; k < rows; ++k) {
        const double t = std::pow(2.0, k - rows);
        add(range.bottom + k, static_cast<int32_t>((cx - 3) * (1.0 - t) + envelope.left * t),
            static_cast<int32_t>((cx + 3) * (1.0 - t) + envelope.right * t));
    }
    return count;
}

Rect ConnectorGeometry::repaintStrip(const Rect& master, const Rect& envelope)
{
    return {envelope.left, master.top - 3, envelope.right, envelope.top + 1};
}
