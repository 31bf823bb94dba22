// `nimhost bench PLUGIN...`: how much CPU time plug-ins need per second of
// audio, over a fixed set of workloads, through the same binary interface a
// DAW uses.
//
// Every instrument plays silence and held chords of 1, 8 and 16 notes; every
// effect runs silent input and stereo noise. Our instrument also plays the 8-note
// chord with 1 to 64 oscillators at each filter depth, and random patches of
// fixed seeds; our filter effect runs the noise at each of its depths. Each
// workload gets a fresh instance per plug-in, a short untimed warm-up, and
// then a number of timed repetitions; the repetitions of the plug-ins are
// interleaved, so a burst of load from elsewhere on the machine falls on all
// of them alike and their ratios stay fair. Time is the process's CPU time
// (it includes threads a plug-in runs for itself), reported as milliseconds
// per second of audio and as the real-time factor (seconds of audio per
// second of CPU): the median and the range over the repetitions.
#include "Commands.h"

#include "CpuClock.h"
#include "MidiEventList.h"
#include "PluginHost.h"
#include <CLI/CLI.hpp>

#include "Patch.h"
#include "RandomPatch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const int32_t kInstrumentId = 0x780CB5FE; // nimbulator
const int32_t kFilterId = 0x1D9B0053;     // quenvarel
const int32_t kFilterDepthParameter = 3;

struct BenchOptions {
    std::vector<std::string> plugins;
    double seconds = 2.0; // of audio per repetition
    long repetitions = 5;
    double warmUp = 0.25; // seconds of audio before timing starts
    double rate = 44100.0;
    long block = 512;
    std::string only; // run only workloads whose name contains this
};

struct Workload {
    std::string name;
    int notes = 0;            // instruments: a held chord of this many notes
    bool noise = false;       // effects: stereo noise in (else silence)
    bool ownPatch = false;    // our instrument: play `patch`
    Patch patch{};            //
    float filterDepth = -1.0; // our effect: Depth parameter value, if set
};

// One plug-in under test, as the host sees it.
struct Contender {
    std::string path, name;
    int32_t uniqueId = 0;
    int32_t inputs = 0, outputs = 0;
    bool instrument = false;
};

struct Result {
    std::vector<double> cpuSeconds; // per repetition
    double audioSeconds = 0.0;      // per repetition
    size_t nonFinite = 0;
    bool ran = false;
    double medianFactor() const;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

double Result::medianFactor() const
{
    double cpu = median(cpuSeconds);
    return cpu > 0.0 ? audioSeconds / cpu : 0.0;
}

Workload chord(const std::string& name, int notes)
{
    Workload w;
    w.name = name;
    w.notes = notes;
    return w;
}

// The workloads of one plug-in, in the order they are reported.
std::vector<Workload> workloadsFor(const Contender& c)
{
    std::vector<Workload> list;
    if (!c.instrument) {
        list.push_back(Workload{});
        list.back().name = "silent-input";
        Workload noise;
        noise.name = "stereo-noise";
        noise.noise = true;
        list.push_back(noise);
        if (c.uniqueId == kFilterId) {
            for (int depth = 0; depth < 3; ++depth) {
                Workload w = noise;
                w.name = "stereo-noise-depth" + std::to_string(depth);
                // The effect takes value x 2.9, truncated, as its depth.
                w.filterDepth = (static_cast<float>(depth) + 0.5f) / 2.9f;
                list.push_back(w);
            }
        }
        return list;
    }
    list.push_back(chord("silence", 0));
    list.push_back(chord("chord-1", 1));
    list.push_back(chord("chord-8", 8));
    list.push_back(chord("chord-16", 16));
    if (c.uniqueId != kInstrumentId)
        return list;
    for (int count : {1, 8, 16, 32, 64}) {
        for (int depth = 0; depth < 3; ++depth) {
            Workload w = chord("osc" + std::to_string(count) + "-depth" + std::to_string(depth), 8);
            newPatch(w.patch);
            w.patch.seed = 1; // otherwise drawn from the clock
            w.patch.oscillatorCount = count;
            w.patch.filterDepth = depth;
            w.ownPatch = true;
            list.push_back(w);
        }
    }
    for (int seed : {1, 2, 3, 4}) {
        Workload w = chord("random-" + std::to_string(seed), 8);
        newPatch(w.patch);
        w.patch.seed = 1;
        fillRandomPatchFromDraw(w.patch, seed);
        w.ownPatch = true;
        list.push_back(w);
    }
    return list;
}

// A running instance of one contender for one workload.
class Session {
public:
    Session(const Contender& c, const Workload& w, const BenchOptions& o) : options(o)
    {
        host = PluginHost::load(c.path, error);
        if (!host)
            return;
        AEffect* e = host->effect();
        host->timeInfo.tempo = 120.0;
        host->timeInfo.sampleRate = o.rate;
        host->timeInfo.flags = kVstTempoValid;
        host->start(static_cast<float>(o.rate), static_cast<int32_t>(o.block));
        if (w.ownPatch &&
            host->dispatch(effSetChunk, 1, sizeof w.patch, const_cast<Patch*>(&w.patch)) !=
                static_cast<intptr_t>(sizeof w.patch)) {
            error = "the program record was refused";
            host.reset();
            return;
        }
        if (w.filterDepth >= 0.0f)
            host->setParameter(kFilterDepthParameter, w.filterDepth);

        const size_t block = static_cast<size_t>(o.block);
        ins.assign(static_cast<size_t>(std::max(e->numInputs, 0)), std::vector<float>(block));
        outs.assign(static_cast<size_t>(std::max(e->numOutputs, 0)), std::vector<float>(block));
        for (auto& b : ins)
            inPointers.push_back(b.data());
        for (auto& b : outs)
            outPointers.push_back(b.data());
        if (w.noise) {
            // Noise at about -6 dBFS from a fixed generator, different per
            // channel, repeated every block.
            uint32_t state = 12345;
            for (auto& b : ins)
                for (float& x : b) {
                    state = state * 1664525u + 1013904223u;
                    x = (static_cast<float>(state >> 8) / 16777216.0f - 0.5f);
                }
        }
        if (w.notes > 0) {
            MidiEventList events(static_cast<size_t>(w.notes));
            for (int n = 0; n < w.notes; ++n)
                events.add(0, 0x90, static_cast<uint8_t>(36 + 3 * n), 100);
            host->dispatch(effProcessEvents, 0, 0, events.events());
        }
        render(o.warmUp);
    }

    bool ready() const { return host != nullptr; }
    const std::string& why() const { return error; }

    // Renders `seconds` of audio; returns the CPU time it took.
    double render(double seconds)
    {
        long long frames = static_cast<long long>(std::llround(seconds * options.rate));
        const double started = CpuClock::processSeconds();
        while (frames > 0) {
            int32_t n = static_cast<int32_t>(std::min<long long>(frames, options.block));
            host->processReplacing(inPointers.empty() ? nullptr : inPointers.data(),
                                   outPointers.data(), n);
            frames -= n;
        }
        const double used = CpuClock::processSeconds() - started;
        for (const auto& b : outs)
            for (float x : b)
                if (!std::isfinite(x))
                    ++nonFinite;
        return used;
    }

    size_t nonFinite = 0;

private:
    const BenchOptions& options;
    std::unique_ptr<PluginHost> host;
    std::string error;
    std::vector<std::vector<float>> ins, outs;
    std::vector<float*> inPointers, outPointers;
};

std::string fixed(double value, int width, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%*.*f", width, decimals, value);
    return text;
}

// `text` padded or cut to `width` characters.
std::string column(const std::string& text, size_t width)
{
    std::string s = text.substr(0, width);
    s.resize(width, ' ');
    return s;
}

int runBench(const BenchOptions& o)
{
    std::vector<Contender> contenders;
    for (const std::string& path : o.plugins) {
        std::string error;
        std::unique_ptr<PluginHost> host = PluginHost::load(path, error);
        if (!host) {
            std::fprintf(stderr, "nimhost bench: %s\n", error.c_str());
            return 1;
        }
        AEffect* e = host->effect();
        Contender c;
        c.path = path;
        c.name = host->effectName();
        if (c.name.empty())
            c.name = host->productString();
        if (c.name.empty())
            c.name = path.substr(path.find_last_of("/\\") + 1);
        c.uniqueId = e->uniqueID;
        c.inputs = e->numInputs;
        c.outputs = e->numOutputs;
        c.instrument = (e->flags & effFlagsIsSynth) || e->numInputs == 0;
        if (c.outputs < 1 || !(e->flags & effFlagsCanReplacing)) {
            std::fprintf(stderr, "nimhost bench: %s has no replacing processing to time\n",
                         path.c_str());
            return 1;
        }
        for (const Contender& other : contenders)
            if (other.name == c.name)
                c.name += " (" + std::to_string(contenders.size() + 1) + ")";
        contenders.push_back(c);
    }

    // Every workload name once, in first-seen order, and who runs it.
    std::vector<std::vector<Workload>> own;
    std::vector<std::string> names;
    for (const Contender& c : contenders) {
        own.push_back(workloadsFor(c));
        for (const Workload& w : own.back())
            if (std::find(names.begin(), names.end(), w.name) == names.end() &&
                (o.only.empty() || w.name.find(o.only) != std::string::npos))
                names.push_back(w.name);
    }
    if (names.empty()) {
        std::fprintf(stderr, "nimhost bench: no workload matches '%s'\n", o.only.c_str());
        return 2;
    }

    std::printf("nimhost bench: %.0f Hz, block %ld, %ld x %.3g s of audio per workload after "
                "%.3g s warm-up; process CPU time\n",
                o.rate, o.block, o.repetitions, o.seconds, o.warmUp);
    for (size_t i = 0; i < contenders.size(); ++i)
        std::printf("  [%zu] %s  %s\n", i + 1, contenders[i].name.c_str(),
                    contenders[i].path.c_str());
    std::printf("\n%s %s %10s %10s %21s\n", column("workload", 22).c_str(),
                column("plug-in", 16).c_str(), "CPU ms/s", "RT factor", "range (min..max)");

    // results[workload][contender]
    std::vector<std::vector<Result>> results(names.size(), std::vector<Result>(contenders.size()));
    bool failed = false;
    for (size_t wi = 0; wi < names.size(); ++wi) {
        std::vector<std::unique_ptr<Session>> sessions(contenders.size());
        for (size_t ci = 0; ci < contenders.size(); ++ci) {
            for (const Workload& w : own[ci]) {
                if (w.name != names[wi])
                    continue;
                sessions[ci].reset(new Session(contenders[ci], w, o));
                if (!sessions[ci]->ready()) {
                    std::fprintf(stderr, "nimhost bench: %s, %s: %s\n", contenders[ci].name.c_str(),
                                 w.name.c_str(), sessions[ci]->why().c_str());
                    sessions[ci].reset();
                    failed = true;
                }
            }
        }
        for (long r = 0; r < o.repetitions; ++r)
            for (size_t ci = 0; ci < contenders.size(); ++ci)
                if (sessions[ci])
                    results[wi][ci].cpuSeconds.push_back(sessions[ci]->render(o.seconds));
        for (size_t ci = 0; ci < contenders.size(); ++ci) {
            if (!sessions[ci])
                continue;
            Result& res = results[wi][ci];
            res.ran = true;
            res.audioSeconds = std::llround(o.seconds * o.rate) / o.rate;
            res.nonFinite = sessions[ci]->nonFinite;
            const double cpu = median(res.cpuSeconds);
            const auto span = std::minmax_element(res.cpuSeconds.begin(), res.cpuSeconds.end());
            auto factor = [&](double c) { return c > 0.0 ? res.audioSeconds / c : INFINITY; };
            std::printf("%s %s %10s %10s %10s..%-10s%s\n", column(names[wi], 22).c_str(),
                        column(contenders[ci].name, 16).c_str(),
                        fixed(1000.0 * cpu / res.audioSeconds, 10, 2).c_str(),
                        fixed(factor(cpu), 10, 1).c_str(),
                        fixed(factor(*span.second), 10, 1).c_str(),
                        fixed(factor(*span.first), 0, 1).c_str(),
                        res.nonFinite ? "  NON-FINITE OUTPUT" : "");
            if (res.nonFinite)
                failed = true;
        }
        std::fflush(stdout);
    }

    // Side by side: the median real-time factors of every plug-in on the
    // workloads they share, and the first plug-in's factor over each other's.
    if (contenders.size() > 1) {
        std::printf("\nreal-time factor, median (ratio: [1] over the others)\n%s",
                    column("workload", 22).c_str());
        for (size_t ci = 0; ci < contenders.size(); ++ci)
            std::printf(" %10s", ("[" + std::to_string(ci + 1) + "]").c_str());
        for (size_t ci = 1; ci < contenders.size(); ++ci)
            std::printf(" %10s", ("[1]/[" + std::to_string(ci + 1) + "]").c_str());
        std::printf("\n");
        for (size_t wi = 0; wi < names.size(); ++wi) {
            int sharing = 0;
            for (const Result& r : results[wi])
                sharing += r.ran ? 1 : 0;
            if (sharing < 2)
                continue;
            std::printf("%s", column(names[wi], 22).c_str());
            for (const Result& r : results[wi])
                std::printf(" %10s", r.ran ? fixed(r.medianFactor(), 10, 1).c_str() : "         -");
            const Result& first = results[wi][0];
            for (size_t ci = 1; ci < contenders.size(); ++ci) {
                const Result& r = results[wi][ci];
                if (first.ran && r.ran && r.medianFactor() > 0.0)
                    std::printf(" %9sx",
                                fixed(first.medianFactor() / r.medianFactor(), 9, 2).c_str());
                else
                    std::printf(" %10s", "-");
            }
            std::printf("\n");
        }
    }
    return failed ? 1 : 0;
}
} // namespace

void addBenchCommand(CLI::App& app, int& exitCode)
{
    auto o = std::make_shared<BenchOptions>();
    CLI::App* c = app.add_subcommand(
        "bench", "CPU time and real-time factor of plug-ins over fixed workloads, side by side");
    c->add_option("PLUGIN", o->plugins,
                  "the plug-in libraries; the first is compared with the rest")
        ->required();
    c->add_option("--seconds", o->seconds, "seconds of audio per repetition (default 2)")
        ->check(numberIn("--seconds", 0.001, 3600.0));
    c->add_option("--repetitions", o->repetitions, "timed repetitions per workload (default 5)")
        ->check(wholeNumberIn("--repetitions", 1, 1000));
    c->add_option("--warm-up", o->warmUp, "untimed seconds of audio first (default 0.25)")
        ->check(numberIn("--warm-up", 0.0, 60.0));
    c->add_option("--rate", o->rate, "sample rate in Hz (default 44100)")
        ->check(numberIn("--rate", 8000.0, 384000.0));
    c->add_option("--block", o->block, "block size in frames (default 512)")
        ->check(wholeNumberIn("--block", 1, 65536));
    c->add_option("--only", o->only, "run only the workloads whose name contains this text");
    c->callback([o, &exitCode] { exitCode = runBench(*o); });
}
