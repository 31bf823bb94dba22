// A DAW's side of a plug-in editor, for tests and `nimhost editor` on
// Windows (and under Wine): loads the plug-in (PluginHost), renders audio on
// a thread of its own (AudioRenderThread), opens the editor in a top-level
// host window sized from effEditGetRect, pumps messages with effEditIdle
// about 30 times a second, feeds input to controls by id, answers modal
// loops (ModalDriver), reads the window's pixels and counts objects.
//
// Everything here runs on the thread that created the host (the UI
// thread) unless said otherwise. Win32 only.
#pragma once

#include "AudioRenderThread.h"
#include "ModalDriver.h"
#include "ObjectCounts.h"
#include "PluginHost.h"
#include "RgbImage.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class EditorHost {
public:
    struct Options {
        float sampleRate = 44100.0f;
        int32_t blockSize = 256;
        int x = 0, y = 0;  // host window position on the screen
        bool audio = true; // start the audio thread
    };

    static std::unique_ptr<EditorHost> load(const std::string& path, std::string& error,
                                            const Options& options);
    static std::unique_ptr<EditorHost> load(const std::string& path, std::string& error)
    {
        return load(path, error, Options());
    }
    ~EditorHost(); // closes the editor, stops the audio, closes the plug-in

    EditorHost(const EditorHost&) = delete;
    EditorHost& operator=(const EditorHost&) = delete;

    PluginHost& plugin() { return *host; }
    AudioRenderThread& audio() { return *audioThread; }
    ModalDriver& modal() { return driver; }

    // effEditGetRect: the editor's size in pixels; false without an editor.
    bool editorSize(int& width, int& height);
    // Creates the host window with the editor's client size, opens the
    // editor in it, shows it and starts the idle timer; false (and the
    // reason) when the plug-in has no editor or refuses.
    bool open(std::string& error);
    // effEditClose, then the host window is destroyed (with the editor's
    // windows inside it).
    void close();
    bool isOpen() const { return frame != nullptr; }

    HWND window() const { return frame; }   // the host window
    HWND editorWindow() const;              // the editor's top window in it
    HWND control(int id) const;             // a control of the editor by id
    RECT controlRect(int id) const;         // in the host's client coordinates
    std::string controlClass(int id) const; // window class name
    std::string controlText(int id) const;  // window text

    // Dispatches messages for `milliseconds` (0: only what is queued); the
    // idle timer keeps calling effEditIdle meanwhile.
    void pump(int milliseconds);
    int idleCalls() const { return idles; }

    // Input at client point x, y of control `id` (0: the editor's window).
    // Posted messages by default; with real input the cursor moves and the
    // buttons go through SendInput, for code that reads the cursor, the
    // capture or the asynchronous key state. Each call ends by pumping what
    // the input queued.
    void setRealInput(bool on) { realInput = on; }
    void mouseDown(int id, int x, int y);
    void mouseMove(int id, int x, int y);
    void mouseUp(int id, int x, int y);
    void drag(int id, int x0, int y0, int x1, int y1, int steps = 8);
    void rightClick(int id, int x, int y);
    void wheel(int id, int x, int y, int delta);
    void keyDown(int virtualKey);
    void keyUp(int virtualKey);
    void key(int virtualKey);
    // Characters typed into the focused edit box (or the open pop-up entry
    // box when the focus is elsewhere); false when there is none.
    bool typeText(const std::string& text);
    HWND focusedBox() const;

    // After arming modal() and giving the input that opens the loop: pumps
    // until the driver is done, then joins it; true when it answered.
    bool finishModal(int timeoutMs = 5000);

    // The host window's client area as shown (children included).
    RgbImage capture();
    // Any window of this process as shown: its client area, or with
    // `withFrame` the whole window with caption and frame.
    static RgbImage captureWindow(HWND window, bool withFrame = false);
    bool screenshot(const std::string& path, std::string& error);

    std::vector<uint8_t> chunk();            // effGetChunk; empty without chunks
    std::string dump();                      // chunk, parameters and object counts as text
    std::vector<std::string> faults() const; // faults inside any loaded plug-in so far
    void clearFaults();

private:
    EditorHost() = default;
    static LRESULT CALLBACK frameProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
    HWND target(int id) const;
    void postMouse(int id, UINT message, WPARAM keys, int x, int y);
    void realMouse(int id, int x, int y, DWORD flags, DWORD data = 0);

    std::unique_ptr<PluginHost> host;
    std::unique_ptr<AudioRenderThread> audioThread;
    ModalDriver driver;
    Options options;
    HWND frame = nullptr;
    int idles = 0;
    bool realInput = false;
    bool leftDown = false;
};
