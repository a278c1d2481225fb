// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

/// [audio] Flushes denormal floats to zero while it lives and restores the
/// caller's floating-point mode afterwards; decaying filter tails would
/// otherwise slow processing down by orders of magnitude.
class ScopedFlushDenormals {
public:
#if defined(__SSE__) || defined(__x86_64__)
    ScopedFlushDenormals() noexcept : mSaved(_mm_getcsr())
    {
        constexpr unsigned kFlushToZero = 0x8000;
        constexpr unsigned kDenormalsAreZero = 0x0040;
        _mm_setcsr(mSaved | kFlushToZero | kDenormalsAreZero);
    }
    ~ScopedFlushDenormals() { _mm_setcsr(mSaved); }
#else
    ScopedFlushDenormals() noexcept = default;
#endif
    ScopedFlushDenormals(const ScopedFlushDenormals&) = delete;
    ScopedFlushDenormals& operator=(const ScopedFlushDenormals&) = delete;

private:
#if defined(__SSE__) || defined(__x86_64__)
    unsigned mSaved;
#endif
};
