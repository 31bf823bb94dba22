// Shared by the instrument's object-level tests: a host callback that
// answers like a real host, and a capture for the instrument's messages.
#pragma once

#include "SynthPlatform.h"
#include "VstXSynth.h"

#include <memory>
#include <string>
#include <vector>

namespace synthtest {

inline VstIntPtr VSTCALLBACK fakeHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

inline std::unique_ptr<VstXSynth> makeSynth()
{
    return std::unique_ptr<VstXSynth>(new VstXSynth(fakeHost));
}

// Collects what the instrument would show in message boxes while alive.
class MessageCapture {
public:
    MessageCapture()
    {
        messages().clear();
        setMessageHandler(&MessageCapture::record);
    }
    ~MessageCapture() { setMessageHandler(nullptr); }
    const std::vector<std::string>& shown() const { return messages(); }
    void clear() { messages().clear(); }

private:
    static std::vector<std::string>& messages()
    {
        static std::vector<std::string> list;
        return list;
    }
    static void record(const char* text) { messages().push_back(text); }
};

} // namespace synthtest
