#include "ValueText.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// Converts a finite or infinite double to an integer within min..max
// (truncating toward zero); not-a-number gives `fallback`.
int32_t limitToRange(double value, int32_t min, int32_t max, int32_t fallback)
{
    if (std::isnan(value))
        return fallback;
    if (value <= static_cast<double>(min))
        return min;
    if (value >= static_cast<double>(max))
        return max;
    return static_cast<int32_t>(value);
}
} // namespace

void ValueText::formatFixedPoint(char* text, size_t size, int64_t value, int32_t scale,
                                 int32_t decimals)
{
    if (!text || size == 0)
        return;
    if (scale <= 0)
        scale = 1;
    char buffer[48];
    size_t length = 0;
    if (value < 0) {
        buffer[length++] = '-';
        value = -value;
    }
    length += static_cast<size_t>(std::snprintf(buffer + length, sizeof buffer - length, "%lld",
                                                static_cast<long long>(value / scale)));
    const int64_t remainder = value % scale;
    if (remainder >= 1) {
        buffer[length++] = '.';
        int64_t divisor = scale;
        for (int32_t i = 1; i <= decimals && length + 1 < sizeof buffer; ++i) {
            divisor /= 10;
            if (divisor == 0)
                break;
            buffer[length++] = static_cast<char>('0' + (remainder / divisor) % 10);
        }
        while (buffer[length - 1] == '0')
            --length;
        if (buffer[length - 1] == '.')
            --length;
    }
    buffer[length] = 0;
    std::snprintf(text, size, "%s", buffer);
}

void ValueText::formatKnob(char* text, size_t size, int32_t format, int32_t scale, int32_t decimals,
                           int32_t value)
{
    if (!text || size == 0)
        return;
    switch (format) {
    case kFixedPoint:
        formatFixedPoint(text, size, value, scale, decimals);
        break;
    case kDecibel:
        if (value > 0 && scale > 0) {
            const double decibels = 20.0 * std::log10(static_cast<double>(value) / scale) * scale;
            formatFixedPoint(text, size, static_cast<int64_t>(decibels), scale, decimals);
        } else {
            std::snprintf(text, size, "-oo");
        }
        break;
    default:
        std::snprintf(text, size, "%i", static_cast<int>(value));
        break;
    }
}

bool ValueText::readInteger(const char* text, int64_t& value)
{
    if (!text)
        return false;
    char* end = nullptr;
    errno = 0;
    // Base 0 reads as scanf's "%i" does: 0x hexadecimal, 0 octal, else
    // decimal; out-of-range numbers saturate.
    const long long read = std::strtoll(text, &end, 0);
    if (end == text)
        return false;
    value = read;
    return true;
}

bool ValueText::readNumber(const char* text, double& value)
{
    if (!text)
        return false;
    char* end = nullptr;
    const double read = std::strtod(text, &end);
    if (end == text || std::isnan(read))
        return false;
    value = read;
    return true;
}

int32_t ValueText::parseKnob(const char* text, int32_t format, int32_t scale, int32_t min,
                             int32_t max, int32_t previous)
{
    double value = 0.0;
    if (format == kFixedPoint || format == kDecibel) {
        double number = 0.0;
        if (!readNumber(text, number))
            return previous;
        value = format == kFixedPoint ? number * scale : std::pow(10.0, number * 0.05) * scale;
    } else {
        int64_t number = 0;
        if (!readInteger(text, number))
            return previous;
        value = static_cast<double>(number);
    }
    return limitToRange(value, min, max, previous);
}

void ValueText::formatMilliseconds(char* text, size_t size, float seconds)
{
    if (!text || size == 0)
        return;
    char buffer[400]; // "%.2f" of the largest float is 45 digits; NaN and inf are short
    std::snprintf(buffer, sizeof buffer, "%.2f", static_cast<double>(seconds) * 1000.0);
    size_t length = std::strlen(buffer);
    if (std::strchr(buffer, '.')) {
        while (length > 0 && buffer[length - 1] == '0')
            buffer[--length] = 0;
        if (length > 0 && buffer[length - 1] == '.')
            buffer[--length] = 0;
    }
    std::snprintf(text, size, "%s", buffer);
}

float ValueText::parseTimeBox(const char* text, float previous)
{
    double milliseconds = 0.0;
    if (!readNumber(text, milliseconds))
        return previous;
    const double seconds = milliseconds * 0.001;
    return static_cast<float>(std::min<double>(std::max<double>(seconds, kMinTime), kMaxTime));
}

int32_t ValueText::parseRangeBox(const char* text, int32_t scale, int32_t previous)
{
    int64_t number = 0;
    if (!readInteger(text, number))
        return previous;
    return static_cast<int32_t>(
        std::min<int64_t>(std::max<int64_t>(number, 0), std::max(scale, 0)));
}
