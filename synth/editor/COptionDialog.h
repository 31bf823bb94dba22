// Base of the editor's option dialogs and its About box: a modeless dialog
// from a template, opened at the top-left corner of its parent and raised
// instead of opened twice. The dialog procedure forwards timers, commands,
// notifications and the private messages to virtual operations; dialogs
// override what they handle. UI thread only.
#pragma once

#include <windows.h>

class SynthInterface;

class COptionDialog {
public:
    COptionDialog(SynthInterface* synth, int templateId) : synth(synth), templateId(templateId) {}
    virtual ~COptionDialog();
    COptionDialog(const COptionDialog&) = delete;
    COptionDialog& operator=(const COptionDialog&) = delete;

    // Opens the dialog owned by `parent`, with `icon` as its big and small
    // icon when given. Returns 0 when it was already open (it is raised).
    virtual int open(HWND parent, HICON icon);
    virtual void close();
    virtual void command(int, int, HWND) {}
    virtual void notify(NMHDR*) {}
    virtual void editLostFocus(int) {}
    virtual void userMessage3(WPARAM, LPARAM) {}
    virtual void userMessage1(LPARAM) {}
    virtual void timer(UINT_PTR) {}

    HWND window() const { return dialog; }
    bool isOpen() const { return dialog != nullptr; }

    // Makes an edit box of a dialog report WM_USER+2 (id) when it loses the
    // focus, and see each left press once more as a double click.
    static void subclassEdit(HWND edit);

protected:
    SynthInterface* synth;
    int templateId;
    HWND dialog = nullptr;

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
