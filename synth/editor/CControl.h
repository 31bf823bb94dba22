// Base of the editor's custom controls (knob, envelope, keyboard, flock
// view). A control is an object with a rectangle and paint and mouse
// operations; its window is an item of the editor's dialog, whose window
// class (named after the control's class) routes every message through one
// shared window procedure to the object. UI thread only.
#pragma once

#include "Rect.h"

#include <windows.h>

class SynthInterface;

class CControl {
public:
    explicit CControl(SynthInterface* synth) : synth(synth) {}
    virtual ~CControl();
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;

    // Finds dialog item `id`, moves it to `place` (dialog client pixels) and
    // ties it to this object. Double-buffered controls paint off screen.
    virtual void attach(HWND dialog, int id, const Rect& place, bool doubleBuffered);
    virtual const char* className() const = 0;
    virtual void paint(HDC dc, const PAINTSTRUCT& ps) = 0;
    virtual bool eraseBackground(HDC) { return false; } // true when it painted
    virtual void leftButtonDown(Point) {}
    virtual void leftButtonUp(Point) {}
    virtual void mouseMove(Point, WPARAM) {}
    // The mouse capture went to another window (or was released).
    virtual void captureLost() {}
    // Default: asks the dialog for the control's context menu.
    virtual void rightButtonDown(Point p);
    virtual void rightButtonUp(Point) {}
    virtual void mouseWheel(int) {}
    virtual void notify(NMHDR*) {}
    virtual void command(int, int, HWND) {}

    HWND window() const { return hwnd; }
    int id() const { return controlId; }
    // Repaints the control if its window exists.
    void repaint(bool erase = false);

    // The window class of a control class, registered by the editor before
    // the dialog is made (the template names the classes). Registration is
    // counted per process and module: the last unregister removes it.
    static bool registerClass(HINSTANCE module, const char* name);
    static void unregisterClass(HINSTANCE module, const char* name);

protected:
    SynthInterface* synth;
    HWND hwnd = nullptr;
    int controlId = 0;
    bool doubleBuffered = false;
    Rect client = {0, 0, 0, 0}; // origin 0, 0

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paintMessage();
    // Brings the host's frame (three parents up) to the top.
    void raiseHostFrame();
    void detach();

    HDC bufferDc = nullptr;
    HBITMAP bufferBitmap = nullptr;
    HGDIOBJ bufferOldBitmap = nullptr;
};
