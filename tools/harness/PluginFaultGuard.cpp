#include "PluginFaultGuard.h"

#include <cstdio>
#include <mutex>

namespace {
struct Range {
    uintptr_t begin, end;
};

// Shared with the handler, which can run on any thread.
std::mutex lock;
std::vector<Range> modules;
std::vector<std::string> seen;
void* installed = nullptr;

bool isFault(DWORD code)
{
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
        return true;
    default:
        return false;
    }
}
} // namespace

PluginFaultGuard::PluginFaultGuard()
{
    std::lock_guard<std::mutex> hold(lock);
    if (!installed)
        installed = AddVectoredExceptionHandler(1, handler);
}

PluginFaultGuard::~PluginFaultGuard()
{
    std::lock_guard<std::mutex> hold(lock);
    if (installed)
        RemoveVectoredExceptionHandler(installed);
    installed = nullptr;
    modules.clear();
}

void PluginFaultGuard::watchModuleOf(const void* address)
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<const char*>(address), &module) ||
        !module)
        return;
    // The image's extent from its PE header.
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        reinterpret_cast<const char*>(module) + dos->e_lfanew);
    const uintptr_t begin = reinterpret_cast<uintptr_t>(module);
    std::lock_guard<std::mutex> hold(lock);
    modules.push_back({begin, begin + nt->OptionalHeader.SizeOfImage});
}

std::vector<std::string> PluginFaultGuard::faults() const
{
    std::lock_guard<std::mutex> hold(lock);
    return seen;
}

void PluginFaultGuard::clear()
{
    std::lock_guard<std::mutex> hold(lock);
    seen.clear();
}

LONG CALLBACK PluginFaultGuard::handler(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* r = info->ExceptionRecord;
    if (!isFault(r->ExceptionCode))
        return EXCEPTION_CONTINUE_SEARCH;
    const uintptr_t at = reinterpret_cast<uintptr_t>(r->ExceptionAddress);
    std::lock_guard<std::mutex> hold(lock);
    for (const Range& m : modules)
        if (at >= m.begin && at < m.end) {
            char text[160];
            std::snprintf(text, sizeof text, "exception 0x%08lX at module offset 0x%llX",
                          static_cast<unsigned long>(r->ExceptionCode),
                          static_cast<unsigned long long>(at - m.begin));
            if (seen.size() < 100)
                seen.push_back(text);
            break;
        }
    return EXCEPTION_CONTINUE_SEARCH;
}
