// The built instrument library loaded through its exported entry point, as
// a host loads it: identity, parameters, programs and the chunk, all across
// the binary interface.
#include "PluginFiles.h"
#include "PluginHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {
const char* const kPlugin = PLUGIN_FILE("nimbulator");

typedef AEffect*(VSTCALLBACK* PluginEntryProc)(audioMasterCallback);

intptr_t VSTCALLBACK versionlessHost(AEffect*, int32_t, int32_t, intptr_t, void*, float)
{
    return 0;
}

intptr_t VSTCALLBACK versionedHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

std::unique_ptr<PluginHost> loadStarted()
{
    std::string error;
    auto host = PluginHost::load(kPlugin, error);
    EXPECT_TRUE(host) << error;
    if (host)
        host->start(44100.0f, 256);
    return host;
}

std::vector<unsigned char> chunk(PluginHost& host)
{
    void* data = nullptr;
    const intptr_t size = host.dispatch(effGetChunk, 0, 0, &data);
    if (size <= 0 || !data)
        return {};
    const unsigned char* p = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(p, p + size);
}
} // namespace

TEST(NimbulatorPlugin, AnnouncesItsIdentity)
{
    std::string error;
    auto host = PluginHost::load(kPlugin, error);
    ASSERT_TRUE(host) << error;
    AEffect* e = host->effect();
    EXPECT_EQ(e->magic, kEffectMagic);
    EXPECT_EQ(e->numInputs, 0);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->numPrograms, 32);
    EXPECT_EQ(e->numParams, 101);
    EXPECT_EQ(e->uniqueID, 0x780CB5FE);
    EXPECT_EQ(e->flags & ~effFlagsHasEditor,
              effFlagsCanReplacing | effFlagsProgramChunks | effFlagsIsSynth);
    EXPECT_EQ(host->effectName(), "Nimbulator");
    EXPECT_EQ(host->productString(), "Nimbulator");
    EXPECT_EQ(host->vendorString(), "Orvalend");
    EXPECT_EQ(host->dispatch(effGetVendorVersion), 1);
    EXPECT_EQ(host->canDo("receiveVstEvents"), 1);
    EXPECT_EQ(host->canDo("receiveVstMidiEvent"), 1);
    EXPECT_EQ(host->canDo("receiveVstTimeInfo"), 1);
    EXPECT_EQ(host->canDo("sendVstEvents"), 0);

    VstPinProperties pin{};
    EXPECT_EQ(host->dispatch(effGetOutputProperties, 1, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Vstx 2");
    EXPECT_EQ(pin.flags, 3);
    EXPECT_EQ(host->dispatch(effGetOutputProperties, 2, 0, &pin), 0);
}

TEST(NimbulatorPlugin, EntryPointRefusesHostsWithoutAVersion)
{
#if defined(_WIN32)
    HMODULE library = LoadLibraryA(kPlugin);
    ASSERT_NE(library, nullptr);
    auto entry = reinterpret_cast<PluginEntryProc>(
        reinterpret_cast<void*>(GetProcAddress(library, "VSTPluginMain")));
#else
    void* library = dlopen((std::string("./") + kPlugin).c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto entry = reinterpret_cast<PluginEntryProc>(dlsym(library, "VSTPluginMain"));
#endif
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(&versionlessHost), nullptr);
    EXPECT_EQ(entry(nullptr), nullptr);
    AEffect* effect = entry(&versionedHost);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->uniqueID, 0x780CB5FE);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
#if defined(_WIN32)
    FreeLibrary(library);
#else
    dlclose(library);
#endif
}

TEST(NimbulatorPlugin, ParametersAcrossTheInterface)
{
    auto host = loadStarted();
    ASSERT_TRUE(host);
    host->setParameter(2, 0.29f);
    EXPECT_EQ(host->parameterDisplay(2), "28");
    host->setParameter(1, 1.0f);
    EXPECT_EQ(host->getParameter(1), 1.0f);
    EXPECT_EQ(host->parameterDisplay(1), "100");
    host->setParameter(20, 0.0f);
    EXPECT_EQ(host->parameterDisplay(20), "1");
    EXPECT_EQ(host->parameterLabel(20), " msec");
    host->setParameter(99, 1.0f);
    EXPECT_EQ(host->parameterDisplay(99), "9999.9");
    host->setParameter(22, 0.0f);
    EXPECT_EQ(host->parameterDisplay(22), "0.1");
    host->setParameter(0, 0.0f);
    EXPECT_EQ(host->parameterDisplay(0), "  -oo   ");
    EXPECT_EQ(host->parameterLabel(0), " dB");
    EXPECT_EQ(host->parameterDisplay(17), "");
    EXPECT_EQ(host->parameterName(72), "PtVr Rel Lv");
    EXPECT_EQ(host->findParameter("Seed"), 21);
    host->setParameter(21, 1.0f);
    EXPECT_EQ(host->parameterDisplay(21), "134217728");
    EXPECT_EQ(host->getParameter(101), 0.0f);
}

TEST(NimbulatorPlugin, ProgramsAndChunkAcrossTheInterface)
{
    auto host = loadStarted();
    ASSERT_TRUE(host);
    char name[64] = "";
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, 31, 0, name), 1);
    EXPECT_STREQ(name, "new patch #32");
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, 32, 0, name), 0);

    host->dispatch(effSetProgram, 0, 6);
    EXPECT_EQ(host->dispatch(effGetProgram), 6);
    EXPECT_EQ(host->programName(), "new patch #7");
    host->dispatch(effSetProgram, 0, -1); // ignored
    EXPECT_EQ(host->dispatch(effGetProgram), 6);

    host->setParameter(13, 0.8f);
    const std::vector<unsigned char> saved = chunk(*host);
    ASSERT_EQ(saved.size(), 1908u);
    host->setParameter(13, 0.1f);
    EXPECT_NE(chunk(*host), saved);

    std::vector<unsigned char> restore = saved;
    EXPECT_EQ(host->dispatch(effSetChunk, 0, 1908, restore.data()), 1908);
    EXPECT_EQ(chunk(*host), saved);
    EXPECT_NEAR(host->getParameter(13), 0.8f, 1e-6f);

    std::vector<unsigned char> shortOne(1907, 0);
    EXPECT_EQ(host->dispatch(effSetChunk, 0, 1907, shortOne.data()), 0);
    EXPECT_EQ(host->dispatch(effSetChunk, 0, 1908, nullptr), 0);
    EXPECT_EQ(chunk(*host), saved);

    // A preset chunk is the same record.
    void* data = nullptr;
    EXPECT_EQ(host->dispatch(effGetChunk, 1, 0, &data), 1908);
}

TEST(NimbulatorPlugin, IsSilentWithoutNotes)
{
    auto host = loadStarted();
    ASSERT_TRUE(host);
    std::vector<float> left(256, 1.0f), right(256, 1.0f);
    float* outs[] = {left.data(), right.data()};
    host->processReplacing(nullptr, outs, 256);
    host->process(nullptr, outs, 256);
    for (int i = 0; i < 256; ++i)
        ASSERT_TRUE(left[i] == 0.0f && right[i] == 0.0f) << i;
}
