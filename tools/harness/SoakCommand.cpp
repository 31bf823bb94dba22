// `nimhost soak PLUGIN`: a long render under everything a host and a player
// throw at a plug-in at once: random automation of every parameter, program
// changes, chunk saves and (sometimes corrupted) reloads, whole random
// settings, note storms past the event queue's size, events beyond the block,
// all-notes-off, and block sizes from 0 to the maximum. Reports the samples
// rendered, the non-finite samples (must be none), the slowest block relative
// to the average cost per sample (a denormal stall shows up there) and the
// peak level. Exits 1 when any output sample was not finite, or when the peak
// exceeds the bound given with --max-peak.
#include "Commands.h"

#include "MidiEventList.h"
#include "PluginHost.h"
#include <CLI/CLI.hpp>

#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#if !defined(_WIN32)
#include <time.h>
#endif

namespace {
// Seconds of CPU time this thread has used, so that blocks interrupted by
// other processes do not look slow (a denormal stall is CPU time); wall time
// where no thread clock exists.
double threadSeconds()
{
#if defined(_WIN32)
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
#else
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
#endif
}

struct SoakOptions {
    double seconds = 3600.0;
    unsigned seed = 1;
    float rate = 44100.0f;
    int maxBlock = 4096;
    double maxPeak = 0.0; // 0: no bound checked
};

struct SoakArguments {
    std::string plugin;
    SoakOptions options;
    double rate = 44100.0;
    long seed = 1, maxBlock = 4096;
};

} // namespace

static int runSoak(const std::string& path, const SoakOptions& o)
{
    std::string error;
    auto host = PluginHost::load(path, error);
    if (!host) {
        std::fprintf(stderr, "nimhost: %s\n", error.c_str());
        return 1;
    }
    host->start(o.rate, o.maxBlock);
    AEffect* e = host->effect();
    const int32_t inputs = e->numInputs, outputs = e->numOutputs;
    if (outputs <= 0 || outputs > 64 || inputs < 0 || inputs > 64) {
        std::fprintf(stderr, "nimhost: %s reports %d inputs and %d outputs\n", path.c_str(), inputs,
                     outputs);
        return 1;
    }
    const bool wantsMidi = (e->flags & effFlagsIsSynth) || host->canDo("receiveVstMidiEvent") > 0;
    const bool chunks = (e->flags & effFlagsProgramChunks) != 0;

    std::mt19937 random(o.seed);
    auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    auto chance = [&](double p) { return uniform(0.0, 1.0) < p; };
    auto pick = [&](int n) { return n > 0 ? static_cast<int>(random() % n) : 0; };

    std::vector<std::vector<float>> in(inputs, std::vector<float>(o.maxBlock)),
        out(outputs, std::vector<float>(o.maxBlock));
    std::vector<float*> inPtr(inputs), outPtr(outputs);
    for (int32_t c = 0; c < inputs; ++c)
        inPtr[c] = in[c].data();
    for (int32_t c = 0; c < outputs; ++c)
        outPtr[c] = out[c].data();
    MidiEventList events(300);
    std::vector<unsigned char> savedChunk;

    const double total = o.seconds * o.rate;
    double rendered = 0.0, peak = 0.0, costSum = 0.0, slowest = 0.0;
    size_t nonFinite = 0, timedBlocks = 0;
    double phase = 0.0;
    int nextReport = 1;
    while (rendered < total) {
        // Host and player activity between blocks.
        if (chance(0.3))
            for (int k = pick(8) + 1; k > 0; --k)
                host->setParameter(pick(e->numParams), static_cast<float>(uniform(0.0, 1.0)));
        if (chance(0.002))
            for (int32_t p = 0; p < e->numParams; ++p)
                host->setParameter(p, static_cast<float>(uniform(0.0, 1.0)));
        if (e->numPrograms > 1 && chance(0.005))
            host->dispatch(effSetProgram, 0, pick(e->numPrograms));
        if (chunks && chance(0.005)) {
            void* data = nullptr;
            intptr_t size = host->dispatch(effGetChunk, 0, 0, &data);
            if (data && size > 0 && size < (1 << 24))
                savedChunk.assign(static_cast<unsigned char*>(data),
                                  static_cast<unsigned char*>(data) + size);
        }
        if (chunks && !savedChunk.empty() && chance(0.004)) {
            std::vector<unsigned char> copy(savedChunk);
            if (chance(0.5)) // a damaged record: the plug-in must survive it
                for (int k = pick(16) + 1; k > 0; --k)
                    copy[pick(static_cast<int>(copy.size()))] =
                        static_cast<unsigned char>(random());
            host->dispatch(effSetChunk, 0, static_cast<intptr_t>(copy.size()), copy.data());
        }
        const int32_t frames = chance(0.01) ? 0 : pick(o.maxBlock) + 1;
        if (wantsMidi) {
            events.clear();
            const int storm = chance(0.01) ? 250 : (chance(0.2) ? pick(6) + 1 : 0);
            for (int k = 0; k < storm; ++k) {
                // Mostly inside the block, some beyond it or negative.
                int32_t delta = chance(0.95) ? pick(frames + 1) : pick(3 * frames + 3) - 1;
                int kind = pick(10);
                if (kind < 5)
                    events.add(delta, 0x90 | pick(16), pick(128), pick(128));
                else if (kind < 8)
                    events.add(delta, 0x80 | pick(16), pick(128), pick(128));
                else if (kind < 9)
                    events.add(delta, 0xB0 | pick(16), pick(128), pick(128));
                else
                    events.add(delta, 0xE0 | pick(16), pick(128), pick(128));
            }
            if (chance(0.003))
                events.add(0, 0xB0, 123, 0);
            host->dispatch(effProcessEvents, 0, 0, events.events());
        }
        for (int32_t c = 0; c < inputs; ++c)
            for (int32_t i = 0; i < frames; ++i)
                in[c][i] = static_cast<float>(0.5 * std::sin(phase + 0.001 * i) +
                                              0.1 * uniform(-1.0, 1.0));
        phase += 0.001 * frames;

        const double start = threadSeconds();
        host->processReplacing(inPtr.data(), outPtr.data(), frames);
        const double stop = threadSeconds();

        if (frames >= 256) {
            double perSample = (stop - start) / frames;
            costSum += perSample;
            ++timedBlocks;
            if (perSample > slowest)
                slowest = perSample;
        }
        for (int32_t c = 0; c < outputs; ++c)
            for (int32_t i = 0; i < frames; ++i) {
                float x = out[c][i];
                if (!std::isfinite(x))
                    ++nonFinite;
                else if (std::fabs(x) > peak)
                    peak = std::fabs(x);
            }
        rendered += frames;
        if (rendered >= nextReport * total / 10 && nextReport < 10) {
            std::fprintf(stderr, "soak: %d%%\n", nextReport * 10);
            ++nextReport;
        }
    }
    const double average = timedBlocks ? costSum / timedBlocks : 0.0;
    std::printf("soak: %s\n", path.c_str());
    std::printf("  samples rendered:   %.0f frames x %d channels (%.1f s at %.0f Hz)\n", rendered,
                outputs, rendered / o.rate, o.rate);
    std::printf("  non-finite samples: %zu\n", nonFinite);
    std::printf("  slowest block:      %.2f x the average CPU cost per sample\n",
                average > 0 ? slowest / average : 0.0);
    std::printf("  peak level:         %.6f (%.2f dBFS)\n", peak,
                peak > 0 ? 20.0 * std::log10(peak) : -INFINITY);
    if (o.maxPeak > 0.0 && peak > o.maxPeak) {
        std::printf("  FAILED: the peak exceeds the bound of %.6f\n", o.maxPeak);
        return 1;
    }
    return nonFinite == 0 ? 0 : 1;
}

void addSoakCommand(CLI::App& app, int& exitCode)
{
    auto a = std::make_shared<SoakArguments>();
    CLI::App* c = app.add_subcommand(
        "soak", "a long random session (automation, programs, chunks, note storms); fails on "
                "non-finite output or a peak above --max-peak");
    c->add_option("PLUGIN", a->plugin, "the plug-in library")->required();
    c->add_option("--seconds", a->options.seconds, "seconds of audio (default 3600)")
        ->check(numberIn("--seconds", 0.001, 1.0e6));
    c->add_option("--seed", a->seed, "seed of the session's random choices (default 1)")
        ->check(wholeNumberIn("--seed", 0, 2147483647L));
    c->add_option("--rate", a->rate, "sample rate in Hz (default 44100)")
        ->check(numberIn("--rate", 8000.0, 384000.0));
    c->add_option("--max-block", a->maxBlock, "largest block in frames (default 4096)")
        ->check(wholeNumberIn("--max-block", 1, 65536));
    c->add_option("--max-peak", a->options.maxPeak, "fail above this peak level (default: none)")
        ->check(numberIn("--max-peak", 0.0, 1.0e6));
    c->callback([a, &exitCode] {
        SoakOptions o = a->options;
        o.seed = static_cast<unsigned>(a->seed);
        o.rate = static_cast<float>(a->rate);
        o.maxBlock = static_cast<int>(a->maxBlock);
        exitCode = runSoak(a->plugin, o);
    });
}
