// The visualisation options dialog (template 129): whether the flock view
// and the keyboard animate, the view's trail length and width, position
// pins, the mouse wheel's meaning and the order of the dimensions on the
// view's axes. The order is a list whose entries are dragged into place
// (OrderListDrag); each step swaps two entries of the program's axis order
// and redraws the view. UI thread.
#pragma once

#include "COptionDialog.h"
#include "OrderListDrag.h"

class CVisualisationDialog : public COptionDialog {
public:
    enum {
        kTemplate = 129,
        kOrderList = 1046,
        kAnimateViewBox = 1049,
        kTrailLengthField = 1050,
        kAnimateKeyboardBox = 1051,
        kTrailWidthField = 1052,
        kPinsBox = 1054,
        kWheelDepthRadio = 1060,
        kWheelHueRadio = 1061,
        kWheelLuminanceRadio = 1062,
        kCloseButton = 1029,
        kHelpButton = 1065,
    };

    explicit CVisualisationDialog(SynthInterface* synth) : COptionDialog(synth, kTemplate) {}

    int open(HWND parent, HICON icon) override;
    void command(int code, int id, HWND control) override;
    void editLostFocus(int id) override;
    // WM_USER+3 from the order list: entries `lower` and `higher` swapped.
    void userMessage3(WPARAM lower, LPARAM higher) override;

private:
    static LRESULT CALLBACK listProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void fillOrderList();
    void showEnabledStates(uint8_t animate);
    void storeField(int id, bool writeBack);
    // Moves list entry `lower` below entry `lower + 1`.
    static void swapEntries(HWND list, int32_t lower);

    OrderListDrag drag;
};
