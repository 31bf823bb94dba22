// Where the on-screen keyboard's keys are and which picture each column
// shows. The keyboard is 35 white-key columns of 16 x 60 pixels, five octaves
// from note 36 (C) to note 95 (B). A column is drawn as one picture holding
// its white key and the halves of the black keys beside it; a black key is
// the upper 28 pixels of the 4 rightmost pixels of one column and the 5
// leftmost of the next.
#pragma once

#include "Rect.h"

class KeyboardGeometry {
public:
    enum {
        kLowestNote = 36,
        kHighestNote = 95,
        kColumnWidth = 16,
        kHeight = 60,
        kColumns = 35,
        kOctaveWidth = 7 * kColumnWidth,
        kWidth = kColumns * kColumnWidth,
        kBlackKeyHeight = 28,
        kColumnBitmaps = 16
    };
    // The three column shapes.
    enum Shape { kLeftBlackOnly, kRightBlackOnly, kBothBlacks };

    // The note under client point p of a control of size `client`, or -1
    // outside it.
    static int32_t hitTest(Point p, const Rect& client);

    // Column 0..34 (left to right): its rectangle (full height) and the note
    // of its white key.
    static Rect columnRect(int32_t column, int32_t height);
    static int32_t whiteNote(int32_t column);
    static Shape shape(int32_t column);

    // The columns that show `note` (one for a white key, the two either side
    // for a black key): their count, 0 outside 36..95.
    static int32_t columnsOfNote(int32_t note, int32_t columns[2]);

    // The resource id of a column's picture for the held state of its keys
    // (a key the column does not show is ignored).
    static int32_t columnBitmap(int32_t column, bool leftBlackHeld, bool whiteHeld,
                                bool rightBlackHeld);
    // All 16 picture ids, in the order of the three shapes' tables.
    static const int32_t bitmapIds[kColumnBitmaps];
};
