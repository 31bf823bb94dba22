// The VST 2 binary interface, declared from the published layouts.
//
// Hosts read these records directly, so every width and offset here is part
// of the contract: integers that are 32 bits in every host are int32_t, the
// fields that grow with the pointer width are intptr_t or pointers. The
// static_asserts at the end pin the layouts for 32-bit and 64-bit builds.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VSTCALLBACK __cdecl
#else
#define VSTCALLBACK
#endif

struct AEffect;

typedef intptr_t(VSTCALLBACK* audioMasterCallback)(AEffect* effect, int32_t opcode, int32_t index,
                                                   intptr_t value, void* ptr, float opt);
typedef intptr_t(VSTCALLBACK* AEffectDispatcherProc)(AEffect* effect, int32_t opcode, int32_t index,
                                                     intptr_t value, void* ptr, float opt);
typedef void(VSTCALLBACK* AEffectProcessProc)(AEffect* effect, float** inputs, float** outputs,
                                              int32_t sampleFrames);
typedef void(VSTCALLBACK* AEffectProcessDoubleProc)(AEffect* effect, double** inputs,
                                                    double** outputs, int32_t sampleFrames);
typedef void(VSTCALLBACK* AEffectSetParameterProc)(AEffect* effect, int32_t index, float value);
typedef float(VSTCALLBACK* AEffectGetParameterProc)(AEffect* effect, int32_t index);

// Four characters packed first-character-most-significant, as hosts expect.
constexpr int32_t fourCharCode(char a, char b, char c, char d)
{
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<unsigned char>(a)) << 24) |
                                (static_cast<uint32_t>(static_cast<unsigned char>(b)) << 16) |
                                (static_cast<uint32_t>(static_cast<unsigned char>(c)) << 8) |
                                static_cast<uint32_t>(static_cast<unsigned char>(d)));
}

constexpr int32_t kEffectMagic = fourCharCode('V', 's', 't', 'P'); // 0x56737450

struct AEffect {
    int32_t magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process; // accumulating (deprecated by hosts, still called by some)
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    int32_t numPrograms;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;
    intptr_t resvd1; // owned by the host: never written by the plug-in
    intptr_t resvd2; // owned by the host
    int32_t initialDelay;
    int32_t realQualities;
    int32_t offQualities;
    float ioRatio;
    void* object; // the plug-in's own instance
    void* user;   // owned by the host
    int32_t uniqueID;
    int32_t version;
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing; // not supported: always null
    char future[56];
};

enum VstAEffectFlags : int32_t {
    effFlagsHasEditor = 1 << 0,
    effFlagsHasClip = 1 << 1,
    effFlagsHasVu = 1 << 2,
    effFlagsCanMono = 1 << 3,
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
    effFlagsNoSoundInStop = 1 << 9,
    effFlagsExtIsAsync = 1 << 10,
    effFlagsExtHasBuffer = 1 << 11,
};

// Dispatcher opcodes (host -> plug-in).
enum AEffectOpcodes : int32_t {
    effOpen = 0,
    effClose,
    effSetProgram,
    effGetProgram,
    effSetProgramName,
    effGetProgramName,
    effGetParamLabel,
    effGetParamDisplay,
    effGetParamName,
    effGetVu,
    effSetSampleRate,
    effSetBlockSize,
    effMainsChanged,
    effEditGetRect,
    effEditOpen,
    effEditClose,
    effEditDraw,
    effEditMouse,
    effEditKey,
    effEditIdle,
    effEditTop,
    effEditSleep,
    effIdentify,
    effGetChunk,
    effSetChunk,
    effProcessEvents,
    effCanBeAutomated,
    effString2Parameter,
    effGetNumProgramCategories,
    effGetProgramNameIndexed,
    effCopyProgram,
    effConnectInput,
    effConnectOutput,
    effGetInputProperties,
    effGetOutputProperties,
    effGetPlugCategory,
    effGetCurrentPosition,
    effGetDestinationBuffer,
    effOfflineNotify,
    effOfflinePrepare,
    effOfflineRun,
    effProcessVarIo,
    effSetSpeakerArrangement,
    effSetBlockSizeAndSampleRate,
    effSetBypass,
    effGetEffectName,
    effGetErrorText,
    effGetVendorString,
    effGetProductString,
    effGetVendorVersion,
    effVendorSpecific,
    effCanDo,
    effGetTailSize,
    effIdle,
    effGetIcon,
    effSetViewPosition,
    effGetParameterProperties,
    effKeysRequired,
    effGetVstVersion, // 58
};

// Host-callback opcodes (plug-in -> host).
enum AudioMasterOpcodes : int32_t {
    audioMasterAutomate = 0,
    audioMasterVersion,
    audioMasterCurrentId,
    audioMasterIdle,
    audioMasterPinConnected,
    audioMasterWantMidi = 6,
    audioMasterGetTime,
    audioMasterProcessEvents,
    audioMasterSetTime,
    audioMasterTempoAt,
    audioMasterGetNumAutomatableParameters,
    audioMasterGetParameterQuantization,
    audioMasterIOChanged,
    audioMasterNeedIdle,
    audioMasterSizeWindow,
    audioMasterGetSampleRate,
    audioMasterGetBlockSize,
    audioMasterGetInputLatency,
    audioMasterGetOutputLatency,
    audioMasterGetPreviousPlug,
    audioMasterGetNextPlug,
    audioMasterWillReplaceOrAccumulate,
    audioMasterGetCurrentProcessLevel,
    audioMasterGetAutomationState,
    audioMasterOfflineStart,
    audioMasterOfflineRead,
    audioMasterOfflineWrite,
    audioMasterOfflineGetCurrentPass,
    audioMasterOfflineGetCurrentMetaPass,
    audioMasterSetOutputSampleRate,
    audioMasterGetSpeakerArrangement,
    audioMasterGetVendorString,
    audioMasterGetProductString,
    audioMasterGetVendorVersion,
    audioMasterVendorSpecific,
    audioMasterSetIcon,
    audioMasterCanDo,
    audioMasterGetLanguage,
    audioMasterOpenWindow,
    audioMasterCloseWindow,
    audioMasterGetDirectory,
    audioMasterUpdateDisplay, // 42
};

enum VstPlugCategory : int32_t {
    kPlugCategUnknown = 0,
    kPlugCategEffect,
    kPlugCategSynth,
};

enum VstEventTypes : int32_t {
    kVstMidiType = 1,
    kVstSysExType = 6,
};

// Generic event header; the host's events may be larger or smaller than
// this, so only `type` and `byteSize` may be read before checking the type.
struct VstEvent {
    int32_t type;
    int32_t byteSize;
    int32_t deltaFrames; // sample offset into the current block
    int32_t flags;
    char data[16];
};

struct VstEvents {
    int32_t numEvents;
    intptr_t reserved;
    VstEvent* events[2]; // really numEvents entries
};

struct VstMidiEvent {
    int32_t type;
    int32_t byteSize;
    int32_t deltaFrames;
    int32_t flags;
    int32_t noteLength;
    int32_t noteOffset;
    char midiData[4];
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

enum VstTimeInfoFlags : int32_t {
    kVstTransportChanged = 1,
    kVstTransportPlaying = 1 << 1,
    kVstTransportCycleActive = 1 << 2,
    kVstTransportRecording = 1 << 3,
    kVstAutomationWriting = 1 << 6,
    kVstAutomationReading = 1 << 7,
    kVstNanosValid = 1 << 8,
    kVstPpqPosValid = 1 << 9,
    kVstTempoValid = 1 << 10,
    kVstBarsValid = 1 << 11,
    kVstCyclePosValid = 1 << 12,
    kVstTimeSigValid = 1 << 13,
    kVstSmpteValid = 1 << 14,
    kVstClockValid = 1 << 15,
};

struct VstTimeInfo {
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;
    double tempo; // quarter notes per minute
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    int32_t timeSigNumerator;
    int32_t timeSigDenominator;
    int32_t smpteOffset;
    int32_t smpteFrameRate;
    int32_t samplesToNextClock;
    int32_t flags;
};

struct ERect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

enum VstPinPropertiesFlags : int32_t {
    kVstPinIsActive = 1,
    kVstPinIsStereo = 2,
    kVstPinUseSpeaker = 4,
};

struct VstPinProperties {
    char label[64];
    int32_t flags;
    int32_t arrangementType;
    char shortLabel[8];
    char future[48];
};

// Text sizes hosts provide for the dispatcher's string requests.
enum VstStringLengths {
    kVstMaxProgNameLen = 24,
    kVstMaxParamStrLen = 8,
    kVstMaxVendorStrLen = 64,
    kVstMaxProductStrLen = 64,
    kVstMaxEffectNameLen = 32,
};

// ---- Layout checks, for both pointer widths ----------------------------
#define VST2_CHECK(type, field, off32, off64)                                                      \
    static_assert(offsetof(type, field) == (sizeof(void*) == 8 ? (off64) : (off32)),               \
                  #type "." #field " offset")

VST2_CHECK(AEffect, magic, 0, 0);
VST2_CHECK(AEffect, dispatcher, 4, 8);
VST2_CHECK(AEffect, process, 8, 16);
VST2_CHECK(AEffect, setParameter, 12, 24);
VST2_CHECK(AEffect, getParameter, 16, 32);
VST2_CHECK(AEffect, numPrograms, 20, 40);
VST2_CHECK(AEffect, numParams, 24, 44);
VST2_CHECK(AEffect, numInputs, 28, 48);
VST2_CHECK(AEffect, numOutputs, 32, 52);
VST2_CHECK(AEffect, flags, 36, 56);
VST2_CHECK(AEffect, resvd1, 40, 64);
VST2_CHECK(AEffect, resvd2, 44, 72);
VST2_CHECK(AEffect, initialDelay, 48, 80);
VST2_CHECK(AEffect, realQualities, 52, 84);
VST2_CHECK(AEffect, offQualities, 56, 88);
VST2_CHECK(AEffect, ioRatio, 60, 92);
VST2_CHECK(AEffect, object, 64, 96);
VST2_CHECK(AEffect, user, 68, 104);
VST2_CHECK(AEffect, uniqueID, 72, 112);
VST2_CHECK(AEffect, version, 76, 116);
VST2_CHECK(AEffect, processReplacing, 80, 120);
VST2_CHECK(AEffect, processDoubleReplacing, 84, 128);
VST2_CHECK(AEffect, future, 88, 136);
static_assert(sizeof(AEffect) == (sizeof(void*) == 8 ? 192 : 144), "AEffect size");

VST2_CHECK(VstEvents, numEvents, 0, 0);
VST2_CHECK(VstEvents, reserved, 4, 8);
VST2_CHECK(VstEvents, events, 8, 16);

VST2_CHECK(VstEvent, type, 0, 0);
VST2_CHECK(VstEvent, byteSize, 4, 4);
VST2_CHECK(VstEvent, deltaFrames, 8, 8);
VST2_CHECK(VstEvent, flags, 12, 12);
VST2_CHECK(VstEvent, data, 16, 16);
static_assert(sizeof(VstEvent) == 32, "VstEvent size");

VST2_CHECK(VstMidiEvent, type, 0, 0);
VST2_CHECK(VstMidiEvent, byteSize, 4, 4);
VST2_CHECK(VstMidiEvent, deltaFrames, 8, 8);
VST2_CHECK(VstMidiEvent, flags, 12, 12);
VST2_CHECK(VstMidiEvent, noteLength, 16, 16);
VST2_CHECK(VstMidiEvent, noteOffset, 20, 20);
VST2_CHECK(VstMidiEvent, midiData, 24, 24);
VST2_CHECK(VstMidiEvent, detune, 28, 28);
VST2_CHECK(VstMidiEvent, noteOffVelocity, 29, 29);
VST2_CHECK(VstMidiEvent, reserved1, 30, 30);
VST2_CHECK(VstMidiEvent, reserved2, 31, 31);
static_assert(sizeof(VstMidiEvent) == 32, "VstMidiEvent size");

VST2_CHECK(VstTimeInfo, samplePos, 0, 0);
VST2_CHECK(VstTimeInfo, sampleRate, 8, 8);
VST2_CHECK(VstTimeInfo, nanoSeconds, 16, 16);
VST2_CHECK(VstTimeInfo, ppqPos, 24, 24);
VST2_CHECK(VstTimeInfo, tempo, 32, 32);
VST2_CHECK(VstTimeInfo, barStartPos, 40, 40);
VST2_CHECK(VstTimeInfo, cycleStartPos, 48, 48);
VST2_CHECK(VstTimeInfo, cycleEndPos, 56, 56);
VST2_CHECK(VstTimeInfo, timeSigNumerator, 64, 64);
VST2_CHECK(VstTimeInfo, timeSigDenominator, 68, 68);
VST2_CHECK(VstTimeInfo, smpteOffset, 72, 72);
VST2_CHECK(VstTimeInfo, smpteFrameRate, 76, 76);
VST2_CHECK(VstTimeInfo, samplesToNextClock, 80, 80);
VST2_CHECK(VstTimeInfo, flags, 84, 84);
static_assert(sizeof(VstTimeInfo) == 88, "VstTimeInfo size");

VST2_CHECK(ERect, top, 0, 0);
VST2_CHECK(ERect, left, 2, 2);
VST2_CHECK(ERect, bottom, 4, 4);
VST2_CHECK(ERect, right, 6, 6);
static_assert(sizeof(ERect) == 8, "ERect size");

VST2_CHECK(VstPinProperties, label, 0, 0);
VST2_CHECK(VstPinProperties, flags, 64, 64);
VST2_CHECK(VstPinProperties, arrangementType, 68, 68);
VST2_CHECK(VstPinProperties, shortLabel, 72, 72);
VST2_CHECK(VstPinProperties, future, 80, 80);
static_assert(sizeof(VstPinProperties) == 128, "VstPinProperties size");

#undef VST2_CHECK
