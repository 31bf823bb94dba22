// The installer's folder chooser: the system's Explorer-style open dialog
// turned into a folder picker. The list shows folders only; a folder box
// (181) replaces the file-name box, with its own checks, completion and
// folder creation, and an "Open" button (182) replaces OK. The result is the
// folder the dialog is in when the user accepts, ending in "\\". Win32 only;
// runs on the caller's thread inside the system dialog's modal loop.
#pragma once

#include <windows.h>

#include <string>

class FolderChooser {
public:
    // `start`: the folder to begin in; `extraFilter`: "Name|pattern|..."
    // shown after "Show Folders Only", or null for "All Files (*.*)".
    FolderChooser(const std::string& start, const char* extraFilter, HWND parent);

    FolderChooser(const FolderChooser&) = delete;
    FolderChooser& operator=(const FolderChooser&) = delete;

    // Shows the chooser modally; true when the user accepted a folder.
    bool show();
    // The accepted folder (meaningful after show() returned true).
    const std::string& folder() const { return result; }

    static const int kFolderBox = 181;
    static const int kOpenButton = 182;

private:
    static UINT_PTR CALLBACK hookProc(HWND hook, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK dialogSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR data);
    static LRESULT CALLBACK boxSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR data);

    void initialise();
    void onFolderChange();
    void onOpen();
    void onEnter();
    void afterEdit(char typed);
    void navigate(const std::string& text);
    void accept(const std::string& text);
    void complete(const std::string& text, char typed);

    std::string boxText() const;
    void caretToEnd();
    void focusBox();
    int message(const std::string& text, UINT flags);

    std::string result;
    std::string start;
    std::string filter;
    HWND owner;
    HWND dialog = nullptr;     // the system dialog
    HWND nameBox = nullptr;    // its file-name box, hidden
    HWND okButton = nullptr;   // its OK button, hidden
    HWND box = nullptr;        // the folder box
    HWND openButton = nullptr; // the Open button
};
