// The installer under Wine, run as its own process the way a user runs it
// and driven from here by window messages: the destination it proposes from
// the registry (values set by the test), the drive test, the create question
// and its answers, the files it writes (byte for byte the payloads, in the
// right folders) and the messages it ends with, and the folder chooser's
// completion, navigation and refusals. Message boxes are answered by caption
// and button. Each test starts the installer afresh.
#include "PluginFiles.h"
#include "PluginHost.h"
#include "PngEncoder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {
const char* const kDialogCaption = "Nimbulator v1.01";
const char* const kChooserCaption = "Select Folder";
const char* const kMessageCaption = "setup";
const int kDestination = 1000, kBrowse = 1002, kInstall = 1006;
const int kFolderBox = 181, kOpenButton = 182, kFolderLabel = 1090;
const char* const kTestRoot = "C:\\nimbulator-setup-test";
const char* const kCreateQuestion = "\nThis folder does not exist.\n\nDo you want to create it?";

std::string windowText(HWND window)
{
    char text[1024] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 5000, &copied))
        return std::string();
    return std::string(text, copied < sizeof text ? copied : sizeof text - 1);
}

std::string className(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<char> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool setMachineValue(const char* keyPath, const char* name, const std::string* value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG done = ERROR_SUCCESS;
    if (value)
        done = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                              static_cast<DWORD>(value->size() + 1));
    else
        RegDeleteValueA(key, name);
    RegCloseKey(key);
    return done == ERROR_SUCCESS;
}

std::string programFilesFolder()
{
    char value[MAX_PATH] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\SFC",
                     "ProgramFilesDir", RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS)
        return value;
    size = sizeof value;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                     "ProgramFilesDir", RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS)
        return value;
    return "c:\\Program Files";
}

// A drive letter no drive answers to.
char missingDrive()
{
    for (char letter = 'Q'; letter <= 'Y'; ++letter) {
        const char root[] = {letter, ':', '\\', 0};
        if (GetDriveTypeA(root) == DRIVE_NO_ROOT_DIR)
            return letter;
    }
    return 0;
}

// Removes a folder and everything in it (test folders only).
void removeTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// One run of the installer: started, found, driven, and waited for.
class SetupProcess {
public:
    ~SetupProcess()
    {
        if (process) {
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT)
                TerminateProcess(process, 3);
            CloseHandle(process);
        }
    }

    bool start(std::string& error)
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        char command[] = "setup.exe";
        if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info)) {
            error = "setup.exe did not start";
            return false;
        }
        CloseHandle(info.hThread);
        process = info.hProcess;
        id = info.dwProcessId;
        dialog = waitForWindow(kDialogCaption, false);
        if (!dialog)
            error = "the installer dialog did not appear";
        return dialog != nullptr;
    }

    // A visible top-level dialog of the installer with this caption (a
    // message box when `messageBox`), not one already answered.
    HWND waitForWindow(const std::string& caption, bool messageBox, int timeoutMs = 20000)
    {
        for (int waited = 0; waited < timeoutMs; waited += 20) {
            for (HWND w : topLevelDialogs()) {
                const bool isBox = GetDlgItem(w, 0xFFFF) != nullptr;
                if (isBox == messageBox && windowText(w) == caption && !answered.count(w))
                    return w;
            }
            if (WaitForSingleObject(process, 20) != WAIT_TIMEOUT)
                return nullptr;
        }
        return nullptr;
    }

    // Waits for the next message box, records its text and presses `button`.
    std::string answer(int button)
    {
        HWND box = waitForWindow(kMessageCaption, true);
        if (!box)
            return "(no message box)";
        const std::string text = windowText(GetDlgItem(box, 0xFFFF));
        answered.insert(box);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
        for (int waited = 0; waited < 5000 && IsWindow(box); waited += 10)
            Sleep(10);
        return text;
    }

    // The messages of a run, answered in order; the last is answered with OK.
    std::vector<std::string> answerAll(const std::vector<int>& buttons)
    {
        std::vector<std::string> texts;
        for (int button : buttons)
            texts.push_back(answer(button));
        return texts;
    }

    void click(HWND window, int control)
    {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, control)));
    }

    void setText(HWND control, const std::string& text)
    {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                            SMTO_ABORTIFHUNG, 5000, &result);
    }

    // Types one character into a control, as the keyboard would deliver it.
    void type(HWND control, char c)
    {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(control, WM_CHAR, static_cast<unsigned char>(c), 1, SMTO_ABORTIFHUNG,
                            10000, &result);
    }

    void caretToEnd(HWND edit)
    {
        const int n = static_cast<int>(windowText(edit).size());
        DWORD_PTR result = 0;
        SendMessageTimeoutA(edit, EM_SETSEL, n, n, SMTO_ABORTIFHUNG, 5000, &result);
    }

    std::pair<int, int> selection(HWND edit)
    {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(edit, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
        return {static_cast<int>(LOWORD(result)), static_cast<int>(HIWORD(result))};
    }

    void post(HWND window, UINT message, WPARAM wParam)
    {
        PostMessageA(window, message, wParam, 1);
    }

    // Waits up to five seconds for `condition`.
    template <typename Condition> void waitUntil(Condition condition)
    {
        for (int waited = 0; waited < 5000 && !condition(); waited += 20)
            Sleep(20);
    }

    // The window with the keyboard focus in the thread that runs `window`.
    HWND focus(HWND window)
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        return info.hwndFocus;
    }

    // True when the program ended within the time.
    bool waitForExit(int timeoutMs = 20000)
    {
        return WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    }

    // The window's picture as the screen shows it.
    bool screenshot(HWND window, const std::string& path)
    {
        RECT r;
        GetWindowRect(window, &r);
        RgbImage image;
        image.width = r.right - r.left;
        image.height = r.bottom - r.top;
        if (image.width <= 0 || image.height <= 0)
            return false;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = image.width;
        info.bmiHeader.biHeight = -image.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap && bits) {
            HGDIOBJ old = SelectObject(memory, bitmap);
            BitBlt(memory, 0, 0, image.width, image.height, screen, r.left, r.top, SRCCOPY);
            GdiFlush();
            const uint32_t* p = static_cast<const uint32_t*>(bits);
            image.pixels.assign(p, p + static_cast<size_t>(image.width) * image.height);
            for (uint32_t& px : image.pixels)
                px &= 0x00FFFFFF;
            SelectObject(memory, old);
        }
        if (bitmap)
            DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        std::string error;
        return !image.pixels.empty() && PngEncoder::write(image, path, error);
    }

    HWND dialog = nullptr;

private:
    std::vector<HWND> topLevelDialogs()
    {
        std::pair<DWORD, std::vector<HWND>> search{id, {}};
        EnumWindows(collectDialog, reinterpret_cast<LPARAM>(&search));
        return search.second;
    }

    static BOOL CALLBACK collectDialog(HWND w, LPARAM data)
    {
        auto* s = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == s->first && IsWindowVisible(w) && className(w) == "#32770")
            s->second.push_back(w);
        return TRUE;
    }

    HANDLE process = nullptr;
    DWORD id = 0;
    std::set<HWND> answered;
};

class Installer : public ::testing::Test {
protected:
    void SetUp() override
    {
        removeTree(kTestRoot);
        ASSERT_TRUE(CreateDirectoryA(kTestRoot, nullptr));
        plugins = std::string(kTestRoot) + "\\plugins";
        ASSERT_TRUE(CreateDirectoryA(plugins.c_str(), nullptr));
        helpFolder = programFilesFolder() + "\\Orvalend\\Nimbulator";
        helpFile = helpFolder + "\\Nimbulator.chm";
        DeleteFileA(helpFile.c_str());
        drive = missingDrive();
        ASSERT_NE(drive, 0) << "every drive letter from Q to Y is in use";
        ASSERT_FALSE(fileExists(programFilesFolder() + "\\Steinberg\\VstPlugins"))
            << "this prefix has a Steinberg plug-in folder; the fallback cannot be tested";
    }
    void TearDown() override
    {
        setMachineValue("SOFTWARE\\VST", "VSTPluginsPath", nullptr);
        removeTree(kTestRoot);
        removeTree(programFilesFolder() + "\\Orvalend");
    }

    void useHostFolder(const std::string& folder)
    {
        ASSERT_TRUE(setMachineValue("SOFTWARE\\VST", "VSTPluginsPath", &folder));
    }

    void startSetup()
    {
        std::string error;
        ASSERT_TRUE(setup.start(error)) << error;
    }

    std::string destination() { return windowText(GetDlgItem(setup.dialog, kDestination)); }
    void setDestination(const std::string& text)
    {
        setup.setText(GetDlgItem(setup.dialog, kDestination), text);
    }

    std::string missing(const std::string& rest) { return std::string(1, drive) + rest; }

    SetupProcess setup;
    std::string plugins, helpFolder, helpFile;
    char drive = 0;
};
} // namespace

TEST_F(Installer, ProposesTheHostPluginFolderAndInstallsBothFilesByteForByte)
{
    useHostFolder(plugins);
    startSetup();
    EXPECT_EQ(destination(), plugins + "\\Nimbulator");
    EXPECT_EQ(windowText(setup.dialog), kDialogCaption);
    Sleep(500); // let every control paint
    setup.screenshot(setup.dialog, "setup-dialog.png");

    setup.click(setup.dialog, kInstall);
    EXPECT_EQ(setup.answer(IDYES), plugins + "\\Nimbulator" + kCreateQuestion);
    EXPECT_EQ(setup.answer(IDOK), "Installation complete.");
    ASSERT_TRUE(setup.waitForExit());

    const std::string installed = plugins + "\\Nimbulator\\Nimbulator.dll";
    const std::vector<char> plugin = fileBytes(PLUGIN_FILE("nimbulator"));
    const std::vector<char> help = fileBytes("Nimbulator.chm");
    ASSERT_GT(plugin.size(), 10000u);
    ASSERT_GT(help.size(), 10000u);
    EXPECT_TRUE(fileBytes(installed) == plugin) << "the installed library differs";
    EXPECT_TRUE(fileBytes(helpFile) == help) << "the installed help file differs";

    std::string error;
    auto host = PluginHost::load(installed, error);
    ASSERT_TRUE(host) << error;
    EXPECT_EQ(host->effect()->uniqueID, 2014098942);
}

TEST_F(Installer, FallsBackToTheProgramFilesDriveWithoutAUsableHostFolder)
{
    const std::string expected = programFilesFolder().substr(0, 1) + ":\\Nimbulator";
    setMachineValue("SOFTWARE\\VST", "VSTPluginsPath", nullptr);
    startSetup();
    EXPECT_EQ(destination(), expected);
    Sleep(500); // the picture for the documentation: the installer as it opens
    setup.screenshot(setup.dialog, "setup-default.png");
    setup.click(setup.dialog, IDCANCEL);
    EXPECT_EQ(setup.answer(IDOK), "Installation canceled.");
    EXPECT_TRUE(setup.waitForExit());
    EXPECT_FALSE(fileExists(helpFile)) << "Cancel wrote the help file";
}

TEST_F(Installer, TreatsAHostFolderValueTooLongForItsBufferAsMissing)
{
    useHostFolder(plugins + "\\" + std::string(300 - plugins.size(), 'x'));
    startSetup();
    EXPECT_EQ(destination(), programFilesFolder().substr(0, 1) + ":\\Nimbulator");
    setup.click(setup.dialog, IDCANCEL);
    EXPECT_EQ(setup.answer(IDOK), "Installation canceled.");
    EXPECT_TRUE(setup.waitForExit());
}

TEST_F(Installer, AMissingDriveFailsThePluginButStillWritesTheHelpFile)
{
    startSetup();
    setDestination(missing(":\\Nimbulator"));
    setup.click(setup.dialog, kInstall);
    const std::vector<std::string> expected = {
        "Invalid Drive Specification",
        "Failed to open " + missing(":\\Nimbulator\\Nimbulator.dll") + " for writing",
        "Installation failed."};
    EXPECT_EQ(setup.answerAll({IDOK, IDOK, IDOK}), expected);
    EXPECT_TRUE(setup.waitForExit());
    EXPECT_TRUE(fileBytes(helpFile) == fileBytes("Nimbulator.chm"));
}

TEST_F(Installer, AOneLetterFolderIsAskedForWithoutADriveTestAndNoFails)
{
    startSetup();
    setDestination(std::string(1, drive));
    setup.click(setup.dialog, kInstall);
    const std::vector<std::string> expected = {
        std::string(1, drive) + kCreateQuestion,
        "Failed to open " + missing("\\Nimbulator.dll") + " for writing", "Installation failed."};
    EXPECT_EQ(setup.answerAll({IDNO, IDOK, IDOK}), expected);
    EXPECT_TRUE(setup.waitForExit());
    EXPECT_TRUE(fileExists(helpFile)) << "the help file is written whatever the answer";
}

TEST_F(Installer, ADestinationEndingInASeparatorGetsNoSecondOne)
{
    startSetup();
    setDestination(missing(":\\dir\\"));
    setup.click(setup.dialog, kInstall);
    const std::vector<std::string> expected = {
        "Invalid Drive Specification",
        "Failed to open " + missing(":\\dir\\Nimbulator.dll") + " for writing",
        "Installation failed."};
    EXPECT_EQ(setup.answerAll({IDOK, IDOK, IDOK}), expected);
    EXPECT_TRUE(setup.waitForExit());
    SetupProcess again;
    std::string error;
    ASSERT_TRUE(again.start(error)) << error;
    again.setText(GetDlgItem(again.dialog, kDestination), plugins + "\\");
    again.click(again.dialog, kInstall);
    EXPECT_EQ(again.answer(IDOK), "Installation complete."); // it exists: no question
    EXPECT_TRUE(again.waitForExit());
    EXPECT_TRUE(fileExists(plugins + "\\Nimbulator.dll"));
}

TEST_F(Installer, TheFolderChooserCompletesNavigatesAndRefuses)
{
    startSetup();
    setDestination(plugins);
    setup.click(setup.dialog, kBrowse);
    HWND chooser = setup.waitForWindow(kChooserCaption, false);
    ASSERT_TRUE(chooser) << "the folder chooser did not open";
    HWND box = GetDlgItem(chooser, kFolderBox);
    ASSERT_TRUE(box);
    EXPECT_EQ(windowText(GetDlgItem(chooser, kFolderLabel)), "Folder:");
    EXPECT_EQ(windowText(GetDlgItem(chooser, kOpenButton)), "Open");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(chooser, IDOK)));
    EXPECT_EQ(windowText(box), plugins + "\\"); // the starting folder, entered
    Sleep(500);
    setup.screenshot(chooser, "setup-chooser.png");

    // c:\win* matches one folder here: windows.
    setup.setText(box, "c:\\wi");
    setup.caretToEnd(box);
    setup.type(box, 'n');
    EXPECT_EQ(windowText(box), "c:\\windows");
    EXPECT_EQ(setup.selection(box), std::make_pair(6, 10));
    setup.setText(box, "c:\\WI");
    setup.caretToEnd(box);
    setup.type(box, 'N');
    EXPECT_EQ(windowText(box), "c:\\WINDOWS");
    EXPECT_EQ(setup.selection(box), std::make_pair(6, 10));

    setup.setText(box, "C:\\windows\\win.ini");
    setup.click(chooser, kOpenButton);
    EXPECT_EQ(setup.answer(IDOK), "C:\\windows\\win.ini\nThis is a file not a directory.");
    setup.setText(box, missing(":\\new"));
    setup.click(chooser, kOpenButton);
    EXPECT_EQ(setup.answer(IDOK), missing(":\\new\nThe drive is invalid."));
    EXPECT_TRUE(IsWindowVisible(chooser));

    // Enter offers to create a missing folder, then goes into it; Tab
    // moves on to the Open button.
    const std::string made = plugins + "\\made";
    setup.setText(box, made);
    setup.caretToEnd(box);
    setup.post(box, WM_CHAR, '\r');
    EXPECT_EQ(setup.answer(IDYES), made + kCreateQuestion);
    setup.waitUntil([&] { return windowText(box) == made + "\\"; });
    EXPECT_EQ(windowText(box), made + "\\");
    EXPECT_TRUE(GetFileAttributesA(made.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(IsWindowVisible(chooser)) << "Enter closed the chooser";
    setup.post(box, WM_KEYDOWN, VK_TAB);
    setup.waitUntil([&] { return setup.focus(chooser) == GetDlgItem(chooser, kOpenButton); });
    EXPECT_EQ(setup.focus(chooser), GetDlgItem(chooser, kOpenButton));

    // A lone separator goes to the root; an empty box accepts where it is.
    setup.setText(box, "");
    setup.type(box, '\\');
    setup.setText(box, "");
    setup.click(chooser, kOpenButton);
    for (int waited = 0; waited < 10000 && IsWindow(chooser); waited += 20)
        Sleep(20);
    EXPECT_FALSE(IsWindow(chooser));
    EXPECT_EQ(destination(), plugins.substr(0, 3));

    setup.click(setup.dialog, IDCANCEL);
    EXPECT_EQ(setup.answer(IDOK), "Installation canceled.");
    EXPECT_TRUE(setup.waitForExit());
}
