// Shared by the instrument's fuzz targets: a started synth behind its own
// record, an event list a host would send, and the finiteness check.
#pragma once

#include "FuzzInput.h"
#include "MidiEventList.h"
#include "VstXSynth.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace fuzzrig {
inline intptr_t VSTCALLBACK host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

class SynthRig {
public:
    SynthRig() : synth(new VstXSynth(host)), e(synth->getAeffect())
    {
        dispatch(effOpen);
        dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        dispatch(effSetBlockSize, 0, 8192);
        dispatch(effMainsChanged, 0, 1);
    }
    ~SynthRig() { dispatch(effClose); }

    intptr_t dispatch(int32_t op, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f)
    {
        return e->dispatcher(e, op, index, value, ptr, opt);
    }

    // Renders `frames` (0..8192) and aborts on any non-finite sample.
    void render(int32_t frames, bool replacing = true)
    {
        static std::vector<float> left(8192), right(8192);
        float* outs[] = {left.data(), right.data()};
        if (replacing)
            e->processReplacing(e, nullptr, outs, frames);
        else
            e->process(e, nullptr, outs, frames);
        for (int32_t i = 0; i < frames; ++i)
            if (!std::isfinite(left[i]) || !std::isfinite(right[i])) {
                std::fprintf(stderr, "non-finite output at frame %d: %g %g\n", i,
                             static_cast<double>(left[i]), static_cast<double>(right[i]));
                std::abort();
            }
    }

    // Sends `count` MIDI events built from the input, with any type, size,
    // delta frame and data bytes.
    void sendEvents(FuzzInput& in, int count)
    {
        static MidiEventList list(512);
        list.clear();
        for (int i = 0; i < count && !list.full(); ++i) {
            const uint8_t kind = in.byte();
            const int32_t type =
                (kind & 0xC0) == 0xC0 ? static_cast<int32_t>(in.byte()) - 64 : kVstMidiType;
            const int32_t byteSize = (kind & 0x20) ? static_cast<int32_t>(in.dword()) : 32;
            const int32_t delta = (kind & 0x10) ? static_cast<int32_t>(in.dword())
                                                : static_cast<int32_t>(in.word() % 9000);
            static const uint8_t statuses[] = {0x90, 0x80, 0xB0, 0xE0, 0xC0, 0xD0, 0xA0, 0xF0};
            const uint8_t status =
                (kind & 0x08) ? in.byte()
                              : static_cast<uint8_t>(statuses[kind & 7] | (in.byte() & 15));
            const uint8_t data1 = in.byte();
            const uint8_t data2 = in.byte();
            VstMidiEvent& m = list.add(delta, status, data1, data2);
            m.midiData[3] = static_cast<char>(in.byte());
            m.type = type;
            m.byteSize = byteSize;
        }
        dispatch(effProcessEvents, 0, 0, list.events());
    }

    void noteOn(int note, int velocity, int delta = 0)
    {
        MidiEventList list(1);
        list.add(delta, 0x90, static_cast<uint8_t>(note), static_cast<uint8_t>(velocity));
        dispatch(effProcessEvents, 0, 0, list.events());
    }

    VstXSynth* synth;
    AEffect* e;
};
} // namespace fuzzrig
