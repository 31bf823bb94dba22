#include "AudioRenderThread.h"

#include <chrono>
#include <cmath>

AudioRenderThread::AudioRenderThread(PluginHost& plugin, float sampleRate, int32_t blockSize)
    : host(plugin), rate(sampleRate), block(blockSize), events(kRing)
{
    AEffect* e = host.effect();
    const int32_t in = e->numInputs > 0 && e->numInputs <= 64 ? e->numInputs : 0;
    const int32_t out = e->numOutputs > 0 && e->numOutputs <= 64 ? e->numOutputs : 0;
    inputs.assign(in, std::vector<float>(block));
    outputs.assign(out, std::vector<float>(block));
    for (auto& b : inputs)
        inputPointers.push_back(b.data());
    for (auto& b : outputs)
        outputPointers.push_back(b.data());
    history.assign(static_cast<size_t>(sampleRate * 4), 0.0f);
}

AudioRenderThread::~AudioRenderThread()
{
    stop();
}

void AudioRenderThread::start()
{
    if (thread.joinable() || outputs.empty())
        return;
    quit = false;
    thread = std::thread([this] { run(); });
}

void AudioRenderThread::stop()
{
    if (!thread.joinable())
        return;
    quit = true;
    thread.join();
}

bool AudioRenderThread::sendMidi(uint8_t status, uint8_t data1, uint8_t data2)
{
    const size_t w = ringWrite.load(std::memory_order_relaxed);
    if (w - ringRead.load(std::memory_order_acquire) >= kRing)
        return false;
    ring[w % kRing] = status | (data1 << 8) | (data2 << 16);
    ringWrite.store(w + 1, std::memory_order_release);
    return true;
}

std::vector<float> AudioRenderThread::recentLeft(size_t frames) const
{
    std::vector<float> out;
    if (thread.joinable() || history.empty())
        return out;
    if (frames > history.size())
        frames = history.size();
    out.reserve(frames);
    size_t at = (historyAt + history.size() - frames) % history.size();
    for (size_t i = 0; i < frames; ++i, at = (at + 1) % history.size())
        out.push_back(history[at]);
    return out;
}

void AudioRenderThread::run()
{
    typedef std::chrono::steady_clock Clock;
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(block / static_cast<double>(rate)));
    auto due = Clock::now();
    const double step = 2.0 * 3.14159265358979 * 220.0 / rate;
    while (!quit.load()) {
        const auto began = Clock::now();
        events.clear();
        const size_t w = ringWrite.load(std::memory_order_acquire);
        size_t r = ringRead.load(std::memory_order_relaxed);
        for (; r != w && !events.full(); ++r) {
            const uint32_t m = ring[r % kRing];
            events.add(0, static_cast<uint8_t>(m), static_cast<uint8_t>(m >> 8),
                       static_cast<uint8_t>(m >> 16));
        }
        ringRead.store(r, std::memory_order_release);
        if (events.size() > 0) {
            host.dispatch(effProcessEvents, 0, 0, events.events());
            delivered += events.size();
        }
        for (int32_t i = 0; i < block; ++i) {
            const float s = static_cast<float>(0.25 * std::sin(sinePhase));
            sinePhase += step;
            for (auto& b : inputs)
                b[i] = s;
        }
        if (sinePhase > 1e6)
            sinePhase = std::fmod(sinePhase, 2.0 * 3.14159265358979);
        host.processReplacing(inputPointers.data(), outputPointers.data(), block);

        float peak = 0.0f;
        for (const auto& b : outputs)
            for (float s : b)
                peak = std::fabs(s) > peak ? std::fabs(s) : peak;
        for (int32_t i = 0; i < block; ++i) {
            history[historyAt] = outputs[0][i];
            historyAt = (historyAt + 1) % history.size();
        }
        blockPeak.store(peak);
        const double took = std::chrono::duration<double>(Clock::now() - began).count();
        if (took > slowest.load())
            slowest.store(took);
        ++blocks;

        // Real-time pace; after a long stall, start afresh instead of racing.
        due += period;
        const auto now = Clock::now();
        if (due < now - 10 * period)
            due = now;
        std::this_thread::sleep_until(due);
    }
}
