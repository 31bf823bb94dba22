// The installer's one window: dialog 102, showing the destination folder,
// the browse button, the progress bar and Install / Cancel. Install writes
// the help file under the program-files folder and the instrument library
// into the destination, then opens the help file. Win32 only; runs on the
// program's only thread.
#pragma once

#include <windows.h>

#include <string>

class SetupDialog {
public:
    explicit SetupDialog(HINSTANCE instance);
    ~SetupDialog();

    SetupDialog(const SetupDialog&) = delete;
    SetupDialog& operator=(const SetupDialog&) = delete;

    // Shows the dialog modally; IDOK after an install (whatever its outcome),
    // IDCANCEL after Cancel.
    INT_PTR run();

    // The program-files folder from the registry, "c:\\Program Files" when
    // neither value can be read.
    static std::string programFilesFolder();
    // The folder the user's VST hosts load plug-ins from (may change the
    // current directory, as it tries each candidate by entering it).
    static std::string pluginFolder();
    // A string value under HKEY_LOCAL_MACHINE, each key of `keys` opened one
    // level at a time; false when a key or the value is missing, is not text
    // or is longer than the installer's 260-character buffer holds.
    static bool readMachineValue(const char* const* keys, const char* name, std::string& value);

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);

    void onInit();
    void fitLabel();
    void onBrowse();
    void onInstall();
    void onCancel();
    bool onPaint();

    // Checks or creates the destination folder, asking first.
    bool ensureFolder(const std::string& path);
    // Writes the help file and the library; false when any step failed.
    bool installFiles();
    // Writes payload `resource` as `fileName` into `folder`.
    bool writePayload(const char* resource, const std::string& folder, const char* fileName);
    std::string destination() const;
    void openHelp();

    HINSTANCE instance;
    HWND dialog = nullptr;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
};
