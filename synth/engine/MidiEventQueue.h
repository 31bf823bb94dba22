// The MIDI events of the coming block: verbatim copies of the host's event
// records (at most 100, then an end mark), read in order by the renderer
// once each event's sample offset is reached. Filled by processEvents and
// read by processing, both on the audio thread.
#pragma once

#include "Vst2Interface.h"

#include <cstdint>

class MidiEventQueue {
public:
    enum { kCapacity = 100 };
    static const int32_t kEndMark = 0xFFFFFF;

    MidiEventQueue() { clear(); }

    void clear();
    // Copies the MIDI events of `events` (others are skipped, the surplus
    // beyond 100 dropped). Null and malformed lists are taken as empty.
    void fill(const VstEvents* events);

    // The next event due at or before sample s of the block, or null.
    inline const VstMidiEvent* nextDue(int32_t s)
    {
        if (readPosition >= count)
            return nullptr;
        const VstMidiEvent& e = entries[readPosition];
        if (e.deltaFrames > s)
            return nullptr;
        ++readPosition;
        return &e;
    }

    // The delta frame of the next event not yet read (the end mark when none).
    int32_t nextFrame() const
    {
        return readPosition < count ? entries[readPosition].deltaFrames : kEndMark;
    }

    int32_t size() const { return count; }
    int32_t position() const { return readPosition; }

private:
    VstMidiEvent entries[kCapacity + 1];
    int32_t readPosition = 0;
    int32_t count = 0;
};
