// Entry point of the quenvarel plug-in: the host calls it with its callback
// (UI thread) and gets the effect's record, or null when the host reports no
// VST version or the effect cannot be created.
#include "FilterEffect.h"
#include "PluginEntry.h"
#if defined(_WIN32)
#include "FilterEditor.h"
#endif

#include <new>

namespace {
AEffect* createQuenvarel(audioMasterCallback audioMaster)
{
    // Asked before any effect exists, so the record argument is null. Without
    // a callback there is nobody to ask; the effect base then answers every
    // host request with its defaults.
    if (audioMaster && audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
#if defined(_WIN32)
    FilterEffect::EditorFactory makeEditor = FilterEditor::create;
#else
    FilterEffect::EditorFactory makeEditor = nullptr; // no editor window outside Windows
#endif
    FilterEffect* effect = new (std::nothrow) FilterEffect(audioMaster, makeEditor);
    if (effect && effect->editorFailed()) {
        delete effect;
        return nullptr;
    }
    return effect ? effect->getAeffect() : nullptr;
}
} // namespace

NIMBULATOR_PLUGIN_ENTRY(createQuenvarel)
