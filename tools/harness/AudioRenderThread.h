// A host's audio thread for GUI sessions: renders the plug-in block by block
// in real time on a thread of its own (processEvents, then
// processReplacing), so the plug-in's audio-to-editor paths run while its
// editor is open, as in a DAW. MIDI reaches it from the UI thread through a
// single-producer, single-consumer ring; nothing in the render loop
// allocates, locks or waits on the UI thread.
#pragma once

#include "MidiEventList.h"
#include "PluginHost.h"

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

class AudioRenderThread {
public:
    // `host` must be started (open, rate, block size, resume) and outlive
    // this object. Effects get a quiet 220 Hz sine on every input.
    AudioRenderThread(PluginHost& host, float sampleRate, int32_t blockSize);
    ~AudioRenderThread(); // stops the thread

    AudioRenderThread(const AudioRenderThread&) = delete;
    AudioRenderThread& operator=(const AudioRenderThread&) = delete;

    void start(); // UI thread
    void stop();  // UI thread; waits for the current block to finish
    bool running() const { return thread.joinable(); }

    // UI thread. A full ring drops the message (false).
    bool sendMidi(uint8_t status, uint8_t data1, uint8_t data2);
    bool noteOn(int note, int velocity = 100) { return sendMidi(0x90, note & 127, velocity & 127); }
    bool noteOff(int note) { return sendMidi(0x80, note & 127, 0); }

    // Any thread.
    uint64_t blocksRendered() const { return blocks.load(); }
    uint64_t midiDelivered() const { return delivered.load(); }
    float lastBlockPeak() const { return blockPeak.load(); } // 0..; both channels
    double slowestBlockSeconds() const { return slowest.load(); }

    // While stopped: the last `frames` frames of the left output channel.
    std::vector<float> recentLeft(size_t frames) const;

private:
    void run();

    PluginHost& host;
    float rate;
    int32_t block;
    std::thread thread;
    std::atomic<bool> quit{false};

    static const size_t kRing = 1024;
    uint32_t ring[kRing] = {};
    std::atomic<size_t> ringWrite{0}, ringRead{0};
    MidiEventList events;

    std::vector<std::vector<float>> inputs, outputs;
    std::vector<float*> inputPointers, outputPointers;
    double sinePhase = 0.0;

    std::vector<float> history; // ring of the left channel, a few seconds
    size_t historyAt = 0;

    std::atomic<uint64_t> blocks{0}, delivered{0};
    std::atomic<float> blockPeak{0.0f};
    std::atomic<double> slowest{0.0};
};
