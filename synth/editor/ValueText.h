// The texts the editor shows for values and the parsers of what the user
// types into its entry boxes. Parsers follow each keystroke: text that does
// not (yet) read as a number keeps the previous value, and every result is
// limited to the control's range.
#pragma once

#include <cstddef>
#include <cstdint>

class ValueText {
public:
    enum Format { kInteger = 0, kFixedPoint = 1, kDecibel = 2 };

    // A knob's value text without its unit. Integer: "%i". Fixed point: the
    // value / scale with up to `decimals` digits, trailing zeros dropped
    // (scale 100: -602 gives "-6.02", -650 "-6.5", 0 "0"). Decibel: the
    // value is a gain of value / scale; it is shown as 20 log10 of that,
    // times scale, in fixed point, or "-oo" for 0 and below.
    static void formatKnob(char* text, size_t size, int32_t format, int32_t scale, int32_t decimals,
                           int32_t value);
    static void formatFixedPoint(char* text, size_t size, int64_t value, int32_t scale,
                                 int32_t decimals);

    // What a knob's entry box holds, read as the knob's format: integer
    // ("%i": 0x hexadecimal, leading 0 octal), fixed point (number x scale,
    // truncated) or decibels (10^(dB / 20) x scale, truncated); limited to
    // min..max. Text that does not parse gives `previous`.
    static int32_t parseKnob(const char* text, int32_t format, int32_t scale, int32_t min,
                             int32_t max, int32_t previous);

    // An envelope time in milliseconds: "%.2f" with trailing zeros and then
    // a trailing point removed (0.1 s gives "100", 0.00125 s "1.25").
    static void formatMilliseconds(char* text, size_t size, float seconds);
    // A time box: milliseconds typed, seconds returned within 0.0001..9.9999.
    static float parseTimeBox(const char* text, float previous);
    // The range box of a bipolar home envelope: "%i", limited to 0..scale.
    static int32_t parseRangeBox(const char* text, int32_t scale, int32_t previous);

    // The shortest and longest envelope segment times, seconds.
    static constexpr float kMinTime = 0.0001f;
    static constexpr float kMaxTime = 9.9999f;

private:
    static bool readInteger(const char* text, int64_t& value);
    static bool readNumber(const char* text, double& value);
};
