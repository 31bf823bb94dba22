#include "Editor.h"

#include "CAboutDialog.h"
#include "CEnvelope.h"
#include "CHyperspace.h"
#include "CKeyboard.h"
#include "CKnob.h"
#include "CMidiMapDialog.h"
#include "CPopupMenu.h"
#include "CSeedingDialog.h"
#include "CSpeedLFODialog.h"
#include "CSynthesisDialog.h"
#include "CVisualisationDialog.h"
#include "ConnectorGeometry.h"
#include "EditorResources.h"
#include "FactoryBank.h"
#include "FileDialog.h"
#include "HelpViewer.h"
#include "MenuButton.h"
#include "MidiLearnMenu.h"
#include "Patch.h"
#include "PluginModule.h"
#include "PresetFile.h"
#include "SynthInterface.h"
#include "SynthPlatform.h"

#include <cstring>
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
    about.reset(new CAboutDialog());
    synthesisDialog.reset(new CSynthesisDialog(synth));
    speedLfoDialog.reset(new CSpeedLFODialog(synth));
    seedingDialog.reset(new CSeedingDialog(synth));
    visualisationDialog.reset(new CVisualisationDialog(synth));
    midiMapDialog.reset(new CMidiMapDialog(synth));
    fullRefresh();
}

Editor::~Editor()
{
    if (dialog && IsWindow(dialog)) {
        SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
        DestroyWindow(dialog);
    }
    dialog = nullptr;
    destroyMenus();
    about.reset();
    // Dialogs and controls first: each lets go of its window before its GDI
    // objects go.
    synthesisDialog.reset();
    speedLfoDialog.reset();
    seedingDialog.reset();
    visualisationDialog.reset();
    midiMapDialog.reset();
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
    buildMenus();
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
    keyboard->windowClosed();
    if (synth) {
        synth->releaseComputerKeys();
        // A learn still waiting for a controller ends with the window; one
        // already learned is kept.
        serveLearnedController();
        synth->learnMidiController(-1);
    }
    destroyMenus();
    about->close();
    closeOptionDialogs();
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
    if (speedLfoRequest.exchange(false))
        speedLfoDialog->refreshBpm();
    refreshOptionFields(pendingOptionFields.exchange(0, std::memory_order_relaxed));
    if (fullRefreshRequest.exchange(false))
        fullRefresh();
    serveLearnedController();
    if (badIndexRequest.exchange(false))
        showMessage("Editor::SetParameter");
    servePendingRepaints();
    keyboard->serveRepaints();
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
    case EditorLayout::kSeedOption: {
        // Oscillators (19), portamento (20) and seed (21) have fields in
        // the option dialogs; automation off the UI thread waits for idle.
        const uint32_t bit = index == 19   ? kOscillatorFieldBit
                             : index == 20 ? kPortamentoFieldBit
                                           : kSeedFieldBit;
        if (onUiThread())
            refreshOptionFields(bit);
        else
            pendingOptionFields.fetch_or(bit, std::memory_order_relaxed);
        break;
    }
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

void Editor::refreshOptionFields(uint32_t bits)
{
    if (bits & kOscillatorFieldBit)
        synthesisDialog->refreshOscillators();
    if (bits & kPortamentoFieldBit)
        synthesisDialog->refreshPortamento();
    if (bits & kSeedFieldBit)
        seedingDialog->refreshSeed();
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
    // The option dialogs showed the old program.
    closeOptionDialogs();
}

// ---- Option dialogs ----------------------------------------------------------------

bool Editor::openOptionDialog(OptionDialog which)
{
    if (!dialog)
        return false;
    switch (which) {
    case kSynthesisOptions:
        synthesisDialog->open(dialog, icon);
        break;
    case kSpeedLfoOptions:
        speedLfoDialog->open(dialog, icon);
        break;
    case kSeedingOptions:
        seedingDialog->open(dialog, icon);
        break;
    case kVisualisationOptions:
        visualisationDialog->open(dialog, icon);
        break;
    default:
        return false;
    }
    return true;
}

void Editor::closeOptionDialogs()
{
    synthesisDialog->close();
    speedLfoDialog->close();
    seedingDialog->close();
    visualisationDialog->close();
    midiMapDialog->close();
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
        // A menu button was pressed: its menu opens below it.
        for (int button = 0; button < 3; ++button)
            if (LOWORD(wParam) == kButtonIds[button])
                showButtonMenu(button);
        return TRUE;
    case WM_USER + 1:
        menuChoice(static_cast<int>(wParam), static_cast<int>(lParam));
        return TRUE;
    case WM_USER + 4:
        showContextMenu(static_cast<int32_t>(wParam), lParam);
        return TRUE;
    case kOpenOptionDialogMessage:
        if (wParam <= kVisualisationOptions)
            openOptionDialog(static_cast<OptionDialog>(wParam));
        return TRUE;
    case WM_DESTROY:
        // Destroyed with the host's window.
        windowOpen.store(false);
        keyboard->windowClosed();
        SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
        dialog = nullptr;
        return TRUE;
    default:
        return FALSE;
    }
}

// ---- Menus -----------------------------------------------------------------------

void Editor::buildMenus()
{
    destroyMenus();
    const char* names[FactoryBank::kPresetCount];
    for (int32_t i = 0; i < FactoryBank::kPresetCount; ++i)
        names[i] = FactoryBank::name(i);
    // The preset maker is looked for once per open.
    exportOffered = GetModuleHandleA(EditorMenus::kPresetMakerModule) != nullptr;
    const std::vector<const char*> lists[3] = {
        EditorMenus::presetsMenu(names, FactoryBank::kPresetCount, exportOffered),
        EditorMenus::optionsMenu(), EditorMenus::helpMenu()};
    for (int m = 0; m < 3; ++m) {
        menus[m].reset(new CPopupMenu(dialog, m));
        for (size_t i = 0; i < lists[m].size(); ++i)
            menus[m]->add(lists[m][i], static_cast<int>(i));
    }
    contextMenu.reset(new CPopupMenu(dialog, EditorMenus::kContextMenu));
    contextControl = 0;
}

void Editor::destroyMenus()
{
    for (auto& menu : menus)
        menu.reset();
    contextMenu.reset();
}

void Editor::showButtonMenu(int button)
{
    HWND item = dialog ? GetDlgItem(dialog, kButtonIds[button]) : nullptr;
    RECT r;
    if (!item || !menus[button] || !GetWindowRect(item, &r))
        return;
    menus[button]->track(r.left, r.bottom);
}

void Editor::showContextMenu(int32_t controlId, LPARAM point)
{
    HWND item = dialog ? GetDlgItem(dialog, controlId) : nullptr;
    if (!item || !contextMenu)
        return;
    contextControl = controlId;
    contextMenu->clear();
    std::vector<const char*> items = EditorMenus::contextMenu(controlId, selectedDimension());
    contextBaseCount = static_cast<int32_t>(items.size());
    // A knob's menu ends with the MIDI learn entries.
    const int32_t parameter = MidiLearnMenu::parameterOf(controlId);
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    contextMapped = patch && MidiLearnMenu::isMapped(*patch, parameter);
    if (parameter >= 0)
        MidiLearnMenu::appendItems(items, contextMapped);
    for (size_t i = 0; i < items.size(); ++i)
        contextMenu->add(items[i], static_cast<int>(i));
    // A learn already waiting for this knob shows as a check mark.
    if (parameter >= 0 && synth->learningParameter() == parameter)
        contextMenu->check(contextBaseCount + 1, true);
    POINT p = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    ClientToScreen(item, &p);
    contextMenu->track(p.x, p.y);
}

void Editor::menuChoice(int menu, int position)
{
    EditorMenus::Choice choice = {EditorMenus::kNothing, -1};
    switch (menu) {
    case EditorMenus::kPresetsMenu:
        choice = EditorMenus::presetsChoice(position, FactoryBank::kPresetCount, exportOffered);
        break;
    case EditorMenus::kOptionsMenu:
        choice = EditorMenus::optionsChoice(position);
        break;
    case EditorMenus::kHelpMenu:
        choice = EditorMenus::helpChoice(position);
        break;
    case EditorMenus::kContextMenu:
        if (position >= contextBaseCount) {
            midiLearnChoice(position);
            return;
        }
        choice = EditorMenus::contextChoice(contextControl, selectedDimension(), position);
        break;
    default:
        break;
    }
    switch (choice.action) {
    case EditorMenus::kLoadPreset:
        // The same path as a host's chunk: the synth asks for a full refresh.
        if (synth)
            synth->loadPresetRecord(&FactoryBank::record(choice.preset), sizeof(Patch), true);
        break;
    case EditorMenus::kExportPreset:
        exportPreset();
        break;
    case EditorMenus::kOpenSynthesis:
    case EditorMenus::kOpenSpeedLfo:
    case EditorMenus::kOpenMidiMap:
    case EditorMenus::kOpenSeeding:
    case EditorMenus::kOpenVisualisation:
        openOptionDialog(choice.action);
        break;
    case EditorMenus::kResetDevices:
        if (synth)
            synth->resetDevices();
        break;
    case EditorMenus::kRandomise:
        closeRandomiseDialogs();
        if (synth)
            synth->randomisePatch();
        break;
    case EditorMenus::kShowWelcome:
        HelpViewer::showTopic(parent, EditorMenus::kWelcomeTopic);
        break;
    case EditorMenus::kOpenAbout:
        openAbout();
        break;
    case EditorMenus::kWhatsThis:
        HelpViewer::showTopic(parent, EditorMenus::topicOf(contextControl));
        break;
    case EditorMenus::kResetEnvelope:
        resetEnvelopeOf(contextControl);
        break;
    case EditorMenus::kNothing:
        break;
    }
}

void Editor::midiLearnChoice(int position)
{
    const int32_t parameter = MidiLearnMenu::parameterOf(contextControl);
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (!patch || parameter < 0)
        return;
    switch (MidiLearnMenu::choice(position, contextBaseCount, contextMapped)) {
    case MidiLearnMenu::kLearn:
        // A controller learned for an earlier knob but not yet written is
        // written first, so the map dialog shows it.
        synth->learnMidiController(parameter);
        serveLearnedController();
        break;
    case MidiLearnMenu::kForget:
        if (MidiLearnMenu::forget(*patch, parameter) > 0)
            midiMapDialog->fillList();
        break;
    case MidiLearnMenu::kNothing:
        break;
    }
}

void Editor::serveLearnedController()
{
    if (!synth)
        return;
    const int32_t controller = synth->applyLearnedController();
    if (controller >= 0)
        midiMapDialog->refreshLine(controller);
}

// The dialog object behind an Options menu entry.
COptionDialog* Editor::optionDialog(EditorMenus::Action which)
{
    switch (which) {
    case EditorMenus::kOpenSynthesis:
        return synthesisDialog.get();
    case EditorMenus::kOpenSpeedLfo:
        return speedLfoDialog.get();
    case EditorMenus::kOpenSeeding:
        return seedingDialog.get();
    case EditorMenus::kOpenVisualisation:
        return visualisationDialog.get();
    case EditorMenus::kOpenMidiMap:
        return midiMapDialog.get();
    default:
        return nullptr;
    }
}

void Editor::openOptionDialog(EditorMenus::Action which)
{
    if (COptionDialog* options = optionDialog(which))
        options->open(parent, icon);
}

void Editor::closeRandomiseDialogs()
{
    for (EditorMenus::Action which : {EditorMenus::kOpenSynthesis, EditorMenus::kOpenSeeding,
                                      EditorMenus::kOpenVisualisation, EditorMenus::kOpenSpeedLfo})
        if (COptionDialog* options = optionDialog(which))
            options->close();
}

// The authoring aid of the preset maker: the current program as a raw
// preset record, through the system's save dialog.
void Editor::exportPreset()
{
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (!patch)
        return;
    char path[MAX_PATH] = "";
    const std::string proposed = PresetFile::proposedPath(*patch);
    std::strncpy(path, proposed.c_str(), sizeof path - 1);
    // One entry, shown as "*.NBP", with an empty pattern.
    static const char filter[] = "*.NBP\0\0";
    if (!FileDialog::askSave("export preset patch", filter, "NBP", path))
        return;
    if (const char* message = PresetFile::message(PresetFile::write(*patch, path)))
        showMessage(message);
}

void Editor::openAbout()
{
    about->open(parent, icon);
}

void Editor::resetEnvelopeOf(int32_t controlId)
{
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    const EditorMenus::EnvelopeTarget target =
        EditorMenus::resetTarget(controlId, selectedDimension());
    if (!patch || target.index < 0 || target.index >= kEnvelopeCount)
        return;
    resetEnvelope(patch->envelopes[target.index], target.isHome, target.isVolume);
    CControl* graph = controlId == EditorLayout::kSpeedEnvelopeId  ? speedEnvelope.get()
                      : controlId == EditorLayout::kHomeEnvelopeId ? homeEnvelope.get()
                                                                   : rangeEnvelope.get();
    graph->repaint();
}
