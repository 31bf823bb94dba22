// Arbitrary parameter traffic: any index, any float (NaN, infinities,
// denormals, +-1e30), displays and names of every kind, with notes sounding
// and blocks rendered in between.
#include "SynthFuzzRig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzrig::SynthRig rig;
    FuzzInput in(data, size);
    rig.noteOn(48, 90);
    rig.noteOn(55, 90);
    int steps = 0;
    while (!in.empty() && steps++ < 200) {
        uint8_t op = in.byte();
        int32_t index = (op & 0x80) ? static_cast<int32_t>(in.dword()) : in.byte() % 110;
        char text[256];
        switch (op % 4) {
        case 0:
        case 1:
            rig.e->setParameter(rig.e, index, in.parameterValue());
            break;
        case 2:
            rig.dispatch(effGetParamDisplay, index, 0, text);
            rig.dispatch(effGetParamName, index, 0, text);
            rig.dispatch(effGetParamLabel, index, 0, text);
            rig.e->getParameter(rig.e, index);
            break;
        default:
            rig.render(in.word() % 4097);
            break;
        }
    }
    rig.render(2048);
    return 0;
}
