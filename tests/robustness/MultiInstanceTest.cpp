// Sixteen instruments and filters in one process, each rendering on its own
// thread, must produce exactly what each renders alone: instances share
// nothing that changes their sound.
#include "MidiEventList.h"
#include "PluginFiles.h"
#include "PluginHost.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {
const char* const kSynth = PLUGIN_FILE("nimbulator");
const char* const kFilter = PLUGIN_FILE("quenvarel");
const int kInstances = 16;
const int32_t kBlock = 256;
const int kBlocks = 120; // about 0.7 s at 44.1 kHz

struct Session {
    std::unique_ptr<PluginHost> host;
    std::vector<float> output; // left then right, block by block
};

// Loads an instance and gives it settings of its own (instance k), on the
// calling thread, as a host's UI thread would.
Session prepare(const char* plugin, int k)
{
    Session s;
    std::string error;
    s.host = PluginHost::load(plugin, error);
    EXPECT_TRUE(s.host) << error;
    if (!s.host)
        return s;
    // Different sample rates per instance, too: nothing process-wide may leak.
    s.host->start(k % 2 ? 48000.0f : 44100.0f, kBlock);
    std::mt19937 random(1000 + k);
    for (int32_t p = 0; p < s.host->effect()->numParams; ++p)
        if (p != 0) // keep the volume up so every instance is heard
            s.host->setParameter(p, std::uniform_real_distribution<float>(0.0f, 1.0f)(random));
    return s;
}

// Plays the same phrase through an instance; for an effect, a test signal.
void play(Session& s, int k)
{
    AEffect* e = s.host->effect();
    const bool synth = e->numInputs == 0;
    std::vector<float> left(kBlock), right(kBlock), in(kBlock);
    float* ins[] = {in.data(), in.data()};
    float* outs[] = {left.data(), right.data()};
    for (int b = 0; b < kBlocks; ++b) {
        if (synth) {
            MidiEventList ev(4);
            if (b % 20 == 0)
                ev.add(b % 7, 0x90, static_cast<uint8_t>(48 + (k + b) % 24), 100);
            if (b % 20 == 12)
                ev.add(3, 0x80, static_cast<uint8_t>(48 + (k + b - 12) % 24), 0);
            if (b % 30 == 5)
                ev.add(0, 0xE0, 0, static_cast<uint8_t>(64 + k));
            s.host->dispatch(effProcessEvents, 0, 0, ev.events());
        } else {
            for (int32_t i = 0; i < kBlock; ++i)
                in[i] = static_cast<float>(((b * kBlock + i) * (k + 3)) % 200) / 100.0f - 1.0f;
        }
        s.host->processReplacing(ins, outs, kBlock);
        s.output.insert(s.output.end(), left.begin(), left.end());
        s.output.insert(s.output.end(), right.begin(), right.end());
    }
}

void checkConcurrentMatchesAlone(const char* plugin)
{
    // Alone: one instance at a time, each on a fresh thread.
    std::vector<std::vector<float>> alone(kInstances);
    for (int k = 0; k < kInstances; ++k) {
        Session s = prepare(plugin, k);
        ASSERT_TRUE(s.host);
        std::thread t([&s, k] { play(s, k); });
        t.join();
        alone[k] = s.output;
    }
    // Together: all sixteen loaded, then all rendering at once.
    std::vector<Session> sessions;
    for (int k = 0; k < kInstances; ++k) {
        sessions.push_back(prepare(plugin, k));
        ASSERT_TRUE(sessions.back().host);
    }
    std::vector<std::thread> threads;
    for (int k = 0; k < kInstances; ++k)
        threads.emplace_back([&sessions, k] { play(sessions[k], k); });
    for (auto& t : threads)
        t.join();

    double loudest = 0.0;
    for (int k = 0; k < kInstances; ++k) {
        ASSERT_EQ(sessions[k].output.size(), alone[k].size());
        EXPECT_EQ(std::memcmp(sessions[k].output.data(), alone[k].data(),
                              alone[k].size() * sizeof(float)),
                  0)
            << plugin << " instance " << k << " sounds different beside the others";
        for (float x : alone[k])
            loudest = std::max(loudest, static_cast<double>(std::fabs(x)));
    }
    EXPECT_GT(loudest, 0.001) << "the sessions rendered silence; the comparison proves nothing";
}
} // namespace

TEST(MultiInstance, InstrumentsOnTheirOwnThreadsRenderAsAlone)
{
    checkConcurrentMatchesAlone(kSynth);
}

TEST(MultiInstance, FiltersOnTheirOwnThreadsRenderAsAlone)
{
    checkConcurrentMatchesAlone(kFilter);
}
