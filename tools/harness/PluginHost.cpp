#include "PluginHost.h"

#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

typedef AEffect*(VSTCALLBACK* EntryProc)(audioMasterCallback);

namespace {
// The host being constructed: the plug-in may call back from inside its entry
// point, before we know its record.
thread_local PluginHost* loadingHost = nullptr;

void* openLibrary(const std::string& path, std::string& error)
{
#if defined(_WIN32)
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module)
        error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void*>(module);
#else
    std::string name = path.find('/') == std::string::npos ? "./" + path : path;
    void* module = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* why = dlerror();
        error = "cannot load " + path + ": " + (why ? why : "unknown error");
    }
    return module;
#endif
}

void* findSymbol(void* library, const char* name)
{
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), name));
#else
    return dlsym(library, name);
#endif
}

void closeLibrary(void* library)
{
    if (!library)
        return;
#if defined(_WIN32)
    FreeLibrary(reinterpret_cast<HMODULE>(library));
#else
    dlclose(library);
#endif
}

std::string text(const char* buffer, size_t size)
{
    return std::string(buffer, strnlen(buffer, size));
}
} // namespace

std::unique_ptr<PluginHost> PluginHost::load(const std::string& path, std::string& error)
{
    std::unique_ptr<PluginHost> host(new PluginHost());
    host->library = openLibrary(path, error);
    if (!host->library)
        return nullptr;
    // Hosts look for VSTPluginMain first and fall back to main.
    void* entry = findSymbol(host->library, "VSTPluginMain");
    if (!entry)
        entry = findSymbol(host->library, "main");
    if (!entry) {
        error = path + " exports neither VSTPluginMain nor main";
        return nullptr;
    }
    loadingHost = host.get();
    host->aeffect = reinterpret_cast<EntryProc>(entry)(callback);
    loadingHost = nullptr;
    if (!host->aeffect) {
        error = path + ": the entry point returned no plug-in";
        return nullptr;
    }
    if (host->aeffect->magic != kEffectMagic) {
        error = path + ": the returned record has the wrong magic number";
        host->aeffect = nullptr;
        return nullptr;
    }
    // Like real hosts, keep our own pointer in the host-owned field.
    host->aeffect->resvd1 = reinterpret_cast<intptr_t>(host.get());
    return host;
}

PluginHost::~PluginHost()
{
    if (aeffect)
        aeffect->dispatcher(aeffect, effClose, 0, 0, nullptr, 0.0f);
    closeLibrary(library);
}

intptr_t VSTCALLBACK PluginHost::callback(AEffect* effect, int32_t opcode, int32_t index,
                                          intptr_t value, void* ptr, float opt)
{
    PluginHost* host = loadingHost;
    if (effect && effect->resvd1)
        host = reinterpret_cast<PluginHost*>(effect->resvd1);
    if (!host)
        return opcode == audioMasterVersion ? 2400 : 0;
    return host->answer(opcode, index, value, ptr, opt);
}

intptr_t PluginHost::answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    switch (opcode) {
    case audioMasterAutomate:
        automations.push_back({index, opt});
        return 0;
    case audioMasterVersion:
        return versionAnswer;
    case audioMasterWantMidi:
        ++wantMidiRequests;
        return 1;
    case audioMasterGetTime:
        ++timeRequests;
        (void)value;
        return timeAvailable ? reinterpret_cast<intptr_t>(&timeInfo) : 0;
    case audioMasterGetSampleRate:
        return static_cast<intptr_t>(sampleRate);
    case audioMasterGetBlockSize:
        return blockSize;
    case audioMasterGetVendorString:
        if (ptr)
            std::strcpy(static_cast<char*>(ptr), "Orvalend");
        return 1;
    case audioMasterGetProductString:
        if (ptr)
            std::strcpy(static_cast<char*>(ptr), "nimhost");
        return 1;
    case audioMasterGetVendorVersion:
        return 1;
    case audioMasterCanDo: {
        const char* word = static_cast<const char*>(ptr);
        if (!word)
            return 0;
        static const char* const yes[] = {"sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo",
                                          "sizeWindow", "supplyIdle"};
        for (const char* y : yes)
            if (std::strcmp(word, y) == 0)
                return 1;
        return 0;
    }
    default:
        return 0;
    }
}

intptr_t PluginHost::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    return aeffect->dispatcher(aeffect, opcode, index, value, ptr, opt);
}

void PluginHost::start(float rate, int32_t block)
{
    sampleRate = rate;
    blockSize = block;
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    dispatch(effSetBlockSize, 0, block);
    dispatch(effMainsChanged, 0, 1);
}

void PluginHost::setParameter(int32_t index, float value)
{
    aeffect->setParameter(aeffect, index, value);
}

float PluginHost::getParameter(int32_t index)
{
    return aeffect->getParameter(aeffect, index);
}

// Hosts pass generous buffers; plug-ins are meant to write at most 8
// characters (plus the terminator), but some write more.
std::string PluginHost::parameterName(int32_t index)
{
    char buffer[256] = {};
    dispatch(effGetParamName, index, 0, buffer);
    return text(buffer, sizeof buffer);
}

std::string PluginHost::parameterLabel(int32_t index)
{
    char buffer[256] = {};
    dispatch(effGetParamLabel, index, 0, buffer);
    return text(buffer, sizeof buffer);
}

std::string PluginHost::parameterDisplay(int32_t index)
{
    char buffer[256] = {};
    dispatch(effGetParamDisplay, index, 0, buffer);
    return text(buffer, sizeof buffer);
}

std::string PluginHost::programName()
{
    char buffer[256] = {};
    dispatch(effGetProgramName, 0, 0, buffer);
    return text(buffer, sizeof buffer);
}

std::string PluginHost::effectName()
{
    char buffer[256] = {};
    dispatch(effGetEffectName, 0, 0, buffer);
    return text(buffer, sizeof buffer);
}

std::string PluginHost::vendorString()
{
    char buffer[256] = {};
    dispatch(effGetVendorString, 0, 0, buffer);
    return text(buffer, sizeof buffer);
}

std::string PluginHost::productString()
{
    char buffer[256] = {};
    dispatch(effGetProductString, 0, 0, buffer);
    return text(buffer, sizeof buffer);
}

intptr_t PluginHost::canDo(const char* word)
{
    return dispatch(effCanDo, 0, 0, const_cast<char*>(word));
}

int32_t PluginHost::findParameter(const std::string& name)
{
    for (int32_t i = 0; i < aeffect->numParams; ++i)
        if (parameterName(i) == name)
            return i;
    return -1;
}

void PluginHost::processReplacing(float** inputs, float** outputs, int32_t frames)
{
    aeffect->processReplacing(aeffect, inputs, outputs, frames);
}

void PluginHost::process(float** inputs, float** outputs, int32_t frames)
{
    aeffect->process(aeffect, inputs, outputs, frames);
}
