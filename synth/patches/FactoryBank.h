// The factory bank: 45 preset programs compiled into the instrument, in
// alphabetical order. The editor's Presets menu lists their names and loads
// a record through SynthInterface::loadPresetRecord; the build also writes
// each record as a preset file (see tools/presetwriter).
#pragma once

#include "Patch.h"

#include <cstdint>

namespace FactoryBank {

enum { kPresetCount = 45 };

// Number of presets, 45.
int32_t count();
// Name of preset `index` (0..44), equal to its record's name.
const char* name(int32_t index);
// The constant record of preset `index` (0..44), 1908 bytes.
const Patch& record(int32_t index);

} // namespace FactoryBank
