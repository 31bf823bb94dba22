#include "MidiEventQueue.h"

#include <cstddef>
#include <cstring>

void MidiEventQueue::clear()
{
    readPosition = 0;
    count = 0;
    std::memset(entries, 0, sizeof entries);
    entries[0].deltaFrames = kEndMark;
}

void MidiEventQueue::fill(const VstEvents* events)
{
    readPosition = 0;
    count = 0;
    if (events) {
        // The record declares two pointers; a host allocates numEvents of them.
        const VstEvent* const* list = reinterpret_cast<const VstEvent* const*>(
            reinterpret_cast<const char*>(events) + offsetof(VstEvents, events));
        for (int32_t i = 0; i < events->numEvents && count < kCapacity; ++i) {
            const VstEvent* e = list[i];
            if (!e || e->type != kVstMidiType)
                continue;
            std::memcpy(&entries[count], e, sizeof(VstMidiEvent));
            ++count;
        }
    }
    entries[count].deltaFrames = kEndMark;
}
