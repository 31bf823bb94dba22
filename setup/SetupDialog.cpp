// The installer dialog (see SetupDialog.h).
#include "SetupDialog.h"

#include "FolderChooser.h"
#include "FolderRules.h"
#include "SetupLayout.h"
#include "SetupMessages.h"
#include "SetupResources.h"
#include "SystemFileSystem.h"

#include <commctrl.h>

namespace {
const char* const kCaption = "Nimbulator v1.01";
const char* const kPluginFileName = "Nimbulator.dll";
const char* const kHelpFileName = "Nimbulator.chm";

const char* const kVstKey[] = {"SOFTWARE", "VST", nullptr};
const char* const kSfcKey[] = {"SYSTEM", "CurrentControlSet", "Control", "Session Manager", "SFC",
                               nullptr};
const char* const kCurrentVersionKey[] = {"Software", "Microsoft", "Windows", "Currentversion",
                                          nullptr};

// hhctrl.ocx's entry, looked up at run time (no import library needed).
typedef HWND(WINAPI* HtmlHelpProc)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);
const UINT kHelpDisplayTopic = 0;
} // namespace

SetupDialog::SetupDialog(HINSTANCE instance) : instance(instance) {}

SetupDialog::~SetupDialog()
{
    if (bigIcon)
        DestroyIcon(bigIcon);
    if (smallIcon)
        DestroyIcon(smallIcon);
}

INT_PTR SetupDialog::run()
{
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETUP), nullptr, dialogProc,
                           reinterpret_cast<LPARAM>(this));
}

bool SetupDialog::readMachineValue(const char* const* keys, const char* name, std::string& value)
{
    HKEY key = HKEY_LOCAL_MACHINE;
    for (const char* const* part = keys; *part; ++part) {
        HKEY next = nullptr;
        const LONG opened = RegOpenKeyExA(key, *part, 0, KEY_QUERY_VALUE, &next);
        if (key != HKEY_LOCAL_MACHINE)
            RegCloseKey(key);
        if (opened != ERROR_SUCCESS)
            return false;
        key = next;
    }
    char buffer[FolderRules::kMaxPath] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const LONG read =
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (key != HKEY_LOCAL_MACHINE)
        RegCloseKey(key);
    if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    // The value may be stored without its terminating null; one that fills
    // the whole buffer without one is too long.
    size_t length = 0;
    while (length < size && buffer[length] != '\0')
        ++length;
    if (length >= sizeof buffer)
        return false;
    value.assign(buffer, length);
    return true;
}

std::string SetupDialog::programFilesFolder()
{
    std::string folder;
    if (readMachineValue(kSfcKey, "ProgramFilesDir", folder))
        return folder;
    if (readMachineValue(kCurrentVersionKey, "ProgramFilesDir", folder))
        return folder;
    return "c:\\Program Files";
}

std::string SetupDialog::pluginFolder()
{
    std::string folder;
    if (readMachineValue(kVstKey, "VSTPluginsPath", folder) && !folder.empty() &&
        SetCurrentDirectoryA(folder.c_str()))
        return folder;
    folder = programFilesFolder() + "\\Steinberg\\VstPlugins";
    if (SetCurrentDirectoryA(folder.c_str()))
        return folder;
    return FolderRules::driveOnly(folder);
}

INT_PTR CALLBACK SetupDialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        SetupDialog* self = reinterpret_cast<SetupDialog*>(lParam);
        self->dialog = window;
        self->onInit();
        return FALSE; // the focus was set to the destination box
    }
    SetupDialog* self = reinterpret_cast<SetupDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    return self ? self->handle(message, wParam, lParam) : FALSE;
}

INT_PTR SetupDialog::handle(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        switch (LOWORD(wParam)) {
        case IDC_BROWSE:
            onBrowse();
            return TRUE;
        case IDC_INSTALL:
            onInstall();
            return TRUE;
        case IDCANCEL:
            onCancel();
            return TRUE;
        }
        return FALSE;
    case WM_PAINT:
        return onPaint() ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(bigIcon));
        return TRUE;
    }
    return FALSE;
}

void SetupDialog::onInit()
{
    bigIcon =
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    smallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), 0));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));

    fitLabel();

    const std::string folder = pluginFolder() + "\\Nimbulator";
    HWND edit = GetDlgItem(dialog, IDC_DESTINATION);
    SetWindowTextA(edit, folder.c_str());
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);

    SendDlgItemMessageA(dialog, IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, 2));
    SendDlgItemMessageA(dialog, IDC_PROGRESS, PBM_SETPOS, 0, 0);
    SetWindowTextA(dialog, kCaption);
}

// The destination label keeps its end beside the box and grows to the left
// when the dialog's font draws its text wider than the template allows.
void SetupDialog::fitLabel()
{
    HWND label = GetDlgItem(dialog, IDC_DESTINATION_LABEL);
    char text[64] = {};
    GetWindowTextA(label, text, sizeof text);
    HDC dc = GetDC(label);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
    SelectObject(dc, old);
    ReleaseDC(label, dc);

    RECT box;
    GetWindowRect(label, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    RECT margin = {4, 0, 0, 0};
    MapDialogRect(dialog, &margin);
    const int left = SetupLayout::fittedLeft(box.left, box.right, extent.cx, margin.left);
    if (left != box.left)
        SetWindowPos(label, nullptr, left, box.top, box.right - left, box.bottom - box.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string SetupDialog::destination() const
{
    char text[FolderRules::kMaxPath] = {};
    GetDlgItemTextA(dialog, IDC_DESTINATION, text, sizeof text);
    return text;
}

void SetupDialog::onBrowse()
{
    FolderChooser chooser(destination(), nullptr, dialog);
    if (chooser.show())
        SetDlgItemTextA(dialog, IDC_DESTINATION, chooser.folder().c_str());
}

void SetupDialog::onInstall()
{
    if (installFiles()) {
        openHelp();
        SetupMessages::show(dialog, "Installation complete.", MB_OK | MB_ICONINFORMATION);
    } else {
        SetupMessages::notify(dialog, "Installation failed.");
    }
    EndDialog(dialog, IDOK);
}

void SetupDialog::onCancel()
{
    SetupMessages::show(dialog, "Installation canceled.", MB_OK | MB_ICONINFORMATION);
    EndDialog(dialog, IDCANCEL);
}

// The usual minimised-window drawing: the icon centred in the client area.
bool SetupDialog::onPaint()
{
    if (!IsIconic(dialog))
        return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    SendMessageA(dialog, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(dialog, &client);
    const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, bigIcon);
    EndPaint(dialog, &paint);
    return true;
}

bool SetupDialog::ensureFolder(const std::string& path)
{
    SystemFileSystem disks;
    if (disks.exists(path))
        return true;
    const std::string root = FolderRules::driveRoot(path);
    if (FolderRules::installerTestsDrive(path) &&
        FolderRules::isInvalidDriveType(disks.driveType(root))) {
        SetupMessages::notify(dialog, "Invalid Drive Specification");
        return false;
    }
    if (!SetupMessages::ask(dialog,
                            path + "\nThis folder does not exist.\n\nDo you want to create it?"))
        return false;
    if (SystemFileSystem::createFolders(path))
        return true;
    SetupMessages::notify(
        dialog, FolderRules::creationFailureMessage(disks.driveType(root),
                                                    FolderRules::CreationContext::Installer));
    return false;
}

bool SetupDialog::installFiles()
{
    const std::string target = destination();
    SetCurrentDirectoryA("\\");
    bool ok = ensureFolder(target);

    SendDlgItemMessageA(dialog, IDC_PROGRESS, PBM_SETPOS, 1, 0);
    // The help file's folders are entered, or made when they cannot be; a
    // failure shows as the file's open failure.
    std::string helpFolder = programFilesFolder();
    for (const char* part : {"\\Orvalend", "\\Nimbulator"}) {
        helpFolder += part;
        if (!SetCurrentDirectoryA(helpFolder.c_str()))
            CreateDirectoryA(helpFolder.c_str(), nullptr);
    }
    if (!writePayload("#2001", helpFolder, kHelpFileName))
        ok = false;

    SendDlgItemMessageA(dialog, IDC_PROGRESS, PBM_SETPOS, 2, 0);
    if (!writePayload("#2002", target, kPluginFileName))
        ok = false;
    return ok;
}

bool SetupDialog::writePayload(const char* resource, const std::string& folder,
                               const char* fileName)
{
    bool ok = true;
    const void* data = nullptr;
    DWORD size = 0;
    HRSRC found = FindResourceA(nullptr, resource, MAKEINTRESOURCEA(10)); // RT_RCDATA
    if (!found) {
        SetupMessages::notify(dialog, "Failed to find resource");
        ok = false;
    } else {
        HGLOBAL loaded = LoadResource(nullptr, found);
        if (!loaded) {
            SetupMessages::notify(dialog, "Failed to load resource");
            ok = false;
        } else {
            data = LockResource(loaded);
            size = data ? SizeofResource(nullptr, found) : 0;
        }
    }

    const std::string path = FolderRules::fileInFolder(folder, fileName);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        SetupMessages::notify(dialog, "Failed to open " + path + " for writing");
        return false;
    }
    DWORD written = 0;
    if (size > 0 && (!WriteFile(file, data, size, &written, nullptr) || written < size)) {
        SetupMessages::notify(dialog, "Error writing to " + path);
        ok = false;
    }
    CloseHandle(file);
    return ok;
}

// The help file where the install put it, in the HTML Help viewer with no
// owner window (it outlives the installer). Without hhctrl.ocx nothing opens.
void SetupDialog::openHelp()
{
    HMODULE help = LoadLibraryA("hhctrl.ocx");
    if (!help)
        return;
    HtmlHelpProc htmlHelp =
        reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void*>(GetProcAddress(help, "HtmlHelpA")));
    const std::string file = programFilesFolder() + "\\Orvalend\\Nimbulator\\Nimbulator.CHM";
    if (htmlHelp)
        htmlHelp(nullptr, file.c_str(), kHelpDisplayTopic, 0);
}
