// Base of the editor's option dialogs and its About box: a modeless dialog
// from a template, opened at the top-left corner of its parent and raised
// instead of opened twice. The dialog procedure forwards timers, commands,
// notifications and the private messages to virtual operations; dialogs
// override what they handle. UI thread only.
#pragma once

#include "OptionFields.h"

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

    // Shows a page of the instrument's help file; every Help button of the
    // option dialogs comes here.
    void showHelp(const char* topic);

protected:
    // Field helpers for the open dialog (each does nothing while closed).
    // writeNumber shows `value` with "%i"; the change notifications this
    // causes are not taken for typing (see writingField).
    void writeNumber(int id, int32_t value);
    // The field's text (at most OptionFields::kMaxText characters) read by
    // the number-field rules: true and the limited value, or false when
    // nothing is to be stored.
    bool readNumber(int id, const OptionFields::Range& range, int32_t& value) const;
    void setChecked(int id, bool on);
    bool isChecked(int id) const;
    void enable(int id, bool on);
    // Checks the radio `first + index` of the group first..last and clears
    // the others (none checked for an index outside the group).
    void checkRadio(int first, int last, int32_t index);

    SynthInterface* synth;
    int templateId;
    HWND dialog = nullptr;
    // True while the dialog itself writes a field.
    bool writingField = false;

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
