// GUI tests' side of the help stand-in (HelpRecorder.cpp, built as
// helprecorder.dll): registers a library as the HTML Help viewer's class
// library for the life of the object (the previous registration comes back
// afterwards) and reads the requests the stand-in recorded. The plug-in
// binds the viewer at its first help request, so register before that.
// Win32 only; header-only so any GUI suite can use it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class HelpRecorder {
public:
    struct Request {
        HWND owner;
        std::string file;
        UINT command;
        std::string topic;
    };

    // Registers `library` (a file in the test's folder, or any path) as the
    // viewer's library.
    explicit HelpRecorder(const std::string& library = "helprecorder.dll")
    {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, kKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        char old[MAX_PATH] = {};
        DWORD size = sizeof old - 1, type = 0;
        hadValue = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(old),
                                    &size) == ERROR_SUCCESS;
        previous = old;
        const std::string path = inTestFolder(library);
        registered =
            RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                           static_cast<DWORD>(path.size() + 1)) == ERROR_SUCCESS;
        RegCloseKey(key);
        module = LoadLibraryA(inTestFolder("helprecorder.dll").c_str());
        clear();
    }
    ~HelpRecorder()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            if (hadValue)
                RegSetValueExA(key, nullptr, 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(previous.c_str()),
                               static_cast<DWORD>(previous.size() + 1));
            else
                RegDeleteValueA(key, nullptr);
            RegCloseKey(key);
        }
        if (module)
            FreeLibrary(module);
    }
    HelpRecorder(const HelpRecorder&) = delete;
    HelpRecorder& operator=(const HelpRecorder&) = delete;

    // Registers another library in place of the first (the registration
    // the object restores stays the one it found).
    void reregister(const std::string& library)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        const std::string path = inTestFolder(library);
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1));
        RegCloseKey(key);
    }

    bool ready() const { return registered && module; }

    std::vector<Request> requests() const
    {
        std::vector<Request> out;
        typedef int (*Count)();
        typedef void (*Get)(int, HWND*, const char**, UINT*, const char**);
        Count count = reinterpret_cast<Count>(
            reinterpret_cast<void*>(GetProcAddress(module, "helpRequestCount")));
        Get get =
            reinterpret_cast<Get>(reinterpret_cast<void*>(GetProcAddress(module, "helpRequest")));
        if (!count || !get)
            return out;
        for (int i = 0, n = count(); i < n; ++i) {
            Request r = {nullptr, "", 0, ""};
            const char* file = "";
            const char* topic = "";
            get(i, &r.owner, &file, &r.command, &topic);
            r.file = file;
            r.topic = topic;
            out.push_back(r);
        }
        return out;
    }
    void clear()
    {
        typedef void (*Clear)();
        Clear c = reinterpret_cast<Clear>(
            reinterpret_cast<void*>(GetProcAddress(module, "clearHelpRequests")));
        if (c)
            c();
    }

    // `name` in the folder of the running test program.
    static std::string inTestFolder(const std::string& name)
    {
        if (name.find('\\') != std::string::npos || name.find(':') != std::string::npos)
            return name;
        char exe[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string folder = exe;
        const size_t cut = folder.find_last_of("\\/");
        folder = cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
        return folder + name;
    }

private:
    static constexpr const char* kKey =
        "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
    HMODULE module = nullptr;
    bool hadValue = false;
    bool registered = false;
    std::string previous;
};
