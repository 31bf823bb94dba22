#include "FilterEditor.h"

#include "FilterEditorControls.h"
#include "FilterEditorLayout.h"
#include "FilterEffect.h"

#include <commctrl.h>

#include <initializer_list>
#include <new>

namespace {
const COLORREF kLabelColour = RGB(0xC8, 0xD4, 0xE4); // pale blue-grey on the black panel

// hhctrl.ocx's entry, looked up at run time (no import library needed).
typedef HWND(WINAPI* HtmlHelpProc)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);
const UINT kHelpDisplayTopic = 0; // HH_DISPLAY_TOPIC
} // namespace

FilterEditorBase* FilterEditor::create(FilterEffect& owner)
{
    return new (std::nothrow) FilterEditor(&owner);
}

FilterEditor::FilterEditor(FilterEffect* owner)
    : FilterEditorBase(owner), filter(owner), dialog(nullptr), background(nullptr),
      backgroundBrush(nullptr), rect{0, 0, 218, 483}, painted(false), released(false), uiThread(0),
      pendingControls(0)
{
    background = static_cast<HBITMAP>(LoadImageA(moduleInstance(),
                                                 MAKEINTRESOURCEA(IDB_QUENVAREL_BACKGROUND),
                                                 IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (background)
        backgroundBrush = CreatePatternBrush(background);
}

FilterEditor::~FilterEditor()
{
    if (dialog) {
        // The host destroyed the effect with the window still open. Its
        // procedure must never reach this object again, even where
        // DestroyWindow fails (called from a thread other than the UI one).
        SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
        DestroyWindow(dialog);
        dialog = nullptr;
    }
    if (!released) {
        released = true;
        if (backgroundBrush)
            DeleteObject(backgroundBrush);
        if (background)
            DeleteObject(background);
    }
}

// Resources live in the plug-in's DLL, not in the host's executable.
HINSTANCE FilterEditor::moduleInstance()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&FilterEditor::dialogProc), &module);
    return module;
}

int32_t FilterEditor::getRect(ERect** where)
{
    if (where)
        *where = &rect;
    return 1;
}

int32_t FilterEditor::open(void* parentWindow)
{
    if (dialog) // a second open without a close: start again
        close();
    AEffEditor::open(parentWindow);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    painted = false;
    pendingControls.store(0);
    uiThread.store(GetCurrentThreadId());
    dialog = CreateDialogParamA(moduleInstance(), MAKEINTRESOURCEA(IDD_QUENVAREL_EDITOR),
                                static_cast<HWND>(parentWindow), dialogProc,
                                reinterpret_cast<LPARAM>(this));
    if (!dialog) {
        uiThread.store(0);
        return 1;
    }
    placeControls();
    for (int index : {0, 1, 2, 4})
        SendDlgItemMessageA(dialog, FilterEditorControls::sliderOfParameter(index), TBM_SETRANGE,
                            FALSE, MAKELPARAM(0, FilterEditorControls::kSliderMax));
    for (int index : {1, 2, 0, 4, 3})
        showParameter(index);
    return 1;
}

void FilterEditor::close()
{
    uiThread.store(0);
    if (dialog) {
        HWND closing = dialog;
        dialog = nullptr;
        DestroyWindow(closing);
    }
    AEffEditor::close();
}

void FilterEditor::idle()
{
    if (updateFlag) {
        updateFlag = false;
        update();
    }
    if (dialog && !painted)
        postUpdate();
    servePendingControls();
}

void FilterEditor::update()
{
    if (dialog)
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FilterEditor::postUpdate()
{
    updateFlag = true;
}

void FilterEditor::refreshControl(int32_t index)
{
    if (index < 0 || index >= FilterEffect::kNumParameters)
        return;
    if (uiThread.load() == GetCurrentThreadId())
        showParameter(index);
    else
        pendingControls.fetch_or(1u << index);
}

void FilterEditor::servePendingControls()
{
    const unsigned pending = pendingControls.exchange(0);
    for (int index = 0; index < FilterEffect::kNumParameters; ++index)
        if (pending & (1u << index))
            showParameter(index);
}

// The value is always read back from the effect: the newest one wins, however
// many changes arrived since the last refresh.
void FilterEditor::showParameter(int32_t index)
{
    if (!dialog)
        return;
    const float value = filter->getParameter(index);
    if (index == FilterEffect::kDepth) {
        const int button = FilterEditorControls::depthButtonFor(value);
        if (button)
            CheckRadioButton(dialog, IDC_DEPTH12, IDC_DEPTH48, button);
        else
            for (int id = IDC_DEPTH12; id <= IDC_DEPTH48; ++id)
                CheckDlgButton(dialog, id, BST_UNCHECKED);
        return;
    }
    const int slider = FilterEditorControls::sliderOfParameter(index);
    if (slider)
        SendDlgItemMessageA(dialog, slider, TBM_SETPOS, TRUE,
                            FilterEditorControls::positionFromValue(value));
}

// Puts the dialog and its controls where the design's base units place them,
// whatever the dialog font measures, so that the dialog is exactly the
// editor rectangle and the background picture fits it.
void FilterEditor::placeControls()
{
    RECT units = {0, 0, 4, 8};
    MapDialogRect(dialog, &units); // the base units the dialog manager used
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        FilterEditorLayout::Box box = FilterEditorLayout::toDesign(
            {r.left, r.top, r.right - r.left, r.bottom - r.top}, units.right, units.bottom);
        char className[16] = {};
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Static") == 0 &&
            (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_RIGHT)
            box = FilterEditorLayout::fitRightAligned(box, textWidth(child));
        MoveWindow(child, box.x, box.y, box.width, box.height, FALSE);
    }
    SetWindowPos(dialog, nullptr, 0, 0, FilterEditorLayout::kWidth, FilterEditorLayout::kHeight,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

// Width in pixels of a control's text in the control's font.
int FilterEditor::textWidth(HWND control)
{
    char text[64] = {};
    const int length = GetWindowTextA(control, text, sizeof text);
    HDC dc = GetDC(control);
    if (!dc)
        return 0;
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, length, &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

// ---- Dialog procedure ---------------------------------------------------------

INT_PTR CALLBACK FilterEditor::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
        return FALSE; // an embedded editor does not take the focus from the host
    }
    FilterEditor* editor =
        reinterpret_cast<FilterEditor*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!editor)
        return 0;
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE; // WM_PAINT covers the whole client area
    case WM_PAINT:
        editor->paint();
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<INT_PTR>(editor->controlBackground(reinterpret_cast<HDC>(wParam),
                                                                   reinterpret_cast<HWND>(lParam)));
    case WM_HSCROLL:
        editor->sliderMoved(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_COMMAND:
        editor->command(LOWORD(wParam));
        return 0;
    default:
        return 0;
    }
}

// The bitmap, tiled from the dialog's origin, exactly covers the dialog.
void FilterEditor::paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(dialog, &ps);
    painted = true;
    RECT client;
    GetClientRect(dialog, &client);
    if (backgroundBrush) {
        SetBrushOrgEx(dc, 0, 0, nullptr);
        FillRect(dc, &client, backgroundBrush);
    } else {
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    EndPaint(dialog, &ps);
}

// Labels, radio buttons and sliders draw on the background picture rather
// than on grey boxes: they get the pattern brush aligned to the dialog's
// origin, light text and a transparent text background.
HBRUSH FilterEditor::controlBackground(HDC dc, HWND control)
{
    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    SetBrushOrgEx(dc, -box.left, -box.top, nullptr);
    SetTextColor(dc, kLabelColour);
    SetBkMode(dc, TRANSPARENT);
    return backgroundBrush ? backgroundBrush : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

// A slider the user moved (any scroll code: drag, keys, page clicks, end of
// tracking). Setting a position in code sends no scroll message, so values
// the host set are never echoed back.
void FilterEditor::sliderMoved(HWND slider)
{
    if (!slider)
        return;
    const int index = FilterEditorControls::parameterOfSlider(GetDlgCtrlID(slider));
    if (index < 0)
        return;
    const int position = static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0));
    if (FilterEditorControls::positionChangesValue(position, filter->getParameter(index)))
        filter->applyParameter(index, FilterEditorControls::valueFromPosition(position), true);
}

void FilterEditor::command(int id)
{
    float depth = 0.0f;
    if (id == IDC_WEBSITE)
        openWebSite();
    else if (FilterEditorControls::depthValueOfButton(id, depth))
        filter->applyParameter(FilterEffect::kDepth, depth, true);
}

// HTML Help shows the site when it can; without it (or without a browser
// engine) the button does nothing and says nothing. hhctrl.ocx stays loaded
// once it has shown a window: the viewer may outlive this editor.
void FilterEditor::openWebSite()
{
    HMODULE help = LoadLibraryA("hhctrl.ocx");
    if (!help)
        return;
    HtmlHelpProc htmlHelp =
        reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void*>(GetProcAddress(help, "HtmlHelpA")));
    HWND viewer = htmlHelp ? htmlHelp(dialog, QUENVAREL_WEBSITE, kHelpDisplayTopic, 0) : nullptr;
    if (!viewer) {
        FreeLibrary(help);
        return;
    }
    ShowWindow(viewer, SW_MAXIMIZE);
    SetWindowTextA(viewer, "Orvalend");
}
