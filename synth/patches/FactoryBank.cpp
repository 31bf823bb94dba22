// The 45 factory presets as readable source. Each preset is a function that
// starts from a new patch (with its own fixed seed) and sets what makes its
// sound; the compiler evaluates them all into constant 1908-byte records.
//
// Reading an entry: the home position (volume, tune, pan, resonance, noise)
// and the flock's box around it (the five ranges); the output stage (low-pass
// cutoff as a note number, Q, depth 0/1/2 for 12/24/48 dB, overdrive); the
// flight (speed, spread of speeds, reflection off the walls, attraction,
// repulsion and the proximity radius between them); the envelopes by their
// attack points {time fraction, level}, sustain level and times (attack,
// decay half-life, release, in seconds); then the options.
#include "FactoryBank.h"

#include "PresetBuilder.h"

namespace {

using namespace presetbuilder;

// clang-format off
constexpr const char* kNames[FactoryBank::kPresetCount] = {
    "Brass", "Buzz Mania", "Cheeky", "Chewbacca",
    "Clarinet", "Cosmic Kazoo Piano", "Crazy Saw", "Crunchy",
    "Digi Tamba", "Dischord", "Drunk Pixies", "Enola",
    "Filth Bass", "Firework", "Freaky Note", "Funky Slap",
    "Gentle Gong", "Ghostly Wail", "Growing Bass", "Harpsichord",
    "Heroic Horn", "High And Dangerous", "Juicy Plastic", "Kick Bass",
    "Large Pad", "Mad Pad", "Metallic Thwack", "Mulling Horn",
    "Passing Gust", "Pizzicato", "Possessed Organ", "Power Bass",
    "Resonant Rip", "Rhythmic", "Saxophone", "Shreek",
    "Siren", "Soft Organ", "Spooky Organ", "Squelchy",
    "String Pad", "Thunderclap", "Tuned Perc", "Vowel Swarm",
    "Wobble Bass",
};
// clang-format on

// Sets the five axes of the hyperspace view, in view order.
constexpr void viewAxes(Patch& p, int32_t a, int32_t b, int32_t c, int32_t d, int32_t e)
{
    p.axisOrder[0] = a, p.axisOrder[1] = b, p.axisOrder[2] = c, p.axisOrder[3] = d;
    p.axisOrder[4] = e;
}

// A brass section swelling in: buzzy, noise-edged, an octave down, flaring at the attack.
constexpr Patch brass()
{
    Patch p = basePatch("Brass", 4711);
    p.volumeHome = 100, p.coarseTune = -12, p.panHome = 0, p.resonanceHome = 42;
    p.noiseHome = 68;
    p.volumeRange = 0, p.pitchRange = 1, p.panRange = 40, p.resonanceRange = 100;
    p.noiseRange = 100;
    p.lowpassCutoff = 52, p.filterQ = 0, p.filterDepth = 1, p.overdrive = 0;
    p.speed = 27, p.stdDev = 15, p.reflection = 0, p.attract = 50, p.repel = 50;
    p.proximity = 24;
    p.oscillatorCount = 8;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {1, 1}}).sustain(0.5).times(0.1, 0.5, 0.2);
    p.envelopes[kResonanceEnv] =
        shape({{0, 0.35}, {0.6, 0.8}, {1, 0.7}}).sustain(0.5).times(0.12, 0.4, 0.2).range(15);
    p.envelopes[kPitchEnv] =
        shape({{0, 0.4}, {1, 0.5}}).sustain(0.5).times(0.08, 0.3, 0.2).range(1);
    p.portamentoTime = 40;
    return p;
}

// An angry swarm of hornets: razor-thin buzzing pulses, driven hard.
constexpr Patch buzzMania()
{
    Patch p = basePatch("Buzz Mania", 9113);
    p.volumeHome = 70, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 72, p.noiseHome = 15;
    p.volumeRange = 30, p.pitchRange = 9, p.panRange = 100, p.resonanceRange = 60;
    p.noiseRange = 30;
    p.lowpassCutoff = 96, p.filterQ = 20, p.filterDepth = 1, p.overdrive = 55;
    p.speed = 62, p.stdDev = 70, p.reflection = 70, p.attract = 30, p.repel = 70;
    p.proximity = 40;
    p.oscillatorCount = 14;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.3, 1}, {0.6, 0.7}, {1, 0.9}}).sustain(0.8).times(0.06, 0.4, 0.15);
    p.envelopes[kSpeedEnv] = shape({{0, 0.6}, {1, 1}}).sustain(1).releaseTo(0.5).times(0.5, 1, 0.2);
    p.trailLength = 8;
    return p;
}

// A cheeky little blip that chirps up into its note and bounces away.
constexpr Patch cheeky()
{
    Patch p = basePatch("Cheeky", 2201);
    p.volumeHome = 85, p.coarseTune = 12, p.panHome = 0, p.resonanceHome = 30, p.noiseHome = 0;
    p.volumeRange = 20, p.pitchRange = 3, p.panRange = 60, p.resonanceRange = 40;
    p.noiseRange = 0;
    p.lowpassCutoff = 92, p.filterQ = 30, p.filterDepth = 1, p.overdrive = 10;
    p.speed = 45, p.stdDev = 30, p.reflection = 60, p.attract = 50, p.repel = 50;
    p.proximity = 50;
    p.oscillatorCount = 4;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {0.15, 1}, {0.5, 0.45}, {0.7, 0.8}, {1, 0.6}})
                                  .sustain(0.25)
                                  .times(0.18, 0.25, 0.12);
    p.envelopes[kPitchEnv] =
        shape({{0, 0.25}, {0.7, 0.55}, {1, 0.5}}).sustain(0.5).times(0.09, 0.2, 0.12).range(12);
    p.envelopes[kResonanceEnv] =
        shape({{0, 0.7}, {1, 0.5}}).sustain(0.45).releaseTo(0.5).times(0.1, 0.3, 0.1).range(20);
    p.showPins = 1;
    return p;
}

// A big hairy growl: a low voice that groans, rises and snarls.
constexpr Patch chewbacca()
{
    Patch p = basePatch("Chewbacca", 1977);
    p.volumeHome = 90, p.coarseTune = -12, p.panHome = 0, p.resonanceHome = 48, p.noiseHome = 28;
    p.volumeRange = 25, p.pitchRange = 8, p.panRange = 30, p.resonanceRange = 55;
    p.noiseRange = 40;
    p.lowpassCutoff = 80, p.filterQ = 55, p.filterDepth = 1, p.overdrive = 45;
    p.speed = 44, p.stdDev = 35, p.reflection = 40, p.attract = 70, p.repel = 30;
    p.proximity = 30;
    p.oscillatorCount = 6;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.4, 0.8}, {1, 1}}).sustain(0.8).times(0.25, 0.8, 0.3);
    p.envelopes[kPitchEnv] = shape({{0, 0.2}, {0.35, 0.6}, {0.7, 0.45}, {1, 0.55}})
                                 .sustain(0.45)
                                 .releaseTo(0.3)
                                 .times(0.6, 0.8, 0.3)
                                 .range(5);
    p.envelopes[kResonanceEnv] =
        shape({{0, 0.3}, {0.5, 0.8}, {1, 0.55}}).sustain(0.5).times(0.6, 0.6, 0.3).range(20);
    p.portamentoTime = 120;
    return p;
}

// A woody clarinet: a soft, nearly pure tone with a puff of breath at the start.
constexpr Patch clarinet()
{
    Patch p = basePatch("Clarinet", 3301);
    p.volumeHome = 95, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 22, p.noiseHome = 22;
    p.volumeRange = 6, p.pitchRange = 3, p.panRange = 10, p.resonanceRange = 8;
    p.noiseRange = 20;
    p.lowpassCutoff = 82, p.filterQ = 10, p.filterDepth = 1, p.overdrive = 5;
    p.speed = 30, p.stdDev = 20, p.reflection = 50, p.attract = 80, p.repel = 20;
    p.proximity = 20;
    p.oscillatorCount = 3;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.5, 0.6}, {1, 0.95}}).sustain(0.85).times(0.09, 0.6, 0.14);
    p.envelopes[kNoiseEnv] =
        shape({{0, 0.9}, {1, 0.5}}).sustain(0.5).releaseTo(0.6).times(0.12, 0.2, 0.14).range(25);
    p.polyphonic = 0, p.portamentoTime = 30;
    return p;
}

// A spacy kazoo-piano: struck and buzzy, fading like a piano string.
constexpr Patch cosmicKazooPiano()
{
    Patch p = basePatch("Cosmic Kazoo Piano", 4242);
    p.volumeHome = 90, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 55, p.noiseHome = 30;
    p.volumeRange = 10, p.pitchRange = 12, p.panRange = 70, p.resonanceRange = 30;
    p.noiseRange = 30;
    p.lowpassCutoff = 90, p.filterQ = 25, p.filterDepth = 1, p.overdrive = 20;
    p.speed = 35, p.stdDev = 40, p.reflection = 50, p.attract = 40, p.repel = 40;
    p.proximity = 35;
    p.oscillatorCount = 6;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.1, 1}, {1, 0.75}}).sustain(0.12).times(0.04, 0.6, 0.35);
    p.envelopes[kPitchEnv] =
        shape({{0, 0.58}, {1, 0.5}}).sustain(0.5).releaseTo(0.45).times(0.05, 0.3, 0.35).range(2);
    p.envelopes[kNoiseRangeEnv] = shape({{0, 1}, {1, 0.5}}).sustain(0.3).times(0.3, 0.5, 0.3);
    return p;
}

// A fat, bright stack of detuned saw-like voices spread wide.
constexpr Patch crazySaw()
{
    Patch p = basePatch("Crazy Saw", 5150);
    p.volumeHome = 80, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 62, p.noiseHome = 4;
    p.volumeRange = 10, p.pitchRange = 13, p.panRange = 100, p.resonanceRange = 15;
    p.noiseRange = 5;
    p.lowpassCutoff = 98, p.filterQ = 15, p.filterDepth = 1, p.overdrive = 25;
    p.speed = 42, p.stdDev = 60, p.reflection = 50, p.attract = 20, p.repel = 80;
    p.proximity = 60;
    p.oscillatorCount = 16;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {1, 1}}).sustain(0.9).times(0.015, 0.5, 0.25);
    p.envelopes[kPitchRangeEnv] = shape({{0, 0.4}, {1, 1}}).sustain(1).times(0.6, 0.5, 0.25);
    p.phaseCorrelation = 0;
    p.trailLength = 6, p.trailWidth = 3;
    return p;
}

// A crunchy, overdriven chord stab: gritty, compressed and noisy on top.
constexpr Patch crunchy()
{
    Patch p = basePatch("Crunchy", 6060);
    p.volumeHome = 62, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 40, p.noiseHome = 30;
    p.volumeRange = 20, p.pitchRange = 6, p.panRange = 50, p.resonanceRange = 30;
    p.noiseRange = 40;
    p.lowpassCutoff = 86, p.filterQ = 35, p.filterDepth = 1, p.overdrive = 90;
    p.speed = 55, p.stdDev = 50, p.reflection = 55, p.attract = 50, p.repel = 50;
    p.proximity = 50;
    p.oscillatorCount = 8;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.2, 1}, {1, 0.8}}).sustain(0.45).times(0.02, 0.35, 0.12);
    p.envelopes[kNoiseEnv] =
        shape({{0, 0.8}, {1, 0.5}}).sustain(0.5).releaseTo(0.5).times(0.05, 0.2, 0.1).range(20);
    return p;
}

// A digital tambourine: a bright, jingly noise tick with a pitched knock.
constexpr Patch digiTamba()
{
    Patch p = basePatch("Digi Tamba", 7007);
    p.volumeHome = 90, p.coarseTune = 12, p.panHome = 0, p.resonanceHome = 78, p.noiseHome = 62;
    p.volumeRange = 50, p.pitchRange = 30, p.panRange = 80, p.resonanceRange = 30;
    p.noiseRange = 40;
    p.lowpassCutoff = 100, p.filterQ = 10, p.filterDepth = 0, p.overdrive = 30;
    p.speed = 85, p.stdDev = 80, p.reflection = 60, p.attract = 30, p.repel = 70;
    p.proximity = 50;
    p.oscillatorCount = 10;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {0.2, 0.8}, {0.5, 0.32}, {0.7, 0.64}, {1, 0.48}})
                                  .sustain(0)
                                  .times(0.03, 0.05, 0.08);
    p.envelopes[kPitchEnv] =
        shape({{0, 0.9}, {1, 0.5}}).sustain(0.5).releaseTo(0.5).times(0.03, 0.1, 0.1).range(12);
    p.trailLength = 2;
    return p;
}

// A sour, detuned cluster of voices a few semitones apart that clash and drift.
constexpr Patch dischord()
{
    Patch p = basePatch("Dischord", 6661);
    p.volumeHome = 85, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 30, p.noiseHome = 5;
    p.volumeRange = 10, p.pitchRange = 36, p.panRange = 80, p.resonanceRange = 20;
    p.noiseRange = 5;
    p.lowpassCutoff = 88, p.filterQ = 10, p.filterDepth = 1, p.overdrive = 15;
    p.speed = 12, p.stdDev = 80, p.reflection = 30, p.attract = 10, p.repel = 90;
    p.proximity = 70;
    p.oscillatorCount = 12;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {1, 1}}).sustain(0.8).times(0.05, 0.7, 0.4);
    p.envelopes[kPitchRangeEnv] = shape({{0, 0.5}, {1, 1}}).sustain(1).times(0.4, 0.5, 0.4);
    return p;
}

// Tipsy fairies: high, glassy tinkles that wobble out of tune.
constexpr Patch drunkPixies()
{
    Patch p = basePatch("Drunk Pixies", 1313);
    p.volumeHome = 80, p.coarseTune = 12, p.panHome = 0, p.resonanceHome = 40, p.noiseHome = 0;
    p.volumeRange = 25, p.pitchRange = 20, p.panRange = 100, p.resonanceRange = 30;
    p.noiseRange = 0;
    p.lowpassCutoff = 100, p.filterQ = 0, p.filterDepth = 1, p.overdrive = 0;
    p.speed = 40, p.stdDev = 90, p.reflection = 70, p.attract = 60, p.repel = 60;
    p.proximity = 30;
    p.oscillatorCount = 6;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {0.1, 1}, {0.4, 0.5}, {0.6, 0.85}, {1, 0.6}})
                                  .sustain(0.45)
                                  .times(0.2, 0.35, 0.5);
    p.envelopes[kPitchEnv] = shape({{0, 0.5}, {0.3, 0.56}, {0.6, 0.46}, {1, 0.52}})
                                 .sustain(0.5)
                                 .releaseTo(0.42)
                                 .times(0.8, 0.5, 0.5)
                                 .range(3);
    p.reseedMode = 2, p.seedOnPitch = 1;
    p.showPins = 1, p.trailLength = 10, p.trailWidth = 2;
    return p;
}

// A vast, slow tide: five-second swells of a dark, driven choir.
constexpr Patch enola()
{
    Patch p = basePatch("Enola", 1945);
    p.volumeHome = 99, p.coarseTune = 0, p.panHome = 5, p.resonanceHome = 28, p.noiseHome = 20;
    p.volumeRange = 27, p.pitchRange = 19, p.panRange = 29, p.resonanceRange = 10;
    p.noiseRange = 15;
    p.lowpassCutoff = 79, p.filterQ = 13, p.filterDepth = 1, p.overdrive = 26;
    p.speed = 23, p.stdDev = 34, p.reflection = 67, p.attract = 74, p.repel = 26;
    p.proximity = 55;
    p.oscillatorCount = 12;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {1, 0.734}}).sustain(0.734).times(4.99849, 4.99849, 4.99849);
    p.envelopes[kPitchRangeEnv] = shape({{0, 0.3}, {1, 1}}).sustain(0.8).times(4, 3, 4);
    p.phaseCorrelation = 0, p.redistributionTime = 1500;
    return p;
}

// A filthy, distorted sub bass two octaves down, growling and gritty.
constexpr Patch filthBass()
{
    Patch p = basePatch("Filth Bass", 6502);
    p.volumeHome = 70, p.coarseTune = -24, p.panHome = 0, p.resonanceHome = 45, p.noiseHome = 18;
    p.volumeRange = 10, p.pitchRange = 4, p.panRange = 10, p.resonanceRange = 30;
    p.noiseRange = 20;
    p.lowpassCutoff = 60, p.filterQ = 45, p.filterDepth = 1, p.overdrive = 70;
    p.speed = 38, p.stdDev = 40, p.reflection = 50, p.attract = 70, p.repel = 30;
    p.proximity = 30;
    p.oscillatorCount = 4;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.3, 1}, {1, 0.85}}).sustain(0.7).times(0.01, 0.3, 0.1);
    p.envelopes[kResonanceEnv] =
        shape({{0, 0.8}, {1, 0.5}}).sustain(0.45).releaseTo(0.45).times(0.08, 0.3, 0.1).range(20);
    p.polyphonic = 0, p.portamentoTime = 50;
    return p;
}

// A rocket of hiss that whistles up and bursts into crackling sparks.
constexpr Patch firework()
{
    Patch p = basePatch("Firework", 1105);
    p.volumeHome = 85, p.coarseTune = -12, p.panHome = 0, p.resonanceHome = 40, p.noiseHome = 88;
    p.volumeRange = 90, p.pitchRange = 60, p.panRange = 100, p.resonanceRange = 60;
    p.noiseRange = 20;
    p.lowpassCutoff = 100, p.filterQ = 0, p.filterDepth = 0, p.overdrive = 30;
    p.speed = 88, p.stdDev = 60, p.reflection = 80, p.attract = 20, p.repel = 90;
    p.proximity = 80;
    p.oscillatorCount = 16;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.6, 0.5}, {0.65, 1}, {0.75, 0.5}, {0.85, 0.8}, {1, 0.6}})
            .sustain(0)
            .times(0.9, 0.45, 0.6);
    p.envelopes[kPitchEnv] = shape({{0, 0.1}, {0.6, 0.9}, {1, 0.6}})
                                 .sustain(0.5)
                                 .releaseTo(0.4)
                                 .times(0.9, 0.6, 0.6)
                                 .range(24);
    p.envelopes[kPitchRangeEnv] =
        shape({{0, 0.2}, {0.6, 0.3}, {1, 1}}).sustain(1).times(0.9, 0.5, 0.6);
    p.envelopes[kSpeedEnv] = shape({{0, 0.8}, {0.6, 0.8}, {1, 1}}).sustain(1).times(0.9, 0.5, 0.6);
    p.trailLength = 20, p.trailWidth = 2;
    return p;
}

// A note that cannot make up its mind: pitch, tone and breath lurch about.
constexpr Patch freakyNote()
{
    Patch p = basePatch("Freaky Note", 3113);
    p.volumeHome = 85, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 45, p.noiseHome = 25;
    p.volumeRange = 30, p.pitchRange = 10, p.panRange = 90, p.resonanceRange = 50;
    p.noiseRange = 50;
    p.lowpassCutoff = 90, p.filterQ = 40, p.filterDepth = 1, p.overdrive = 30;
    p.speed = 48, p.stdDev = 60, p.reflection = 50, p.attract = 60, p.repel = 40;
    p.proximity = 40;
    p.oscillatorCount = 8;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {0.2, 1}, {0.45, 0.6}, {0.7, 0.9}, {1, 0.75}})
                                  .sustain(0.75)
                                  .times(0.8, 0.6, 0.3);
    p.envelopes[kPitchEnv] =
        shape({{0, 0.5}, {0.2, 0.62}, {0.4, 0.4}, {0.6, 0.58}, {0.8, 0.44}, {1, 0.55}})
            .sustain(0.5)
            .releaseTo(0.35)
            .times(1.6, 0.7, 0.3)
            .range(5);
    p.envelopes[kResonanceEnv] = shape({{0, 0.2}, {0.3, 0.9}, {0.7, 0.3}, {1, 0.7}})
                                     .sustain(0.5)
                                     .releaseTo(0.5)
                                     .times(1.4, 0.8, 0.3)
                                     .range(30);
    p.envelopes[kNoiseEnv] = shape({{0, 0.3}, {0.5, 0.8}, {1, 0.4}})
                                 .sustain(0.5)
                                 .releaseTo(0.7)
                                 .times(1.2, 0.5, 0.3)
                                 .range(25);
    return p;
}

// A slapped bass string: a bright thumb pop that snaps shut.
constexpr Patch funkySlap()
{
    Patch p = basePatch("Funky Slap", 1970);
    p.volumeHome = 90, p.coarseTune = -12, p.panHome = 0, p.resonanceHome = 35, p.noiseHome = 8;
    p.volumeRange = 5, p.pitchRange = 3, p.panRange = 10, p.resonanceRange = 10;
    p.noiseRange = 10;
    p.lowpassCutoff = 90, p.filterQ = 30, p.filterDepth = 1, p.overdrive = 25;
    p.speed = 30, p.stdDev = 20, p.reflection = 50, p.attract = 60, p.repel = 40;
    p.proximity = 30;
    p.oscillatorCount = 3;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.2, 1}, {1, 0.7}}).sustain(0).times(0.01, 0.09, 0.06);
    p.envelopes[kResonanceEnv] =
        shape({{0, 1}, {1, 0.7}}).sustain(0.3).releaseTo(0.3).times(0.02, 0.06, 0.06).range(40);
    p.envelopes[kPitchEnv] =
        shape({{0, 0.6}, {1, 0.5}}).sustain(0.5).releaseTo(0.5).times(0.015, 0.1, 0.1).range(5);
    p.polyphonic = 0, p.portamentoTime = 10;
    return p;
}

// A soft gong: a shimmer of unrelated partials that blooms and rings away.
constexpr Patch gentleGong()
{
    Patch p = basePatch("Gentle Gong", 2468);
    p.volumeHome = 95, p.coarseTune = -12, p.panHome = 0, p.resonanceHome = 18, p.noiseHome = 3;
    p.volumeRange = 30, p.pitchRange = 45, p.panRange = 80, p.resonanceRange = 20;
    p.noiseRange = 5;
    p.lowpassCutoff = 94, p.filterQ = 0, p.filterDepth = 1, p.overdrive = 0;
    p.speed = 18, p.stdDev = 50, p.reflection = 50, p.attract = 20, p.repel = 60;
    p.proximity = 60;
    p.oscillatorCount = 12;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.3, 0.85}, {0.6, 0.59}, {1, 0.77}}).sustain(0).times(0.12, 0.7, 1.4);
    p.envelopes[kSpeedEnv] =
        shape({{0, 1}, {1, 0.6}}).sustain(0.4).releaseTo(0.3).times(0.5, 1.5, 1.4);
    p.phaseCorrelation = 0;
    return p;
}

// A ghost's wail: a breathy, hollow voice sliding up and down.
constexpr Patch ghostlyWail()
{
    Patch p = basePatch("Ghostly Wail", 1031);
    p.volumeHome = 90, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 18, p.noiseHome = 30;
    p.volumeRange = 15, p.pitchRange = 8, p.panRange = 100, p.resonanceRange = 15;
    p.noiseRange = 30;
    p.lowpassCutoff = 84, p.filterQ = 20, p.filterDepth = 1, p.overdrive = 0;
    p.speed = 30, p.stdDev = 30, p.reflection = 40, p.attract = 80, p.repel = 20;
    p.proximity = 20;
    p.oscillatorCount = 6;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {0.5, 0.8}, {1, 1}}).sustain(0.85).times(0.5, 2, 0.9);
    p.envelopes[kPitchEnv] = shape({{0, 0.1}, {0.3, 0.62}, {0.55, 0.45}, {0.8, 0.7}, {1, 0.55}})
                                 .sustain(0.3)
                                 .releaseTo(0.05)
                                 .times(1.6, 0.6, 0.9)
                                 .range(8);
    p.phaseCorrelation = 0;
    return p;
}

// A bass that starts round and dark and snarls the longer it is held.
constexpr Patch growingBass()
{
    Patch p = basePatch("Growing Bass", 8088);
    p.volumeHome = 90, p.coarseTune = -12, p.panHome = 0, p.resonanceHome = 20, p.noiseHome = 5;
    p.volumeRange = 5, p.pitchRange = 5, p.panRange = 10, p.resonanceRange = 20;
    p.noiseRange = 10;
    p.lowpassCutoff = 66, p.filterQ = 40, p.filterDepth = 1, p.overdrive = 30;
    p.speed = 32, p.stdDev = 30, p.reflection = 50, p.attract = 60, p.repel = 40;
    p.proximity = 30;
    p.oscillatorCount = 4;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {1, 1}}).sustain(0.9).times(0.01, 0.8, 0.12);
    p.envelopes[kResonanceEnv] =
        shape({{0, 0}, {0.5, 0.5}, {1, 1}}).sustain(1).releaseTo(1).times(2.5, 1, 0.12).range(30);
    p.envelopes[kNoiseEnv] =
        shape({{0, 0.3}, {1, 0.8}}).sustain(0.8).releaseTo(0.8).times(2.5, 1, 0.12).range(15);
    p.polyphonic = 0, p.portamentoTime = 60;
    return p;
}

// A harpsichord: a bright, nasal pluck of two slightly detuned strings.
constexpr Patch harpsichord()
{
    Patch p = basePatch("Harpsichord", 1685);
    p.volumeHome = 90, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 66, p.noiseHome = 6;
    p.volumeRange = 5, p.pitchRange = 4, p.panRange = 30, p.resonanceRange = 10;
    p.noiseRange = 5;
    p.lowpassCutoff = 100, p.filterQ = 0, p.filterDepth = 1, p.overdrive = 5;
    p.speed = 20, p.stdDev = 10, p.reflection = 50, p.attract = 30, p.repel = 70;
    p.proximity = 60;
    p.oscillatorCount = 2;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.3, 0.85}, {1, 0.68}}).sustain(0).times(0.004, 0.13, 0.25);
    p.envelopes[kResonanceEnv] =
        shape({{0, 0.9}, {1, 0.6}}).sustain(0.4).releaseTo(0.4).times(0.01, 0.3, 0.25).range(15);
    return p;
}

// A heroic horn call: bold and brassy, scooping up into each note.
constexpr Patch heroicHorn()
{
    Patch p = basePatch("Heroic Horn", 1812);
    p.volumeHome = 90, p.coarseTune = -12, p.panHome = 0, p.resonanceHome = 38, p.noiseHome = 30;
    p.volumeRange = 8, p.pitchRange = 7, p.panRange = 40, p.resonanceRange = 20;
    p.noiseRange = 25;
    p.lowpassCutoff = 76, p.filterQ = 15, p.filterDepth = 1, p.overdrive = 30;
    p.speed = 40, p.stdDev = 25, p.reflection = 50, p.attract = 70, p.repel = 30;
    p.proximity = 25;
    p.oscillatorCount = 6;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.4, 0.7}, {0.8, 1}, {1, 0.95}}).sustain(0.85).times(0.18, 0.8, 0.3);
    p.envelopes[kPitchEnv] = shape({{0, 0.35}, {0.8, 0.52}, {1, 0.5}})
                                 .sustain(0.5)
                                 .releaseTo(0.47)
                                 .times(0.15, 0.3, 0.3)
                                 .range(3);
    p.envelopes[kResonanceEnv] =
        shape({{0, 0.3}, {1, 0.75}}).sustain(0.55).releaseTo(0.4).times(0.2, 0.6, 0.3).range(15);
    p.envelopes[kNoiseEnv] =
        shape({{0, 0.8}, {1, 0.5}}).sustain(0.5).times(0.15, 0.3, 0.3).range(15);
    p.portamentoTime = 60;
    return p;
}

// A screaming, razor-edged lead way up high, on the edge of feedback.
constexpr Patch highAndDangerous()
{
    Patch p = basePatch("High And Dangerous", 9999);
    p.volumeHome = 60, p.coarseTune = 12, p.panHome = 0, p.resonanceHome = 74, p.noiseHome = 10;
    p.volumeRange = 20, p.pitchRange = 10, p.panRange = 50, p.resonanceRange = 25;
    p.noiseRange = 20;
    p.lowpassCutoff = 93, p.filterQ = 75, p.filterDepth = 1, p.overdrive = 70;
    p.speed = 60, p.stdDev = 50, p.reflection = 70, p.attract = 50, p.repel = 50;
    p.proximity = 50;
    p.oscillatorCount = 8;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {1, 1}}).sustain(0.9).times(0.03, 0.5, 0.2);
    p.envelopes[kPitchRangeEnv] = shape({{0, 0}, {1, 1}}).sustain(1).times(0.8, 0.5, 0.2);
    p.polyphonic = 0, p.portamentoTime = 90;
    return p;
}

// Juicy rubbery plastic: a resonant squelch that snaps into a wet round tone.
constexpr Patch juicyPlastic()
{
    Patch p = basePatch("Juicy Plastic", 3030);
    p.volumeHome = 85, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 35, p.noiseHome = 5;
    p.volumeRange = 10, p.pitchRange = 5, p.panRange = 60, p.resonanceRange = 25;
    p.noiseRange = 5;
    p.lowpassCutoff = 84, p.filterQ = 80, p.filterDepth = 2, p.overdrive = 20;
    p.speed = 40, p.stdDev = 40, p.reflection = 50, p.attract = 50, p.repel = 50;
    p.proximity = 40;
    p.oscillatorCount = 5;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.3, 1}, {1, 0.8}}).sustain(0.6).times(0.02, 0.3, 0.15);
    p.envelopes[kResonanceEnv] = shape({{0, 1}, {0.5, 0.75}, {1, 0.6}})
                                     .sustain(0.3)
                                     .releaseTo(0.3)
                                     .times(0.15, 0.25, 0.15)
                                     .range(40);
    return p;
}

// A kick drum turning into a bass: a punchy pitch drop into a deep low note.
constexpr Patch kickBass()
{
    Patch p = basePatch("Kick Bass", 909);
    p.volumeHome = 95, p.coarseTune = -24, p.panHome = 0, p.resonanceHome = 12, p.noiseHome = 4;
    p.volumeRange = 0, p.pitchRange = 2, p.panRange = 0, p.resonanceRange = 10;
    p.noiseRange = 10;
    p.lowpassCutoff = 64, p.filterQ = 20, p.filterDepth = 1, p.overdrive = 45;
    p.speed = 25, p.stdDev = 20, p.reflection = 50, p.attract = 70, p.repel = 30;
    p.proximity = 20;
    p.oscillatorCount = 3;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.1, 1}, {1, 0.9}}).sustain(0.35).times(0.02, 0.25, 0.12);
    p.envelopes[kPitchEnv] = shape({{0, 1}, {0.4, 0.62}, {1, 0.5}})
                                 .sustain(0.5)
                                 .releaseTo(0.5)
                                 .times(0.06, 0.2, 0.12)
                                 .range(24);
    p.envelopes[kNoiseEnv] =
        shape({{0, 1}, {1, 0.5}}).sustain(0.5).releaseTo(0.5).times(0.01, 0.1, 0.12).range(30);
    return p;
}

// A large, warm pad: a wide cloud of softly detuned voices breathing in slowly.
constexpr Patch largePad()
{
    Patch p = basePatch("Large Pad", 2001);
    p.volumeHome = 95, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 24, p.noiseHome = 8;
    p.volumeRange = 20, p.pitchRange = 9, p.panRange = 100, p.resonanceRange = 20;
    p.noiseRange = 10;
    p.lowpassCutoff = 80, p.filterQ = 10, p.filterDepth = 1, p.overdrive = 2;
    p.speed = 33, p.stdDev = 40, p.reflection = 50, p.attract = 40, p.repel = 60;
    p.proximity = 60;
    p.oscillatorCount = 24;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {0.5, 0.6}, {1, 1}}).sustain(0.9).times(1.6, 2, 1.8);
    p.envelopes[kResonanceEnv] =
        shape({{0, 0.3}, {1, 0.6}}).sustain(0.55).releaseTo(0.4).times(2, 2, 1.8).range(10);
    p.phaseCorrelation = 0, p.redistributionTime = 1200, p.reseedMode = 0;
    p.trailLength = 12;
    return p;
}

// A restless pad: a wide cloud churning through tone, noise and pitch.
constexpr Patch madPad()
{
    Patch p = basePatch("Mad Pad", 1666);
    p.volumeHome = 85, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 40, p.noiseHome = 20;
    p.volumeRange = 40, p.pitchRange = 22, p.panRange = 100, p.resonanceRange = 80;
    p.noiseRange = 60;
    p.lowpassCutoff = 86, p.filterQ = 45, p.filterDepth = 1, p.overdrive = 20;
    p.speed = 46, p.stdDev = 70, p.reflection = 65, p.attract = 60, p.repel = 60;
    p.proximity = 45;
    p.oscillatorCount = 16;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.3, 0.4}, {0.6, 0.32}, {1, 0.8}}).sustain(0.68).times(1.3, 2, 1.5);
    p.envelopes[kSpeedEnv] = shape({{0, 0.5}, {1, 1}}).sustain(1).releaseTo(0.6).times(1.5, 1, 1.5);
    p.lfoDepth = 40, p.lfoSine = 1, p.lfoMeasure = 1;
    p.phaseCorrelation = 0, p.redistributionTime = 1000;
    p.trailLength = 14, p.trailWidth = 3;
    return p;
}

// A hard metallic thwack: a clanging, inharmonic strike on sheet metal.
constexpr Patch metallicThwack()
{
    Patch p = basePatch("Metallic Thwack", 4404);
    p.volumeHome = 85, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 85, p.noiseHome = 25;
    p.volumeRange = 30, p.pitchRange = 48, p.panRange = 60, p.resonanceRange = 20;
    p.noiseRange = 30;
    p.lowpassCutoff = 100, p.filterQ = 20, p.filterDepth = 1, p.overdrive = 20;
    p.speed = 8, p.stdDev = 50, p.reflection = 50, p.attract = 10, p.repel = 90;
    p.proximity = 80;
    p.oscillatorCount = 12;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.1, 0.8}, {0.3, 0.48}, {1, 0.56}}).sustain(0).times(0.012, 0.08, 0.1);
    p.envelopes[kPitchEnv] =
        shape({{0, 0.6}, {1, 0.5}}).sustain(0.5).releaseTo(0.5).times(0.01, 0.1, 0.1).range(12);
    p.phaseCorrelation = 0;
    return p;
}

// A mellow, pensive horn an octave down, soft-edged and breathy.
constexpr Patch mullingHorn()
{
    Patch p = basePatch("Mulling Horn", 1234);
    p.volumeHome = 95, p.coarseTune = -12, p.panHome = 0, p.resonanceHome = 22, p.noiseHome = 34;
    p.volumeRange = 8, p.pitchRange = 7, p.panRange = 30, p.resonanceRange = 10;
    p.noiseRange = 20;
    p.lowpassCutoff = 70, p.filterQ = 10, p.filterDepth = 1, p.overdrive = 10;
    p.speed = 38, p.stdDev = 20, p.reflection = 50, p.attract = 70, p.repel = 30;
    p.proximity = 30;
    p.oscillatorCount = 5;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {0.6, 0.75}, {1, 1}}).sustain(0.9).times(0.28, 1, 0.4);
    p.envelopes[kPitchEnv] =
        shape({{0, 0.4}, {1, 0.5}}).sustain(0.5).releaseTo(0.46).times(0.25, 0.3, 0.4).range(2);
    p.envelopes[kNoiseEnv] =
        shape({{0, 0.75}, {1, 0.5}}).sustain(0.5).times(0.25, 0.4, 0.4).range(15);
    p.portamentoTime = 80;
    return p;
}

// Wind passing by: a gust of rushing air that swells, sweeps across and fades.
constexpr Patch passingGust()
{
    Patch p = basePatch("Passing Gust", 1919);
    p.volumeHome = 100, p.coarseTune = -12, p.panHome = 40, p.resonanceHome = 36, p.noiseHome = 70;
    p.volumeRange = 38, p.pitchRange = 49, p.panRange = 8, p.resonanceRange = 100;
    p.noiseRange = 32;
    p.lowpassCutoff = 100, p.filterQ = 1, p.filterDepth = 1, p.overdrive = 0;
    p.speed = 98, p.stdDev = 0, p.reflection = 28, p.attract = 80, p.repel = 58;
    p.proximity = 14;
    p.oscillatorCount = 8;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {1, 1}}).sustain(0).times(0.324, 0.8, 0.424);
    p.envelopes[kPanEnv] =
        shape({{0, 0.1}, {1, 0.9}}).sustain(0.9).releaseTo(0.95).times(1.5, 1, 0.424).range(60);
    p.phaseCorrelation = 0;
    p.trailLength = 16;
    return p;
}

// A pizzicato string: a short, round pluck.
constexpr Patch pizzicato()
{
    Patch p = basePatch("Pizzicato", 1723);
    p.volumeHome = 95, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 32, p.noiseHome = 4;
    p.volumeRange = 5, p.pitchRange = 4, p.panRange = 40, p.resonanceRange = 10;
    p.noiseRange = 5;
    p.lowpassCutoff = 86, p.filterQ = 5, p.filterDepth = 1, p.overdrive = 0;
    p.speed = 20, p.stdDev = 30, p.reflection = 50, p.attract = 50, p.repel = 50;
    p.proximity = 40;
    p.oscillatorCount = 3;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.4, 0.85}, {1, 0.72}}).sustain(0).times(0.006, 0.07, 0.1);
    p.envelopes[kResonanceEnv] =
        shape({{0, 0.8}, {1, 0.5}}).sustain(0.4).releaseTo(0.4).times(0.01, 0.1, 0.1).range(15);
    return p;
}

// A haunted organ: a steady, driven drone whose pitch creeps and sags.
constexpr Patch possessedOrgan()
{
    Patch p = basePatch("Possessed Organ", 6666);
    p.volumeHome = 70, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 40, p.noiseHome = 10;
    p.volumeRange = 0, p.pitchRange = 0, p.panRange = 100, p.resonanceRange = 0;
    p.noiseRange = 0;
    p.lowpassCutoff = 84, p.filterQ = 10, p.filterDepth = 1, p.overdrive = 60;
    p.speed = 45, p.stdDev = 60, p.reflection = 50, p.attract = 40, p.repel = 60;
    p.proximity = 50;
    p.oscillatorCount = 8;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {1, 1}}).sustain(1).times(0.03, 0.5, 0.3);
    p.envelopes[kPitchEnv] = shape({{0, 0.5}, {0.3, 0.5}, {0.6, 0.58}, {1, 0.46}})
                                 .sustain(0.5)
                                 .releaseTo(0.3)
                                 .times(3, 2, 0.3)
                                 .range(1);
    p.reseedMode = 0;
    return p;
}

// A massive, driven bass: a wall of low, detuned saw-like voices.
constexpr Patch powerBass()
{
    Patch p = basePatch("Power Bass", 1100);
    p.volumeHome = 80, p.coarseTune = -24, p.panHome = 0, p.resonanceHome = 42, p.noiseHome = 6;
    p.volumeRange = 10, p.pitchRange = 8, p.panRange = 40, p.resonanceRange = 15;
    p.noiseRange = 10;
    p.lowpassCutoff = 66, p.filterQ = 25, p.filterDepth = 1, p.overdrive = 55;
    p.speed = 36, p.stdDev = 40, p.reflection = 50, p.attract = 40, p.repel = 60;
    p.proximity = 50;
    p.oscillatorCount = 16;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.5, 1}, {1, 0.95}}).sustain(0.85).times(0.008, 0.5, 0.1);
    p.polyphonic = 0, p.portamentoTime = 35;
    return p;
}

// A resonant rip: a screaming filter-like sweep tearing down through the note.
constexpr Patch resonantRip()
{
    Patch p = basePatch("Resonant Rip", 2112);
    p.volumeHome = 75, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 50, p.noiseHome = 25;
    p.volumeRange = 20, p.pitchRange = 6, p.panRange = 60, p.resonanceRange = 30;
    p.noiseRange = 30;
    p.lowpassCutoff = 90, p.filterQ = 100, p.filterDepth = 0, p.overdrive = 45;
    p.speed = 50, p.stdDev = 50, p.reflection = 60, p.attract = 50, p.repel = 50;
    p.proximity = 50;
    p.oscillatorCount = 8;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.2, 1}, {1, 0.8}}).sustain(0.4).times(0.02, 0.5, 0.2);
    p.envelopes[kResonanceEnv] = shape({{0, 1}, {0.3, 0.8}, {1, 0.1}})
                                     .sustain(0.3)
                                     .releaseTo(0.1)
                                     .times(0.6, 0.8, 0.2)
                                     .range(45);
    p.envelopes[kNoiseEnv] =
        shape({{0, 0.9}, {1, 0.4}}).sustain(0.5).releaseTo(0.5).times(0.3, 0.3, 0.2).range(20);
    return p;
}

// A gated pulse: the flock freezes and lunges twice per beat of the host tempo.
constexpr Patch rhythmic()
{
    Patch p = basePatch("Rhythmic", 1600);
    p.volumeHome = 85, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 40, p.noiseHome = 15;
    p.volumeRange = 90, p.pitchRange = 6, p.panRange = 80, p.resonanceRange = 60;
    p.noiseRange = 30;
    p.lowpassCutoff = 90, p.filterQ = 30, p.filterDepth = 1, p.overdrive = 20;
    p.speed = 62, p.stdDev = 20, p.reflection = 50, p.attract = 50, p.repel = 50;
    p.proximity = 50;
    p.oscillatorCount = 8;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {1, 1}}).sustain(1).times(0.01, 0.5, 0.15);
    p.lfoDepth = 100, p.lfoSine = 0, p.lfoMeasure = 6, p.syncToHost = 1;
    return p;
}

// A reedy saxophone with a breathy bite at the start of each note.
constexpr Patch saxophone()
{
    Patch p = basePatch("Saxophone", 1959);
    p.volumeHome = 90, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 46, p.noiseHome = 28;
    p.volumeRange = 10, p.pitchRange = 5, p.panRange = 20, p.resonanceRange = 15;
    p.noiseRange = 25;
    p.lowpassCutoff = 84, p.filterQ = 25, p.filterDepth = 1, p.overdrive = 30;
    p.speed = 30, p.stdDev = 30, p.reflection = 50, p.attract = 80, p.repel = 20;
    p.proximity = 20;
    p.oscillatorCount = 4;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.3, 0.9}, {0.6, 0.75}, {1, 0.95}}).sustain(0.85).times(0.07, 0.8, 0.15);
    p.envelopes[kPitchEnv] =
        shape({{0, 0.42}, {1, 0.5}}).sustain(0.5).releaseTo(0.45).times(0.08, 0.3, 0.15).range(2);
    p.envelopes[kNoiseEnv] = shape({{0, 0.9}, {0.5, 0.6}, {1, 0.5}})
                                 .sustain(0.5)
                                 .releaseTo(0.7)
                                 .times(0.1, 0.3, 0.15)
                                 .range(25);
    p.polyphonic = 0, p.portamentoTime = 40;
    return p;
}

// A shrieking bird of prey: a piercing, resonant screech bending up.
constexpr Patch shreek()
{
    Patch p = basePatch("Shreek", 7777);
    p.volumeHome = 55, p.coarseTune = 24, p.panHome = 0, p.resonanceHome = 88, p.noiseHome = 12;
    p.volumeRange = 25, p.pitchRange = 14, p.panRange = 60, p.resonanceRange = 20;
    p.noiseRange = 20;
    p.lowpassCutoff = 100, p.filterQ = 85, p.filterDepth = 1, p.overdrive = 75;
    p.speed = 66, p.stdDev = 60, p.reflection = 70, p.attract = 60, p.repel = 40;
    p.proximity = 40;
    p.oscillatorCount = 6;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.3, 1}, {1, 0.8}}).sustain(0.7).times(0.05, 0.6, 0.15);
    p.envelopes[kPitchEnv] = shape({{0, 0.35}, {0.7, 0.55}, {1, 0.5}})
                                 .sustain(0.52)
                                 .releaseTo(0.4)
                                 .times(0.2, 1, 0.15)
                                 .range(7);
    return p;
}

// A siren: one wailing tone sweeping up and down, over and over.
constexpr Patch siren()
{
    Patch p = basePatch("Siren", 1122);
    p.volumeHome = 75, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 30, p.noiseHome = 0;
    p.volumeRange = 0, p.pitchRange = 0, p.panRange = 20, p.resonanceRange = 10;
    p.noiseRange = 0;
    p.lowpassCutoff = 92, p.filterQ = 20, p.filterDepth = 1, p.overdrive = 35;
    p.speed = 25, p.stdDev = 0, p.reflection = 50, p.attract = 50, p.repel = 50;
    p.proximity = 50;
    p.oscillatorCount = 2;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {1, 1}}).sustain(1).times(0.05, 0.5, 0.4);
    p.envelopes[kPitchEnv] = shape({{0, 0.3},
                                    {0.125, 0.8},
                                    {0.25, 0.3},
                                    {0.375, 0.8},
                                    {0.5, 0.3},
                                    {0.625, 0.8},
                                    {0.75, 0.3},
                                    {0.875, 0.8},
                                    {1, 0.3}})
                                 .sustain(0.3)
                                 .releaseTo(0.1)
                                 .times(6, 1, 0.4)
                                 .range(10);
    p.polyphonic = 0;
    return p;
}

// A soft, gentle organ: a round, steady, flute-like tone.
constexpr Patch softOrgan()
{
    Patch p = basePatch("Soft Organ", 1750);
    p.volumeHome = 95, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 14, p.noiseHome = 2;
    p.volumeRange = 0, p.pitchRange = 0, p.panRange = 50, p.resonanceRange = 0;
    p.noiseRange = 0;
    p.lowpassCutoff = 78, p.filterQ = 0, p.filterDepth = 1, p.overdrive = 0;
    p.speed = 20, p.stdDev = 30, p.reflection = 50, p.attract = 50, p.repel = 50;
    p.proximity = 50;
    p.oscillatorCount = 6;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {1, 0.85}}).sustain(0.85).times(0.03, 0.5, 0.15);
    return p;
}

// A haunted-house organ: hollow, slightly sour, with a long ghostly fade.
constexpr Patch spookyOrgan()
{
    Patch p = basePatch("Spooky Organ", 1408);
    p.volumeHome = 85, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 28, p.noiseHome = 12;
    p.volumeRange = 0, p.pitchRange = 0, p.panRange = 80, p.resonanceRange = 0;
    p.noiseRange = 0;
    p.lowpassCutoff = 82, p.filterQ = 35, p.filterDepth = 2, p.overdrive = 35;
    p.speed = 28, p.stdDev = 40, p.reflection = 50, p.attract = 50, p.repel = 50;
    p.proximity = 50;
    p.oscillatorCount = 8;
    p.fineTune = -18;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {1, 1}}).sustain(1).times(0.06, 0.5, 0.9);
    p.envelopes[kNoiseEnv] = steady(0.5).range(8);
    p.reseedMode = 0;
    return p;
}

// An acid squelch: a low, rubbery resonant line that squeaks and glides.
constexpr Patch squelchy()
{
    Patch p = basePatch("Squelchy", 303);
    p.volumeHome = 80, p.coarseTune = -12, p.panHome = 0, p.resonanceHome = 30, p.noiseHome = 5;
    p.volumeRange = 10, p.pitchRange = 3, p.panRange = 20, p.resonanceRange = 20;
    p.noiseRange = 5;
    p.lowpassCutoff = 80, p.filterQ = 100, p.filterDepth = 1, p.overdrive = 40;
    p.speed = 35, p.stdDev = 30, p.reflection = 50, p.attract = 50, p.repel = 50;
    p.proximity = 40;
    p.oscillatorCount = 4;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.5, 1}, {1, 0.9}}).sustain(0.45).times(0.01, 0.25, 0.1);
    p.envelopes[kResonanceEnv] =
        shape({{0, 1}, {1, 0.9}}).sustain(0.2).releaseTo(0.2).times(0.02, 0.15, 0.1).range(45);
    p.polyphonic = 0, p.portamentoTime = 70;
    return p;
}

// A string section: many bowed voices, gently detuned and wide.
constexpr Patch stringPad()
{
    Patch p = basePatch("String Pad", 1791);
    p.volumeHome = 90, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 45, p.noiseHome = 8;
    p.volumeRange = 12, p.pitchRange = 7, p.panRange = 90, p.resonanceRange = 12;
    p.noiseRange = 10;
    p.lowpassCutoff = 86, p.filterQ = 10, p.filterDepth = 1, p.overdrive = 4;
    p.speed = 40, p.stdDev = 40, p.reflection = 50, p.attract = 40, p.repel = 60;
    p.proximity = 55;
    p.oscillatorCount = 20;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {0.6, 0.8}, {1, 1}}).sustain(0.9).times(0.8, 1.5, 1);
    p.envelopes[kPitchRangeEnv] = shape({{0, 0.6}, {1, 1}}).sustain(1).times(0.8, 0.5, 1);
    p.phaseCorrelation = 0, p.redistributionTime = 800;
    return p;
}

// A thunderclap: a deep, churning roar of noise rumbling in waves.
constexpr Patch thunderclap()
{
    Patch p = basePatch("Thunderclap", 1752);
    p.volumeHome = 100, p.coarseTune = -24, p.panHome = 0, p.resonanceHome = 31, p.noiseHome = 50;
    p.volumeRange = 100, p.pitchRange = 100, p.panRange = 100, p.resonanceRange = 100;
    p.noiseRange = 100;
    p.lowpassCutoff = 51, p.filterQ = 20, p.filterDepth = 0, p.overdrive = 100;
    p.speed = 100, p.stdDev = 4, p.reflection = 59, p.attract = 94, p.repel = 100;
    p.proximity = 31;
    p.oscillatorCount = 15;
    p.envelopes[kVolumeEnv] = shape({{0, 0},
                                     {1.0f / 7, 1},
                                     {2.0f / 7, 0.5306},
                                     {3.0f / 7, 0.8776},
                                     {4.0f / 7, 0.3673},
                                     {5.0f / 7, 0.6531},
                                     {6.0f / 7, 0.1837},
                                     {1, 0.4082}})
                                  .sustain(0)
                                  .times(0.5, 1, 0.2);
    p.phaseCorrelation = 0;
    p.trailLength = 20, p.trailWidth = 6;
    return p;
}

// Tuned percussion, marimba-like: a soft mallet knock on a wooden bar.
constexpr Patch tunedPerc()
{
    Patch p = basePatch("Tuned Perc", 1492);
    p.volumeHome = 95, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 8, p.noiseHome = 3;
    p.volumeRange = 0, p.pitchRange = 2, p.panRange = 30, p.resonanceRange = 5;
    p.noiseRange = 5;
    p.lowpassCutoff = 92, p.filterQ = 0, p.filterDepth = 1, p.overdrive = 0;
    p.speed = 15, p.stdDev = 20, p.reflection = 50, p.attract = 50, p.repel = 50;
    p.proximity = 50;
    p.oscillatorCount = 2;
    p.envelopes[kVolumeEnv] =
        shape({{0, 0}, {0.5, 0.85}, {1, 0.77}}).sustain(0).times(0.003, 0.11, 0.15);
    p.envelopes[kResonanceEnv] =
        shape({{0, 1}, {1, 0.5}}).sustain(0.5).releaseTo(0.5).times(0.01, 0.05, 0.1).range(40);
    p.envelopes[kPitchEnv] =
        shape({{0, 0.54}, {1, 0.5}}).sustain(0.5).releaseTo(0.5).times(0.01, 0.1, 0.1).range(12);
    return p;
}

// A swarm of voices singing vowels as the flock roams through resonance.
constexpr Patch vowelSwarm()
{
    Patch p = basePatch("Vowel Swarm", 2525);
    p.volumeHome = 85, p.coarseTune = 0, p.panHome = 0, p.resonanceHome = 48, p.noiseHome = 10;
    p.volumeRange = 15, p.pitchRange = 6, p.panRange = 90, p.resonanceRange = 85;
    p.noiseRange = 15;
    p.lowpassCutoff = 92, p.filterQ = 50, p.filterDepth = 1, p.overdrive = 10;
    p.speed = 38, p.stdDev = 10, p.reflection = 50, p.attract = 90, p.repel = 10;
    p.proximity = 10;
    p.oscillatorCount = 16;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {0.5, 0.8}, {1, 1}}).sustain(0.9).times(0.2, 1, 0.4);
    p.envelopes[kResonanceEnv] = shape({{0, 0.2}, {0.25, 0.8}, {0.5, 0.35}, {0.75, 0.9}, {1, 0.5}})
                                     .sustain(0.5)
                                     .releaseTo(0.3)
                                     .times(2, 1, 0.4)
                                     .range(25);
    p.trailLength = 8;
    viewAxes(p, 3, 1, 0, 2, 4);
    return p;
}

// A wobble bass: a low growl lurching open and shut twice per beat of the tempo.
constexpr Patch wobbleBass()
{
    Patch p = basePatch("Wobble Bass", 4040);
    p.volumeHome = 80, p.coarseTune = -24, p.panHome = 0, p.resonanceHome = 40, p.noiseHome = 10;
    p.volumeRange = 50, p.pitchRange = 3, p.panRange = 20, p.resonanceRange = 90;
    p.noiseRange = 20;
    p.lowpassCutoff = 68, p.filterQ = 60, p.filterDepth = 1, p.overdrive = 45;
    p.speed = 52, p.stdDev = 0, p.reflection = 50, p.attract = 80, p.repel = 20;
    p.proximity = 20;
    p.oscillatorCount = 4;
    p.envelopes[kVolumeEnv] = shape({{0, 0}, {1, 1}}).sustain(0.95).times(0.01, 0.5, 0.12);
    p.lfoDepth = 95, p.lfoSine = 1, p.lfoMeasure = 6, p.syncToHost = 1;
    p.polyphonic = 0, p.portamentoTime = 40;
    return p;
}

// clang-format off
constexpr Patch kRecords[FactoryBank::kPresetCount] = {
    brass(), buzzMania(), cheeky(), chewbacca(),
    clarinet(), cosmicKazooPiano(), crazySaw(), crunchy(),
    digiTamba(), dischord(), drunkPixies(), enola(),
    filthBass(), firework(), freakyNote(), funkySlap(),
    gentleGong(), ghostlyWail(), growingBass(), harpsichord(),
    heroicHorn(), highAndDangerous(), juicyPlastic(), kickBass(),
    largePad(), madPad(), metallicThwack(), mullingHorn(),
    passingGust(), pizzicato(), possessedOrgan(), powerBass(),
    resonantRip(), rhythmic(), saxophone(), shreek(),
    siren(), softOrgan(), spookyOrgan(), squelchy(),
    stringPad(), thunderclap(), tunedPerc(), vowelSwarm(),
    wobbleBass(),
};
// clang-format on

constexpr bool sameText(const char* a, const char* b)
{
    for (; *a != 0 || *b != 0; ++a, ++b)
        if (*a != *b)
            return false;
    return true;
}

constexpr bool recordsMatchNames()
{
    for (int i = 0; i < FactoryBank::kPresetCount; ++i)
        if (!sameText(kRecords[i].name, kNames[i]))
            return false;
    return true;
}
static_assert(recordsMatchNames(), "each factory record carries its name-table entry");

} // namespace

namespace FactoryBank {

int32_t count()
{
    return kPresetCount;
}

const char* name(int32_t index)
{
    return kNames[index];
}

const Patch& record(int32_t index)
{
    return kRecords[index];
}

} // namespace FactoryBank
