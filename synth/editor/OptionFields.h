// The rules of the option dialogs' controls, kept apart from the windows so
// they are tested without a display: the number fields (how typed text
// becomes a stored value), the speed LFO's measure button, which controls
// are enabled for which settings, the dimension names of the order list and
// the help topic of each dialog.
#pragma once

#include <cstddef>
#include <cstdint>

class OptionFields {
public:
    // A number field's range. Where zero is not a value, a field reading 0
    // (or no number at all) stores nothing.
    struct Range {
        int32_t min;
        int32_t max;
        bool zeroIsValue;
    };
    static const Range kLocalBpm;       // beats per minute, 30..250
    static const Range kOscillators;    // 1..64
    static const Range kPortamento;     // ms, 1..1000
    static const Range kRedistribution; // ms, 1..4000
    static const Range kSmoothing;      // ms, 1..500
    static const Range kSeed;           // 0..134217727 (2^27 - 1)
    static const Range kTrailLength;    // 1..20
    static const Range kTrailWidth;     // 1..10

    enum { kMaxText = 260 }; // characters read from a field

    // Reads `text` the way atoi does: leading blanks, an optional sign,
    // then decimal digits up to the first other character; 0 when there
    // are none. Saturates instead of overflowing. Null reads 0.
    static int32_t readNumber(const char* text);
    // What a field's text stores: true and the value limited to `range`,
    // or false when the text reads 0 and zero is not a value.
    static bool entryValue(const char* text, const Range& range, int32_t& value);
    static int32_t limit(int32_t value, const Range& range);
    // The text a field shows for `value` ("%i"); `size` includes the end.
    static void formatNumber(int32_t value, char* text, size_t size);

    // Measure button of the speed LFO dialog: the next measure (0..8,
    // after 8 back to 0; a stored value outside 0..8 starts again at 0)
    // and the bitmap resource showing a measure (145..153).
    enum { kMeasures = 9 };
    static int32_t nextMeasure(int32_t measure);
    static int measureBitmap(int32_t measure);

    // Enabled states: the BPM field only while the host's tempo is not
    // followed; the base seed and the dependency boxes only in
    // deterministic reseeding (mode 2); the order list, trail fields and
    // pins box only while the flock view animates.
    static bool bpmFieldEnabled(uint8_t syncToHost) { return syncToHost == 0; }
    static bool seedControlsEnabled(int32_t reseedMode) { return reseedMode == 2; }
    static bool viewControlsEnabled(uint8_t animateHyperspace) { return animateHyperspace != 0; }

    // The order list's entry for dimension 0..4 ("Vol" .. "Noise"),
    // "!error!" for anything else.
    static const char* dimensionName(int32_t dimension);
    // Swaps entries `lower` and `higher` of a five-entry axis order; false
    // (and nothing changed) unless both are 0..4.
    static bool swapAxes(int32_t* order, int32_t lower, int32_t higher);

    // Help topics of the four dialogs.
    static const char* const kSpeedLfoTopic;
    static const char* const kSynthesisTopic;
    static const char* const kSeedingTopic;
    static const char* const kVisualisationTopic;
};
