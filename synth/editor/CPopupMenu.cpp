#include "CPopupMenu.h"

#include <cstring>

CPopupMenu::CPopupMenu(HWND owner, int index)
    : owner(owner), menuIndex(index), menu(CreatePopupMenu())
{
}

CPopupMenu::~CPopupMenu()
{
    if (menu)
        DestroyMenu(menu);
}

void CPopupMenu::add(const char* text, int position)
{
    if (!menu || !text || position < 0)
        return;
    const UINT id = static_cast<UINT>(position + 1);
    if (std::strcmp(text, "-") == 0)
        InsertMenuA(menu, static_cast<UINT>(position), MF_BYPOSITION | MF_SEPARATOR, id, nullptr);
    else
        InsertMenuA(menu, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING, id, text);
}

int CPopupMenu::track(int x, int y)
{
    int position = -1;
    if (menu) {
        // The command comes back as the return value, so the choice is
        // reported (and handled) before track returns.
        const BOOL command =
            TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x,
                           y, 0, owner, nullptr);
        if (command > 0 && command <= itemCount())
            position = command - 1;
    }
    if (owner && IsWindow(owner))
        SendMessageA(owner, WM_USER + 1, static_cast<WPARAM>(menuIndex),
                     static_cast<LPARAM>(position));
    return position;
}

void CPopupMenu::clear()
{
    if (!menu)
        return;
    const int count = itemCount();
    for (int id = 1; id <= count; ++id)
        DeleteMenu(menu, static_cast<UINT>(id), MF_BYCOMMAND);
}

void CPopupMenu::check(int position, bool on)
{
    if (menu && position >= 0)
        CheckMenuItem(menu, static_cast<UINT>(position),
                      MF_BYPOSITION | (on ? MF_CHECKED : MF_UNCHECKED));
}

int CPopupMenu::itemCount() const
{
    const int count = menu ? GetMenuItemCount(menu) : 0;
    return count > 0 ? count : 0;
}
