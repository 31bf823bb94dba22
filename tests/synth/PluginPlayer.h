// The rendering tests' one "play these events, give me the buffer" helper:
// loads the built instrument through the harness host, hands it a program
// as the host's chunk and plays MIDI messages at absolute sample positions
// through its binary interface.
#pragma once

#include "MidiEventList.h"
#include "Patch.h"
#include "PluginFiles.h"
#include "PluginHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

struct Message {
    long frame;
    unsigned char status, data1, data2;
};

struct Render {
    std::vector<float> left, right;
};

class Player {
public:
    // Without a host tempo unless `tempo` is above 0 (beats per minute).
    // Not `resumed`: loaded only, for a test that sets things up before
    // start() opens and resumes it as a host does.
    explicit Player(double rate = 44100.0, double tempo = 0.0, bool resumed = true)
        : sampleRate(rate)
    {
        std::string error;
        host = PluginHost::load(PLUGIN_FILE("nimbulator"), error);
        EXPECT_TRUE(host) << error;
        if (host) {
            host->timeAvailable = tempo > 0.0;
            host->timeInfo.tempo = tempo;
            host->timeInfo.sampleRate = rate;
            host->timeInfo.flags = kVstTempoValid;
            if (resumed)
                start();
        }
    }
    void start() { host->start(static_cast<float>(sampleRate), 512); }
    bool ok() const { return host != nullptr; }

    intptr_t setPatch(const Patch& patch)
    {
        Patch copy = patch;
        return host->dispatch(effSetChunk, 1, sizeof copy, &copy);
    }

    Render play(const std::vector<Message>& messages, long frames, int block = 512)
    {
        Render out;
        std::vector<float> l(static_cast<size_t>(block)), r(static_cast<size_t>(block));
        float* outputs[] = {l.data(), r.data()};
        size_t next = 0;
        MidiEventList events(messages.size());
        for (long position = 0; position < frames; position += block) {
            int length = static_cast<int>(std::min<long>(block, frames - position));
            events.clear();
            while (next < messages.size() && messages[next].frame < position + length) {
                const Message& m = messages[next];
                events.add(static_cast<int32_t>(m.frame - position), m.status, m.data1, m.data2);
                ++next;
            }
            if (events.size() > 0)
                host->dispatch(effProcessEvents, 0, 0, events.events());
            host->processReplacing(nullptr, outputs, length);
            out.left.insert(out.left.end(), l.begin(), l.begin() + length);
            out.right.insert(out.right.end(), r.begin(), r.begin() + length);
        }
        return out;
    }

    double sampleRate;
    std::unique_ptr<PluginHost> host;
};
