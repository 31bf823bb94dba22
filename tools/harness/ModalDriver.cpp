#include "ModalDriver.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {
const UINT kMenuGetHandle = 0x01E1; // MN_GETHMENU

struct Search {
    std::string windowClass;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM data)
{
    Search* s = reinterpret_cast<Search*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window))
        return TRUE;
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (s->windowClass == name)
        s->found.push_back(window);
    return TRUE;
}

void postKey(HWND window, WPARAM key)
{
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}
} // namespace

ModalDriver::~ModalDriver()
{
    join();
}

std::vector<HWND> ModalDriver::windowsOfClass(const std::string& windowClass)
{
    Search s;
    s.windowClass = windowClass;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::string ModalDriver::windowText(HWND window)
{
    char buffer[1024] = {};
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                             SMTO_ABORTIFHUNG, 2000, &result))
        return std::string();
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

bool ModalDriver::join()
{
    if (thread.joinable())
        thread.join();
    return handled.load();
}

void ModalDriver::arm(const std::string& windowClass, std::function<void(HWND)> action,
                      int timeoutMs)
{
    join();
    finished = false;
    handled = false;
    const std::vector<HWND> before = windowsOfClass(windowClass);
    thread = std::thread([this, windowClass, action, timeoutMs, before] {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < end) {
            for (HWND w : windowsOfClass(windowClass))
                if (std::find(before.begin(), before.end(), w) == before.end()) {
                    action(w);
                    handled = true;
                    finished = true;
                    return;
                }
            Sleep(10);
        }
        finished = true;
    });
}

void ModalDriver::chooseMenuItem(int position, int timeoutMs)
{
    items.clear();
    arm(
        "#32768",
        [this, position](HWND menuWindow) {
            DWORD_PTR result = 0;
            SendMessageTimeoutA(menuWindow, kMenuGetHandle, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
            HMENU menu = reinterpret_cast<HMENU>(result);
            const int count = menu ? GetMenuItemCount(menu) : 0;
            int selectable = 0; // keyboard steps skip separators
            for (int i = 0; i < count; ++i) {
                char label[256] = {};
                MENUITEMINFOA info = {};
                info.cbSize = sizeof info;
                info.fMask = MIIM_FTYPE | MIIM_STRING;
                info.dwTypeData = label;
                info.cch = sizeof label - 1;
                GetMenuItemInfoA(menu, i, TRUE, &info);
                const bool separator = (info.fType & MFT_SEPARATOR) != 0;
                items.push_back(separator ? std::string("-") : std::string(label));
                if (!separator && i <= position)
                    ++selectable;
            }
            if (position < 0 || position >= count) {
                postKey(menuWindow, VK_ESCAPE);
                return;
            }
            for (int i = 0; i < selectable; ++i)
                postKey(menuWindow, VK_DOWN);
            postKey(menuWindow, VK_RETURN);
        },
        timeoutMs);
}

void ModalDriver::answerMessageBox(int buttonId, int timeoutMs)
{
    text.clear();
    arm(
        "#32770",
        [this, buttonId](HWND box) {
            // Option dialogs are "#32770" too; a message box has its text
            // in control 0xFFFF. Give a new dialog a moment to fill in.
            for (int tries = 0; tries < 50 && !GetDlgItem(box, 0xFFFF); ++tries)
                Sleep(10);
            text = windowText(GetDlgItem(box, 0xFFFF));
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, buttonId)));
        },
        timeoutMs);
}

void ModalDriver::handleNext(const std::string& windowClass, std::function<void(HWND)> action,
                             int timeoutMs)
{
    arm(windowClass, action, timeoutMs);
}
