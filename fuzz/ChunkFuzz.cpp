// A host restores a chunk of arbitrary bytes (mostly of the right size), then
// plays notes over it: the instrument must render finite audio, keep the
// stored bytes exactly, and survive every later read of the record.
#include "SynthFuzzRig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzrig::SynthRig rig;
    std::vector<unsigned char> chunk(data, data + size);
    if (!chunk.empty() && (chunk[0] & 0x0F) != 0x0F)
        chunk.resize(sizeof(Patch)); // a right-sized record, padded with zeros
    rig.dispatch(effSetChunk, 0, static_cast<intptr_t>(chunk.size()), chunk.data());

    if (chunk.size() == sizeof(Patch)) {
        void* stored = nullptr;
        intptr_t n = rig.dispatch(effGetChunk, 0, 0, &stored);
        if (n != static_cast<intptr_t>(sizeof(Patch)) || !stored ||
            std::memcmp(stored, chunk.data(), sizeof(Patch)) != 0) {
            std::fprintf(stderr, "the chunk did not come back as stored\n");
            std::abort();
        }
    }
    char text[256];
    for (int32_t i = 0; i < 101; ++i) {
        rig.dispatch(effGetParamDisplay, i, 0, text);
        rig.e->getParameter(rig.e, i);
    }
    rig.noteOn(60, 100);
    rig.noteOn(64, 127, 17);
    rig.noteOn(67, 1, 500);
    for (int block = 0; block < 6; ++block)
        rig.render(1024, block & 1);
    // Controllers and pitch bend read the stored map and ranges.
    FuzzInput in(data, size);
    rig.sendEvents(in, 40);
    rig.render(2048);
    rig.dispatch(effMainsChanged, 0, 0);
    rig.dispatch(effMainsChanged, 0, 1);
    rig.render(512);
    return 0;
}
