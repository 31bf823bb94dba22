#include "KnobGeometry.h"

#include <algorithm>
#include <cmath>

Rect KnobGeometry::captionRect(int32_t width, int32_t)
{
    return {0, 0, width, kLabelHeight};
}

Rect KnobGeometry::valueRect(int32_t width, int32_t height)
{
    return {0, height - kLabelHeight, width, height};
}

Rect KnobGeometry::dialRect(int32_t width, int32_t)
{
    const int32_t cx = width / 2;
    return {cx - kDialRadius, kDialCentreY - kDialRadius, cx + kDialRadius,
            kDialCentreY + kDialRadius};
}

Rect KnobGeometry::valueEditRect(int32_t width, int32_t height)
{
    const Rect value = valueRect(width, height);
    return {value.left + 7, value.top - 1, value.right - 7, value.bottom + 2};
}

Point KnobGeometry::dotCentre(const Rect& dial, int32_t value, int32_t min, int32_t max)
{
    const double pi = 3.14159265358979323846;
    double angle = 1.375 * pi;
    if (max != min)
        angle -= (static_cast<double>(value) - min) * 7.0 * pi /
                 (4.0 * (static_cast<double>(max) - min));
    const int32_t cx = (dial.left + dial.right) / 2;
    const int32_t cy = (dial.top + dial.bottom) / 2;
    return {cx + static_cast<int32_t>(std::cos(angle) * (dial.width() / 2)),
            cy + static_cast<int32_t>(-std::sin(angle) * (dial.height() / 2))};
}

int32_t KnobGeometry::dragValue(int32_t startValue, int32_t startY, int32_t y, int32_t min,
                                int32_t max)
{
    // 64-bit: start values and pointer positions come from outside.
    const int64_t delta =
        (static_cast<int64_t>(startY) - y) * (static_cast<int64_t>(max) - min) / kDragPixels;
    const int64_t value = static_cast<int64_t>(startValue) + delta;
    return static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(value, min), max));
}
