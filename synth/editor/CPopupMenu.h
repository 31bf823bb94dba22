// A pop-up menu of the editor (Presets, Options, Help, a control's context
// menu) or of a dialog: built item by item, shown at a screen point, and
// the choice reported to the owner window as WM_USER+1 with the menu's
// index (wParam) and the chosen position (lParam; -1 when the menu was
// dismissed). Item command ids are position + 1. UI thread only.
#pragma once

#include <windows.h>

class CPopupMenu {
public:
    // An empty menu reporting to `owner` with `index` (0 Presets, 1 Options,
    // 2 Help, -1 context menu, or the owner's own numbering).
    CPopupMenu(HWND owner, int index);
    ~CPopupMenu(); // destroys the menu
    CPopupMenu(const CPopupMenu&) = delete;
    CPopupMenu& operator=(const CPopupMenu&) = delete;

    // Inserts an item at `position`: "-" a separator, any other text a
    // string item, with command id position + 1.
    void add(const char* text, int position);
    // Shows the menu with its top-left corner at screen point x, y, tracks
    // either mouse button and waits for the choice; then sends the owner
    // WM_USER+1 (index, position or -1) and returns once it is handled.
    // Returns the position reported.
    int track(int x, int y);
    // Deletes the items with command ids 1 to the item count.
    void clear();
    // Sets or clears the check mark of the item at `position`.
    void check(int position, bool on);

    int itemCount() const;
    int index() const { return menuIndex; }
    HMENU handle() const { return menu; }

private:
    HWND owner;
    int menuIndex;
    HMENU menu;
};
