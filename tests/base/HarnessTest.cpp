// Loads the test-only plug-in through its exported entry point, as a host
// does, and checks what crosses the binary interface.
#include "PluginFiles.h"
#include "PluginHost.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
const char* const kPlugin = PLUGIN_FILE("testeffect");
} // namespace

TEST(Harness, LoadsThroughTheEntryPoint)
{
    std::string error;
    auto host = PluginHost::load(kPlugin, error);
    ASSERT_TRUE(host) << error;
    AEffect* e = host->effect();
    EXPECT_EQ(e->magic, kEffectMagic);
    EXPECT_EQ(e->numPrograms, 1);
    EXPECT_EQ(e->numParams, 2);
    EXPECT_EQ(e->uniqueID, fourCharCode('N', 'o', 'E', 'f'));
    EXPECT_EQ(host->dispatch(effIdentify), 0x4E764566);
    EXPECT_EQ(host->dispatch(effGetVstVersion), 2);
}

TEST(Harness, HostPointerInReservedFieldSurvivesUse)
{
    std::string error;
    auto host = PluginHost::load(kPlugin, error);
    ASSERT_TRUE(host) << error;
    intptr_t mine = host->effect()->resvd1;
    host->start(48000.0f, 64);
    std::vector<float> in(64, 0.5f), l(64, 1.0f), r(64, 1.0f);
    float* ins[] = {in.data()};
    float* outs[] = {l.data(), r.data()};
    host->processReplacing(ins, outs, 64);
    EXPECT_EQ(l[10], 0.5f);
    host->process(ins, outs, 64);
    EXPECT_EQ(r[10], 1.0f);
    host->dispatch(effMainsChanged, 0, 0);
    EXPECT_EQ(host->effect()->resvd1, mine);
    EXPECT_EQ(host->effect()->resvd2, 0);
    EXPECT_EQ(host->effect()->user, nullptr);
}

TEST(Harness, ReportsMissingLibraries)
{
    std::string error;
    auto host = PluginHost::load("no-such-plugin.so", error);
    EXPECT_FALSE(host);
    EXPECT_NE(error.find("no-such-plugin"), std::string::npos);
}
