// The MIDI controller map dialog's rules without a window: the list's line
// texts, how the parameter pop-up's item positions stand for map entries,
// and how the pitch-bend range box's text becomes semitones.
#pragma once

#include <cstddef>
#include <cstdint>

class MidiMapRules {
public:
    enum {
        kLines = 120,         // controllers 0..119 are listed
        kPopupNone = 0,       // "<none>"
        kPopupSeparator = 1,  // between "<none>" and the parameters
        kPopupFirstParameter, // parameter p at position p + 2
        kPopupItems = kPopupFirstParameter + 101,
        kMaxPitchBendRange = 24, // semitones
        kLineSize = 80,          // the longest line is 8 + 3 + 17 + 38 characters
    };

    // The list line of `controller`: eight spaces and the number, and when
    // `entry` is a parameter (0..100) seven spaces, "->", eight spaces and
    // `longName`. Other entries (-1, or out of range in a record from
    // outside) show the number only. Truncated to `size`.
    static void lineText(char* text, size_t size, int32_t controller, int32_t entry,
                         const char* longName);
    // The pop-up position that shows `entry` checked: entry + 2 for a
    // parameter, 0 ("<none>") for anything else.
    static int32_t popupPositionOf(int32_t entry);
    // Whether the pop-up position chosen sets an entry, and which: 0 gives
    // -1, 2..102 give 0..100; the separator, -1 (cancelled) and other
    // positions set nothing.
    static bool entryForPopupPosition(int32_t position, int32_t& entry);
    // The box's text as the C library reads an integer (leading white
    // space, an optional sign, decimal digits up to the first other
    // character; no digits give 0), limited to 0..24. Never overflows.
    static int32_t parsePitchBendRange(const char* text);
};
