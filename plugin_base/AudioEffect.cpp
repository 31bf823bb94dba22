// Effect base: record setup, entry points, dispatcher opcodes 0..24, host
// requests of the first layer, and the text tools.
#include "AudioEffect.h"

#include "DenormalGuard.h"

#include <cmath>
#include <cstdio>
#include <cstring>

void vstStrncpy(char* destination, const char* source, int size)
{
    if (!destination || size <= 0)
        return;
    int i = 0;
    if (source)
        for (; i < size - 1 && source[i]; ++i)
            destination[i] = source[i];
    destination[i] = 0;
}

AudioEffect::AudioEffect(audioMasterCallback master, VstInt32 programs, VstInt32 params)
    : sampleRate(44100.0f), editor(nullptr), audioMaster(master), numPrograms(programs),
      numParams(params), curProgram(0), blockSize(1024)
{
    std::memset(&cEffect, 0, sizeof(cEffect));
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEntry;
    cEffect.process = processEntry;
    cEffect.setParameter = setParameterEntry;
    cEffect.getParameter = getParameterEntry;
    cEffect.numPrograms = programs;
    cEffect.numParams = params;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = fourCharCode('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingEntry;
}

AudioEffect::~AudioEffect()
{
    delete editor;
    editor = nullptr;
}

// ---- Entry points ----------------------------------------------------------

static AudioEffect* owner(AEffect* e)
{
    return e ? static_cast<AudioEffect*>(e->object) : nullptr;
}

VstIntPtr VSTCALLBACK AudioEffect::dispatchEntry(AEffect* e, VstInt32 opcode, VstInt32 index,
                                                 VstIntPtr value, void* ptr, float opt)
{
    AudioEffect* effect = owner(e);
    if (!effect)
        return 0;
    if (opcode == effClose) {
        effect->dispatcher(opcode, index, value, ptr, opt);
        delete effect;
        return 1;
    }
    return effect->dispatcher(opcode, index, value, ptr, opt);
}

void VSTCALLBACK AudioEffect::processEntry(AEffect* e, float** inputs, float** outputs,
                                           VstInt32 sampleFrames)
{
    AudioEffect* effect = owner(e);
    if (!effect || sampleFrames < 0)
        return;
    DenormalGuard guard;
    effect->process(inputs, outputs, sampleFrames);
}

void VSTCALLBACK AudioEffect::processReplacingEntry(AEffect* e, float** inputs, float** outputs,
                                                    VstInt32 sampleFrames)
{
    AudioEffect* effect = owner(e);
    if (!effect || sampleFrames < 0)
        return;
    DenormalGuard guard;
    effect->processReplacing(inputs, outputs, sampleFrames);
}

void VSTCALLBACK AudioEffect::setParameterEntry(AEffect* e, VstInt32 index, float value)
{
    if (AudioEffect* effect = owner(e))
        effect->setParameter(index, value);
}

float VSTCALLBACK AudioEffect::getParameterEntry(AEffect* e, VstInt32 index)
{
    AudioEffect* effect = owner(e);
    return effect ? effect->getParameter(index) : 0.0f;
}

// ---- Defaults --------------------------------------------------------------

void AudioEffect::setParameter(VstInt32, float) {}
float AudioEffect::getParameter(VstInt32)
{
    return 0.0f;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value)
{
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::processReplacing(float**, float**, VstInt32) {}

void AudioEffect::setProgramName(char*) {}
void AudioEffect::getProgramName(char* name)
{
    if (name)
        *name = 0;
}
void AudioEffect::getParameterLabel(VstInt32, char* label)
{
    if (label)
        *label = 0;
}
void AudioEffect::getParameterDisplay(VstInt32, char* text)
{
    if (text)
        *text = 0;
}
void AudioEffect::getParameterName(VstInt32, char* text)
{
    if (text)
        *text = 0;
}
VstInt32 AudioEffect::getChunk(void**, bool)
{
    return 0;
}
VstInt32 AudioEffect::setChunk(void*, VstInt32, bool)
{
    return 0;
}

void AudioEffect::setFlag(VstInt32 flag, bool state)
{
    if (state)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~flag;
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt)
{
    return audioMaster ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}

// ---- Dispatcher, opcodes 0..24 ----------------------------------------------

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt)
{
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram:
        if (value < numPrograms)
            setProgram(static_cast<VstInt32>(value));
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        if (text)
            setProgramName(text);
        return 0;
    case effGetProgramName:
        if (text)
            getProgramName(text);
        return 0;
    case effGetParamLabel:
        if (text)
            getParameterLabel(index, text);
        return 0;
    case effGetParamDisplay:
        if (text)
            getParameterDisplay(index, text);
        return 0;
    case effGetParamName:
        if (text)
            getParameterName(index, text);
        return 0;
    case effGetVu: {
        // Guard the conversion: a VU outside 0..1 (or NaN) must not be UB.
        double vu = static_cast<double>(getVu()) * 32767.0;
        if (!(vu > -2147483648.0 && vu < 2147483647.0))
            return 0;
        return static_cast<VstInt32>(vu);
    }
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<VstInt32>(value));
        return 0;
    case effMainsChanged:
        if (value == 0)
            suspend();
        else
            resume();
        return 0;
    case effEditGetRect:
        return (editor && ptr) ? editor->getRect(static_cast<ERect**>(ptr)) : 0;
    case effEditOpen:
        return editor ? editor->open(ptr) : 0;
    case effEditClose:
        if (editor)
            editor->close();
        return 0;
    case effEditIdle:
        if (editor)
            editor->idle();
        return 0;
    case effIdentify:
        return fourCharCode('N', 'v', 'E', 'f');
    case effGetChunk:
        return ptr ? getChunk(static_cast<void**>(ptr), index != 0) : 0;
    case effSetChunk:
        return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:
        return 0;
    }
}

// ---- Host requests ---------------------------------------------------------

VstInt32 AudioEffect::getMasterVersion()
{
    VstInt32 version = static_cast<VstInt32>(callHost(audioMasterVersion));
    return version ? version : 1;
}

VstInt32 AudioEffect::getCurrentUniqueId()
{
    return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle()
{
    callHost(audioMasterIdle);
}

// The host answers 0 for a connected pin.
bool AudioEffect::isInputConnected(VstInt32 input)
{
    return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output)
{
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

// ---- Text tools ------------------------------------------------------------

void AudioEffect::dB2string(float value, char* text)
{
    if (value <= 0.0f)
        vstStrncpy(text, "  -oo   ", 9);
    else
        float2string(static_cast<float>(20.0 * std::log10(static_cast<double>(value))), text);
}

void AudioEffect::Hz2string(float samples, char* text)
{
    float sr = getSampleRate();
    if (samples == 0.0f)
        float2string(0.0f, text);
    else
        float2string(static_cast<float>(static_cast<double>(sr) / samples), text);
}

void AudioEffect::ms2string(float samples, char* text)
{
    float2string(static_cast<float>(static_cast<double>(samples) * 1000.0 / getSampleRate()), text);
}

// Eight characters of decimal: the integer digits that fit (least significant
// ones kept), the point, then fraction digits up to eight characters in all.
void AudioEffect::float2string(float value, char* text)
{
    if (!text)
        return;
    if (std::isnan(value)) {
        vstStrncpy(text, "  NaN   ", 9);
        return;
    }
    const double v = std::fabs(static_cast<double>(value));
    const bool negative = value < 0.0f;
    if ((negative && v > 9999999.0) || (!negative && v > 99999999.0)) {
        vstStrncpy(text, " Huge!  ", 9);
        return;
    }

    // Built from the right, as the digits are produced.
    char buffer[32];
    char* s = buffer + sizeof(buffer) - 1;
    *s = 0;
    int count = negative ? 1 : 0;
    double integer = std::floor(v);
    *--s = '.';
    *--s = static_cast<char>('0' + static_cast<int>(std::fmod(integer, 10.0)));
    count += 2;
    integer *= 0.1;
    while (integer >= 1.0 && count < 8) {
        *--s = static_cast<char>('0' + static_cast<int>(std::fmod(integer, 10.0)));
        integer *= 0.1;
        ++count;
    }
    if (negative)
        *--s = '-';
    std::strcpy(text, s);
    if (count >= 8)
        return;

    const int digits = 8 - count;
    char fraction[16];
    char* f = fraction + sizeof(fraction) - 1;
    *f = 0;
    double scaled = std::fmod(v, 1.0) * std::pow(10.0, digits);
    for (int i = 0; i < digits; ++i) {
        if (scaled <= 0.0)
            *--f = '0';
        else
            *--f = static_cast<char>('0' + static_cast<int>(std::fmod(scaled, 10.0)));
        scaled *= 0.1;
    }
    std::strcat(text, f);
}

void AudioEffect::long2string(VstInt32 value, char* text)
{
    if (!text)
        return;
    if (value >= 100000000) {
        vstStrncpy(text, " Huge!  ", 9);
        return;
    }
    char buffer[24];
    std::snprintf(buffer, sizeof(buffer), "%7d", static_cast<int>(value));
    vstStrncpy(text, buffer, 9);
}
