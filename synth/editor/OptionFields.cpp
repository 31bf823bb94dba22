#include "OptionFields.h"

#include <cstdio>

const OptionFields::Range OptionFields::kLocalBpm = {30, 250, false};
const OptionFields::Range OptionFields::kOscillators = {1, 64, false};
const OptionFields::Range OptionFields::kPortamento = {1, 1000, false};
const OptionFields::Range OptionFields::kRedistribution = {1, 4000, false};
const OptionFields::Range OptionFields::kSmoothing = {1, 500, false};
const OptionFields::Range OptionFields::kSeed = {0, 134217727, true};
const OptionFields::Range OptionFields::kTrailLength = {1, 20, false};
const OptionFields::Range OptionFields::kTrailWidth = {1, 10, false};

const char* const OptionFields::kSpeedLfoTopic = "SpeedLFODialog.htm";
const char* const OptionFields::kSynthesisTopic = "SynthesisOptions.htm";
const char* const OptionFields::kSeedingTopic = "DeterminismSeeding.htm";
const char* const OptionFields::kVisualisationTopic = "VisualisationOptions.htm";

namespace {
const int kMeasureBitmaps[OptionFields::kMeasures] = {145, 150, 146, 151, 147, 152, 148, 153, 149};
const char* const kDimensionNames[5] = {"Vol", "Pitch", "Pan", "Res", "Noise"};
} // namespace

int32_t OptionFields::readNumber(const char* text)
{
    if (!text)
        return 0;
    const char* p = text;
    int read = 0;
    while (read < kMaxText && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) {
        ++p;
        ++read;
    }
    bool negative = false;
    if (read < kMaxText && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
        ++read;
    }
    // Accumulated in 64 bits and held at the 32-bit limits: a long row of
    // digits reads as the largest number, never wraps into a small one.
    int64_t value = 0;
    while (read < kMaxText && *p >= '0' && *p <= '9') {
        if (value < INT64_C(0x100000000))
            value = value * 10 + (*p - '0');
        ++p;
        ++read;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t OptionFields::limit(int32_t value, const Range& range)
{
    if (value < range.min)
        return range.min;
    if (value > range.max)
        return range.max;
    return value;
}

bool OptionFields::entryValue(const char* text, const Range& range, int32_t& value)
{
    const int32_t read = readNumber(text);
    if (read == 0 && !range.zeroIsValue)
        return false;
    value = limit(read, range);
    return true;
}

void OptionFields::formatNumber(int32_t value, char* text, size_t size)
{
    if (text && size)
        std::snprintf(text, size, "%i", static_cast<int>(value));
}

int32_t OptionFields::nextMeasure(int32_t measure)
{
    return measure >= 0 && measure < kMeasures - 1 ? measure + 1 : 0;
}

int OptionFields::measureBitmap(int32_t measure)
{
    return measure >= 0 && measure < kMeasures ? kMeasureBitmaps[measure] : kMeasureBitmaps[4];
}

const char* OptionFields::dimensionName(int32_t dimension)
{
    return dimension >= 0 && dimension < 5 ? kDimensionNames[dimension] : "!error!";
}

bool OptionFields::swapAxes(int32_t* order, int32_t lower, int32_t higher)
{
    if (!order || lower < 0 || lower > 4 || higher < 0 || higher > 4)
        return false;
    const int32_t kept = order[lower];
    order[lower] = order[higher];
    order[higher] = kept;
    return true;
}
