// Resource ids of the instrument's editor: shared by the resource script and
// the editor code. Plain defines, so the resource compiler reads this too.
#pragma once

#define IDD_EDITOR 102
#define IDD_SYNTHESIS_OPTIONS 128
#define IDD_VISUALISATION_OPTIONS 129
#define IDD_SEEDING_OPTIONS 130
#define IDB_AXIS_LEGEND 132
#define IDD_SPEED_LFO 146
// The speed LFO's measure pictures: 145..149 the plain note values (whole
// to sixteenth), 150..153 the dotted ones between them.
#define IDB_MEASURE_WHOLE 145
#define IDB_MEASURE_HALF 146
#define IDB_MEASURE_QUARTER 147
#define IDB_MEASURE_EIGHTH 148
#define IDB_MEASURE_SIXTEENTH 149
#define IDB_MEASURE_DOTTED_HALF 150
#define IDB_MEASURE_DOTTED_QUARTER 151
#define IDB_MEASURE_DOTTED_EIGHTH 152
#define IDB_MEASURE_DOTTED_SIXTEENTH 153
#define IDD_MIDI_MAP 131
#define IDB_BACKGROUND 103
#define IDB_HUE_LEGEND 133
#define IDB_LUMINANCE_LEGEND 134
#define IDI_NIMBULATOR 135
#define IDB_KNOB_VOLUME 154
#define IDB_KNOB_PITCH 155
#define IDB_KNOB_PAN 156
#define IDB_KNOB_RESONANCE 157
#define IDB_KNOB_NOISE 158
#define IDB_KNOB_TUNE 159
#define IDB_KNOB_SMALL 160
#define IDB_HYPERSPACE 161
#define IDD_ABOUT 147
#define IDB_ABOUT_TITLE 162
// Hyperspace cursors: 2000 + (hue x 16 + luminance) x 7 + size, up to 3791.
#define IDC_HYPERSPACE_FIRST 2000
// The keyboard's column pictures (16 x 60, 8 bits per pixel), one per
// combination of held keys in a column (KeyboardGeometry::columnBitmap).
#define IDB_KEYS_EB_0 123
#define IDB_KEYS_EB_1 108
#define IDB_KEYS_EB_2 126
#define IDB_KEYS_EB_3 110
#define IDB_KEYS_CF_0 111
#define IDB_KEYS_CF_1 112
#define IDB_KEYS_CF_2 113
#define IDB_KEYS_CF_3 114
#define IDB_KEYS_DGA_0 115
#define IDB_KEYS_DGA_1 116
#define IDB_KEYS_DGA_2 117
#define IDB_KEYS_DGA_3 118
#define IDB_KEYS_DGA_4 119
#define IDB_KEYS_DGA_5 120
#define IDB_KEYS_DGA_6 121
#define IDB_KEYS_DGA_7 124
