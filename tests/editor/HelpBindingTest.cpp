// Finding and binding the help viewer without a window system: the order in
// which the libraries are tried, a failure that is remembered (never
// retried), a bound library kept; and the help file's path decided from the
// registry values found, including values that are too long or carry no
// terminating zero.
#include "HelpBinding.h"
#include "HelpLocation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
// What the stand-in platform offers and what was asked of it.
struct World {
    std::string registered;         // empty: no class registration
    bool registrationFills = false; // fill the whole buffer without a zero
    std::vector<std::string> loadable;
    bool hasOrdinal = true;
    std::vector<std::string> loads; // every load attempt, in order
    int lookups = 0;
    int frees = 0;
    int ordinalAsked = 0;
};
World* world = nullptr;
int libraryToken = 0;
int functionToken = 0;

bool registeredLibrary(char* path, size_t size)
{
    if (world->registrationFills) {
        std::memset(path, 'x', size);
        return true;
    }
    if (world->registered.empty())
        return false;
    std::strncpy(path, world->registered.c_str(), size - 1);
    path[size - 1] = '\0';
    return true;
}

void* loadLibrary(const char* name)
{
    world->loads.push_back(name);
    for (const std::string& l : world->loadable)
        if (l == name)
            return &libraryToken;
    return nullptr;
}

void* lookup(void* library, int ordinal)
{
    EXPECT_EQ(library, &libraryToken);
    ++world->lookups;
    world->ordinalAsked = ordinal;
    return world->hasOrdinal ? &functionToken : nullptr;
}

void freeLibrary(void* library)
{
    EXPECT_EQ(library, &libraryToken);
    ++world->frees;
}

const HelpBinding::Platform kPlatform = {registeredLibrary, loadLibrary, lookup, freeLibrary};

class HelpBindingTest : public ::testing::Test {
protected:
    void SetUp() override { world = &w; }
    void TearDown() override { world = nullptr; }
    World w;
};

TEST_F(HelpBindingTest, RegisteredLibraryIsUsedFirstAndKept)
{
    w.registered = "C:\\Windows\\System32\\hhctrl.ocx";
    w.loadable = {w.registered, "hhctrl.ocx"};
    HelpBinding binding(kPlatform);
    EXPECT_EQ(binding.state(), HelpBinding::kUnbound);
    EXPECT_EQ(binding.helpFunction(), &functionToken);
    EXPECT_EQ(binding.helpFunction(), &functionToken);
    EXPECT_EQ(binding.state(), HelpBinding::kBound);
    EXPECT_EQ(w.loads, std::vector<std::string>{w.registered});
    EXPECT_EQ(w.lookups, 1);
    EXPECT_EQ(w.ordinalAsked, 14);
    EXPECT_EQ(w.frees, 0);
}

TEST_F(HelpBindingTest, ViewerControlByNameWhenTheRegistrationIsMissingOrUnloadable)
{
    w.loadable = {"hhctrl.ocx"};
    HelpBinding unregistered(kPlatform);
    EXPECT_EQ(unregistered.helpFunction(), &functionToken);
    EXPECT_EQ(w.loads, std::vector<std::string>{"hhctrl.ocx"});

    w.loads.clear();
    w.registered = "D:\\gone\\hhctrl.ocx";
    HelpBinding stale(kPlatform);
    EXPECT_EQ(stale.helpFunction(), &functionToken);
    EXPECT_EQ(w.loads, (std::vector<std::string>{"D:\\gone\\hhctrl.ocx", "hhctrl.ocx"}));
}

TEST_F(HelpBindingTest, NoLibraryIsAFailureThatIsNeverRetried)
{
    HelpBinding binding(kPlatform);
    EXPECT_EQ(binding.helpFunction(), nullptr);
    EXPECT_EQ(binding.state(), HelpBinding::kFailed);
    const size_t attempts = w.loads.size();
    EXPECT_EQ(attempts, 1u);
    // The library appears later: still nothing, and no new attempt.
    w.loadable = {"hhctrl.ocx"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(binding.helpFunction(), nullptr);
    EXPECT_EQ(w.loads.size(), attempts);
    EXPECT_EQ(w.lookups, 0);
}

TEST_F(HelpBindingTest, LibraryWithoutTheHelpFunctionIsReleasedAndRemembered)
{
    w.registered = "standin.dll";
    w.loadable = {"standin.dll", "hhctrl.ocx"};
    w.hasOrdinal = false;
    HelpBinding binding(kPlatform);
    EXPECT_EQ(binding.helpFunction(), nullptr);
    EXPECT_EQ(binding.state(), HelpBinding::kFailed);
    EXPECT_EQ(binding.library(), nullptr);
    EXPECT_EQ(w.frees, 1);
    // A loaded library ends the search: the viewer control is not tried.
    EXPECT_EQ(w.loads, std::vector<std::string>{"standin.dll"});
    w.hasOrdinal = true;
    EXPECT_EQ(binding.helpFunction(), nullptr);
    EXPECT_EQ(w.lookups, 1);
}

TEST_F(HelpBindingTest, RegistrationThatFillsTheBufferIsCutAtItsEnd)
{
    w.registrationFills = true;
    w.loadable = {"hhctrl.ocx"};
    HelpBinding binding(kPlatform);
    EXPECT_EQ(binding.helpFunction(), &functionToken);
    ASSERT_EQ(w.loads.size(), 2u);
    EXPECT_EQ(w.loads[0], std::string(259, 'x'));
    EXPECT_EQ(w.loads[1], "hhctrl.ocx");
}

TEST(HelpLocation, FirstUsableRegistryValueThenTheDefaultFolder)
{
    EXPECT_EQ(HelpLocation::helpFilePath(nullptr, nullptr),
              "c:\\Program Files\\Orvalend\\Nimbulator\\Nimbulator.CHM");
    EXPECT_EQ(HelpLocation::helpFilePath("D:\\Apps", "C:\\Program Files"),
              "D:\\Apps\\Orvalend\\Nimbulator\\Nimbulator.CHM");
    EXPECT_EQ(HelpLocation::helpFilePath(nullptr, "E:\\Programs"),
              "E:\\Programs\\Orvalend\\Nimbulator\\Nimbulator.CHM");
    // An empty value would make a path from the drive's root.
    EXPECT_EQ(HelpLocation::helpFilePath("", "E:\\Programs"),
              "E:\\Programs\\Orvalend\\Nimbulator\\Nimbulator.CHM");
    EXPECT_EQ(HelpLocation::helpFilePath("", ""),
              "c:\\Program Files\\Orvalend\\Nimbulator\\Nimbulator.CHM");
}

TEST(HelpLocation, RegistryDataIsReadWithinItsSizeAndLimit)
{
    std::string text;
    const char unterminated[4] = {'C', ':', '\\', 'P'};
    EXPECT_TRUE(HelpLocation::valueText(unterminated, 4, text));
    EXPECT_EQ(text, "C:\\P");
    const char early[8] = {'C', ':', 0, 'j', 'u', 'n', 'k', 0};
    EXPECT_TRUE(HelpLocation::valueText(early, 8, text));
    EXPECT_EQ(text, "C:");
    EXPECT_TRUE(HelpLocation::valueText(early, 0, text));
    EXPECT_EQ(text, "");

    const std::string longest(260, 'p');
    EXPECT_TRUE(HelpLocation::valueText(longest.data(), 260, text));
    EXPECT_EQ(text.size(), 260u);
    const std::string tooLong(261, 'p');
    EXPECT_FALSE(HelpLocation::valueText(tooLong.data(), 261, text));
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(HelpLocation::valueText(early, -1, text));
    EXPECT_FALSE(HelpLocation::valueText(nullptr, 3, text));
}
} // namespace
