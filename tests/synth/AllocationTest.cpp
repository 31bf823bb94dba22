// The audio thread never allocates: a counting global operator new watches
// every processing and processEvents call of a plug-in object across a
// render with notes, controllers, pitch bend and program changes between
// blocks.
#include "MidiEventList.h"
#include "VstXSynth.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void* allocate(std::size_t size)
{
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}
} // namespace

void* operator new(std::size_t size)
{
    return allocate(size);
}
void* operator new[](std::size_t size)
{
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
    return operator new(size, tag);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {
// One block's events, built before the counted window.
struct EventList {
    explicit EventList(const std::vector<std::vector<unsigned char>>& messages)
        : list(messages.size())
    {
        for (size_t i = 0; i < messages.size(); ++i)
            list.add(static_cast<int32_t>(i * 7), messages[i][0], messages[i][1], messages[i][2]);
    }
    VstEvents* get() { return list.events(); }
    MidiEventList list;
};
} // namespace

TEST(RealTimeSafety, ProcessingAndEventsNeverAllocate)
{
    VstXSynth synth(nullptr);
    synth.setSampleRate(48000.0f);
    synth.resume();
    std::vector<float> left(256), right(256);
    float* outputs[] = {left.data(), right.data()};

    // Prepared outside the counted windows, as a host does.
    std::vector<EventList> blocks;
    for (int b = 0; b < 40; ++b) {
        unsigned char note = static_cast<unsigned char>(48 + b % 24);
        blocks.emplace_back(std::vector<std::vector<unsigned char>>{
            {0x90, note, 100},
            {0xB0, 7, static_cast<unsigned char>(b * 3)},
            {0xB0, 1, static_cast<unsigned char>(127 - b)},
            {0xE0, 0, static_cast<unsigned char>(b * 3)},
            {0x80, static_cast<unsigned char>(note - 3), 0},
            {0xB0, static_cast<unsigned char>(b == 20 ? 123 : 74), 0}});
    }

    long seen = 0;
    for (int b = 0; b < 40; ++b) {
        if (b % 10 == 9) // program changes between blocks, on the UI side
            synth.setProgram(b / 10);
        if (b % 4 == 1) // MIDI learn waits for controller 74 or 7 in the next block
            synth.learnMidiController(b % 101);
        synth.applyLearnedController();
        counting = true;
        synth.processEvents(blocks[b].get());
        if (b % 2)
            synth.processReplacing(nullptr, outputs, 256);
        else
            synth.process(nullptr, outputs, 256);
        counting = false;
        seen = allocations.load();
        ASSERT_EQ(seen, 0) << "block " << b;
    }
    EXPECT_EQ(seen, 0);
}
