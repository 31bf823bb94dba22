// Which notes the on-screen keyboard shows as sounding, and which keys wait
// to be repainted. The synth reports notes from its note handling on the
// audio thread (and a reset from either thread); the keyboard's painting on
// the UI thread reads the held bytes and takes the pending keys. Lock-free
// and allocation-free on both sides: plain atomic bytes, counters and flags.
//
// Pending keys: at most 120 reports wait for a repaint; a report beyond
// that still updates the held byte but queues nothing, and instead marks
// the display for one full repaint, so no key is left showing a stale state.
#pragma once

#include <atomic>
#include <cstdint>

class KeyboardDisplay {
public:
    enum { kNotes = 128, kMaxPending = 120 };

    KeyboardDisplay();

    // Any thread. The note (0..127; others are ignored) is shown held or
    // released; while the window is open the key is queued for a repaint.
    void showNote(int32_t note, bool held);
    // Any thread. Every note released; while the window is open the whole
    // keyboard is marked for a full repaint.
    void clear();

    // UI thread: whether the keyboard's window exists (reports made while it
    // does not are only remembered in the held bytes).
    void setWindowOpen(bool open);

    bool isHeld(int32_t note) const
    {
        return note >= 0 && note < kNotes && held[note].load(std::memory_order_relaxed) != 0;
    }
    // How many reports wait for a repaint (0..120).
    int32_t pendingCount() const;

    // UI thread. True once after reports were queued or a full repaint was
    // asked for; `full` tells whether the whole keyboard must be drawn.
    bool takeRepaintRequest(bool& full);
    // UI thread, from the paint: the pending notes in ascending order into
    // `notes` (room for 128), the list emptied; returns their count.
    int32_t takePending(int32_t* notes);
    // UI thread, from a full repaint: forgets the pending notes.
    void discardPending();

private:
    std::atomic<uint8_t> held[kNotes];
    std::atomic<uint8_t> queued[kNotes];
    std::atomic<int32_t> pending{0};
    std::atomic<bool> windowOpen{false};
    std::atomic<bool> repaintRequest{false};
    std::atomic<bool> fullRepaintRequest{false};
};
