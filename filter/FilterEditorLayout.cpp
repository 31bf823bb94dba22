#include "FilterEditorLayout.h"

namespace FilterEditorLayout {

namespace {
// value x numerator / denominator, rounded half away from zero (MulDiv).
int mulDiv(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
}

// One coordinate: from pixels at `base` per `per` dialog units to pixels at
// `design` per `per` dialog units.
int rescale(int pixels, int base, int design, int per)
{
    if (base < 1)
        base = 1;
    return mulDiv(mulDiv(pixels, per, base), design, per);
}
} // namespace

Box toDesign(Box laidOut, int baseX, int baseY)
{
    return {rescale(laidOut.x, baseX, kDesignBaseX, 4), rescale(laidOut.y, baseY, kDesignBaseY, 8),
            rescale(laidOut.width, baseX, kDesignBaseX, 4),
            rescale(laidOut.height, baseY, kDesignBaseY, 8)};
}

Box fitRightAligned(Box box, int textWidth)
{
    if (textWidth <= box.width)
        return box;
    const int right = box.x + box.width;
    const int left = right - textWidth > 0 ? right - textWidth : 0;
    return {left, box.y, right - left, box.height};
}

} // namespace FilterEditorLayout
