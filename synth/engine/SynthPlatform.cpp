#include "SynthPlatform.h"

namespace {
void (*messageHandler)(const char*) = nullptr;
}

void setMessageHandler(void (*handler)(const char* text))
{
    messageHandler = handler;
}

#if defined(_WIN32)
#include <windows.h>

void showMessage(const char* text)
{
    if (messageHandler) {
        messageHandler(text ? text : "");
        return;
    }
    MessageBoxA(nullptr, text ? text : "", "Nimbulator", MB_OK);
}

bool isKeyDown(int virtualKey)
{
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

#else
#include <cstdio>

void showMessage(const char* text)
{
    if (messageHandler) {
        messageHandler(text ? text : "");
        return;
    }
    std::fprintf(stderr, "Nimbulator: %s\n", text ? text : "");
}

bool isKeyDown(int)
{
    return false;
}
#endif
