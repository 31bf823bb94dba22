// A stand-in for the HTML Help viewer: exports the viewer's help function
// at the same ordinal (14) and records every call instead of showing
// anything. GUI tests register it as the viewer's library (HelpRecorder.h)
// and read the requests back through the functions below.
#include <windows.h>

#include <cstring>

namespace {
struct Request {
    HWND owner;
    char file[300];
    UINT command;
    char topic[100];
};
const int kCapacity = 256;
Request requests[kCapacity];
LONG count = 0;

void copy(char* to, size_t size, const char* from)
{
    to[0] = '\0';
    if (from)
        std::strncat(to, from, size - 1);
}
} // namespace

extern "C" {

// The viewer's entry: records (owner, file, command, topic) and returns
// the owner, as the viewer returns a window.
HWND WINAPI HtmlHelpA(HWND owner, LPCSTR file, UINT command, DWORD_PTR data)
{
    const LONG n = count;
    if (n < kCapacity) {
        Request& r = requests[n];
        r.owner = owner;
        copy(r.file, sizeof r.file, file);
        r.command = command;
        // HH_DISPLAY_TOPIC carries a topic text; other commands are kept
        // without one.
        copy(r.topic, sizeof r.topic, command == 0 ? reinterpret_cast<const char*>(data) : "");
        count = n + 1;
    }
    return owner;
}

int helpRequestCount()
{
    return static_cast<int>(count);
}

void helpRequest(int index, HWND* owner, const char** file, UINT* command, const char** topic)
{
    if (index < 0 || index >= count)
        return;
    *owner = requests[index].owner;
    *file = requests[index].file;
    *command = requests[index].command;
    *topic = requests[index].topic;
}

void clearHelpRequests()
{
    count = 0;
}
}
