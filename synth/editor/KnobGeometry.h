// Where a knob draws its parts and how a drag moves its value. The knob is
// a w x h window: the caption in the top 13 pixels, the value text in the
// bottom 13, and a 24 x 24 dial square centred at (w / 2, 28) on which the
// indicator dot travels a radius-12 circle through a clockwise sweep of 315
// degrees, from lower left (min) to lower right (max).
#pragma once

#include "Rect.h"

class KnobGeometry {
public:
    enum {
        kLabelHeight = 13,
        kDialRadius = 12,
        kDialCentreY = 28,
        kDotRadius = 4,
        kDragPixels = 150
    };

    static Rect captionRect(int32_t width, int32_t height);
    static Rect valueRect(int32_t width, int32_t height);
    static Rect dialRect(int32_t width, int32_t height);
    // The entry box opened over the value text (knob client coordinates).
    static Rect valueEditRect(int32_t width, int32_t height);

    // Centre of the indicator dot for `value` in min..max; a value outside
    // the range is drawn where it lies on the extended circle.
    static Point dotCentre(const Rect& dial, int32_t value, int32_t min, int32_t max);

    // The value after dragging from startY to y (pixels, up raises it):
    // 150 pixels cover the whole range, the result stays within min..max.
    static int32_t dragValue(int32_t startValue, int32_t startY, int32_t y, int32_t min,
                             int32_t max);
};
