// The effect base as a host sees it: defaults, dispatcher routing, entry
// points and host requests with and without a host callback.
#include "AudioEffectX.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {
int destroyed = 0;

class ProbeEffect : public AudioEffectX {
public:
    explicit ProbeEffect(audioMasterCallback master, VstInt32 programs = 4, VstInt32 params = 3)
        : AudioEffectX(master, programs, params)
    {
    }
    ~ProbeEffect() override { ++destroyed; }
    void process(float**, float**, VstInt32) override {}
    void setParameter(VstInt32 index, float value) override
    {
        lastIndex = index;
        lastValue = value;
    }
    bool keysRequired() override { return wantsKeys; }
    using AudioEffect::setFlag;

    VstInt32 lastIndex = -1;
    float lastValue = 0.0f;
    bool wantsKeys = false;
};

struct RecordedCall {
    int32_t opcode, index;
    intptr_t value;
    float opt;
};
std::vector<RecordedCall> calls;
intptr_t hostAnswer = 0;

intptr_t VSTCALLBACK recordingHost(AEffect*, int32_t opcode, int32_t index, intptr_t value, void*,
                                   float opt)
{
    calls.push_back({opcode, index, value, opt});
    return hostAnswer;
}

intptr_t dispatch(AudioEffect& e, int32_t opcode, int32_t index = 0, intptr_t value = 0,
                  void* ptr = nullptr, float opt = 0.0f)
{
    AEffect* a = e.getAeffect();
    return a->dispatcher(a, opcode, index, value, ptr, opt);
}
} // namespace

TEST(AudioEffect, FreshBaseReportsPublishedDefaults)
{
    ProbeEffect e(nullptr);
    AEffect* a = e.getAeffect();
    EXPECT_EQ(a->magic, 0x56737450);
    EXPECT_EQ(std::memcmp(&a->magic, "PtsV", 4), 0);
    EXPECT_EQ(a->numInputs, 1);
    EXPECT_EQ(a->numOutputs, 2);
    EXPECT_EQ(a->numPrograms, 4);
    EXPECT_EQ(a->numParams, 3);
    EXPECT_EQ(a->flags, 0);
    EXPECT_EQ(a->uniqueID, fourCharCode('N', 'o', 'E', 'f'));
    EXPECT_EQ(a->version, 1);
    EXPECT_EQ(a->ioRatio, 1.0f);
    EXPECT_EQ(a->object, &e);
    EXPECT_EQ(a->resvd1, 0);
    EXPECT_EQ(a->resvd2, 0);
    EXPECT_EQ(a->user, nullptr);
    EXPECT_EQ(a->processDoubleReplacing, nullptr);
    for (char c : a->future)
        EXPECT_EQ(c, 0);
    EXPECT_EQ(e.getSampleRate(), 44100.0f);
    EXPECT_EQ(e.getBlockSize(), 1024);
    EXPECT_EQ(e.getProgram(), 0);
}

TEST(AudioEffect, IdentifiesAndAnswersVersionQueries)
{
    ProbeEffect e(nullptr);
    EXPECT_EQ(dispatch(e, effIdentify), 0x4E764566);
    EXPECT_EQ(dispatch(e, effGetVstVersion), 2);
    EXPECT_EQ(dispatch(e, effKeysRequired), 1);
    e.wantsKeys = true;
    EXPECT_EQ(dispatch(e, effKeysRequired), 0);
    EXPECT_EQ(dispatch(e, effGetNumProgramCategories), 1);
    EXPECT_EQ(dispatch(e, effCanBeAutomated, 2), 1);
    EXPECT_EQ(dispatch(e, 999), 0);
    EXPECT_EQ(dispatch(e, -5), 0);
}

TEST(AudioEffect, PlugCategoryFollowsSynthFlag)
{
    ProbeEffect e(nullptr);
    EXPECT_EQ(dispatch(e, effGetPlugCategory), 0);
    e.isSynth(true);
    EXPECT_EQ(e.getAeffect()->flags, effFlagsIsSynth);
    EXPECT_EQ(dispatch(e, effGetPlugCategory), 2);
    e.isSynth(false);
    EXPECT_EQ(dispatch(e, effGetPlugCategory), 0);
}

TEST(AudioEffect, PropertySettersTouchOnlyTheirFlag)
{
    ProbeEffect e(nullptr);
    e.canProcessReplacing(true);
    e.programsAreChunks(true);
    e.hasVu(true);
    e.hasClip(true);
    e.canMono(true);
    EXPECT_EQ(e.getAeffect()->flags, 16 | 32 | 4 | 2 | 8);
    e.hasVu(false);
    e.hasClip(false);
    EXPECT_EQ(e.getAeffect()->flags, 16 | 32 | 8);
    e.noTail(true);
    e.wantAsyncOperation(true);
    e.hasExternalBuffer(true);
    EXPECT_EQ(e.getAeffect()->flags, 16 | 32 | 8 | 512 | 1024 | 2048);
    e.setUniqueID(0x12345678);
    e.setNumInputs(0);
    e.setNumOutputs(6);
    e.setInitialDelay(64);
    EXPECT_EQ(e.getAeffect()->uniqueID, 0x12345678);
    EXPECT_EQ(e.getAeffect()->numInputs, 0);
    EXPECT_EQ(e.getAeffect()->numOutputs, 6);
    EXPECT_EQ(e.getAeffect()->initialDelay, 64);
}

TEST(AudioEffect, CloseThroughEntryPointDestroysObject)
{
    destroyed = 0;
    ProbeEffect* e = new ProbeEffect(nullptr);
    AEffect* a = e->getAeffect();
    EXPECT_EQ(a->dispatcher(a, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(destroyed, 1);
}

TEST(AudioEffect, SetProgramIgnoresIndicesPastTheCount)
{
    ProbeEffect e(nullptr, 4);
    dispatch(e, effSetProgram, 0, 3);
    EXPECT_EQ(dispatch(e, effGetProgram), 3);
    dispatch(e, effSetProgram, 0, 4);
    EXPECT_EQ(dispatch(e, effGetProgram), 3);
    dispatch(e, effSetProgram, 0, 100);
    EXPECT_EQ(dispatch(e, effGetProgram), 3);
}

TEST(AudioEffect, RoutesRatesParametersAndMains)
{
    ProbeEffect e(nullptr);
    dispatch(e, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    dispatch(e, effSetBlockSize, 0, 256);
    EXPECT_EQ(e.getSampleRate(), 48000.0f);
    EXPECT_EQ(e.getBlockSize(), 256);
    EXPECT_EQ(dispatch(e, effSetBlockSizeAndSampleRate, 0, 128, nullptr, 96000.0f), 1);
    EXPECT_EQ(e.getSampleRate(), 96000.0f);
    EXPECT_EQ(e.getBlockSize(), 128);

    AEffect* a = e.getAeffect();
    a->setParameter(a, 2, 0.75f);
    EXPECT_EQ(e.lastIndex, 2);
    EXPECT_EQ(e.lastValue, 0.75f);
    EXPECT_EQ(a->getParameter(a, 2), 0.0f);
}

TEST(AudioEffect, DefaultTextRequestsWriteEmptyStrings)
{
    ProbeEffect e(nullptr);
    for (int32_t op : {effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName}) {
        char text[16];
        std::memset(text, 'x', sizeof text);
        dispatch(e, op, 0, 0, text);
        EXPECT_EQ(text[0], 0) << "opcode " << op;
        EXPECT_EQ(text[1], 'x') << "opcode " << op;
    }
    char name[64] = "unchanged";
    EXPECT_EQ(dispatch(e, effGetEffectName, 0, 0, name), 0);
    EXPECT_EQ(dispatch(e, effGetVendorString, 0, 0, name), 0);
    EXPECT_EQ(dispatch(e, effGetProgramNameIndexed, 0, 0, name), 0);
    EXPECT_EQ(dispatch(e, effCanDo, 0, 0, const_cast<char*>("receiveVstEvents")), 0);
}

TEST(AudioEffect, NullPointersFromTheHostAreRefused)
{
    ProbeEffect e(nullptr);
    for (int32_t op = 0; op <= 58; ++op) {
        if (op == effClose)
            continue;
        dispatch(e, op, 0, 0, nullptr, 0.0f);
    }
    EXPECT_EQ(dispatch(e, effGetChunk, 0, 0, nullptr), 0);
    EXPECT_EQ(dispatch(e, effEditGetRect, 0, 0, nullptr), 0);
    AEffect* a = e.getAeffect();
    a->processReplacing(a, nullptr, nullptr, 0);
    a->process(a, nullptr, nullptr, -1);
}

TEST(AudioEffect, EditorOpcodesWithoutEditorDoNothing)
{
    ProbeEffect e(nullptr);
    ERect* rect = reinterpret_cast<ERect*>(0x1234);
    EXPECT_EQ(dispatch(e, effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, reinterpret_cast<ERect*>(0x1234));
    EXPECT_EQ(dispatch(e, effEditOpen, 0, 0, reinterpret_cast<void*>(0x42)), 0);
    EXPECT_EQ(dispatch(e, effEditClose), 0);
    EXPECT_EQ(dispatch(e, effEditIdle), 0);
}

TEST(AudioEffect, HostRequestsWithoutHostReturnDefaults)
{
    ProbeEffect e(nullptr);
    EXPECT_EQ(e.getMasterVersion(), 1);
    EXPECT_EQ(e.getCurrentUniqueId(), 0);
    EXPECT_TRUE(e.isInputConnected(0));
    EXPECT_TRUE(e.isOutputConnected(1));
    EXPECT_FALSE(e.wantEvents());
    EXPECT_EQ(e.getTimeInfo(kVstTempoValid), nullptr);
    EXPECT_EQ(e.tempoAt(0), 0);
    EXPECT_FALSE(e.ioChanged());
    EXPECT_FALSE(e.sizeWindow(100, 100));
    EXPECT_EQ(e.updateSampleRate(), 44100.0);
    EXPECT_EQ(e.updateBlockSize(), 1024);
    EXPECT_EQ(e.getPreviousPlug(0), nullptr);
    EXPECT_EQ(e.willProcessReplacing(), 0);
    char text[64] = "keep";
    EXPECT_FALSE(e.getHostVendorString(text));
    EXPECT_FALSE(e.canHostDo(text));
    EXPECT_EQ(e.getDirectory(), nullptr);
    EXPECT_FALSE(e.updateDisplay());
    e.setParameterAutomated(1, 0.5f); // no host to tell, but still applied
    EXPECT_EQ(e.lastIndex, 1);
    EXPECT_EQ(e.lastValue, 0.5f);
}

TEST(AudioEffect, HostRequestsPassTheirArguments)
{
    ProbeEffect e(recordingHost);
    calls.clear();
    hostAnswer = 0;
    EXPECT_EQ(e.getMasterVersion(), 1); // a host answering 0 counts as version 1
    hostAnswer = 2400;
    EXPECT_EQ(e.getMasterVersion(), 2400);
    hostAnswer = 0;
    EXPECT_TRUE(e.isOutputConnected(3)); // 0 means connected
    EXPECT_EQ(calls.back().opcode, audioMasterPinConnected);
    EXPECT_EQ(calls.back().index, 3);
    EXPECT_EQ(calls.back().value, 1);
    e.setParameterAutomated(2, 0.25f);
    EXPECT_EQ(calls.back().opcode, audioMasterAutomate);
    EXPECT_EQ(calls.back().index, 2);
    EXPECT_EQ(calls.back().opt, 0.25f);
    e.getTimeInfo(kVstTempoValid | kVstPpqPosValid);
    EXPECT_EQ(calls.back().opcode, audioMasterGetTime);
    EXPECT_EQ(calls.back().value, kVstTempoValid | kVstPpqPosValid);
    e.sizeWindow(640, 480);
    EXPECT_EQ(calls.back().opcode, audioMasterSizeWindow);
    EXPECT_EQ(calls.back().index, 640);
    EXPECT_EQ(calls.back().value, 480);
    hostAnswer = 1;
    EXPECT_TRUE(e.wantEvents(1));
    EXPECT_EQ(calls.back().opcode, audioMasterWantMidi);
    EXPECT_FALSE(e.isInputConnected(0));
}
