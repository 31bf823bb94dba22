// The installer's decisions without a window or a disk: drive tests, the
// special forms of a typed folder, what the chooser's Open button and Enter
// key do with a text, when typing navigates or completes, and how a
// completed name takes the case of what was typed. A made-up file system
// stands in for the machine.
#include "FolderRules.h"
#include "SetupLayout.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>

namespace Rules = FolderRules;
using Kind = FolderRules::Decision::Kind;

namespace {
// Drives by letter (upper case) and paths compared without regard to case,
// with or without a trailing separator.
class FakeDisks : public FileSystemView {
public:
    std::map<char, int> drives{{'C', kDriveFixed}};
    std::set<std::string> folders;
    std::set<std::string> files;

    int driveType(const std::string& root) const override
    {
        if (root.empty())
            return kDriveFixed;
        auto it = drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(root[0]))));
        return it == drives.end() ? kDriveNoRootDir : it->second;
    }
    bool exists(const std::string& path) const override
    {
        return isFolder(path) || files.count(key(path)) > 0;
    }
    bool isFolder(const std::string& path) const override { return folders.count(key(path)) > 0; }

    void addFolder(const std::string& path) { folders.insert(key(path)); }
    void addFile(const std::string& path) { files.insert(key(path)); }

private:
    static std::string key(std::string path)
    {
        if (path.size() > 3 && path.back() == '\\')
            path.pop_back();
        for (char& c : path)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return path;
    }
};
} // namespace

TEST(InstallerDriveTest, AppliesToDriveLettersAndTheEmptyPathButNotToOneCharacter)
{
    EXPECT_TRUE(Rules::installerTestsDrive("Q:\\Nimbulator"));
    EXPECT_TRUE(Rules::installerTestsDrive("C:"));
    EXPECT_TRUE(Rules::installerTestsDrive(""));
    EXPECT_FALSE(Rules::installerTestsDrive("Q")); // a folder of the current drive's root
    EXPECT_FALSE(Rules::installerTestsDrive("plugins"));
    EXPECT_FALSE(Rules::installerTestsDrive("\\\\server\\share"));
}

TEST(InstallerDriveTest, OnlyTheTwoLowestTypesMeanNoSuchDrive)
{
    EXPECT_TRUE(Rules::isInvalidDriveType(kDriveUnknown));
    EXPECT_TRUE(Rules::isInvalidDriveType(kDriveNoRootDir));
    for (int type : {kDriveRemovable, kDriveFixed, kDriveRemote, kDriveCdRom, kDriveRamDisk})
        EXPECT_FALSE(Rules::isInvalidDriveType(type)) << type;
    EXPECT_EQ(Rules::driveRoot("q:\\x"), "q:\\");
    EXPECT_EQ(Rules::driveRoot("Q"), "Q:\\");
    EXPECT_EQ(Rules::driveRoot(""), "");
}

TEST(InstallerPaths, AFolderEndingInASeparatorGetsNoSecondOne)
{
    EXPECT_EQ(Rules::fileInFolder("Q:\\dir\\", "Nimbulator.dll"), "Q:\\dir\\Nimbulator.dll");
    EXPECT_EQ(Rules::fileInFolder("Q:\\dir", "Nimbulator.dll"), "Q:\\dir\\Nimbulator.dll");
    EXPECT_EQ(Rules::fileInFolder("", "Nimbulator.dll"), "\\Nimbulator.dll");
    EXPECT_EQ(Rules::withoutTrailingSeparator("a\\\\"), "a\\"); // only one goes
    EXPECT_EQ(Rules::withoutTrailingSeparator(""), "");
}

TEST(InstallerPaths, TheLastResortPluginFolderIsTheProgramFilesDrive)
{
    EXPECT_EQ(Rules::driveOnly("D:\\Programs\\Steinberg\\VstPlugins"), "D:");
    EXPECT_EQ(Rules::driveOnly(""), "");
}

TEST(CreationMessages, FollowTheDriveTypeAndOnlyTheOpenButtonWordsTheOtherCaseDifferently)
{
    using C = Rules::CreationContext;
    for (C context : {C::Installer, C::ChooserOpen, C::ChooserEnter}) {
        EXPECT_STREQ(Rules::creationFailureMessage(kDriveRemovable, context),
                     "You cannot create this folder.\nThe medium may be write-protected.");
        EXPECT_STREQ(Rules::creationFailureMessage(kDriveRemote, context),
                     "You do not have permission to create\nthis folder on the network.");
        EXPECT_STREQ(Rules::creationFailureMessage(kDriveCdRom, context),
                     "You cannot create this folder\nas the CD ROM medium is read-only.");
    }
    const char* other = "You do not have permission or\notherwise cannot create this folder.";
    EXPECT_STREQ(Rules::creationFailureMessage(kDriveFixed, C::Installer), other);
    EXPECT_STREQ(Rules::creationFailureMessage(kDriveRamDisk, C::ChooserEnter), other);
    EXPECT_STREQ(Rules::creationFailureMessage(kDriveNoRootDir, C::Installer), other);
    EXPECT_STREQ(Rules::creationFailureMessage(kDriveFixed, C::ChooserOpen),
                 "You do not have permission\nto create this folder.");
}

TEST(TypedFolderForms, TellDrivesRootsServersAndIncompleteNetworkPaths)
{
    EXPECT_TRUE(Rules::isDrive("c:"));
    EXPECT_FALSE(Rules::isDrive("1:"));
    EXPECT_FALSE(Rules::isDrive("c:\\"));
    EXPECT_TRUE(Rules::isDriveRoot("C:\\"));
    EXPECT_FALSE(Rules::isDriveRoot("C:/"));
    EXPECT_TRUE(Rules::isServerName("\\\\server"));
    EXPECT_FALSE(Rules::isServerName("\\\\"));
    EXPECT_FALSE(Rules::isServerName("\\\\server\\share"));
    EXPECT_TRUE(Rules::isIncompleteNetworkPath("\\\\server"));
    EXPECT_TRUE(Rules::isIncompleteNetworkPath("\\\\server\\share"));
    EXPECT_FALSE(Rules::isIncompleteNetworkPath("\\\\server\\share\\folder"));
    EXPECT_FALSE(Rules::isIncompleteNetworkPath("C:\\a\\b"));
}

TEST(OpenButton, AcceptsTheEmptyBoxTheRootAndExistingDrives)
{
    FakeDisks disks;
    EXPECT_EQ(Rules::openButton("", disks).kind, Kind::Accept);
    EXPECT_EQ(Rules::openButton("\\", disks).kind, Kind::Accept);
    for (const char* text : {"c:", "C:\\"}) {
        const auto d = Rules::openButton(text, disks);
        EXPECT_EQ(d.kind, Kind::Accept) << text;
        EXPECT_EQ(d.path, text);
    }
    for (const char* text : {"q:", "Q:\\"}) {
        const auto d = Rules::openButton(text, disks);
        EXPECT_EQ(d.kind, Kind::Message) << text;
        EXPECT_EQ(d.message, std::string(text) + "\nThe drive is invalid.");
    }
    disks.drives['Q'] = kDriveUnknown;
    EXPECT_EQ(Rules::openButton("Q:", disks).kind, Kind::Message);
}

TEST(OpenButton, RefusesWhatCannotBeAFolderWithTheTypedTextFirst)
{
    FakeDisks disks;
    disks.addFile("C:\\readme.txt");
    auto d = Rules::openButton("\\\\", disks);
    EXPECT_EQ(d.message, "\\\\\nThis is not a valid folder.");
    d = Rules::openButton("Q:\\new", disks);
    EXPECT_EQ(d.kind, Kind::Message);
    EXPECT_EQ(d.message, "Q:\\new\nThe drive is invalid.");
    d = Rules::openButton("\\\\server\\share", disks);
    EXPECT_EQ(d.message, "\\\\server\\share\nThis is not a valid folder.");
    d = Rules::openButton("C:\\readme.txt", disks);
    EXPECT_EQ(d.message, "C:\\readme.txt\nThis is a file not a directory.");
    // One trailing separator goes before the checks.
    d = Rules::openButton("C:\\readme.txt\\", disks);
    EXPECT_EQ(d.message, "C:\\readme.txt\nThis is a file not a directory.");
}

TEST(OpenButton, OffersToCreateAMissingFolderOnAUsableDrive)
{
    FakeDisks disks;
    disks.drives['E'] = kDriveCdRom;
    auto d = Rules::openButton("C:\\new\\", disks);
    EXPECT_EQ(d.kind, Kind::AskCreate);
    EXPECT_EQ(d.path, "C:\\new");
    EXPECT_EQ(d.message, "You do not have permission\nto create this folder.");
    d = Rules::openButton("E:\\new", disks);
    EXPECT_EQ(d.message, "You cannot create this folder\nas the CD ROM medium is read-only.");
    // A relative name or a full network path has no drive to test.
    EXPECT_EQ(Rules::openButton("new", disks).kind, Kind::AskCreate);
    EXPECT_EQ(Rules::openButton("\\\\server\\share\\new", disks).kind, Kind::AskCreate);
}

TEST(OpenButton, AcceptsAnExistingFolderWithoutItsTrailingSeparator)
{
    FakeDisks disks;
    disks.addFolder("C:\\Plugins");
    const auto d = Rules::openButton("c:\\plugins\\", disks);
    EXPECT_EQ(d.kind, Kind::Accept);
    EXPECT_EQ(d.path, "c:\\plugins");
}

TEST(EnterKey, NavigatesToTheSpecialFormsWithoutAsking)
{
    FakeDisks disks;
    for (const char* text : {"", "\\", "\\\\server", "\\\\server\\", "q:", "Q:\\", "c:\\"}) {
        const auto d = Rules::enterKey(text, disks);
        EXPECT_EQ(d.kind, Kind::Navigate) << text;
    }
    EXPECT_EQ(Rules::enterKey("\\\\server\\", disks).path, "\\\\server");
    EXPECT_EQ(Rules::enterKey("Q:\\", disks).path, "Q:\\"); // a root keeps its separator
    EXPECT_EQ(Rules::enterKey("\\\\", disks).kind, Kind::Stop);
}

TEST(EnterKey, AsksToCreateOnlyOnAUsableOrUnspecifiedDrive)
{
    FakeDisks disks;
    disks.addFolder("C:\\Plugins");
    auto d = Rules::enterKey("C:\\Plugins\\", disks);
    EXPECT_EQ(d.kind, Kind::Navigate);
    EXPECT_EQ(d.path, "C:\\Plugins");
    d = Rules::enterKey("C:\\new", disks);
    EXPECT_EQ(d.kind, Kind::AskCreate);
    EXPECT_EQ(d.message, "You do not have permission or\notherwise cannot create this folder.");
    EXPECT_EQ(Rules::enterKey("new", disks).kind, Kind::AskCreate);
    EXPECT_EQ(Rules::enterKey("n", disks).kind, Kind::AskCreate);
    // On a missing drive nothing is created; the dialog only tries to go there.
    d = Rules::enterKey("Q:\\new", disks);
    EXPECT_EQ(d.kind, Kind::Navigate);
    EXPECT_EQ(d.path, "Q:\\new");
}

TEST(Typing, ASeparatorNavigatesOnlyIntoWhatExists)
{
    FakeDisks disks;
    disks.addFolder("C:\\Plugins");
    EXPECT_EQ(Rules::afterEdit("\\", '\\', true, disks).kind, Kind::Navigate);
    EXPECT_EQ(Rules::afterEdit("\\\\", '\\', true, disks).kind, Kind::Stop);
    EXPECT_EQ(Rules::afterEdit("c:\\", '\\', true, disks).kind, Kind::Navigate);
    EXPECT_EQ(Rules::afterEdit("q:\\", '\\', true, disks).kind, Kind::Stop);
    EXPECT_EQ(Rules::afterEdit("C:\\plugins\\", '\\', true, disks).kind, Kind::Navigate);
    EXPECT_EQ(Rules::afterEdit("C:\\missing\\", '\\', true, disks).kind, Kind::Stop);
    // The Delete key runs the same checks.
    EXPECT_EQ(Rules::afterEdit("C:\\plugins\\", 0, true, disks).kind, Kind::Navigate);
}

TEST(Typing, CompletesOnlyATypedCharacterWithTheCaretAtTheEnd)
{
    FakeDisks disks;
    EXPECT_EQ(Rules::afterEdit("c:\\wi", 'i', true, disks).kind, Kind::TryCompletion);
    EXPECT_EQ(Rules::afterEdit("c:\\wi", 'i', false, disks).kind, Kind::Stop);
    EXPECT_EQ(Rules::afterEdit("c:\\wi", '\b', true, disks).kind, Kind::Stop);
    EXPECT_EQ(Rules::afterEdit("c:\\wi", 0, true, disks).kind, Kind::Stop);
}

TEST(Completion, ContinuesTheTypedTextInTheCaseTheUserTypes)
{
    // An all-capital name is taken in its usual form first.
    EXPECT_EQ(Rules::completion("c:\\win", "WINNT", 'n'), "nt");
    EXPECT_EQ(Rules::completion("c:\\WIN", "WINNT", 'N'), "NT");
    EXPECT_EQ(Rules::completion("c:\\win", "windows", 'n'), "dows");
    EXPECT_EQ(Rules::completion("c:\\WIN", "windows", 'N'), "DOWS");
    // A typed character matching the name keeps the name's own case.
    EXPECT_EQ(Rules::completion("c:\\Prog", "Program Files", 'g'), "ram Files");
    EXPECT_EQ(Rules::completion("c:\\PROG", "Program Files", 'G'), "RAM FILES");
    // Names with white space are never normalised.
    EXPECT_EQ(Rules::completion("d:\\MY", "MY SONGS", 'Y'), " SONGS");
}

TEST(Completion, MeasuresTheLastComponentAfterTheLastSeparatorOfAnyKind)
{
    EXPECT_EQ(Rules::lastComponentLength("c:\\a\\win"), 3u);
    EXPECT_EQ(Rules::lastComponentLength("c:/a/wi"), 2u);
    EXPECT_EQ(Rules::lastComponentLength("c:w"), 1u);
    EXPECT_EQ(Rules::lastComponentLength("wi"), 2u);
    EXPECT_EQ(Rules::completion("c:/a/wi", "windows", 'i'), "ndows");
    EXPECT_EQ(Rules::completion("win", "windows", 'n'), "dows");
}

TEST(Completion, AppendsNothingWhenTheNameDoesNotContinueTheText)
{
    // Found through a short name: PROGRA~1 matches "Program Files".
    EXPECT_EQ(Rules::completion("c:\\progra~1", "Program Files", '1'), "");
    EXPECT_EQ(Rules::completion("c:\\windows", "windows", 's'), "");
    EXPECT_EQ(Rules::completion("c:\\win", "", 'n'), "");
}

TEST(Completion, NeedsExactlyOneMatchingFolder)
{
    using Entries = std::vector<std::pair<std::string, bool>>;
    EXPECT_EQ(Rules::singleFolder(Entries{{"windows", true}, {"win.ini", false}}), "windows");
    EXPECT_EQ(Rules::singleFolder(Entries{{"windows", true}, {"winnt", true}}), "");
    EXPECT_EQ(Rules::singleFolder(Entries{{"win.ini", false}}), "");
    EXPECT_EQ(Rules::singleFolder(Entries{{".", true}, {"..", true}, {"a", true}}), "a");
    EXPECT_EQ(Rules::singleFolder(Entries{}), "");
}

TEST(InstallerLayout, AWideLabelGrowsLeftwardsUpToTheMargin)
{
    EXPECT_EQ(SetupLayout::fittedLeft(21, 123, 90, 6), 21); // fits: unchanged
    EXPECT_EQ(SetupLayout::fittedLeft(21, 123, 102, 6), 21);
    EXPECT_EQ(SetupLayout::fittedLeft(21, 123, 110, 6), 13);
    EXPECT_EQ(SetupLayout::fittedLeft(21, 123, 200, 6), 6); // as far as the margin goes
    EXPECT_EQ(SetupLayout::fittedLeft(4, 123, 200, 6), 4);  // never moves right
}
