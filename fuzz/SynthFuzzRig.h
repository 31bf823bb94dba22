// Shared by the instrument's fuzz targets: a started synth behind its own
// record, an event list a host would send, and the finiteness check.
#pragma once

#include "FuzzInput.h"
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

    // Sends `count` MIDI events built from the input, with any delta frame.
    void sendEvents(FuzzInput& in, int count)
    {
        static std::vector<VstMidiEvent> midi(512);
        static std::vector<unsigned char> storage(sizeof(VstEvents) + 512 * sizeof(VstEvent*));
        if (count > 512)
            count = 512;
        VstEvents* list = reinterpret_cast<VstEvents*>(storage.data());
        list->numEvents = count;
        list->reserved = 0;
        // The host's pointer array runs past the two entries the record declares.
        VstEvent** slots =
            reinterpret_cast<VstEvent**>(storage.data() + offsetof(VstEvents, events));
        for (int i = 0; i < count; ++i) {
            VstMidiEvent& m = midi[i];
            std::memset(&m, 0, sizeof m);
            uint8_t kind = in.byte();
            m.type = (kind & 0xC0) == 0xC0 ? static_cast<int32_t>(in.byte()) - 64 : kVstMidiType;
            m.byteSize = (kind & 0x20) ? static_cast<int32_t>(in.dword()) : 32;
            m.deltaFrames = (kind & 0x10) ? static_cast<int32_t>(in.dword())
                                          : static_cast<int32_t>(in.word() % 9000);
            static const uint8_t statuses[] = {0x90, 0x80, 0xB0, 0xE0, 0xC0, 0xD0, 0xA0, 0xF0};
            m.midiData[0] = static_cast<char>(
                (kind & 0x08) ? in.byte() : statuses[kind & 7] | (in.byte() & 15));
            m.midiData[1] = static_cast<char>(in.byte());
            m.midiData[2] = static_cast<char>(in.byte());
            m.midiData[3] = static_cast<char>(in.byte());
            slots[i] = reinterpret_cast<VstEvent*>(&m);
        }
        dispatch(effProcessEvents, 0, 0, list);
    }

    void noteOn(int note, int velocity, int delta = 0)
    {
        VstMidiEvent m{};
        m.type = kVstMidiType;
        m.byteSize = sizeof m;
        m.deltaFrames = delta;
        m.midiData[0] = static_cast<char>(0x90);
        m.midiData[1] = static_cast<char>(note);
        m.midiData[2] = static_cast<char>(velocity);
        struct {
            int32_t numEvents;
            intptr_t reserved;
            VstEvent* events[1];
        } list = {1, 0, {reinterpret_cast<VstEvent*>(&m)}};
        dispatch(effProcessEvents, 0, 0, &list);
    }

    VstXSynth* synth;
    AEffect* e;
};
} // namespace fuzzrig
