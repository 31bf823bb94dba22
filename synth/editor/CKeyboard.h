// The on-screen keyboard at the foot of the editor: five octaves from note
// 36, one 16 x 60 picture per white-key column, chosen by which of the keys
// it shows are held. Pressing a key plays it through the synth's screen-note
// request (the audio code turns changes of the request into note-off and
// note-on); dragging plays each key crossed; releasing the button ends it.
//
// Threads: showNoteOn/Off and clear may come from the audio thread; they
// only touch the display's atomic bytes and flags (KeyboardDisplay). The
// editor's idle turns the flags into invalidations; painting and the mouse
// run on the UI thread.
#pragma once

#include "CControl.h"
#include "KeyboardDisplay.h"
#include "KeyboardGeometry.h"

#include <cstdint>

class CKeyboard : public CControl {
public:
    explicit CKeyboard(SynthInterface* synth);
    ~CKeyboard() override;

    const char* className() const override { return "CKeyboard"; }
    void attach(HWND dialog, int id, const Rect& place, bool doubleBuffered) override;
    void paint(HDC dc, const PAINTSTRUCT& ps) override;
    bool eraseBackground(HDC dc) override; // draws every column
    void leftButtonDown(Point p) override;
    void leftButtonUp(Point p) override;
    // A message box, another application or the host taking the mouse
    // ends the note, as the button's release would have: the release
    // itself never comes here then.
    void captureLost() override;
    void mouseMove(Point p, WPARAM keys) override;

    // Any thread.
    void showNoteOn(int32_t note) { display.showNote(note, true); }
    void showNoteOff(int32_t note) { display.showNote(note, false); }
    void clear() { display.clear(); }
    bool isHeld(int32_t note) const { return display.isHeld(note); }
    int32_t pendingCount() const { return display.pendingCount(); }

    // UI thread: the editor's window is going (close, or the host destroyed
    // it); notes are only remembered until the next open.
    void windowClosed() { display.setWindowOpen(false); }
    // UI thread, from the editor's idle: repaints what the reports changed.
    void serveRepaints();
    bool isMousePlaying() const { return mousePlaying; }

private:
    void drawColumn(HDC dc, int32_t column);

    KeyboardDisplay display;
    bool mousePlaying = false;
    HBITMAP bitmaps[KeyboardGeometry::kColumnBitmaps];
    HBRUSH brushes[KeyboardGeometry::kColumnBitmaps];
    HBRUSH frame;
};
