// A host's list of MIDI events for one processing call, as a plug-in's
// effProcessEvents receives it: the VstEvents record followed by its
// pointer array (which runs past the two entries the record declares) and
// the events themselves. Room is allocated once, for `capacity` events, so
// filling and sending the list never allocates.
#pragma once

#include "Vst2Interface.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

class MidiEventList {
public:
    explicit MidiEventList(size_t capacity = 256)
        : midi(capacity), words(sizeof(VstEvents) / sizeof(intptr_t) + capacity)
    {
    }

    void clear() { count = 0; }
    size_t size() const { return count; }
    bool full() const { return count >= midi.size(); }

    // Appends a short message (data bytes as given, not masked) and returns
    // it for callers that want to set other fields. A full list drops the
    // event (the reference is then to scratch space).
    VstMidiEvent& add(int32_t deltaFrames, uint8_t status, uint8_t data1 = 0, uint8_t data2 = 0)
    {
        VstMidiEvent& m = full() ? dropped : midi[count++];
        std::memset(&m, 0, sizeof m);
        m.type = kVstMidiType;
        m.byteSize = sizeof(VstMidiEvent);
        m.deltaFrames = deltaFrames;
        m.midiData[0] = static_cast<char>(status);
        m.midiData[1] = static_cast<char>(data1);
        m.midiData[2] = static_cast<char>(data2);
        return m;
    }

    // The record to send; valid until the list changes.
    VstEvents* events()
    {
        VstEvents* list = reinterpret_cast<VstEvents*>(words.data());
        list->numEvents = static_cast<int32_t>(count);
        list->reserved = 0;
        VstEvent** slots = reinterpret_cast<VstEvent**>(reinterpret_cast<char*>(list) +
                                                        offsetof(VstEvents, events));
        for (size_t i = 0; i < count; ++i)
            slots[i] = reinterpret_cast<VstEvent*>(&midi[i]);
        return list;
    }

private:
    std::vector<VstMidiEvent> midi;
    std::vector<intptr_t> words;
    VstMidiEvent dropped{};
    size_t count = 0;
};
