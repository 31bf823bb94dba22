// The editor's value control: a face bitmap tiled as background, a caption,
// an optional value text (typed into a box opened over it) and an optional
// dial dot dragged vertically. Changes by the user go straight into the
// current program through SynthInterface::setControlValue.
//
// Threads: setValue may come from the audio thread (host automation); it
// only stores. Everything else runs on the UI thread.
#pragma once

#include "CControl.h"
#include "CValueEdit.h"
#include "EditorLayout.h"

#include <atomic>

class CKnob : public CControl {
public:
    // `face` is the editor's face bitmap (the knob makes its own brush).
    CKnob(SynthInterface* synth, const EditorLayout::KnobSettings& settings, HBITMAP face);
    ~CKnob() override;

    void attach(HWND dialog, int id, const Rect& place, bool doubleBuffered) override;
    const char* className() const override { return "CKnob"; }
    void paint(HDC dc, const PAINTSTRUCT& ps) override;
    void leftButtonDown(Point p) override;
    void leftButtonUp(Point p) override;
    void captureLost() override;
    void mouseMove(Point p, WPARAM keys) override;
    void command(int code, int id, HWND from) override;

    // Stores a value as it is (no limiting) without telling the synth.
    void setValue(int32_t newValue) { value.store(newValue, std::memory_order_relaxed); }
    int32_t getValue() const { return value.load(std::memory_order_relaxed); }
    // The value text with its unit.
    void formatValue(char* text, size_t size) const;

private:
    void userChange(int32_t newValue);

    EditorLayout::KnobSettings settings;
    int32_t scale;
    std::atomic<int32_t> value{0};
    Rect captionRect = {}, valueRect = {}, dialRect = {};
    bool dragging = false;
    int32_t dragStartY = 0;
    int32_t dragStartValue = 0;
    CValueEdit valueEdit;
    HBRUSH dotBrush;
    HBRUSH captionBrush;
    HBRUSH faceBrush;
    HPEN nullPen;
    HPEN blackPen;
};
