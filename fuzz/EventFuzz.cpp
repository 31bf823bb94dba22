// Arbitrary event streams from a host (any type, size, delta frame and data
// bytes, more events than the queue holds, events past the block)
// interleaved with blocks of 0 to 8192 frames and occasional suspends.
#include "SynthFuzzRig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzrig::SynthRig rig;
    FuzzInput in(data, size);
    int steps = 0;
    while (!in.empty() && steps++ < 48) {
        uint8_t op = in.byte();
        switch (op % 6) {
        case 0:
        case 1:
            rig.sendEvents(in, in.byte() % 160);
            break;
        case 2:
        case 3:
            rig.render(in.word() % 8193, op & 0x10);
            break;
        case 4:
            rig.dispatch(effMainsChanged, 0, op & 0x20 ? 1 : 0);
            break;
        default:
            rig.dispatch(effSetProgram, 0, in.byte() % 40);
            break;
        }
    }
    rig.render(4096);
    return 0;
}
