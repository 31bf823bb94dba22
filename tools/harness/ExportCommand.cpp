// `nimhost export PLUGIN -o OUT.NBP [--program N] [--patch IN.NBP | --preset
// NAME | --random SEED]`: writes one program of an instrument to a preset
// file (the raw 1908-byte record), so musicians can exchange patches
// without an authoring tool. The program is selected, optionally replaced by
// a preset file read back, a factory preset or a random patch, and then
// saved exactly as a host saves it: everything goes through the plug-in's
// dispatcher (program selection, setChunk, getChunk).
#include "Commands.h"
#include "PluginHost.h"

#include <CLI/CLI.hpp>

#include "FactoryBank.h"
#include "Patch.h"
#include "PresetFile.h"
#include "RandomPatch.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct ExportOptions {
    std::string plugin, output, patchFile, preset;
    long program = 0;
    long randomSeed = -1; // -1: none
};

int fail(const std::string& message)
{
    std::fprintf(stderr, "nimhost export: %s\n", message.c_str());
    return 1;
}

// The record to load into the program, if any option gives one.
bool sourceRecord(const ExportOptions& o, Patch& patch, bool& have, std::string& error)
{
    have = true;
    if (!o.patchFile.empty()) {
        switch (PresetFile::read(o.patchFile.c_str(), patch)) {
        case PresetFile::Result::Ok:
            return true;
        case PresetFile::Result::OpenFailed:
            error = "cannot open patch file " + o.patchFile;
            return false;
        default:
            error = "patch file " + o.patchFile + " is not a 1908-byte program record";
            return false;
        }
    }
    if (!o.preset.empty()) {
        for (int32_t i = 0; i < FactoryBank::count(); ++i) {
            if (o.preset == FactoryBank::name(i)) {
                std::memcpy(&patch, &FactoryBank::record(i), sizeof patch);
                return true;
            }
        }
        error = "no factory preset '" + o.preset + "'";
        return false;
    }
    if (o.randomSeed >= 0) {
        newPatch(patch);
        fillRandomPatchFromDraw(patch, static_cast<int32_t>(o.randomSeed));
        return true;
    }
    have = false;
    return true;
}

int runExport(const ExportOptions& o)
{
    Patch patch;
    bool havePatch = false;
    std::string error;
    if (!sourceRecord(o, patch, havePatch, error))
        return fail(error);

    std::unique_ptr<PluginHost> host = PluginHost::load(o.plugin, error);
    if (!host)
        return fail(error);
    AEffect* effect = host->effect();
    if (!(effect->flags & effFlagsProgramChunks))
        return fail(o.plugin + " keeps no program chunks");
    if (o.program >= effect->numPrograms)
        return fail(o.plugin + " has " + std::to_string(effect->numPrograms) + " programs");
    host->start(44100.0f, 512);
    host->dispatch(effSetProgram, 0, static_cast<intptr_t>(o.program));
    if (host->dispatch(effGetProgram) != o.program)
        return fail(o.plugin + " did not select program " + std::to_string(o.program));
    if (havePatch && host->dispatch(effSetChunk, 1, sizeof patch, &patch) != sizeof patch)
        return fail(o.plugin + " refused the program record");

    void* data = nullptr;
    const intptr_t size = host->dispatch(effGetChunk, 1, 0, &data);
    if (size != static_cast<intptr_t>(sizeof(Patch)) || !data)
        return fail(o.plugin + " gave a chunk of " + std::to_string(size) + " bytes, not " +
                    std::to_string(sizeof(Patch)));
    Patch program;
    std::memcpy(&program, data, sizeof program);
    const PresetFile::Result written = PresetFile::write(program, o.output.c_str());
    if (written != PresetFile::Result::Ok)
        return fail(std::string(PresetFile::message(written)) + " " + o.output);
    std::printf("program %ld \"%s\": %d bytes to %s\n", o.program, host->programName().c_str(),
                static_cast<int>(size), o.output.c_str());
    return 0;
}
} // namespace

void addExportCommand(CLI::App& app, int& exitCode)
{
    auto o = std::make_shared<ExportOptions>();
    CLI::App* c = app.add_subcommand(
        "export", "write one program of an instrument (or a preset file read back into it, a "
                  "factory preset or a random patch) to a 1908-byte preset file");
    c->add_option("PLUGIN", o->plugin, "the instrument's library")->required();
    c->add_option("-o,--output", o->output, "the preset file to write (.NBP)")
        ->required()
        ->check(writableFile("--output"));
    c->add_option("--program", o->program, "the program to write (default 0)")
        ->check(wholeNumberIn("--program", 0, 127));
    c->add_option("--patch", o->patchFile, "a preset file to read into the program first");
    c->add_option("--preset", o->preset, "a factory preset to load into the program first");
    c->add_option("--random", o->randomSeed, "the random patch of this first draw, likewise")
        ->check(wholeNumberIn("--random", 0, 32767));
    c->callback([o, &exitCode] {
        if (!o->patchFile.empty() + !o->preset.empty() + (o->randomSeed >= 0) > 1) {
            std::fprintf(stderr, "nimhost export: give one of --patch, --preset and --random\n");
            exitCode = 2;
            return;
        }
        exitCode = runExport(*o);
    });
}
