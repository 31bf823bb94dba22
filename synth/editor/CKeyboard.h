// The on-screen keyboard at the foot of the editor: five octaves from note
// 36, seven 16-pixel white-key columns per octave. For now it draws plain
// keys and marks the notes the synth reports as sounding; playing with the
// mouse comes with its key-column artwork.
//
// Threads: showNoteOn/Off and clear may come from the audio thread; they
// store bytes and raise a flag that the editor's idle turns into a repaint.
#pragma once

#include "CControl.h"

#include <atomic>
#include <cstdint>

class CKeyboard : public CControl {
public:
    enum { kLowestNote = 36, kHighestNote = 95, kColumnWidth = 16 };

    explicit CKeyboard(SynthInterface* synth);
    ~CKeyboard() override;

    const char* className() const override { return "CKeyboard"; }
    void paint(HDC dc, const PAINTSTRUCT& ps) override;
    bool eraseBackground(HDC) override { return true; } // paint covers everything

    void showNoteOn(int32_t note) { show(note, 1); }
    void showNoteOff(int32_t note) { show(note, 0); }
    void clear();
    // True once after the held notes changed.
    bool takeChanged() { return changed.exchange(false, std::memory_order_relaxed); }

private:
    void show(int32_t note, uint8_t on);

    std::atomic<uint8_t> held[128];
    std::atomic<bool> changed{false};
    HBRUSH whiteKey, blackKey, heldKey, frame;
};
