// Entry point of the quenvarel plug-in: the host calls it with its callback
// (UI thread) and gets the effect's record, or null when the host reports no
// VST version or the effect cannot be created.
#include "FilterEffect.h"
#include "PluginEntry.h"

#include <new>

namespace {
AEffect* createQuenvarel(audioMasterCallback audioMaster)
{
    // Asked before any effect exists, so the record argument is null. Without
    // a callback there is nobody to ask; the effect base then answers every
    // host request with its defaults.
    if (audioMaster && audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    FilterEffect* effect = new (std::nothrow) FilterEffect(audioMaster);
    return effect ? effect->getAeffect() : nullptr;
}
} // namespace

NIMBULATOR_PLUGIN_ENTRY(createQuenvarel)
