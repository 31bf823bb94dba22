#include "HelpViewer.h"

#include "HelpBinding.h"
#include "HelpLocation.h"

namespace {
typedef HWND(WINAPI* HtmlHelpFunction)(HWND, LPCSTR, UINT, DWORD_PTR);

const char* const kViewerClassKey = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

// Reads string value `name` (null: the default value) of the key reached
// from `root` through the backslash-separated `path`, opening each key of
// the path in turn for reading values.
bool readString(HKEY root, const char* path, const char* name, std::string& text)
{
    HKEY key = root;
    bool ownKey = false;
    std::string rest = path;
    while (!rest.empty()) {
        const size_t cut = rest.find('\\');
        const std::string part = rest.substr(0, cut);
        rest = cut == std::string::npos ? std::string() : rest.substr(cut + 1);
        HKEY next = nullptr;
        const LONG opened = RegOpenKeyExA(key, part.c_str(), 0, KEY_QUERY_VALUE, &next);
        if (ownKey)
            RegCloseKey(key);
        if (opened != ERROR_SUCCESS)
            return false;
        key = next;
        ownKey = true;
    }
    char data[HelpLocation::kMaxValueBytes] = {};
    DWORD type = 0;
    DWORD size = sizeof data;
    const LONG read =
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    if (ownKey)
        RegCloseKey(key);
    if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    return HelpLocation::valueText(data, static_cast<long>(size), text);
}

bool registeredLibrary(char* path, size_t size)
{
    std::string text;
    if (!readString(HKEY_CLASSES_ROOT, kViewerClassKey, nullptr, text) || text.empty() ||
        text.size() >= size)
        return false;
    text.copy(path, text.size());
    path[text.size()] = '\0';
    return true;
}

void* loadLibrary(const char* name)
{
    return LoadLibraryA(name);
}

void* lookup(void* library, int ordinal)
{
    return reinterpret_cast<void*>(
        GetProcAddress(static_cast<HMODULE>(library), MAKEINTRESOURCEA(ordinal)));
}

void freeLibrary(void* library)
{
    FreeLibrary(static_cast<HMODULE>(library));
}

HelpBinding& binding()
{
    static HelpBinding viewer({registeredLibrary, loadLibrary, lookup, freeLibrary});
    return viewer;
}
} // namespace

std::string HelpViewer::helpFilePath()
{
    std::string sfc, currentVersion;
    const bool haveSfc =
        readString(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\SFC",
                   "ProgramFilesDir", sfc);
    const bool haveCurrentVersion =
        readString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\Currentversion",
                   "ProgramFilesDir", currentVersion);
    return HelpLocation::helpFilePath(haveSfc ? sfc.c_str() : nullptr,
                                      haveCurrentVersion ? currentVersion.c_str() : nullptr);
}

HWND HelpViewer::showTopic(HWND owner, const char* topic)
{
    void* function = binding().helpFunction();
    if (!function || !topic)
        return nullptr;
    const std::string path = helpFilePath();
    HtmlHelpFunction htmlHelp = reinterpret_cast<HtmlHelpFunction>(function);
    return htmlHelp(owner, path.c_str(), kDisplayTopic, reinterpret_cast<DWORD_PTR>(topic));
}
