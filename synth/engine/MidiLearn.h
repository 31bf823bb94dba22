// MIDI learn: the editor asks for "the next controller" for a parameter, the
// audio thread catches the next control change and hands the pair back to
// the user-interface thread, which writes it into the program's controller
// map.
//
// The whole exchange is one atomic word, so neither side locks, waits or
// allocates, and every transition is a single atomic step:
//   idle (-1) --arm(p)--> waiting for p --capture(c)--> learned (c, p)
//   learned --take--> idle;  any state --arm/cancel--> waiting/idle.
// A second arm before a controller arrives replaces the first; cancel drops
// a wait and a result not yet taken.
#pragma once

#include <atomic>
#include <cstdint>

class MidiLearn {
public:
    enum { kLearnableControllers = 120 }; // controllers 0..119 only

    // UI thread. Waits for the next controller for parameter `index`
    // (0..100; others cancel). A result learned but not yet taken is handed
    // back through `controller` and `parameter` (else both are -1), so that
    // the caller can still apply it.
    void arm(int32_t index, int32_t& controller, int32_t& parameter);
    // UI thread. Forgets the wait and any result not yet taken.
    void cancel();
    // UI thread. The parameter waiting for a controller, or -1.
    int32_t waitingParameter() const;
    // UI thread. Takes a learned pair; false (and both -1) when none.
    bool take(int32_t& controller, int32_t& parameter);

    // Audio thread. A control change for `controller` arrived: when a
    // parameter waits and the controller is 0..119, the pair is published
    // and the parameter returned; otherwise -1 and nothing changes.
    int32_t capture(int32_t controller);

private:
    // -1 idle; 0..100 the parameter waiting; kLearned + controller * 256 +
    // parameter a pair ready for the UI thread.
    enum : int32_t { kIdle = -1, kLearned = 0x10000 };
    static bool isLearned(int32_t s) { return s >= kLearned; }
    static bool isWaiting(int32_t s) { return s >= 0 && s < kLearned; }
    static void unpack(int32_t s, int32_t& controller, int32_t& parameter);

    std::atomic<int32_t> state{kIdle};
};
