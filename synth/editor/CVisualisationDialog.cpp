#include "CVisualisationDialog.h"

#include "Patch.h"
#include "SynthInterface.h"

namespace {
const char* const kListProcProperty = "NimbulatorListProc";
}

int CVisualisationDialog::open(HWND parent, HICON icon)
{
    if (!COptionDialog::open(parent, icon))
        return 0;
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    drag.release();
    subclassEdit(GetDlgItem(dialog, kTrailLengthField));
    subclassEdit(GetDlgItem(dialog, kTrailWidthField));
    HWND list = GetDlgItem(dialog, kOrderList);
    if (list && !GetPropA(list, kListProcProperty)) {
        const LONG_PTR original =
            SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc));
        SetPropA(list, kListProcProperty, reinterpret_cast<HANDLE>(original));
    }
    if (patch) {
        validateAxisOrder(*patch);
        fillOrderList();
        setChecked(kAnimateViewBox, patch->animateHyperspace != 0);
        setChecked(kPinsBox, patch->showPins != 0);
        setChecked(kAnimateKeyboardBox, patch->animateKeyboard != 0);
        writeNumber(kTrailLengthField, patch->trailLength);
        writeNumber(kTrailWidthField, patch->trailWidth);
        showEnabledStates(patch->animateHyperspace);
        checkRadio(kWheelDepthRadio, kWheelLuminanceRadio, patch->wheelMapping);
    }
    return 1;
}

void CVisualisationDialog::fillOrderList()
{
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (!dialog || !patch)
        return;
    SendDlgItemMessageA(dialog, kOrderList, LB_RESETCONTENT, 0, 0);
    for (int32_t slot = 0; slot < kAxisCount; ++slot)
        SendDlgItemMessageA(
            dialog, kOrderList, LB_ADDSTRING, 0,
            reinterpret_cast<LPARAM>(OptionFields::dimensionName(patch->axisOrder[slot])));
}

void CVisualisationDialog::showEnabledStates(uint8_t animate)
{
    const bool on = OptionFields::viewControlsEnabled(animate);
    enable(kOrderList, on);
    enable(kTrailLengthField, on);
    enable(kTrailWidthField, on);
    enable(kPinsBox, on);
}

void CVisualisationDialog::storeField(int id, bool writeBack)
{
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (!patch)
        return;
    const bool length = id == kTrailLengthField;
    int32_t Patch::*field = length ? &Patch::trailLength : &Patch::trailWidth;
    int32_t value;
    if (readNumber(id, length ? OptionFields::kTrailLength : OptionFields::kTrailWidth, value)) {
        patch->*field = value;
        if (length)
            synth->requestHyperspaceRedraw();
    }
    if (writeBack)
        writeNumber(id, patch->*field);
}

void CVisualisationDialog::command(int, int id, HWND)
{
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (!dialog || !patch)
        return;
    switch (id) {
    case kAnimateViewBox:
        patch->animateHyperspace = isChecked(kAnimateViewBox) ? 1 : 0;
        showEnabledStates(patch->animateHyperspace);
        if (!patch->animateHyperspace)
            synth->requestHyperspaceRedraw();
        break;
    case kPinsBox:
        patch->showPins = isChecked(kPinsBox) ? 1 : 0;
        if (!patch->showPins)
            synth->requestHyperspaceRedraw();
        break;
    case kTrailLengthField:
    case kTrailWidthField:
        if (!writingField)
            storeField(id, false);
        break;
    case kAnimateKeyboardBox:
        patch->animateKeyboard = isChecked(kAnimateKeyboardBox) ? 1 : 0;
        if (!patch->animateKeyboard)
            synth->clearKeyboardDisplay();
        break;
    case kWheelDepthRadio:
    case kWheelHueRadio:
    case kWheelLuminanceRadio:
        patch->wheelMapping = id - kWheelDepthRadio;
        break;
    case kCloseButton:
        close();
        break;
    case kHelpButton:
        showHelp(OptionFields::kVisualisationTopic);
        break;
    default:
        break;
    }
}

void CVisualisationDialog::editLostFocus(int id)
{
    if (id == kTrailLengthField || id == kTrailWidthField)
        storeField(id, true);
}

void CVisualisationDialog::userMessage3(WPARAM lower, LPARAM higher)
{
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (patch && OptionFields::swapAxes(patch->axisOrder, static_cast<int32_t>(lower),
                                        static_cast<int32_t>(higher)))
        synth->requestHyperspaceRedraw();
}

void CVisualisationDialog::swapEntries(HWND list, int32_t lower)
{
    char text[64] = {};
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, lower, 0);
    if (length < 0 || length >= static_cast<LRESULT>(sizeof text))
        return;
    SendMessageA(list, LB_GETTEXT, lower, reinterpret_cast<LPARAM>(text));
    SendMessageA(list, LB_INSERTSTRING, lower + 2, reinterpret_cast<LPARAM>(text));
    SendMessageA(list, LB_DELETESTRING, lower, 0);
}

// The order list: a press remembers the selected entry, and while the
// button is held each move of the selection carries that entry along.
LRESULT CALLBACK CVisualisationDialog::listProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam)
{
    WNDPROC original = reinterpret_cast<WNDPROC>(GetPropA(window, kListProcProperty));
    if (!original)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RemovePropA(window, kListProcProperty);
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        return CallWindowProcA(original, window, message, wParam, lParam);
    }
    const LRESULT result = CallWindowProcA(original, window, message, wParam, lParam);
    const bool drag = message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
                      (message == WM_MOUSEMOVE && (wParam & MK_LBUTTON));
    if (!drag)
        return result;
    HWND parent = GetParent(window);
    // The dialog keeps its object in its user data (COptionDialog); this
    // procedure only runs on this dialog's list.
    auto* self = static_cast<CVisualisationDialog*>(
        reinterpret_cast<COptionDialog*>(GetWindowLongPtrA(parent, GWLP_USERDATA)));
    if (!self || self->dialog != parent)
        return result;
    const int32_t count = static_cast<int32_t>(SendMessageA(window, LB_GETCOUNT, 0, 0));
    const int32_t selection = static_cast<int32_t>(SendMessageA(window, LB_GETCURSEL, 0, 0));
    if (message == WM_LBUTTONDOWN) {
        self->drag.press(selection, count);
    } else if (message == WM_LBUTTONUP) {
        self->drag.release();
    } else {
        OrderListDrag::Swap swaps[kAxisCount];
        const int32_t n = self->drag.follow(selection, swaps, kAxisCount);
        for (int32_t i = 0; i < n; ++i) {
            swapEntries(window, swaps[i].lower);
            SendMessageA(window, LB_SETCURSEL, self->drag.remembered(), 0);
            SendMessageA(parent, WM_USER + 3, static_cast<WPARAM>(swaps[i].lower),
                         static_cast<LPARAM>(swaps[i].higher));
        }
    }
    return result;
}
