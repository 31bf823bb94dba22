#include "EditorHost.h"

#include "PluginFaultGuard.h"
#include "PngEncoder.h"

#include <chrono>
#include <cstdio>

namespace {
const char* const kFrameClass = "NimhostEditorHost";
const UINT_PTR kIdleTimer = 1;
const UINT kIdleMilliseconds = 33; // about 30 idle calls a second

// One handler for the whole process, watching every plug-in loaded.
PluginFaultGuard& faultGuard()
{
    static PluginFaultGuard guard;
    return guard;
}

bool registerFrameClass(WNDPROC procedure)
{
    static bool done = false;
    if (done)
        return true;
    WNDCLASSEXA c = {};
    c.cbSize = sizeof c;
    c.lpfnWndProc = procedure;
    c.hInstance = GetModuleHandleA(nullptr);
    c.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    c.lpszClassName = kFrameClass;
    done = RegisterClassExA(&c) != 0;
    return done;
}

std::string className(HWND window)
{
    char name[128] = {};
    if (window)
        GetClassNameA(window, name, sizeof name);
    return name;
}

void sendKey(WORD key, bool up)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

struct EditSearch {
    DWORD thread;
    HWND found;
};

BOOL CALLBACK findPopupEdit(HWND window, LPARAM data)
{
    EditSearch* s = reinterpret_cast<EditSearch*>(data);
    if (GetWindowThreadProcessId(window, nullptr) == s->thread && IsWindowVisible(window) &&
        _stricmp(className(window).c_str(), "Edit") == 0)
        s->found = window;
    return TRUE;
}
} // namespace

std::unique_ptr<EditorHost> EditorHost::load(const std::string& path, std::string& error,
                                             const Options& options)
{
    faultGuard();
    std::unique_ptr<EditorHost> editor(new EditorHost());
    editor->options = options;
    editor->host = PluginHost::load(path, error);
    if (!editor->host)
        return nullptr;
    faultGuard().watchModuleOf(reinterpret_cast<const void*>(editor->host->effect()->dispatcher));
    editor->host->start(options.sampleRate, options.blockSize);
    editor->audioThread.reset(
        new AudioRenderThread(*editor->host, options.sampleRate, options.blockSize));
    if (options.audio)
        editor->audioThread->start();
    return editor;
}

EditorHost::~EditorHost()
{
    close();
    driver.join();
    audioThread.reset();
    host.reset();
}

bool EditorHost::editorSize(int& width, int& height)
{
    ERect* rect = nullptr;
    if (!host->dispatch(effEditGetRect, 0, 0, &rect) || !rect)
        return false;
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
    return width > 0 && height > 0;
}

bool EditorHost::open(std::string& error)
{
    if (frame)
        return true;
    if (!(host->effect()->flags & effFlagsHasEditor)) {
        error = "the plug-in has no editor";
        return false;
    }
    int width = 0, height = 0;
    if (!editorSize(width, height)) {
        error = "effEditGetRect gave no rectangle";
        return false;
    }
    if (!registerFrameClass(frameProcedure)) {
        error = "cannot register the host window class";
        return false;
    }
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT r = {0, 0, width, height};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    const std::string title = host->effectName() + " - nimhost";
    frame = CreateWindowExA(0, kFrameClass, title.c_str(), style, options.x, options.y,
                            r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    if (!frame) {
        error = "cannot create the host window (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (!host->dispatch(effEditOpen, 0, 0, frame)) {
        error = "effEditOpen failed";
        DestroyWindow(frame);
        frame = nullptr;
        return false;
    }
    ShowWindow(frame, SW_SHOWNORMAL);
    UpdateWindow(frame);
    SetTimer(frame, kIdleTimer, kIdleMilliseconds, nullptr);
    return true;
}

void EditorHost::close()
{
    if (!frame)
        return;
    KillTimer(frame, kIdleTimer);
    host->dispatch(effEditClose);
    SetWindowLongPtrA(frame, GWLP_USERDATA, 0);
    DestroyWindow(frame);
    frame = nullptr;
    leftDown = false;
    pump(0);
}

LRESULT CALLBACK EditorHost::frameProcedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    EditorHost* self = reinterpret_cast<EditorHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && message == WM_TIMER && w == kIdleTimer) {
        ++self->idles;
        self->host->dispatch(effEditIdle);
        return 0;
    }
    if (message == WM_CLOSE)
        return 0; // the test decides when the editor closes
    return DefWindowProcA(window, message, w, l);
}

HWND EditorHost::editorWindow() const
{
    return frame ? GetWindow(frame, GW_CHILD) : nullptr;
}

HWND EditorHost::control(int id) const
{
    HWND editor = editorWindow();
    return editor ? GetDlgItem(editor, id) : nullptr;
}

RECT EditorHost::controlRect(int id) const
{
    RECT r = {0, 0, 0, 0};
    HWND c = id ? control(id) : editorWindow();
    if (c) {
        GetWindowRect(c, &r);
        MapWindowPoints(HWND_DESKTOP, frame, reinterpret_cast<POINT*>(&r), 2);
    }
    return r;
}

std::string EditorHost::controlClass(int id) const
{
    return className(id ? control(id) : editorWindow());
}

std::string EditorHost::controlText(int id) const
{
    char text[256] = {};
    HWND c = id ? control(id) : editorWindow();
    if (c)
        GetWindowTextA(c, text, sizeof text);
    return text;
}

void EditorHost::pump(int milliseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              end - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    }
}

HWND EditorHost::target(int id) const
{
    return id ? control(id) : editorWindow();
}

void EditorHost::postMouse(int id, UINT message, WPARAM keys, int x, int y)
{
    HWND t = target(id);
    if (!t)
        return;
    // Signed 16-bit coordinates: points left of or above the control stay
    // negative, as while a drag holds the capture.
    const LPARAM point = MAKELPARAM(static_cast<WORD>(static_cast<short>(x)),
                                    static_cast<WORD>(static_cast<short>(y)));
    PostMessageA(t, message, keys, point);
}

void EditorHost::realMouse(int id, int x, int y, DWORD flags, DWORD data)
{
    HWND t = target(id);
    if (!t)
        return;
    POINT p = {x, y};
    ClientToScreen(t, &p);
    SetCursorPos(p.x, p.y);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = data;
    if (flags)
        SendInput(1, &in, sizeof in);
    pump(30); // the X server's round trip
}

void EditorHost::mouseDown(int id, int x, int y)
{
    leftDown = true;
    if (realInput)
        realMouse(id, x, y, MOUSEEVENTF_LEFTDOWN);
    else
        postMouse(id, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    pump(0);
}

void EditorHost::mouseMove(int id, int x, int y)
{
    if (realInput)
        realMouse(id, x, y, 0);
    else
        postMouse(id, WM_MOUSEMOVE, leftDown ? MK_LBUTTON : 0, x, y);
    pump(0);
}

void EditorHost::mouseUp(int id, int x, int y)
{
    leftDown = false;
    if (realInput)
        realMouse(id, x, y, MOUSEEVENTF_LEFTUP);
    else
        postMouse(id, WM_LBUTTONUP, 0, x, y);
    pump(0);
}

void EditorHost::drag(int id, int x0, int y0, int x1, int y1, int steps)
{
    mouseDown(id, x0, y0);
    for (int i = 1; i <= steps; ++i)
        mouseMove(id, x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
    mouseUp(id, x1, y1);
}

void EditorHost::rightClick(int id, int x, int y)
{
    if (realInput) {
        realMouse(id, x, y, MOUSEEVENTF_RIGHTDOWN);
        realMouse(id, x, y, MOUSEEVENTF_RIGHTUP);
    } else {
        postMouse(id, WM_RBUTTONDOWN, MK_RBUTTON, x, y);
        pump(0);
        postMouse(id, WM_RBUTTONUP, 0, x, y);
    }
    pump(0);
}

void EditorHost::wheel(int id, int x, int y, int delta)
{
    if (realInput) {
        realMouse(id, x, y, MOUSEEVENTF_WHEEL, static_cast<DWORD>(delta));
    } else if (HWND t = target(id)) {
        POINT p = {x, y}; // the wheel message carries screen coordinates
        ClientToScreen(t, &p);
        PostMessageA(t, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
                     MAKELPARAM(static_cast<WORD>(static_cast<short>(p.x)),
                                static_cast<WORD>(static_cast<short>(p.y))));
    }
    pump(0);
}

void EditorHost::keyDown(int virtualKey)
{
    if (realInput) {
        sendKey(static_cast<WORD>(virtualKey), false);
        pump(30);
        return;
    }
    HWND t = GetFocus() ? GetFocus() : editorWindow();
    if (t)
        PostMessageA(t, WM_KEYDOWN, virtualKey, 1);
    pump(0);
}

void EditorHost::keyUp(int virtualKey)
{
    if (realInput) {
        sendKey(static_cast<WORD>(virtualKey), true);
        pump(30);
        return;
    }
    HWND t = GetFocus() ? GetFocus() : editorWindow();
    if (t)
        PostMessageA(t, WM_KEYUP, virtualKey, 0xC0000001);
    pump(0);
}

void EditorHost::key(int virtualKey)
{
    keyDown(virtualKey);
    keyUp(virtualKey);
}

HWND EditorHost::focusedBox() const
{
    HWND focus = GetFocus();
    if (focus && _stricmp(className(focus).c_str(), "Edit") == 0)
        return focus;
    EditSearch s = {GetCurrentThreadId(), nullptr};
    EnumWindows(findPopupEdit, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

bool EditorHost::typeText(const std::string& text)
{
    HWND box = focusedBox();
    if (!box)
        return false;
    for (char c : text)
        PostMessageA(box, WM_CHAR, static_cast<unsigned char>(c), 1);
    pump(0);
    return true;
}

bool EditorHost::finishModal(int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (driver.armed() && !driver.done() && std::chrono::steady_clock::now() < end)
        pump(10);
    pump(0);
    return driver.join();
}

RgbImage EditorHost::capture()
{
    return frame ? captureWindow(frame) : RgbImage();
}

RgbImage EditorHost::captureWindow(HWND window, bool withFrame)
{
    RgbImage image;
    RECT r;
    if (withFrame ? !GetWindowRect(window, &r) : !GetClientRect(window, &r))
        return image;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return image;
    // The window's own cache DC reads Wine's window surface, children
    // included (PrintWindow leaves them out under Wine); with DCX_WINDOW it
    // also holds the caption and frame that Wine draws itself.
    HDC screen = GetDCEx(window, nullptr, withFrame ? DCX_WINDOW | DCX_CACHE : DCX_CACHE);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
        GdiFlush();
        image.width = w;
        image.height = h;
        const uint32_t* p = static_cast<const uint32_t*>(bits);
        image.pixels.assign(p, p + static_cast<size_t>(w) * h);
        for (uint32_t& px : image.pixels)
            px &= 0x00FFFFFF; // B, G, R, unused in memory: 0x00RRGGBB
        SelectObject(memory, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return image;
}

bool EditorHost::screenshot(const std::string& path, std::string& error)
{
    if (!frame) {
        error = "the editor is not open";
        return false;
    }
    return PngEncoder::write(capture(), path, error);
}

std::vector<uint8_t> EditorHost::chunk()
{
    std::vector<uint8_t> data;
    if (!(host->effect()->flags & effFlagsProgramChunks))
        return data;
    void* bytes = nullptr;
    const intptr_t size = host->dispatch(effGetChunk, 0, 0, &bytes);
    if (bytes && size > 0 && size < (1 << 24))
        data.assign(static_cast<uint8_t*>(bytes), static_cast<uint8_t*>(bytes) + size);
    return data;
}

std::string EditorHost::dump()
{
    std::string out;
    char line[256];
    const std::vector<uint8_t> data = chunk();
    std::snprintf(line, sizeof line, "chunk: %u bytes\n", static_cast<unsigned>(data.size()));
    out += line;
    for (size_t at = 0; at < data.size(); at += 32) {
        std::snprintf(line, sizeof line, "  %04X:", static_cast<unsigned>(at));
        out += line;
        for (size_t i = at; i < at + 32 && i < data.size(); ++i) {
            std::snprintf(line, sizeof line, " %02X", data[i]);
            out += line;
        }
        out += "\n";
    }
    const int32_t count = host->effect()->numParams;
    std::snprintf(line, sizeof line, "parameters: %d\n", static_cast<int>(count));
    out += line;
    for (int32_t i = 0; i < count && i < 10000; ++i) {
        std::snprintf(line, sizeof line, "  %3d  %-20s %.6f  %s %s\n", static_cast<int>(i),
                      host->parameterName(i).c_str(), host->getParameter(i),
                      host->parameterDisplay(i).c_str(), host->parameterLabel(i).c_str());
        out += line;
    }
    out += "objects: " + ObjectCounts::take().describe() + "\n";
    return out;
}

std::vector<std::string> EditorHost::faults() const
{
    return faultGuard().faults();
}

void EditorHost::clearFaults()
{
    faultGuard().clear();
}
