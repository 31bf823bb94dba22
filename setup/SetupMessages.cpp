// Message boxes of the installer (see SetupMessages.h).
#include "SetupMessages.h"

int SetupMessages::show(HWND owner, const std::string& text, UINT flags)
{
    return MessageBoxA(owner, text.c_str(), caption().c_str(), flags);
}

void SetupMessages::notify(HWND owner, const std::string& text)
{
    show(owner, text, MB_OK | MB_ICONEXCLAMATION);
}

bool SetupMessages::ask(HWND owner, const std::string& text)
{
    return show(owner, text, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

std::string SetupMessages::caption()
{
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, n < MAX_PATH ? n : 0);
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name = name.substr(0, dot);
    return name.empty() ? std::string("setup") : name;
}
