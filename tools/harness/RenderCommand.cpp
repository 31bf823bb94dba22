// `nimhost render PLUGIN [options] -o OUT.wav`: plays a Standard MIDI File,
// or a built-in demo phrase, through an instrument plug-in loaded by its
// entry point, and writes what it renders to a WAV file. The program comes
// from a raw 1908-byte patch file, a factory preset's file (written by the
// build to the presets folder beside nimhost), a random patch, or the
// plug-in's default,
// and is handed over as the host's chunk, so every render exercises the
// binary interface a DAW uses.
#include "Commands.h"

#include "MidiEventList.h"
#include "PluginHost.h"
#include "WavFile.h"
#include <CLI/CLI.hpp>

#include "Patch.h"
#include "RandomPatch.h"

#include <smf.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Options {
    std::string plugin, midi, patchFile, preset, output;
    long randomSeed = -1; // -1: none
    double rate = 44100.0;
    long block = 512;
    WavFormat format = WavFormat::Pcm24;
    double seconds = 0.0; // 0: the length of the material plus its tail
};

struct RenderArguments {
    Options options;
    std::string format = "24";
};

// One short MIDI message at an absolute sample position.
struct TimedMessage {
    long long frame;
    unsigned char bytes[3];
};

const double kTailSeconds = 1.5; // after the last event, for release tails

int fail(const std::string& message)
{
    std::fprintf(stderr, "nimhost render: %s\n", message.c_str());
    return 1;
}

void add(std::vector<TimedMessage>& list, double seconds, double rate, int status, int data1,
         int data2)
{
    TimedMessage m;
    m.frame = static_cast<long long>(std::llround(seconds * rate));
    m.bytes[0] = static_cast<unsigned char>(status);
    m.bytes[1] = static_cast<unsigned char>(data1 & 0x7F);
    m.bytes[2] = static_cast<unsigned char>(data2 & 0x7F);
    list.push_back(m);
}

// A few seconds that touch most of the engine: a held bass note, two chords,
// a pitch bend up and back, and a controller sweep (controller 1).
std::vector<TimedMessage> demoPhrase(double rate)
{
    std::vector<TimedMessage> list;
    add(list, 0.0, rate, 0x90, 48, 64); // held note
    for (int note : {60, 64, 67})
        add(list, 0.0, rate, 0x90, note, 56);
    for (int note : {60, 64, 67})
        add(list, 1.4, rate, 0x80, note, 0);
    for (int note : {65, 69, 72})
        add(list, 1.6, rate, 0x90, note, 50);
    for (int step = 0; step <= 32; ++step) { // bend up a whole tone and back
        double t = 2.0 + step * (1.0 / 32.0);
        int value = 8192 + static_cast<int>(8191 * std::sin(3.14159265358979 * step / 32.0));
        add(list, t, rate, 0xE0, value & 0x7F, value >> 7);
    }
    for (int note : {65, 69, 72})
        add(list, 3.2, rate, 0x80, note, 0);
    for (int step = 0; step <= 40; ++step) // controller sweep
        add(list, 3.2 + step * 0.02, rate, 0xB0, 1, step * 127 / 40);
    add(list, 4.2, rate, 0xB0, 1, 0);
    add(list, 4.5, rate, 0x80, 48, 0);
    return list;
}

bool fileExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool readMidiFile(const std::string& path, double rate, std::vector<TimedMessage>& list,
                  std::string& error)
{
    if (!fileExists(path)) {
        error = "cannot open MIDI file " + path;
        return false;
    }
    smf_t* smf = smf_load(path.c_str());
    if (!smf) {
        error = path + " is not a readable Standard MIDI File";
        return false;
    }
    while (smf_event_t* event = smf_get_next_event(smf)) {
        if (smf_event_is_metadata(event) || event->midi_buffer_length < 1)
            continue;
        int status = event->midi_buffer[0];
        if (status < 0x80 || status >= 0xF0) // system messages do not reach an instrument
            continue;
        int length = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 2 : 3;
        if (event->midi_buffer_length < length)
            continue;
        int data1 = event->midi_buffer[1];
        int data2 = length == 3 ? event->midi_buffer[2] : 0;
        add(list, event->time_seconds, rate, status, data1, data2);
    }
    smf_delete(smf);
    std::stable_sort(list.begin(), list.end(), [](const TimedMessage& a, const TimedMessage& b) {
        return a.frame < b.frame;
    });
    return true;
}

// The factory preset files live in the folder "presets" beside this
// executable, one NAME.NBP per preset.
std::string presetFilePath(const std::string& name)
{
    std::string folder = ".";
    char exe[4096];
    ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (length > 0) {
        exe[length] = 0;
        std::string path(exe);
        size_t slash = path.rfind('/');
        if (slash != std::string::npos)
            folder = path.substr(0, slash);
    }
    return folder + "/presets/" + name + ".NBP";
}

bool readPatchFile(const std::string& path, Patch& patch, std::string& error)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = "cannot open patch file " + path;
        return false;
    }
    size_t got = std::fread(&patch, 1, sizeof patch, f);
    bool longer = std::fgetc(f) != EOF;
    std::fclose(f);
    if (got != sizeof patch || longer) {
        error = "patch file " + path + " is not a " + std::to_string(sizeof patch) +
                "-byte program record";
        return false;
    }
    return true;
}

double toDecibels(double level)
{
    return level > 0.0 ? 20.0 * std::log10(level) : -INFINITY;
}
} // namespace

namespace {
int runRender(const Options& o)
{
    std::vector<TimedMessage> messages;
    std::string error;
    if (o.midi.empty())
        messages = demoPhrase(o.rate);
    else if (!readMidiFile(o.midi, o.rate, messages, error))
        return fail(error);

    Patch patch;
    bool havePatch = false;
    if (!o.patchFile.empty() || !o.preset.empty()) {
        const std::string path = o.preset.empty() ? o.patchFile : presetFilePath(o.preset);
        if (!readPatchFile(path, patch, error))
            return fail(o.preset.empty() ? error
                                         : "no factory preset '" + o.preset + "' (" + error + ")");
        havePatch = true;
    } else if (o.randomSeed >= 0) {
        newPatch(patch);
        fillRandomPatchFromDraw(patch, static_cast<int32_t>(o.randomSeed));
        havePatch = true;
    }

    std::unique_ptr<PluginHost> host = PluginHost::load(o.plugin, error);
    if (!host)
        return fail(error);
    AEffect* effect = host->effect();
    if (effect->numOutputs < 1)
        return fail(o.plugin + " has no audio outputs");
    host->timeInfo.tempo = 120.0;
    host->timeInfo.sampleRate = o.rate;
    host->timeInfo.flags = kVstTempoValid;
    host->start(static_cast<float>(o.rate), static_cast<int32_t>(o.block));
    if (havePatch && host->dispatch(effSetChunk, 1, sizeof patch, &patch) != sizeof patch)
        return fail(o.plugin + " refused the program record");

    long long lastFrame = messages.empty() ? 0 : messages.back().frame;
    long long total = o.seconds > 0.0 ? static_cast<long long>(std::llround(o.seconds * o.rate))
                                      : lastFrame + static_cast<long long>(kTailSeconds * o.rate);
    if (total < 1)
        total = 1;

    const int outputs = effect->numOutputs;
    std::vector<std::vector<float>> buffers(static_cast<size_t>(outputs),
                                            std::vector<float>(static_cast<size_t>(o.block)));
    std::vector<float*> outs;
    for (auto& b : buffers)
        outs.push_back(b.data());
    AudioData audio;
    audio.sampleRate = static_cast<int>(std::lround(o.rate));
    audio.channels.assign(2, std::vector<float>());
    audio.channels[0].reserve(static_cast<size_t>(total));
    audio.channels[1].reserve(static_cast<size_t>(total));

    MidiEventList block(100);
    size_t next = 0;
    const bool showProgress = total > static_cast<long long>(5.0 * o.rate);
    int shownPercent = -1;
    for (long long position = 0; position < total;) {
        long long length = std::min<long long>(o.block, total - position);
        // At most 100 events reach the plug-in per call; a denser stretch is
        // rendered in shorter blocks so that none is lost.
        block.clear();
        while (next < messages.size() && messages[next].frame < position + length) {
            if (block.full()) {
                length = std::max<long long>(1, messages[next].frame - position);
                break;
            }
            const unsigned char* bytes = messages[next].bytes;
            block.add(static_cast<int32_t>(std::max<long long>(0, messages[next].frame - position)),
                      bytes[0], bytes[1], bytes[2]);
            ++next;
        }
        if (block.size() > 0)
            host->dispatch(effProcessEvents, 0, 0, block.events());
        host->processReplacing(nullptr, outs.data(), static_cast<int32_t>(length));
        for (int c = 0; c < 2; ++c) {
            const float* source = outs[static_cast<size_t>(std::min(c, outputs - 1))];
            audio.channels[c].insert(audio.channels[c].end(), source, source + length);
        }
        position += length;
        if (showProgress) {
            int percent = static_cast<int>(10 * position / total) * 10;
            if (percent != shownPercent) {
                std::fprintf(stderr, "\rrendering %3d%%", percent);
                shownPercent = percent;
            }
        }
    }
    if (showProgress)
        std::fprintf(stderr, "\n");

    if (!writeWavFile(o.output, audio, o.format, error))
        return fail(error);
    LevelStats levels = measureLevels(audio);
    std::printf("wrote %s: %.2f s, %d Hz, stereo\n", o.output.c_str(),
                static_cast<double>(total) / o.rate, audio.sampleRate);
    std::printf("peak %.6f (%.2f dBFS), RMS %.6f (%.2f dBFS)\n", levels.peak,
                toDecibels(levels.peak), levels.rms, toDecibels(levels.rms));
    if (levels.nonFinite)
        return fail(std::to_string(levels.nonFinite) + " samples were not finite");
    return 0;
}
} // namespace

void addRenderCommand(CLI::App& app, int& exitCode)
{
    auto a = std::make_shared<RenderArguments>();
    Options& o = a->options;
    CLI::App* c = app.add_subcommand(
        "render", "play a Standard MIDI File (or the demo phrase) through an instrument into a "
                  "WAV file");
    c->add_option("PLUGIN", o.plugin, "the instrument's library")->required();
    c->add_option("-o,--output", o.output, "the WAV file to write")
        ->required()
        ->check(writableFile("--output"));
    c->add_option("--midi", o.midi, "a Standard MIDI File (default: the demo phrase)");
    c->add_option("--patch", o.patchFile, "a raw 1908-byte program record to play");
    c->add_option("--preset", o.preset,
                  "a factory preset by name (its file in the presets folder)");
    c->add_option("--random", o.randomSeed, "the random patch of this first draw")
        ->check(wholeNumberIn("--random", 0, 32767));
    c->add_option("--rate", o.rate, "sample rate in Hz (default 44100)")
        ->check(numberIn("--rate", 8000.0, 384000.0));
    c->add_option("--block", o.block, "block size in frames (default 512)")
        ->check(wholeNumberIn("--block", 1, 65536));
    c->add_option("--format", a->format, "samples: 16, 24 or float (default 24)")
        ->check(CLI::Validator(
            [](std::string& text) {
                WavFormat f;
                return parseWavFormat(text, f) ? std::string()
                                               : "bad --format '" + text + "': 16, 24 or float";
            },
            "16|24|float"));
    c->add_option("--seconds", o.seconds, "length (default: the material and a 1.5 s tail)")
        ->check(numberIn("--seconds", 0.001, 3600.0));
    c->callback([a, &exitCode] {
        Options options = a->options;
        if (!options.patchFile.empty() + !options.preset.empty() + (options.randomSeed >= 0) > 1) {
            std::fprintf(stderr, "nimhost render: give one of --patch, --preset and --random\n");
            exitCode = 2;
            return;
        }
        parseWavFormat(a->format, options.format);
        exitCode = runRender(options);
    });
}
