// Records a host restores may carry any bytes. Through the binary interface,
// a chunk with every level and range far outside its field's limits still
// renders finite audio no louder than full scale, and comes back unchanged.
#include "MidiEventList.h"
#include "Patch.h"
#include "PluginFiles.h"
#include "PluginHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {
const char* const kSynth = PLUGIN_FILE("nimbulator");

void play(PluginHost& host, int blocks, double& peak, size_t& nonFinite)
{
    std::vector<float> left(512), right(512);
    float* outs[] = {left.data(), right.data()};
    for (int b = 0; b < blocks; ++b) {
        if (b % 8 == 0) {
            MidiEventList list(1);
            list.add(0, 0x90, static_cast<uint8_t>(40 + b % 40), 127);
            host.dispatch(effProcessEvents, 0, 0, list.events());
        }
        host.processReplacing(nullptr, outs, 512);
        for (int i = 0; i < 512; ++i)
            for (float x : {left[i], right[i]}) {
                if (!std::isfinite(x))
                    ++nonFinite;
                else
                    peak = std::max(peak, static_cast<double>(std::fabs(x)));
            }
    }
}
} // namespace

TEST(HostileChunk, OutOfRangeLevelsNeverExceedFullScale)
{
    std::string error;
    auto host = PluginHost::load(kSynth, error);
    ASSERT_TRUE(host) << error;
    host->start(44100.0f, 512);
    // A host with a tempo: without one the instrument switches tempo sync off
    // in the program, which would change the stored record on purpose.
    host->timeInfo.tempo = 120.0;
    host->timeInfo.flags = kVstTempoValid;

    void* data = nullptr;
    ASSERT_EQ(host->dispatch(effGetChunk, 0, 0, &data), static_cast<intptr_t>(sizeof(Patch)));
    Patch patch;
    std::memcpy(&patch, data, sizeof patch);
    const int32_t extremes[] = {2000000000, -2000000000, 1000000, -5000};
    for (int32_t extreme : extremes) {
        patch.volumeHome = extreme > 0 ? extreme : -extreme;
        patch.panHome = extreme;
        patch.resonanceHome = patch.noiseHome = extreme;
        patch.volumeRange = patch.pitchRange = patch.panRange = extreme;
        patch.resonanceRange = patch.noiseRange = extreme;
        patch.overdrive = patch.filterQ = patch.lowpassCutoff = extreme;
        patch.oscillatorCount = 64;
        ASSERT_EQ(host->dispatch(effSetChunk, 0, sizeof patch, &patch),
                  static_cast<intptr_t>(sizeof patch));

        double peak = 0.0;
        size_t nonFinite = 0;
        play(*host, 80, peak, nonFinite);
        EXPECT_EQ(nonFinite, 0u) << "extreme " << extreme;
        EXPECT_LE(peak, 1.0) << "extreme " << extreme;

        void* back = nullptr;
        host->dispatch(effGetChunk, 0, 0, &back);
        const unsigned char* stored = static_cast<const unsigned char*>(back);
        const unsigned char* sent = reinterpret_cast<const unsigned char*>(&patch);
        for (size_t i = 0; i < sizeof patch; ++i)
            ASSERT_EQ(stored[i], sent[i]) << "the stored record changed at byte " << i;
    }
}
