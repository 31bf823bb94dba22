#include "MidiMapRules.h"

#include <cstdio>

void MidiMapRules::lineText(char* text, size_t size, int32_t controller, int32_t entry,
                            const char* longName)
{
    if (!text || size == 0)
        return;
    if (entry >= 0 && entry <= 100 && longName)
        std::snprintf(text, size, "        %d       ->        %s", static_cast<int>(controller),
                      longName);
    else
        std::snprintf(text, size, "        %d", static_cast<int>(controller));
}

int32_t MidiMapRules::popupPositionOf(int32_t entry)
{
    return entry >= 0 && entry <= 100 ? entry + kPopupFirstParameter : kPopupNone;
}

bool MidiMapRules::entryForPopupPosition(int32_t position, int32_t& entry)
{
    if (position == kPopupNone) {
        entry = -1;
        return true;
    }
    if (position >= kPopupFirstParameter && position < kPopupItems) {
        entry = position - kPopupFirstParameter;
        return true;
    }
    return false;
}

int32_t MidiMapRules::parsePitchBendRange(const char* text)
{
    if (!text)
        return 0;
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    // Any number of digits: the value only needs to be known up to the limit.
    int32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        if (value <= kMaxPitchBendRange)
            value = value * 10 + (*p - '0');
    if (negative)
        return 0;
    return value > kMaxPitchBendRange ? kMaxPitchBendRange : value;
}
