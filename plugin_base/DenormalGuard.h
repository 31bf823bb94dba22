// Sets flush-to-zero and denormals-are-zero for the lifetime of the guard
// and restores the caller's floating-point mode afterwards. Processing
// entries hold one for the duration of each call.
#pragma once

#if defined(__SSE2__) || defined(__x86_64__) || defined(_M_X64)
#include <xmmintrin.h>
#define NIMBULATOR_HAVE_MXCSR 1
#endif

class DenormalGuard {
public:
    DenormalGuard()
    {
#ifdef NIMBULATOR_HAVE_MXCSR
        saved = _mm_getcsr();
        _mm_setcsr(saved | 0x8040u); // FTZ (bit 15) and DAZ (bit 6)
#endif
    }
    ~DenormalGuard()
    {
#ifdef NIMBULATOR_HAVE_MXCSR
        _mm_setcsr(saved);
#endif
    }
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
#ifdef NIMBULATOR_HAVE_MXCSR
    unsigned int saved = 0;
#endif
};
