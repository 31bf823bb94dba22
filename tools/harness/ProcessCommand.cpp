// `nimhost process PLUGIN IN.wav OUT.wav [options]`: runs a VST 2 effect over
// an audio file through its processing entry, block by block, and writes the
// stereo result. The plug-in runs at the file's sample rate; parameters are
// set by name or index before processing, and their displays are printed.
#include "Commands.h"

#include "PluginHost.h"
#include "WavFile.h"
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

struct Setting {
    std::string parameter; // name or index, as given
    float value;
};

struct Options {
    std::string plugin, input, output;
    std::vector<Setting> settings;
    int block = 512;
    WavFormat format = WavFormat::Float32;
    long rate = 0; // 0: none asked for
};

// The command line as given, before conversion.
struct ProcessArguments {
    Options options;
    std::vector<std::string> settings;
    long block = 512;
    std::string format = "float";
};

// NAME=VALUE or INDEX=VALUE with a finite number; false otherwise.
bool parseSetting(const std::string& text, Setting& setting)
{
    const size_t eq = text.find('=');
    double value = 0.0;
    if (eq == std::string::npos || eq == 0 || !parseNumber(text.substr(eq + 1), value))
        return false;
    setting = {text.substr(0, eq), static_cast<float>(value)};
    return true;
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "nimhost process: %s\n", message.c_str());
    return 1;
}

// An index when the text is all digits, else a parameter name; -1 if none.
int32_t resolveParameter(PluginHost& host, const std::string& text)
{
    const int32_t count = host.effect()->numParams;
    if (std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        long index = 0;
        if (!parseInteger(text, 0, 1000000, index) || index >= count)
            return -1;
        return static_cast<int32_t>(index);
    }
    return host.findParameter(text);
}

std::string parameterList(PluginHost& host)
{
    std::string list;
    for (int32_t i = 0; i < host.effect()->numParams; ++i)
        list += (i ? ", " : "") + std::to_string(i) + " " + host.parameterName(i);
    return list.empty() ? "none" : list;
}

double toDb(double level)
{
    return level > 0.0 ? 20.0 * std::log10(level) : -INFINITY;
}
} // namespace

namespace {
int runProcess(const Options& options)
{
    struct stat info;
    if (stat(options.input.c_str(), &info) != 0)
        return fail("cannot open " + options.input + ": no such file");
    AudioData input;
    std::string error;
    if (!readAudioFile(options.input, input, error))
        return fail(error);
    const int fileChannels = static_cast<int>(input.channels.size());
    if (options.rate && options.rate != input.sampleRate)
        return fail("sample rates disagree: " + options.input + " is at " +
                    std::to_string(input.sampleRate) + " Hz but --rate asks for " +
                    std::to_string(options.rate) +
                    " Hz; the plug-in runs at the file's rate (resample the file first)");

    auto host = PluginHost::load(options.plugin, error);
    if (!host)
        return fail(error);
    AEffect* e = host->effect();
    if (e->numOutputs != 2)
        return fail(options.plugin + " has " + std::to_string(e->numOutputs) +
                    " outputs; process needs an effect with 2 outputs");
    const int inputs = e->numInputs;
    if (inputs < 1 || inputs > 2)
        return fail(options.plugin + " has " + std::to_string(inputs) +
                    " inputs; process needs an effect with 1 or 2 inputs");
    if (fileChannels > 2 || (fileChannels != inputs && fileChannels != 1))
        return fail(options.input + " has " + std::to_string(fileChannels) +
                    " channels but the plug-in takes " + std::to_string(inputs) +
                    " input(s): refusing to guess a mix-down");

    std::printf("plug-in:     %s (%s)\n", options.plugin.c_str(), host->effectName().c_str());
    std::printf("input:       %s: %d channel(s), %zu frames\n", options.input.c_str(), fileChannels,
                input.frames());
    std::printf("sample rate: %d Hz (the file's rate, passed to the plug-in)\n", input.sampleRate);
    if (fileChannels == 1 && inputs == 2)
        std::printf("mono input:  duplicating the channel to both plug-in inputs\n");
    host->start(static_cast<float>(input.sampleRate), options.block);

    for (const Setting& s : options.settings) {
        const int32_t index = resolveParameter(*host, s.parameter);
        if (index < 0)
            return fail("bad --set: no parameter '" + s.parameter +
                        "' (parameters: " + parameterList(*host) + ")");
        host->setParameter(index, s.value);
    }
    std::printf("parameters:\n");
    for (int32_t i = 0; i < e->numParams; ++i)
        std::printf("  %3d  %-10s %12s %-4s (%.6f)\n", i, host->parameterName(i).c_str(),
                    host->parameterDisplay(i).c_str(), host->parameterLabel(i).c_str(),
                    host->getParameter(i));
    std::fflush(stdout);

    // Plug-ins that cannot replace get cleared buffers to accumulate into.
    const bool replacing = (e->flags & effFlagsCanReplacing) != 0;
    const size_t frames = input.frames();
    AudioData output;
    output.sampleRate = input.sampleRate;
    output.channels.assign(2, std::vector<float>(frames, 0.0f));
    std::vector<float> in[2], out[2];
    for (int c = 0; c < 2; ++c) {
        in[c].resize(options.block);
        out[c].resize(options.block);
    }
    for (size_t start = 0; start < frames; start += options.block) {
        const size_t n = std::min(frames - start, static_cast<size_t>(options.block));
        for (int c = 0; c < inputs; ++c) {
            const std::vector<float>& source = input.channels[std::min(c, fileChannels - 1)];
            std::copy(source.begin() + start, source.begin() + start + n, in[c].begin());
        }
        float* ins[] = {in[0].data(), in[1].data()};
        float* outs[] = {out[0].data(), out[1].data()};
        if (replacing) {
            host->processReplacing(ins, outs, static_cast<int32_t>(n));
        } else {
            std::fill(out[0].begin(), out[0].end(), 0.0f);
            std::fill(out[1].begin(), out[1].end(), 0.0f);
            host->process(ins, outs, static_cast<int32_t>(n));
        }
        for (int c = 0; c < 2; ++c)
            std::copy(out[c].begin(), out[c].begin() + n, output.channels[c].begin() + start);
    }

    if (!writeWavFile(options.output, output, options.format, error))
        return fail(error);
    const LevelStats levels = measureLevels(output);
    std::printf("output:      %s: 2 channels, %zu frames, blocks of %d (%s)\n",
                options.output.c_str(), frames, options.block,
                replacing ? "processReplacing" : "process");
    std::printf("peak:        %.6f (%.2f dBFS)\n", levels.peak, toDb(levels.peak));
    std::printf("rms:         %.6f (%.2f dBFS)\n", levels.rms, toDb(levels.rms));
    if (levels.nonFinite)
        std::printf("non-finite:  %zu samples (written as they came)\n", levels.nonFinite);
    return 0;
}
} // namespace

void addProcessCommand(CLI::App& app, int& exitCode)
{
    auto a = std::make_shared<ProcessArguments>();
    CLI::App* c = app.add_subcommand(
        "process", "run an effect over a WAV file, parameters set by name or index");
    c->add_option("PLUGIN", a->options.plugin, "the effect's library")->required();
    c->add_option("IN.wav", a->options.input, "the audio to process")->required();
    c->add_option("OUT.wav", a->options.output, "where the result goes (stereo)")
        ->required()
        ->check(writableFile("OUT.wav"));
    c->add_option("--set", a->settings, "NAME=VALUE or INDEX=VALUE, before processing")
        ->check(CLI::Validator(
            [](std::string& text) {
                Setting s;
                return parseSetting(text, s)
                           ? std::string()
                           : "bad --set '" + text +
                                 "': expected NAME=VALUE or INDEX=VALUE with a finite number";
            },
            "NAME=VALUE"));
    c->add_option("--block", a->block, "block size in frames (default 512)")
        ->check(wholeNumberIn("--block", 1, 65536));
    c->add_option("--format", a->format, "output samples: 16, 24 or float (default float)")
        ->check(CLI::Validator(
            [](std::string& text) {
                WavFormat f;
                return parseWavFormat(text, f) ? std::string()
                                               : "bad --format '" + text + "': 16, 24 or float";
            },
            "16|24|float"));
    c->add_option("--rate", a->options.rate, "sample rate the file must have, in Hz")
        ->check(wholeNumberIn("--rate", 1, 10000000));
    c->callback([a, &exitCode] {
        Options o = a->options;
        for (const std::string& text : a->settings) {
            Setting s;
            parseSetting(text, s);
            o.settings.push_back(s);
        }
        o.block = static_cast<int>(a->block);
        parseWavFormat(a->format, o.format);
        exitCode = runProcess(o);
    });
}
