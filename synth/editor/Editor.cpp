#include "Editor.h"

#include "CEnvelope.h"
#include "CHyperspace.h"
#include "CKeyboard.h"
#include "CKnob.h"
#include "ConnectorGeometry.h"
#include "EditorResources.h"
#include "MenuButton.h"
#include "Patch.h"
#include "PluginModule.h"
#include "SynthInterface.h"
#include "SynthPlatform.h"

#include <new>

namespace {
const char* const kControlClasses[] = {"CKnob", "CEnvelope", "CKeyboard", "CHyperspace"};
const int kButtonIds[3] = {EditorLayout::kPresetsButtonId, EditorLayout::kOptionsButtonId,
                           EditorLayout::kHelpButtonId};

HBITMAP loadBitmap(HINSTANCE module, int id)
{
    return static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0));
}

Rect placeOf(int id)
{
    const EditorLayout::ControlPlace* place = EditorLayout::findControl(id);
    return place ? place->rect : Rect{0, 0, 0, 0};
}
} // namespace

SynthEditor* createSynthEditor(AudioEffect* effect, SynthInterface* synth)
{
    return new (std::nothrow) Editor(effect, synth);
}

Editor::Editor(AudioEffect* effect, SynthInterface* synthInterface)
    : SynthEditor(effect), synth(synthInterface), module(PluginModule::instance()),
      uiThread(GetCurrentThreadId())
{
    background = loadBitmap(module, IDB_BACKGROUND);
    backgroundBrush =
        background ? CreatePatternBrush(background) : CreateSolidBrush(RGB(26, 30, 35));
    icon = static_cast<HICON>(
        LoadImageA(module, MAKEINTRESOURCEA(IDI_NIMBULATOR), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    for (int d = 0; d < EditorLayout::kDimensions; ++d)
        dimensionPens[d] = CreatePen(PS_SOLID, 1, EditorLayout::dimensionDark[d]);
    for (int i = 0; i < 7; ++i)
        faces[i] = loadBitmap(module, IDB_KNOB_VOLUME + i);

    for (const char* name : kControlClasses)
        CControl::registerClass(module, name);
    keyboard.reset(new CKeyboard(synth));
    for (int i = 0; i < EditorLayout::kKnobs; ++i) {
        const EditorLayout::KnobPlace& place = EditorLayout::knobs[i];
        const int face = place.settings.face - IDB_KNOB_VOLUME;
        knobs[i].reset(
            new CKnob(synth, place.settings, face >= 0 && face < 7 ? faces[face] : nullptr));
    }
    homeEnvelope.reset(new CEnvelope(synth));
    rangeEnvelope.reset(new CEnvelope(synth));
    speedEnvelope.reset(new CEnvelope(synth));
    for (int d = 0; d < EditorLayout::kDimensions; ++d) {
        homeViews[d] = EditorLayout::envelopeView(d);
        rangeViews[d] = EditorLayout::envelopeView(d + kVolumeRangeEnv);
    }
    speedView = EditorLayout::envelopeView(kSpeedEnv);
    hyperspace.reset(new CHyperspace(synth));
    fullRefresh();
}

Editor::~Editor()
{
    if (dialog && IsWindow(dialog)) {
        SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
        DestroyWindow(dialog);
    }
    dialog = nullptr;
    // Controls first: each lets go of its window before its GDI objects go.
    keyboard.reset();
    for (auto& knob : knobs)
        knob.reset();
    homeEnvelope.reset();
    rangeEnvelope.reset();
    speedEnvelope.reset();
    hyperspace.reset();
    for (const char* name : kControlClasses)
        CControl::unregisterClass(module, name);
    DeleteObject(backgroundBrush);
    if (background)
        DeleteObject(background);
    if (icon)
        DestroyIcon(icon);
    for (HPEN pen : dimensionPens)
        DeleteObject(pen);
    for (HBITMAP face : faces)
        if (face)
            DeleteObject(face);
}

int32_t Editor::getRect(ERect** out)
{
    if (!out)
        return 0;
    *out = &rect;
    return 1;
}

int32_t Editor::open(void* parentWindow)
{
    if (dialog && IsWindow(dialog))
        close();
    uiThread = GetCurrentThreadId();
    parent = static_cast<HWND>(parentWindow);
    backgroundPainted = false;
    dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_EDITOR), parent, dialogProc,
                                reinterpret_cast<LPARAM>(this));
    if (!dialog)
        return 0;
    keyboard->attach(dialog, EditorLayout::kKeyboardId, placeOf(EditorLayout::kKeyboardId), false);
    for (int i = 0; i < EditorLayout::kKnobs; ++i) {
        const int id = EditorLayout::knobs[i].id;
        knobs[i]->attach(dialog, id, placeOf(id), false);
    }
    homeEnvelope->attach(dialog, EditorLayout::kHomeEnvelopeId,
                         placeOf(EditorLayout::kHomeEnvelopeId), true);
    rangeEnvelope->attach(dialog, EditorLayout::kRangeEnvelopeId,
                          placeOf(EditorLayout::kRangeEnvelopeId), true);
    speedEnvelope->attach(dialog, EditorLayout::kSpeedEnvelopeId,
                          placeOf(EditorLayout::kSpeedEnvelopeId), true);
    hyperspace->attach(dialog, EditorLayout::kHyperspaceId, placeOf(EditorLayout::kHyperspaceId),
                       true);
    for (uint8_t& p : pressed)
        p = 0;
    for (int id : kButtonIds)
        MenuButton::subclass(dialog, id);
    pendingRepaints.store(0);
    ShowWindow(dialog, SW_SHOW);
    windowOpen.store(true);
    return 1;
}

void Editor::close()
{
    windowOpen.store(false);
    if (synth)
        synth->releaseComputerKeys();
    hyperspace->releaseView();
    // The host usually destroys its window (and so the dialog) right after;
    // destroying the dialog here as well means a host that keeps its window
    // for the next open does not collect dialogs.
    if (dialog && IsWindow(dialog))
        DestroyWindow(dialog);
    dialog = nullptr;
}

void Editor::update()
{
    if (dialog)
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Editor::idle()
{
    if (updateFlag) {
        updateFlag = false;
        update();
    }
    if (dialog && !backgroundPainted)
        postUpdate();
    // The flock view: one animation frame whenever the audio code has moved
    // the flock (invalidating only), the whole scene when asked for.
    const Patch* program = synth ? synth->getCurrentProgram() : nullptr;
    const bool sceneRequest = hyperspaceRequest.exchange(false);
    if (dialog && program && (program->animateHyperspace || sceneRequest)) {
        const bool moved = synth->takeFlockMoved();
        if (moved || sceneRequest)
            hyperspace->repaint(sceneRequest);
    }
    speedLfoRequest.store(false); // the speed LFO dialog refreshes itself when it exists
    if (fullRefreshRequest.exchange(false))
        fullRefresh();
    if (badIndexRequest.exchange(false))
        showMessage("Editor::SetParameter");
    servePendingRepaints();
    if (keyboard->takeChanged() && dialog)
        keyboard->repaint();
}

// ---- What the synth tells the editor ------------------------------------------

// Audio thread: the view leaves the restart point for its next frame. Only
// while the window is open; a closed view starts from a new scene anyway.
void Editor::resetTrail(int32_t index)
{
    if (windowOpen.load(std::memory_order_relaxed))
        hyperspace->resetTrail(index);
}

// Audio thread: single floats of the view's cursor.
float Editor::cursorCoordinate(int32_t slot) const
{
    return hyperspace->getCursorCoordinate(slot);
}

void Editor::SetParameter(int32_t index, const Patch* patch)
{
    const EditorLayout::ParameterTarget target = EditorLayout::parameterTarget(index);
    switch (target.target) {
    case EditorLayout::kKnob:
        for (int i = 0; i < EditorLayout::kKnobs; ++i) {
            if (EditorLayout::knobs[i].parameter == index) {
                if (patch)
                    knobs[i]->setValue(patch->*EditorLayout::knobs[i].field);
                requestRepaint(1u << i);
            }
        }
        break;
    case EditorLayout::kSynthesisOption:
    case EditorLayout::kSeedOption:
        break; // the option dialogs read the program when they open
    case EditorLayout::kHomeEnvelope:
        if (target.dimension == selectedDimension())
            requestRepaint(kHomeEnvelopeBit);
        break;
    case EditorLayout::kRangeEnvelope:
        if (target.dimension == selectedDimension())
            requestRepaint(kRangeEnvelopeBit);
        break;
    case EditorLayout::kSpeedEnvelope:
        requestRepaint(kSpeedEnvelopeBit);
        break;
    case EditorLayout::kUnknown:
        // A message box waits for the user, and automation may come on the
        // audio thread: the next idle shows it, as the synth does its own.
        badIndexRequest.store(true);
        break;
    }
}

void Editor::showNoteOn(int32_t note)
{
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (patch && patch->animateKeyboard)
        keyboard->showNoteOn(note);
}

void Editor::showNoteOff(int32_t note)
{
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (patch && patch->animateKeyboard)
        keyboard->showNoteOff(note);
}

void Editor::clearKeyboardDisplay()
{
    keyboard->clear();
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (patch && patch->animateHyperspace)
        hyperspaceRequest.store(true);
}

CControl* Editor::controlForBit(int bit) const
{
    if (bit < EditorLayout::kKnobs)
        return knobs[bit].get();
    if (bit == EditorLayout::kKnobs)
        return homeEnvelope.get();
    if (bit == EditorLayout::kKnobs + 1)
        return rangeEnvelope.get();
    return speedEnvelope.get();
}

void Editor::requestRepaint(uint32_t bits)
{
    if (onUiThread()) {
        if (dialog)
            for (int bit = 0; bit < EditorLayout::kKnobs + 3; ++bit)
                if (bits & (1u << bit))
                    controlForBit(bit)->repaint();
        return;
    }
    pendingRepaints.fetch_or(bits, std::memory_order_relaxed);
}

void Editor::servePendingRepaints()
{
    const uint32_t bits = pendingRepaints.exchange(0, std::memory_order_relaxed);
    if (bits && dialog)
        for (int bit = 0; bit < EditorLayout::kKnobs + 3; ++bit)
            if (bits & (1u << bit))
                controlForBit(bit)->repaint();
}

// ---- Program changes and the selected dimension ----------------------------------

void Editor::showSelectedViews()
{
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (!patch)
        return;
    speedView.data = &patch->envelopes[kSpeedEnv];
    speedEnvelope->setView(&speedView);
    const int32_t d = selectedDimension();
    if (d < 0) {
        homeEnvelope->setView(nullptr);
        rangeEnvelope->setView(nullptr);
        return;
    }
    homeViews[d].data = &patch->envelopes[d];
    rangeViews[d].data = &patch->envelopes[d + kVolumeRangeEnv];
    homeEnvelope->setView(&homeViews[d]);
    rangeEnvelope->setView(&rangeViews[d]);
}

void Editor::fullRefresh()
{
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (patch) {
        for (int i = 0; i < EditorLayout::kKnobs; ++i) {
            knobs[i]->setValue(patch->*EditorLayout::knobs[i].field);
            knobs[i]->repaint();
        }
    }
    showSelectedViews();
    hyperspace->repaint(true);
}

void Editor::selectDimension(int32_t dimension)
{
    if (dimension == selectedDimension())
        return;
    selected.store(dimension >= 0 && dimension < EditorLayout::kDimensions ? dimension : -1);
    showSelectedViews();
    if (dialog) {
        const Rect strip = ConnectorGeometry::repaintStrip(placeOf(EditorLayout::kMasterKnobId),
                                                           placeOf(EditorLayout::kHomeEnvelopeId));
        RECT r = {strip.left, strip.top, strip.right, strip.bottom};
        InvalidateRect(dialog, &r, FALSE);
    }
}

// ---- The dialog ------------------------------------------------------------------

void Editor::paintBackground()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(dialog, &ps);
    if (!dc)
        return;
    backgroundPainted = true;
    RECT client;
    GetClientRect(dialog, &client);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    FillRect(dc, &client, backgroundBrush);
    const int32_t d = selectedDimension();
    if (d >= 0) {
        ConnectorGeometry::Line lines[ConnectorGeometry::kMaxLines];
        const int32_t count = ConnectorGeometry::lines(
            placeOf(EditorLayout::upperControlId(d)), placeOf(EditorLayout::rangeKnobId(d)),
            placeOf(EditorLayout::kHomeEnvelopeId), lines);
        HGDIOBJ oldPen = SelectObject(dc, dimensionPens[d]);
        for (int32_t i = 0; i < count; ++i) {
            MoveToEx(dc, lines[i].x1, lines[i].y, nullptr);
            LineTo(dc, lines[i].x2, lines[i].y);
        }
        SelectObject(dc, oldPen);
    }
    EndPaint(dialog, &ps);
}

INT_PTR CALLBACK Editor::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
        return TRUE;
    }
    Editor* editor = reinterpret_cast<Editor*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!editor || editor->dialog != window)
        return FALSE;
    return editor->handle(message, wParam, lParam);
}

INT_PTR Editor::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paintBackground();
        return TRUE;
    case WM_ERASEBKGND:
        // The paint message covers the whole client area.
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_USER:
        selectDimension(static_cast<int32_t>(wParam));
        return TRUE;
    case WM_USER + 7:
        if (wParam < 3 && lParam)
            *reinterpret_cast<BYTE*>(lParam) = pressed[wParam];
        return TRUE;
    case WM_USER + 8:
        if (wParam < 3)
            pressed[wParam] = lParam != 0;
        return TRUE;
    case WM_COMMAND:
        // The menu buttons' menus open here.
        return TRUE;
    case WM_DESTROY:
        // Destroyed with the host's window.
        windowOpen.store(false);
        SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
        dialog = nullptr;
        return TRUE;
    default:
        return FALSE;
    }
}
