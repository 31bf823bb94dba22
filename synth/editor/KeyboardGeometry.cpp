#include "KeyboardGeometry.h"

#include "EditorResources.h"

namespace {
// Semitone of each white key (C D E F G A B) within its octave.
const int32_t kWhiteSemitone[7] = {0, 2, 4, 5, 7, 9, 11};
const bool kBlackOnRight[7] = {true, true, false, true, true, true, false};
const bool kBlackOnLeft[7] = {false, true, true, false, true, true, true};
// For each semitone: the column (within the octave) of a white key, or of
// the white key left of a black one.
const int32_t kColumnOfSemitone[12] = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};
const bool kIsBlack[12] = {false, true,  false, true,  false, false,
                           true,  false, true,  false, true,  false};

// Pictures by image index, per shape.
const int32_t kLeftBlackBitmaps[4] = {IDB_KEYS_EB_0, IDB_KEYS_EB_1, IDB_KEYS_EB_2, IDB_KEYS_EB_3};
const int32_t kRightBlackBitmaps[4] = {IDB_KEYS_CF_0, IDB_KEYS_CF_1, IDB_KEYS_CF_2, IDB_KEYS_CF_3};
const int32_t kBothBlacksBitmaps[8] = {IDB_KEYS_DGA_0, IDB_KEYS_DGA_1, IDB_KEYS_DGA_2,
                                       IDB_KEYS_DGA_3, IDB_KEYS_DGA_4, IDB_KEYS_DGA_5,
                                       IDB_KEYS_DGA_6, IDB_KEYS_DGA_7};
} // namespace

const int32_t KeyboardGeometry::bitmapIds[kColumnBitmaps] = {
    IDB_KEYS_EB_0,  IDB_KEYS_EB_1,  IDB_KEYS_EB_2,  IDB_KEYS_EB_3,  IDB_KEYS_CF_0,  IDB_KEYS_CF_1,
    IDB_KEYS_CF_2,  IDB_KEYS_CF_3,  IDB_KEYS_DGA_0, IDB_KEYS_DGA_1, IDB_KEYS_DGA_2, IDB_KEYS_DGA_3,
    IDB_KEYS_DGA_4, IDB_KEYS_DGA_5, IDB_KEYS_DGA_6, IDB_KEYS_DGA_7};

int32_t KeyboardGeometry::hitTest(Point p, const Rect& client)
{
    if (!client.contains(p) || p.x < 0 || p.y < 0)
        return -1;
    const int32_t octave = p.x / kOctaveWidth;
    if (octave > 4)
        return -1; // a control wider than the keyboard
    const int32_t c = (p.x / kColumnWidth) % 7;
    const int32_t white = (octave + 3) * 12 + kWhiteSemitone[c];
    if (p.y >= kBlackKeyHeight)
        return white;
    const int32_t m = p.x % kColumnWidth;
    if (kBlackOnRight[c] && m > 11)
        return white + 1;
    if (kBlackOnLeft[c] && m < 5)
        return white - 1;
    return white;
}

Rect KeyboardGeometry::columnRect(int32_t column, int32_t height)
{
    return {column * kColumnWidth, 0, (column + 1) * kColumnWidth, height};
}

int32_t KeyboardGeometry::whiteNote(int32_t column)
{
    return kLowestNote + (column / 7) * 12 + kWhiteSemitone[column % 7];
}

KeyboardGeometry::Shape KeyboardGeometry::shape(int32_t column)
{
    const int32_t c = (column % 7 + 7) % 7;
    if (!kBlackOnLeft[c])
        return kRightBlackOnly;
    return kBlackOnRight[c] ? kBothBlacks : kLeftBlackOnly;
}

int32_t KeyboardGeometry::columnsOfNote(int32_t note, int32_t columns[2])
{
    if (note < kLowestNote || note > kHighestNote)
        return 0;
    const int32_t semitone = note % 12;
    const int32_t column = (note / 12 - 3) * 7 + kColumnOfSemitone[semitone];
    columns[0] = column;
    if (!kIsBlack[semitone])
        return 1;
    columns[1] = column + 1;
    return 2;
}

int32_t KeyboardGeometry::columnBitmap(int32_t column, bool leftBlackHeld, bool whiteHeld,
                                       bool rightBlackHeld)
{
    switch (shape(column)) {
    case kLeftBlackOnly:
        return kLeftBlackBitmaps[whiteHeld + 2 * leftBlackHeld];
    case kRightBlackOnly:
        return kRightBlackBitmaps[rightBlackHeld + 2 * whiteHeld];
    default:
        return kBothBlacksBitmaps[rightBlackHeld + 2 * whiteHeld + 4 * leftBlackHeld];
    }
}
