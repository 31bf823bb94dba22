#include "MidiEventQueue.h"

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
        for (int32_t i = 0; i < events->numEvents && count < kCapacity; ++i) {
            const VstEvent* e = events->events[i];
            if (!e || e->type != kVstMidiType)
                continue;
            std::memcpy(&entries[count], e, sizeof(VstMidiEvent));
            ++count;
        }
    }
    entries[count].deltaFrames = kEndMark;
}
