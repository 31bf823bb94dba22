// The MIDI controller map dialog: the current program's controllers 0..119
// and the parameter each drives, one line each; a click on a line opens a
// pop-up of all parameters with the current one checked; map files are
// loaded and saved through the system's file dialogs; the factory map can
// be restored; the pitch-bend range is typed into a box. UI thread only.
#pragma once

#include "COptionDialog.h"

#include <memory>

class CPopupMenu;

class CMidiMapDialog : public COptionDialog {
public:
    enum {
        kTemplate = 131,
        kList = 1061,
        kSaveButton = 1062,
        kLoadButton = 1063,
        kDefaultsButton = 1064,
        kHelpButton = 1065,
        kPitchBendField = 1066,
        kCloseButton = 1029,
        kGuardTimer = 1,
        kGuardMilliseconds = 50,
    };

    explicit CMidiMapDialog(SynthInterface* synth);
    ~CMidiMapDialog() override;

    int open(HWND parent, HICON icon) override;
    void close() override;
    void command(int code, int id, HWND control) override;
    void editLostFocus(int id) override;
    // The list's left press: the caret index (wParam).
    void userMessage3(WPARAM caret, LPARAM) override;
    // The pop-up's choice: its position, or -1 when dismissed.
    void userMessage1(LPARAM position) override;
    void timer(UINT_PTR id) override;

    // Rebuilds every line from the current program (a map file, the
    // factory map or MIDI learn changed the map).
    void fillList();
    // Rebuilds the line of controller 0..119.
    void refreshLine(int32_t controller);

private:
    void listClicked(int caret);
    void itemChosen(int position);
    void saveMap();
    void loadMap();
    void askFactoryDefaults();
    void storePitchBendRange(bool rewrite);
    void lineText(int32_t controller, char* text, size_t size);
    static LRESULT CALLBACK listProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // "Nimbulator Midi Map\0*.nbm\0\0".
    char filter[32];
    std::unique_ptr<CPopupMenu> popup;
    bool popupInProgress = false; // from a list click to 50 ms after the choice
    bool tracking = false;        // the pop-up's modal loop runs
    HWND list = nullptr;
};
