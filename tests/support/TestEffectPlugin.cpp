// A plug-in made of the bare effect base, for testing the base through the
// binary interface. It passes its input through (process adds, replacing
// overwrites) and reports when it is destroyed.
#include "AudioEffectX.h"
#include "PluginEntry.h"

namespace {
class TestEffect : public AudioEffectX {
public:
    explicit TestEffect(audioMasterCallback master) : AudioEffectX(master, 1, 2) {}
    void process(float** inputs, float** outputs, VstInt32 frames) override
    {
        for (int c = 0; c < 2; ++c)
            for (VstInt32 i = 0; i < frames; ++i)
                outputs[c][i] += inputs[0][i];
    }
    void processReplacing(float** inputs, float** outputs, VstInt32 frames) override
    {
        for (int c = 0; c < 2; ++c)
            for (VstInt32 i = 0; i < frames; ++i)
                outputs[c][i] = inputs[0][i];
    }
};

AEffect* createTestEffect(audioMasterCallback master)
{
    return (new TestEffect(master))->getAeffect();
}
} // namespace

NIMBULATOR_PLUGIN_ENTRY(createTestEffect)
