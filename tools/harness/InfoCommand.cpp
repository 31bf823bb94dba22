// `nimhost info PLUGIN`: loads a plug-in through its entry point and prints
// what a host learns from it: identity, flags, pins, programs, parameters.
#include "Commands.h"
#include "PluginHost.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {
std::string fourChars(int32_t id)
{
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((id >> shift) & 0xFF);
        s += (c >= 32 && c < 127) ? c : '.';
    }
    return s;
}

void printFlags(int32_t flags)
{
    static const struct {
        int32_t bit;
        const char* name;
    } names[] = {{effFlagsHasEditor, "has-editor"},
                 {effFlagsHasClip, "has-clip"},
                 {effFlagsHasVu, "has-vu"},
                 {effFlagsCanMono, "can-mono"},
                 {effFlagsCanReplacing, "can-replace"},
                 {effFlagsProgramChunks, "program-chunks"},
                 {effFlagsIsSynth, "is-synth"},
                 {effFlagsNoSoundInStop, "no-tail"}};
    std::printf("flags:       0x%x", static_cast<unsigned>(flags));
    for (const auto& n : names)
        if (flags & n.bit)
            std::printf(" %s", n.name);
    std::printf("\n");
}
} // namespace

namespace {
int runInfo(const std::string& path)
{
    std::string error;
    auto host = PluginHost::load(path, error);
    if (!host) {
        std::fprintf(stderr, "nimhost: %s\n", error.c_str());
        return 1;
    }
    AEffect* e = host->effect();
    host->start(44100.0f, 512);

    std::printf("plug-in:     %s\n", path.c_str());
    std::printf("name:        %s\n", host->effectName().c_str());
    std::printf("vendor:      %s\n", host->vendorString().c_str());
    std::printf("product:     %s\n", host->productString().c_str());
    std::printf("unique id:   0x%08X '%s'\n", static_cast<unsigned>(e->uniqueID),
                fourChars(e->uniqueID).c_str());
    std::printf("version:     %d (vendor version %d)\n", e->version,
                static_cast<int>(host->dispatch(effGetVendorVersion)));
    std::printf("vst version: %d\n", static_cast<int>(host->dispatch(effGetVstVersion)));
    std::printf("category:    %d\n", static_cast<int>(host->dispatch(effGetPlugCategory)));
    printFlags(e->flags);
    std::printf("inputs:      %d\noutputs:     %d\n", e->numInputs, e->numOutputs);
    for (int32_t i = 0; i < e->numOutputs; ++i) {
        VstPinProperties pin{};
        if (host->dispatch(effGetOutputProperties, i, 0, &pin))
            std::printf("  output %d: \"%.64s\" flags %d\n", i, pin.label, pin.flags);
    }
    static const char* const words[] = {"receiveVstEvents", "receiveVstMidiEvent",
                                        "receiveVstTimeInfo", "sendVstEvents", "bypass"};
    std::printf("can do:     ");
    for (const char* w : words)
        std::printf(" %s=%d", w, static_cast<int>(host->canDo(w)));
    std::printf("\n");

    std::printf("programs:    %d\n", e->numPrograms);
    for (int32_t i = 0; i < e->numPrograms; ++i) {
        char name[256] = {};
        if (host->dispatch(effGetProgramNameIndexed, i, 0, name))
            std::printf("  %2d  %s\n", i, name);
    }
    if (e->numPrograms > 0)
        std::printf("current:     %d \"%s\"\n", static_cast<int>(host->dispatch(effGetProgram)),
                    host->programName().c_str());

    std::printf("parameters:  %d\n", e->numParams);
    for (int32_t i = 0; i < e->numParams; ++i)
        std::printf("  %3d  %-10s %10s %-6s (%.6f)\n", i, host->parameterName(i).c_str(),
                    host->parameterDisplay(i).c_str(), host->parameterLabel(i).c_str(),
                    host->getParameter(i));
    return 0;
}
} // namespace

void addInfoCommand(CLI::App& app, int& exitCode)
{
    auto path = std::make_shared<std::string>();
    CLI::App* command =
        app.add_subcommand("info", "identity, flags, pins, programs and parameters of a plug-in");
    command->add_option("PLUGIN", *path, "the plug-in library")->required();
    command->callback([path, &exitCode] { exitCode = runInfo(*path); });
}
