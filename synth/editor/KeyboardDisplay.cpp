#include "KeyboardDisplay.h"

// The pending list is kept as one "queued" byte per note plus a count of
// the reports since the last paint. Taking the list clears the count first
// and then each byte, so a report racing with a paint is either taken by
// that paint or stays queued with its repaint request raised: none is lost.

KeyboardDisplay::KeyboardDisplay()
{
    for (int32_t note = 0; note < kNotes; ++note) {
        held[note].store(0, std::memory_order_relaxed);
        queued[note].store(0, std::memory_order_relaxed);
    }
}

void KeyboardDisplay::showNote(int32_t note, bool on)
{
    if (note < 0 || note >= kNotes)
        return;
    held[note].store(on ? 1 : 0, std::memory_order_relaxed);
    if (!windowOpen.load(std::memory_order_relaxed))
        return;
    if (pending.load(std::memory_order_relaxed) >= kMaxPending) {
        fullRepaintRequest.store(true, std::memory_order_release);
        return;
    }
    pending.fetch_add(1, std::memory_order_relaxed);
    queued[note].store(1, std::memory_order_relaxed);
    repaintRequest.store(true, std::memory_order_release);
}

void KeyboardDisplay::clear()
{
    for (auto& h : held)
        h.store(0, std::memory_order_relaxed);
    if (!windowOpen.load(std::memory_order_relaxed))
        return;
    discardPending();
    fullRepaintRequest.store(true, std::memory_order_release);
}

void KeyboardDisplay::setWindowOpen(bool open)
{
    windowOpen.store(open, std::memory_order_relaxed);
    if (!open)
        return;
    // A new window paints everything anyway.
    discardPending();
    repaintRequest.store(false, std::memory_order_relaxed);
    fullRepaintRequest.store(false, std::memory_order_relaxed);
}

int32_t KeyboardDisplay::pendingCount() const
{
    const int32_t n = pending.load(std::memory_order_relaxed);
    return n < kMaxPending ? n : kMaxPending;
}

bool KeyboardDisplay::takeRepaintRequest(bool& full)
{
    full = fullRepaintRequest.exchange(false, std::memory_order_acquire);
    const bool some = repaintRequest.exchange(false, std::memory_order_acquire);
    return full || some;
}

int32_t KeyboardDisplay::takePending(int32_t* notes)
{
    pending.store(0, std::memory_order_relaxed);
    int32_t count = 0;
    for (int32_t note = 0; note < kNotes; ++note)
        if (queued[note].exchange(0, std::memory_order_acquire))
            notes[count++] = note;
    return count;
}

void KeyboardDisplay::discardPending()
{
    pending.store(0, std::memory_order_relaxed);
    for (auto& q : queued)
        q.store(0, std::memory_order_relaxed);
}
