#include "CMidiMapDialog.h"

#include "CPopupMenu.h"
#include "FileDialog.h"
#include "MidiMapFile.h"
#include "MidiMapRules.h"
#include "Patch.h"
#include "SynthInterface.h"
#include "SynthPlatform.h"

#include <cstdio>
#include <cstring>

namespace {
const char* const kListProcProperty = "NimbulatorMidiMapListProc";
const char* const kTopic = "MidiControllerMap.htm";
const char* const kDefaultsQuestion = "Reset to the factory-default\nMIDI controller map?";
} // namespace

CMidiMapDialog::CMidiMapDialog(SynthInterface* synth) : COptionDialog(synth, kTemplate)
{
    static const char text[] = "Nimbulator Midi Map\0*.nbm\0";
    static_assert(sizeof text + 1 <= sizeof filter, "filter text fits");
    std::memset(filter, 0, sizeof filter);
    std::memcpy(filter, text, sizeof text);
}

CMidiMapDialog::~CMidiMapDialog()
{
    close();
}

int CMidiMapDialog::open(HWND parent, HICON icon)
{
    if (!COptionDialog::open(parent, icon))
        return 0;
    list = GetDlgItem(dialog, kList);
    fillList();
    if (list && !GetPropA(list, kListProcProperty)) {
        const LONG_PTR original =
            SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc));
        SetPropA(list, kListProcProperty, reinterpret_cast<HANDLE>(original));
    }
    popup.reset(new CPopupMenu(dialog, 0));
    popup->add("<none>", MidiMapRules::kPopupNone);
    popup->add("-", MidiMapRules::kPopupSeparator);
    for (int32_t p = 0; p <= 100; ++p) {
        char name[64] = "";
        if (synth)
            synth->getParameterLongName(p, name);
        popup->add(name, MidiMapRules::kPopupFirstParameter + p);
    }
    subclassEdit(GetDlgItem(dialog, kPitchBendField));
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    char text[16];
    std::snprintf(text, sizeof text, "%i", patch ? static_cast<int>(patch->pitchBendRange) : 0);
    // The box reports this text as a change too, which stores it (limited
    // to 0..24) like typing.
    SetDlgItemTextA(dialog, kPitchBendField, text);
    return 1;
}

void CMidiMapDialog::close()
{
    // While the pop-up's loop runs, its menu must outlive the loop: it is
    // ended here and destroyed once the loop has returned.
    if (tracking)
        EndMenu();
    else
        popup.reset();
    list = nullptr;
    COptionDialog::close();
}

void CMidiMapDialog::lineText(int32_t controller, char* text, size_t size)
{
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    const int32_t entry = patch ? patch->midiMap[controller] : -1;
    char name[64] = "";
    if (entry >= 0 && entry <= 100)
        synth->getParameterLongName(entry, name);
    MidiMapRules::lineText(text, size, controller, entry, name);
}

void CMidiMapDialog::fillList()
{
    if (!list)
        return;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (int32_t c = 0; c < MidiMapRules::kLines; ++c) {
        char text[MidiMapRules::kLineSize];
        lineText(c, text, sizeof text);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void CMidiMapDialog::refreshLine(int32_t controller)
{
    if (!list || controller < 0 || controller >= MidiMapRules::kLines)
        return;
    char text[MidiMapRules::kLineSize];
    lineText(controller, text, sizeof text);
    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(controller), 0);
    SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(controller),
                 reinterpret_cast<LPARAM>(text));
}

LRESULT CALLBACK CMidiMapDialog::listProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC original = reinterpret_cast<WNDPROC>(GetPropA(window, kListProcProperty));
    if (!original)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RemovePropA(window, kListProcProperty);
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        return CallWindowProcA(original, window, message, wParam, lParam);
    }
    // The list box moves its caret first; then the dialog hears of it.
    const LRESULT result = CallWindowProcA(original, window, message, wParam, lParam);
    if (message == WM_LBUTTONDOWN) {
        const LRESULT caret = CallWindowProcA(original, window, LB_GETCARETINDEX, 0, 0);
        SendMessageA(GetParent(window), WM_USER + 3, static_cast<WPARAM>(caret), 0);
    }
    return result;
}

void CMidiMapDialog::userMessage3(WPARAM caret, LPARAM)
{
    listClicked(static_cast<int>(caret));
}

void CMidiMapDialog::listClicked(int caret)
{
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (popupInProgress || !popup || !patch || !dialog)
        return;
    popupInProgress = true;
    POINT at = {0, 0};
    GetCursorPos(&at);
    const int32_t entry = caret >= 0 && caret < MidiMapRules::kLines ? patch->midiMap[caret] : -1;
    const int checked = MidiMapRules::popupPositionOf(entry);
    popup->check(checked, true);
    tracking = true;
    popup->track(at.x, at.y);
    tracking = false;
    if (!dialog)
        popup.reset(); // closed while the pop-up was up
    else if (popup)
        popup->check(checked, false);
}

void CMidiMapDialog::userMessage1(LPARAM position)
{
    itemChosen(static_cast<int>(position));
}

void CMidiMapDialog::itemChosen(int position)
{
    if (!dialog)
        return;
    // A click that the closing pop-up lets through to the list opens no
    // new pop-up: the guard ends 50 ms from now.
    SetTimer(dialog, kGuardTimer, kGuardMilliseconds, nullptr);
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    int32_t entry;
    if (position == -1 || !patch || !list || !MidiMapRules::entryForPopupPosition(position, entry))
        return;
    const int index = static_cast<int>(SendMessageA(list, LB_GETCARETINDEX, 0, 0));
    if (index < 0 || index >= MidiMapRules::kLines)
        return;
    patch->midiMap[index] = entry;
    refreshLine(index);
    SendMessageA(list, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
}

void CMidiMapDialog::timer(UINT_PTR id)
{
    if (id == kGuardTimer)
        popupInProgress = false;
}

void CMidiMapDialog::command(int, int id, HWND)
{
    if (!dialog)
        return;
    switch (id) {
    case kCloseButton:
        close();
        break;
    case kSaveButton:
        saveMap();
        break;
    case kLoadButton:
        loadMap();
        break;
    case kDefaultsButton:
        askFactoryDefaults();
        break;
    case kHelpButton:
        showHelp(kTopic);
        break;
    case kPitchBendField:
        storePitchBendRange(false);
        break;
    default:
        break;
    }
}

void CMidiMapDialog::editLostFocus(int id)
{
    if (id == kPitchBendField && dialog)
        storePitchBendRange(true);
}

void CMidiMapDialog::storePitchBendRange(bool rewrite)
{
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (!patch)
        return;
    char text[261] = "";
    GetDlgItemTextA(dialog, kPitchBendField, text, sizeof text);
    patch->pitchBendRange = MidiMapRules::parsePitchBendRange(text);
    if (rewrite) {
        std::snprintf(text, sizeof text, "%i", static_cast<int>(patch->pitchBendRange));
        SetDlgItemTextA(dialog, kPitchBendField, text);
    }
}

void CMidiMapDialog::saveMap()
{
    char path[MAX_PATH] = "";
    if (!FileDialog::askSave("Save controller map", filter, "NBM", path))
        return;
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (!patch)
        return;
    const MidiMapFile::Result result = MidiMapFile::save(*patch, path);
    if (const char* message = MidiMapFile::message(result))
        showMessage(message);
}

void CMidiMapDialog::loadMap()
{
    char path[MAX_PATH] = "";
    if (!FileDialog::askOpen("Load controller map", filter, "NBM", path))
        return;
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (!patch)
        return;
    const MidiMapFile::Result result = MidiMapFile::load(*patch, path);
    if (const char* message = MidiMapFile::message(result))
        showMessage(message);
    else
        fillList();
}

void CMidiMapDialog::askFactoryDefaults()
{
    if (MessageBoxA(dialog, kDefaultsQuestion, "Nimbulator", MB_YESNO) != IDYES)
        return;
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (!patch)
        return;
    setMidiMapDefaults(*patch);
    fillList();
}
