#include "COptionDialog.h"

#include "HelpViewer.h"
#include "PluginModule.h"

namespace {
const char* const kEditProcProperty = "NimbulatorEditProc";
}

void COptionDialog::showHelp(const char* topic)
{
    HelpViewer::showTopic(dialog, topic);
}

void COptionDialog::writeNumber(int id, int32_t value)
{
    if (!dialog)
        return;
    char text[16];
    OptionFields::formatNumber(value, text, sizeof text);
    writingField = true;
    SetDlgItemTextA(dialog, id, text);
    writingField = false;
}

bool COptionDialog::readNumber(int id, const OptionFields::Range& range, int32_t& value) const
{
    if (!dialog)
        return false;
    char text[OptionFields::kMaxText + 1] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return OptionFields::entryValue(text, range, value);
}

void COptionDialog::setChecked(int id, bool on)
{
    if (dialog)
        CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

bool COptionDialog::isChecked(int id) const
{
    return dialog && IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void COptionDialog::enable(int id, bool on)
{
    if (dialog)
        EnableWindow(GetDlgItem(dialog, id), on ? TRUE : FALSE);
}

void COptionDialog::checkRadio(int first, int last, int32_t index)
{
    for (int id = first; id <= last; ++id)
        setChecked(id, index >= 0 && id - first == index);
}

COptionDialog::~COptionDialog()
{
    close();
}

int COptionDialog::open(HWND parent, HICON icon)
{
    if (dialog) {
        SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return 0;
    }
    dialog = CreateDialogParamA(PluginModule::instance(), MAKEINTRESOURCEA(templateId), parent,
                                dialogProc, reinterpret_cast<LPARAM>(this));
    if (!dialog)
        return 0;
    RECT parentRect;
    if (parent && GetWindowRect(parent, &parentRect))
        SetWindowPos(dialog, nullptr, parentRect.left, parentRect.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    if (icon) {
        SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    ShowWindow(dialog, SW_SHOW);
    return 1;
}

void COptionDialog::close()
{
    if (!dialog)
        return;
    HWND closing = dialog;
    dialog = nullptr;
    SetWindowLongPtrA(closing, GWLP_USERDATA, 0);
    DestroyWindow(closing);
}

INT_PTR CALLBACK COptionDialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
        return TRUE;
    }
    COptionDialog* self =
        reinterpret_cast<COptionDialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return FALSE;
    switch (message) {
    case WM_TIMER:
        KillTimer(window, wParam);
        self->timer(wParam);
        return TRUE;
    case WM_CLOSE:
        self->close();
        return TRUE;
    case WM_NOTIFY:
        self->notify(reinterpret_cast<NMHDR*>(lParam));
        return TRUE;
    case WM_COMMAND:
        self->command(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_USER + 1:
        self->userMessage1(lParam);
        return TRUE;
    case WM_USER + 2:
        self->editLostFocus(static_cast<int>(wParam));
        return TRUE;
    case WM_USER + 3:
        self->userMessage3(wParam, lParam);
        return TRUE;
    case WM_NCDESTROY:
        if (self->dialog == window)
            self->dialog = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

void COptionDialog::subclassEdit(HWND edit)
{
    if (!edit || GetPropA(edit, kEditProcProperty))
        return;
    const LONG_PTR original =
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc));
    SetPropA(edit, kEditProcProperty, reinterpret_cast<HANDLE>(original));
}

LRESULT CALLBACK COptionDialog::editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC original = reinterpret_cast<WNDPROC>(GetPropA(window, kEditProcProperty));
    if (!original)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_KILLFOCUS)
        SendMessageA(GetParent(window), WM_USER + 2, static_cast<WPARAM>(GetDlgCtrlID(window)), 0);
    if (message == WM_NCDESTROY) {
        RemovePropA(window, kEditProcProperty);
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        return CallWindowProcA(original, window, message, wParam, lParam);
    }
    const LRESULT result = CallWindowProcA(original, window, message, wParam, lParam);
    if (message == WM_LBUTTONDOWN)
        CallWindowProcA(original, window, WM_LBUTTONDBLCLK, wParam, lParam);
    return result;
}
