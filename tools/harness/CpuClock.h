// CPU time used so far, in seconds: by the calling thread, or by the whole
// process (all its threads, so work a plug-in hands to threads of its own is
// counted too). CPU time rather than wall time, so that a measurement is not
// stretched by other processes that share the machine's cores.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#else
#include <time.h>
#endif

namespace CpuClock {
#if defined(_WIN32)
inline double fromFileTimes(const FILETIME& kernel, const FILETIME& user)
{
    auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7; // 100 ns units
}

inline double threadSeconds()
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0.0;
    return fromFileTimes(kernel, user);
}

inline double processSeconds()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0.0;
    return fromFileTimes(kernel, user);
}
#else
inline double clockSeconds(clockid_t clock)
{
    timespec t;
    if (clock_gettime(clock, &t) != 0)
        return 0.0;
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline double threadSeconds()
{
    return clockSeconds(CLOCK_THREAD_CPUTIME_ID);
}

inline double processSeconds()
{
    return clockSeconds(CLOCK_PROCESS_CPUTIME_ID);
}
#endif
} // namespace CpuClock
