// Where note sources (computer keys, on-screen keyboard) send their notes.
#pragma once

#include <cstdint>

class NoteReceiver {
public:
    virtual ~NoteReceiver() = default;
    virtual void noteOn(int32_t note, int32_t velocity) = 0; // audio thread
    virtual void noteOff(int32_t note) = 0;                  // audio thread
};
