// A small plug-in with a Win32 editor, for testing the GUI test host itself
// (Windows builds only): a pad that counts clicks, follows drags and wheel
// turns and opens a pop-up menu on the right button, an edit box whose
// number becomes a parameter, a button that asks a yes/no question, and a
// way to fault on purpose (inside a paint). Everything the editor sees comes back to the
// test as parameter values.
#include "AudioEffectX.h"
#include "PluginEntry.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>

namespace {
enum Param { Level, Choice, Clicks, DragY, Answer, Idles, Notes, Leak, ParamCount };
const char* const names[ParamCount] = {"Level",  "Choice", "Clicks", "DragY",
                                       "Answer", "Idles",  "Notes",  "Leak"};
const int kPad = 1001, kBox = 1002, kAsk = 1003;
const UINT kFaultMessage = WM_USER + 99;
const int kWidth = 240, kHeight = 160;

class TestEditorEffect;

class TestEditor : public AEffEditor {
public:
    explicit TestEditor(TestEditorEffect* owner);
    int32_t getRect(ERect** rect) override
    {
        *rect = &bounds;
        return 1;
    }
    int32_t open(void* parent) override;
    void close() override;
    void idle() override;

private:
    static LRESULT CALLBACK panelProcedure(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK padProcedure(HWND, UINT, WPARAM, LPARAM);
    TestEditorEffect* owner;
    ERect bounds = {0, 0, kHeight, kWidth};
    HWND panel = nullptr;
    HBRUSH fill = nullptr;
    LPARAM faultAddress = 0; // non-zero: the next paint writes there
};

class TestEditorEffect : public AudioEffectX {
public:
    explicit TestEditorEffect(audioMasterCallback master) : AudioEffectX(master, 1, ParamCount)
    {
        setNumInputs(0);
        setNumOutputs(2);
        isSynth();
        setUniqueID(fourCharCode('N', 'o', 'E', 'd'));
        editor = new TestEditor(this);
        setFlag(effFlagsHasEditor, true);
    }
    void setParameter(VstInt32 index, float value) override
    {
        if (index >= 0 && index < ParamCount)
            values[index] = value;
    }
    float getParameter(VstInt32 index) override
    {
        return index >= 0 && index < ParamCount ? values[index].load() : 0.0f;
    }
    void getParameterName(VstInt32 index, char* text) override
    {
        vstStrncpy(text, index >= 0 && index < ParamCount ? names[index] : "", 9);
    }
    VstInt32 processEvents(VstEvents* events) override // audio thread
    {
        for (VstInt32 i = 0; i < events->numEvents; ++i) {
            const VstEvent* e = events->events[i];
            if (e->type == kVstMidiType &&
                (reinterpret_cast<const VstMidiEvent*>(e)->midiData[0] & 0xF0) == 0x90)
                values[Notes] = values[Notes] + 0.01f;
        }
        return 1;
    }
    void processReplacing(float**, float** outputs, VstInt32 frames) override // audio thread
    {
        for (int c = 0; c < 2; ++c)
            for (VstInt32 i = 0; i < frames; ++i)
                outputs[c][i] = values[Notes] > 0.0f ? 0.125f : 0.0f;
    }
    void process(float** inputs, float** outputs, VstInt32 frames) override
    {
        processReplacing(inputs, outputs, frames);
    }

    std::atomic<float> values[ParamCount] = {};
};

TestEditor::TestEditor(TestEditorEffect* effect) : AEffEditor(effect), owner(effect)
{
    HINSTANCE module = GetModuleHandleA("testeditor.dll");
    WNDCLASSA c = {};
    c.hInstance = module;
    c.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    c.lpfnWndProc = panelProcedure;
    c.lpszClassName = "TestEditorPanel";
    RegisterClassA(&c);
    c.lpfnWndProc = padProcedure;
    c.lpszClassName = "TestEditorPad";
    RegisterClassA(&c);
}

int32_t TestEditor::open(void* parent)
{
    HINSTANCE module = GetModuleHandleA("testeditor.dll");
    fill = CreateSolidBrush(RGB(20, 120, 200));
    panel =
        CreateWindowExA(0, "TestEditorPanel", "panel", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                        0, kWidth, kHeight, static_cast<HWND>(parent), nullptr, module, nullptr);
    SetWindowLongPtrA(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    HWND pad = CreateWindowExA(0, "TestEditorPad", "pad", WS_CHILD | WS_VISIBLE, 10, 10, 100, 60,
                               panel, reinterpret_cast<HMENU>(kPad), module, nullptr);
    SetWindowLongPtrA(pad, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 90,
                    100, 22, panel, reinterpret_cast<HMENU>(kBox), module, nullptr);
    CreateWindowExA(0, "BUTTON", "Ask", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 130, 90, 80, 22,
                    panel, reinterpret_cast<HMENU>(kAsk), module, nullptr);
    return 1;
}

void TestEditor::close()
{
    // The host destroys its window, and ours with it. The brush stays when
    // the Leak parameter asks for a leak (so tests see the counter work).
    if (fill && owner->values[Leak] < 0.5f)
        DeleteObject(fill);
    fill = nullptr;
    panel = nullptr;
}

void TestEditor::idle()
{
    owner->values[Idles] = owner->values[Idles] + 0.001f;
}

LRESULT CALLBACK TestEditor::panelProcedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    TestEditor* self = reinterpret_cast<TestEditor*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (self && self->faultAddress) {
            // A fault inside painting, which the system swallows.
            volatile int* nowhere = reinterpret_cast<volatile int*>(self->faultAddress);
            self->faultAddress = 0;
            *nowhere = 1;
        }
        if (self && self->fill)
            FillRect(dc, &ps.rcPaint, self->fill);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_COMMAND:
        if (!self)
            break;
        if (LOWORD(w) == kBox && HIWORD(w) == EN_CHANGE) {
            char text[32] = {};
            GetDlgItemTextA(window, kBox, text, sizeof text);
            self->owner->values[Level] = static_cast<float>(std::atoi(text)) * 0.01f;
        } else if (LOWORD(w) == kAsk) {
            const int answer = MessageBoxA(window, "Proceed?", "Test", MB_YESNO);
            self->owner->values[Answer] = static_cast<float>(answer) * 0.1f;
        }
        return 0;
    case kFaultMessage:
        if (self) {
            self->faultAddress = l;
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    }
    return DefWindowProcA(window, message, w, l);
}

LRESULT CALLBACK TestEditor::padProcedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    TestEditor* self = reinterpret_cast<TestEditor*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(window, message, w, l);
    std::atomic<float>* values = self->owner->values;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        HBRUSH yellow = CreateSolidBrush(RGB(250, 200, 0));
        FillRect(dc, &ps.rcPaint, yellow);
        DeleteObject(yellow);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
        values[Clicks] = values[Clicks] + 0.01f;
        SetCapture(window);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == window)
            values[DragY] = static_cast<float>(static_cast<short>(HIWORD(l))) * 0.01f;
        return 0;
    case WM_LBUTTONUP:
        ReleaseCapture();
        return 0;
    case WM_MOUSEWHEEL:
        values[DragY] = values[DragY] + static_cast<short>(HIWORD(w)) / 120 * 0.01f;
        return 0;
    case WM_RBUTTONDOWN: {
        HMENU menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, 1, "One");
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, 3, "Two");
        AppendMenuA(menu, MF_STRING, 4, "Three");
        POINT p = {static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
        ClientToScreen(window, &p);
        const int chosen =
            TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, p.x, p.y, 0, window, nullptr);
        DestroyMenu(menu);
        values[Choice] = static_cast<float>(chosen) * 0.1f;
        return 0;
    }
    }
    return DefWindowProcA(window, message, w, l);
}

AEffect* createTestEditorEffect(audioMasterCallback master)
{
    return (new TestEditorEffect(master))->getAeffect();
}
} // namespace

NIMBULATOR_PLUGIN_ENTRY(createTestEditorEffect)
