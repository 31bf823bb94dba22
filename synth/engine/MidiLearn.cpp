#include "MidiLearn.h"

namespace {
const int32_t kParameterCount = 101;
}

void MidiLearn::unpack(int32_t s, int32_t& controller, int32_t& parameter)
{
    if (isLearned(s)) {
        controller = (s - kLearned) >> 8;
        parameter = (s - kLearned) & 0xFF;
    } else {
        controller = -1;
        parameter = -1;
    }
}

void MidiLearn::arm(int32_t index, int32_t& controller, int32_t& parameter)
{
    const int32_t next = (index >= 0 && index < kParameterCount) ? index : kIdle;
    unpack(state.exchange(next, std::memory_order_acq_rel), controller, parameter);
}

void MidiLearn::cancel()
{
    state.store(kIdle, std::memory_order_release);
}

int32_t MidiLearn::waitingParameter() const
{
    const int32_t s = state.load(std::memory_order_acquire);
    return isWaiting(s) ? s : -1;
}

bool MidiLearn::take(int32_t& controller, int32_t& parameter)
{
    int32_t s = state.load(std::memory_order_acquire);
    // Only this thread leaves the learned state, so the exchange cannot
    // lose a newer result; it can only meet a wait armed since (none here).
    if (!isLearned(s) || !state.compare_exchange_strong(s, kIdle, std::memory_order_acq_rel)) {
        controller = -1;
        parameter = -1;
        return false;
    }
    unpack(s, controller, parameter);
    return true;
}

int32_t MidiLearn::capture(int32_t controller)
{
    if (controller < 0 || controller >= kLearnableControllers)
        return -1;
    int32_t s = state.load(std::memory_order_relaxed);
    if (!isWaiting(s))
        return -1;
    // The UI thread may re-arm or cancel meanwhile; then this controller
    // is not learned (the compare fails) and the newer wait stands.
    if (!state.compare_exchange_strong(s, kLearned + controller * 256 + s,
                                       std::memory_order_acq_rel))
        return -1;
    return s;
}
