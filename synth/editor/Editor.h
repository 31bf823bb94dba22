// The instrument's editor window: a child dialog in the host's window with
// the knobs, the envelope graphs, the keyboard and the flock view on a
// painted background, and the three menu buttons. It keeps the controls and
// the current program in step: the controls write the program through
// SynthInterface, and the synth tells the editor of host changes
// (SetParameter) and whole-program changes (full refresh).
//
// Threads: the host calls getRect/open/close/idle/update on its UI thread.
// SetParameter, the note display and the requests may also come from the
// audio thread: there they only store values and raise flags, which idle
// serves; the audio thread never touches a window and never waits.
#pragma once

#include "EditorLayout.h"
#include "EditorMenus.h"
#include "EnvelopeView.h"
#include "SynthEditor.h"

#include <windows.h>

#include <atomic>
#include <memory>

class CAboutDialog;
class CEnvelope;
class CHyperspace;
class CSeedingDialog;
class CSpeedLFODialog;
class CSynthesisDialog;
class CVisualisationDialog;
class CKeyboard;
class CMidiMapDialog;
class CKnob;
class CControl;
class COptionDialog;
class CPopupMenu;

class Editor : public SynthEditor {
public:
    Editor(AudioEffect* effect, SynthInterface* synth);
    ~Editor() override;

    int32_t getRect(ERect** rect) override;
    int32_t open(void* parentWindow) override;
    void close() override;
    void idle() override;
    void update() override;

    void SetParameter(int32_t index, const Patch* patch) override;
    void showNoteOn(int32_t note) override;
    void showNoteOff(int32_t note) override;
    void clearKeyboardDisplay() override;
    void requestHyperspaceRepaint() override { hyperspaceRequest.store(true); }
    void requestSpeedLfoRefresh() override { speedLfoRequest.store(true); }
    void requestFullRefresh() override { fullRefreshRequest.store(true); }
    bool isWindowOpen() const override { return windowOpen.load(std::memory_order_relaxed); }
    void resetTrail(int32_t index) override;
    float cursorCoordinate(int32_t slot) const override;

    // The option dialogs, in the order of the Options menu.
    enum OptionDialog {
        kSynthesisOptions,
        kSpeedLfoOptions,
        kSeedingOptions,
        kVisualisationOptions,
    };
    // Opens one (owned by the editor's window, with the editor's icon), or
    // raises it when it is open; false while the editor has no window.
    // UI thread.
    bool openOptionDialog(OptionDialog which);
    // Closes the four option dialogs above and the MIDI controller map
    // dialog (UI thread).
    void closeOptionDialogs();
    // Private message: wParam an OptionDialog, opens it as the Options menu
    // does (for input scripts and tests that drive the editor by messages).
    enum { kOpenOptionDialogMessage = WM_USER + 16 };

    HWND dialogWindow() const { return dialog; }
    int32_t selectedDimension() const { return selected.load(std::memory_order_relaxed); }

    // Menu commands (UI thread). Each option dialog opens owned by the
    // host's window with the editor's icon; opening an open one raises it.
    void openOptionDialog(EditorMenus::Action which);
    // Closes the dialogs a random patch makes stale: synthesis, seeding,
    // visualisation and speed LFO.
    void closeRandomiseDialogs();
    // Starts the export of the current program as a preset file.
    void exportPreset();
    void openAbout();
    // The context menu's "Reset envelope" on control `controlId`.
    void resetEnvelopeOf(int32_t controlId);

private:
    // Bits of the repaint requests raised off the UI thread.
    enum : uint32_t {
        kHomeEnvelopeBit = 1u << EditorLayout::kKnobs,
        kRangeEnvelopeBit = kHomeEnvelopeBit << 1,
        kSpeedEnvelopeBit = kHomeEnvelopeBit << 2,
    };
    // Option dialog fields to refresh, raised off the UI thread.
    enum : uint32_t {
        kOscillatorFieldBit = 1u,
        kPortamentoFieldBit = 2u,
        kSeedFieldBit = 4u,
    };

    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paintBackground();
    void selectDimension(int32_t dimension);
    void showSelectedViews();
    void fullRefresh();
    void requestRepaint(uint32_t bits);
    void servePendingRepaints();
    void refreshOptionFields(uint32_t bits);
    bool onUiThread() const { return GetCurrentThreadId() == uiThread; }
    CControl* controlForBit(int bit) const;
    void buildMenus();
    void destroyMenus();
    void showButtonMenu(int button);
    void showContextMenu(int32_t controlId, LPARAM point);
    void menuChoice(int menu, int position);
    // The MIDI learn entries of a knob's context menu.
    void midiLearnChoice(int position);
    // Writes a controller the audio thread has learned into the map.
    void serveLearnedController();
    // The option dialog object for a menu action; null when there is none.
    COptionDialog* optionDialog(EditorMenus::Action which);

    SynthInterface* synth;
    HINSTANCE module;
    ERect rect = {0, 0, EditorLayout::kHeight, EditorLayout::kWidth};
    HWND parent = nullptr;
    HWND dialog = nullptr;
    DWORD uiThread;

    HBITMAP background;
    HBRUSH backgroundBrush;
    HICON icon;
    HPEN dimensionPens[EditorLayout::kDimensions];
    HBITMAP faces[7]; // bitmaps 154..160

    std::unique_ptr<CKeyboard> keyboard;
    std::unique_ptr<CKnob> knobs[EditorLayout::kKnobs];
    std::unique_ptr<CEnvelope> homeEnvelope, rangeEnvelope, speedEnvelope;
    std::unique_ptr<CHyperspace> hyperspace;
    std::unique_ptr<CSynthesisDialog> synthesisDialog;
    std::unique_ptr<CSpeedLFODialog> speedLfoDialog;
    std::unique_ptr<CSeedingDialog> seedingDialog;
    std::unique_ptr<CVisualisationDialog> visualisationDialog;
    std::unique_ptr<CMidiMapDialog> midiMapDialog;

    EnvelopeView homeViews[EditorLayout::kDimensions];
    EnvelopeView rangeViews[EditorLayout::kDimensions];
    EnvelopeView speedView;
    uint8_t pressed[3] = {0, 0, 0}; // Presets, Options, Help

    // Presets, Options, Help (built at open) and the context menu.
    std::unique_ptr<CPopupMenu> menus[3];
    std::unique_ptr<CPopupMenu> contextMenu;
    int32_t contextControl = 0; // the control whose context menu is up
    // The context menu's own items before the MIDI learn entries, and
    // whether it offered "Forget MIDI controller".
    int32_t contextBaseCount = 0;
    bool contextMapped = false;
    bool exportOffered = false; // the preset maker was loaded at open
    std::unique_ptr<CAboutDialog> about;

    std::atomic<int32_t> selected{-1};
    bool backgroundPainted = false;
    std::atomic<bool> windowOpen{false};
    std::atomic<bool> hyperspaceRequest{false};
    std::atomic<bool> hyperspaceEraseRequest{false};
    std::atomic<bool> speedLfoRequest{false};
    std::atomic<bool> fullRefreshRequest{false};
    std::atomic<bool> badIndexRequest{false};
    std::atomic<uint32_t> pendingRepaints{0};
    std::atomic<uint32_t> pendingOptionFields{0};
};
