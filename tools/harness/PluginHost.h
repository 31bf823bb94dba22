// A minimal, real VST 2 host: loads a plug-in library, calls its entry point
// with a host callback of ours, and drives the returned record through its
// dispatcher and entry points. The tools and the end-to-end tests use it, so
// every check through it exercises the binary interface a DAW sees.
#pragma once

#include "Vst2Interface.h"

#include <memory>
#include <string>
#include <vector>

class PluginHost {
public:
    // Loads `path` and calls its entry point; on failure returns null and
    // says why in `error`.
    static std::unique_ptr<PluginHost> load(const std::string& path, std::string& error);
    ~PluginHost(); // closes the plug-in (effClose) and unloads the library

    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    AEffect* effect() const { return aeffect; }
    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    // Convenience wrappers.
    void start(float sampleRate, int32_t blockSize); // open, rate, block size, resume
    void setParameter(int32_t index, float value);
    float getParameter(int32_t index);
    std::string parameterName(int32_t index);
    std::string parameterLabel(int32_t index);
    std::string parameterDisplay(int32_t index);
    std::string programName();
    std::string effectName();
    std::string vendorString();
    std::string productString();
    intptr_t canDo(const char* text);
    int32_t findParameter(const std::string& name); // -1 when none matches
    void processReplacing(float** inputs, float** outputs, int32_t frames);
    void process(float** inputs, float** outputs, int32_t frames);

    // Host state the plug-in can ask for.
    float sampleRate = 44100.0f;
    int32_t blockSize = 1024;
    VstTimeInfo timeInfo{}; // returned by audioMasterGetTime when timeAvailable
    bool timeAvailable = true;
    intptr_t versionAnswer = 2400;

    // What the plug-in told the host.
    struct Automation {
        int32_t index;
        float value;
    };
    std::vector<Automation> automations;
    int wantMidiRequests = 0;
    int timeRequests = 0;

private:
    PluginHost() = default;
    static intptr_t VSTCALLBACK callback(AEffect* effect, int32_t opcode, int32_t index,
                                         intptr_t value, void* ptr, float opt);
    intptr_t answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    void* library = nullptr;
    AEffect* aeffect = nullptr;
};
