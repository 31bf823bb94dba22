// The folder chooser on the system's open dialog (see FolderChooser.h).
#include "FolderChooser.h"

#include "FolderRules.h"
#include "SetupMessages.h"
#include "SystemFileSystem.h"

#include <commctrl.h>
#include <commdlg.h>

#include <utility>
#include <vector>

namespace {
// Controls of the system dialog.
const int kNameLabel = 1090; // stc3
const int kNameEdit = 1152;  // edt1
const int kNameCombo = 1148; // cmb13, the file-name box of newer templates

const char* const kCreateQuestion = "\nThis folder does not exist.\n\nDo you want to create it?";

// Enough entries to tell one matching folder from several.
const int kMaxListedEntries = 4096;

bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// A child's rectangle in its parent's client coordinates.
RECT childRect(HWND child, HWND parent)
{
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
} // namespace

FolderChooser::FolderChooser(const std::string& start, const char* extraFilter, HWND parent)
    : result(start), start(start), owner(parent)
{
    std::string list = "Show Folders Only|.|";
    list += extraFilter ? extraFilter : "All Files (*.*)|*.*||";
    for (char& c : list) {
        if (c == '|')
            c = '\0';
    }
    filter = list;
}

bool FolderChooser::show()
{
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = start.c_str();
    ofn.lpstrTitle = "Select Folder";
    ofn.Flags =
        OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    ofn.lpfnHook = hookProc;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);
    return GetOpenFileNameA(&ofn) != FALSE;
}

UINT_PTR CALLBACK FolderChooser::hookProc(HWND hook, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const OPENFILENAMEA* ofn = reinterpret_cast<const OPENFILENAMEA*>(lParam);
        FolderChooser* self = reinterpret_cast<FolderChooser*>(ofn->lCustData);
        SetWindowLongPtrA(hook, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->dialog = GetParent(hook);
        return TRUE;
    }
    FolderChooser* self = reinterpret_cast<FolderChooser*>(GetWindowLongPtrA(hook, GWLP_USERDATA));
    if (!self || message != WM_NOTIFY)
        return 0;
    switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
    case CDN_INITDONE:
        self->initialise();
        break;
    case CDN_FOLDERCHANGE:
        self->initialise();
        self->onFolderChange();
        break;
    }
    return 0;
}

// Runs once, when the system dialog has set itself up: the folder box and
// the Open button take the places of the file-name box and OK.
void FolderChooser::initialise()
{
    if (box || !dialog)
        return;
    SetDlgItemTextA(dialog, kNameLabel, "Folder:");
    SetWindowSubclass(dialog, dialogSubclass, 1, reinterpret_cast<DWORD_PTR>(this));

    nameBox = GetDlgItem(dialog, kNameEdit);
    if (!nameBox)
        nameBox = GetDlgItem(dialog, kNameCombo);
    okButton = GetDlgItem(dialog, IDOK);
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));

    const RECT boxRect = childRect(nameBox, dialog);
    box = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", start.c_str(),
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, boxRect.left,
                          boxRect.top, boxRect.right - boxRect.left, boxRect.bottom - boxRect.top,
                          dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFolderBox)),
                          instance, nullptr);
    SendMessageA(box, WM_SETFONT, SendMessageA(nameBox, WM_GETFONT, 0, 0), FALSE);
    SetWindowPos(box, GetDlgItem(dialog, kNameLabel), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowSubclass(box, boxSubclass, 2, reinterpret_cast<DWORD_PTR>(this));

    const RECT okRect = childRect(okButton, dialog);
    openButton = CreateWindowExA(
        0, "BUTTON", "Open", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, okRect.left,
        okRect.top, okRect.right - okRect.left, okRect.bottom - okRect.top, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kOpenButton)), instance, nullptr);
    SendMessageA(openButton, WM_SETFONT, SendMessageA(okButton, WM_GETFONT, 0, 0), FALSE);
    SetWindowPos(openButton, box, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (cancel)
        SetWindowPos(cancel, openButton, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    SendMessageA(okButton, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SendMessageA(dialog, DM_SETDEFID, kOpenButton, 0);
    ShowWindow(okButton, SW_HIDE);
    ShowWindow(nameBox, SW_HIDE);
}

LRESULT CALLBACK FolderChooser::dialogSubclass(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR id, DWORD_PTR data)
{
    FolderChooser* self = reinterpret_cast<FolderChooser*>(data);
    if (message == WM_COMMAND && LOWORD(wParam) == kOpenButton && HIWORD(wParam) == BN_CLICKED) {
        self->onOpen();
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, dialogSubclass, id);
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK FolderChooser::boxSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR data)
{
    FolderChooser* self = reinterpret_cast<FolderChooser*>(data);
    switch (message) {
    case WM_GETDLGCODE: {
        // Enter and Tab reach the box instead of the dialog manager.
        LRESULT code = DefSubclassProc(window, message, wParam, lParam);
        if (lParam && (wParam == VK_RETURN || wParam == VK_TAB))
            code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_KEYDOWN:
        if (wParam == VK_TAB) {
            SetFocus(self->openButton);
            return 0;
        }
        if (wParam == VK_DELETE) {
            const LRESULT done = DefSubclassProc(window, message, wParam, lParam);
            self->afterEdit(0);
            return done;
        }
        break;
    case WM_CHAR:
        if (wParam == '\t')
            return 0;
        if (wParam == '\r' || wParam == '\n') {
            self->onEnter();
            return 0;
        }
        {
            const LRESULT done = DefSubclassProc(window, message, wParam, lParam);
            self->afterEdit(static_cast<char>(wParam));
            return done;
        }
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, boxSubclass, id);
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void FolderChooser::onFolderChange()
{
    char path[MAX_PATH] = {};
    const LRESULT length =
        SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
    if (length > 0 && length <= MAX_PATH && path[0])
        result = FolderRules::withTrailingSeparator(path);
    if (!box)
        return;
    SetWindowTextA(box, result.c_str());
    caretToEnd();
    focusBox();
}

void FolderChooser::onOpen()
{
    SystemFileSystem disks;
    const FolderRules::Decision decision = FolderRules::openButton(boxText(), disks);
    switch (decision.kind) {
    case FolderRules::Decision::Accept:
        accept(decision.path);
        return;
    case FolderRules::Decision::Message:
        message(decision.message, MB_OK | MB_ICONEXCLAMATION);
        break;
    case FolderRules::Decision::AskCreate:
        if (message(decision.path + kCreateQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES)
            break;
        if (!SystemFileSystem::createFolders(decision.path)) {
            message(decision.message, MB_OK | MB_ICONEXCLAMATION);
            break;
        }
        accept(decision.path);
        return;
    default:
        break;
    }
    focusBox();
}

void FolderChooser::onEnter()
{
    SystemFileSystem disks;
    const FolderRules::Decision decision = FolderRules::enterKey(boxText(), disks);
    if (decision.kind == FolderRules::Decision::Stop)
        return;
    if (decision.kind == FolderRules::Decision::AskCreate) {
        if (message(decision.path + kCreateQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) {
            focusBox();
            return;
        }
        if (!SystemFileSystem::createFolders(decision.path)) {
            message(decision.message, MB_OK | MB_ICONEXCLAMATION);
            focusBox();
            return;
        }
    }
    navigate(decision.path);
    const std::string text = boxText();
    if (text.empty() || text.back() != '\\')
        SetWindowTextA(box, (text + "\\").c_str());
    caretToEnd();
    focusBox();
}

void FolderChooser::afterEdit(char typed)
{
    const std::string text = boxText();
    DWORD from = 0, to = 0;
    SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    const bool caretAtEnd = from == to && to == text.size();
    SystemFileSystem disks;
    const FolderRules::Decision decision = FolderRules::afterEdit(text, typed, caretAtEnd, disks);
    if (decision.kind == FolderRules::Decision::Navigate)
        navigate(decision.path);
    else if (decision.kind == FolderRules::Decision::TryCompletion)
        complete(text, typed);
}

// The one folder matching the text, if there is one, continues the text;
// the continuation is selected, so typing on replaces it.
void FolderChooser::complete(const std::string& text, char typed)
{
    std::vector<std::pair<std::string, bool>> entries;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((text + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        entries.emplace_back(found.cFileName,
                             (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (entries.size() < kMaxListedEntries && FindNextFileA(search, &found));
    FindClose(search);

    const std::string name = FolderRules::singleFolder(entries);
    if (name.empty())
        return;
    const std::string added = FolderRules::completion(text, name, typed);
    if (added.empty())
        return;
    SetWindowTextA(box, (text + added).c_str());
    SendMessageA(box, EM_SETSEL, text.size(), text.size() + added.size());
}

// The system dialog goes into the folder `text` names: the text goes into
// its hidden file-name box and its hidden OK button is clicked. When the
// dialog did not land in the typed folder, the box gets its text back.
void FolderChooser::navigate(const std::string& text)
{
    const std::string before = boxText();
    DWORD from = 0, to = 0;
    SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));

    SetWindowTextA(nameBox, text.c_str());
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(okButton));
    if (!IsWindow(box))
        return; // the system dialog closed

    const std::string after = boxText();
    if (before.empty()) {
        caretToEnd();
    } else if (before[0] != '.' && !sameIgnoringCase(after, before) &&
               !sameIgnoringCase(after, before + "\\")) {
        SetWindowTextA(box, before.c_str());
        SendMessageA(box, EM_SETSEL, from, to);
    } else {
        caretToEnd();
    }
}

void FolderChooser::accept(const std::string& text)
{
    if (!text.empty())
        navigate(text);
    if (IsWindow(dialog))
        EndDialog(dialog, IDOK);
}

std::string FolderChooser::boxText() const
{
    const int length = GetWindowTextLengthA(box);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(box, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void FolderChooser::caretToEnd()
{
    const LRESULT length = GetWindowTextLengthA(box);
    SendMessageA(box, EM_SETSEL, length, length);
}

void FolderChooser::focusBox()
{
    if (box)
        SetFocus(box);
}

int FolderChooser::message(const std::string& text, UINT flags)
{
    return SetupMessages::show(dialog, text, flags);
}
