// The quenvarel editor window (Windows only): dialog 102, a modeless child of
// the host's window, over background bitmap 101 (483 x 218). Four sliders set
// PreGain, PostGain, Cutoff and Resonance, three radio buttons choose the
// depth and a wide button opens the maker's web site. Which control stands
// for which parameter, and the slider scale, are FilterEditorControls' rules.
//
// Threads: everything runs on the host's UI thread except refreshControl,
// which may come from any thread (host automation). From the UI thread it
// updates the control at once; from any other it only marks the control in
// an atomic mask that the next idle() serves, so no host thread ever calls
// into a window or waits for the UI thread.
#pragma once

#include "FilterEditorBase.h"

#include <windows.h>

#include <atomic>

class FilterEffect;

class FilterEditor : public FilterEditorBase {
public:
    explicit FilterEditor(FilterEffect* owner); // loads the bitmap, makes the brush
    ~FilterEditor() override;                   // closes the window if the host did not

    // The factory the plug-in's entry hands the effect: null when out of memory.
    static FilterEditorBase* create(FilterEffect& owner);

    // UI thread (the effect base's editor opcodes).
    int32_t getRect(ERect** rect) override; // 483 x 218; returns 1
    int32_t open(void* parentWindow) override;
    void close() override;
    void idle() override;
    void update() override;     // repaints the dialog and its controls
    void postUpdate() override; // any thread: asks the next idle() to update

    void refreshControl(int32_t index) override; // any thread

    // The dialog while open, else null (UI thread; tests and tools).
    HWND window() const { return dialog; }

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static HINSTANCE moduleInstance();

    void placeControls();
    static int textWidth(HWND control);
    void showParameter(int32_t index); // sets the control from getParameter(index)
    void servePendingControls();
    void paint();
    void sliderMoved(HWND slider);
    void command(int id);
    void openWebSite();
    HBRUSH controlBackground(HDC dc, HWND control);

    FilterEffect* filter;
    HWND dialog;
    HBITMAP background;
    HBRUSH backgroundBrush;
    ERect rect;
    bool painted;  // the dialog has painted since it was opened
    bool released; // the bitmap and the brush are gone
    // Thread that opened the dialog (0 while closed), and one bit per
    // parameter index whose control must be refreshed by the next idle().
    std::atomic<DWORD> uiThread;
    std::atomic<unsigned> pendingControls;
};
