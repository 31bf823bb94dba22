// The connector the editor paints on its background from the selected
// dimension's knob column down to the envelope graphs: three short bars
// over the column's upper control, a stem from that control to the range
// knob, and a funnel that widens from the range knob to the full width of
// the home envelope control, closing on it exponentially.
#pragma once

#include "Rect.h"

class ConnectorGeometry {
public:
    // One horizontal line, drawn from (x1, y) to (x2, y) (x2 not painted).
    struct Line {
        int32_t y;
        int32_t x1;
        int32_t x2;
    };
    enum { kMaxLines = 256 };

    // Fills `out` (room for kMaxLines) with the connector of a column whose
    // upper control is `upper` and range knob `range`, ending on the home
    // envelope control `envelope` (dialog client coordinates). Returns the
    // number of lines.
    static int32_t lines(const Rect& upper, const Rect& range, const Rect& envelope, Line* out);

    // The strip of the dialog to repaint when the selection changes: from 3
    // pixels above the master knob's top to one pixel below the envelope
    // control's top, across the envelope control's width.
    static Rect repaintStrip(const Rect& master, const Rect& envelope);
};
