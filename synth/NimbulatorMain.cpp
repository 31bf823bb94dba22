// Entry point of the instrument plug-in.
#include "PluginEntry.h"
#include "VstXSynth.h"

#include <new>

namespace {
AEffect* createNimbulator(audioMasterCallback master)
{
    // A host that cannot tell its version (or passes no callback) gets nothing.
    if (!master || master(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    VstXSynth* synth = new (std::nothrow) VstXSynth(master);
    return synth ? synth->getAeffect() : nullptr;
}
} // namespace

NIMBULATOR_PLUGIN_ENTRY(createNimbulator)
