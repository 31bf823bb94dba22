// Builds without a window system have no editor.
#include "SynthEditor.h"

SynthEditor* createSynthEditor(AudioEffect*, SynthInterface*)
{
    return nullptr;
}
