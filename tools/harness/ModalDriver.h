// Answers the modal loops a plug-in opens on the UI thread (pop-up menus,
// message boxes, dialogs) from a second thread, since the UI thread is
// inside the loop until it ends. An answer is armed before the input that
// opens the loop: the driver thread then waits for a new visible top-level
// window of the expected class in this process and acts on it with
// cross-thread-safe calls only (PostMessage, SendMessageTimeout). Win32 only.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

class ModalDriver {
public:
    ModalDriver() = default;
    ~ModalDriver(); // waits for an armed answer to time out

    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    // The next pop-up menu ("#32768") chooses the item at `position`
    // (separators count as positions), or is cancelled with -1. Its item
    // texts are kept in menuItems() (separators as "-").
    void chooseMenuItem(int position, int timeoutMs = 5000);
    // The next message box ("#32770" with a text control 0xFFFF) is closed
    // with `buttonId` (IDOK, IDYES, ...); its text is kept in messageText().
    void answerMessageBox(int buttonId, int timeoutMs = 5000);
    // The next new visible top-level window of `windowClass` is handed to
    // `action` on the driver thread.
    void handleNext(const std::string& windowClass, std::function<void(HWND)> action,
                    int timeoutMs = 5000);

    bool armed() const { return thread.joinable(); }
    bool done() const { return finished.load(); }
    // Joins the driver thread (call when done() or after pumping); true
    // when the expected window appeared and was handled.
    bool join();

    std::vector<std::string> menuItems() const { return items; }
    std::string messageText() const { return text; }

    // Visible top-level windows of `windowClass` in this process.
    static std::vector<HWND> windowsOfClass(const std::string& windowClass);
    // A window's text read with SendMessageTimeout (safe across threads).
    static std::string windowText(HWND window);

private:
    void arm(const std::string& windowClass, std::function<void(HWND)> action, int timeoutMs);

    std::thread thread;
    std::atomic<bool> finished{false};
    std::atomic<bool> handled{false};
    std::vector<std::string> items;
    std::string text;
};
