// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

/// Treats denormal inputs and results as zero while it lives, and gives the
/// caller's floating-point mode back when it goes. Decaying filter histories
/// would otherwise crawl through denormals at a fraction of normal speed.
/// [audio] Reads and writes the SSE (AArch64: floating-point) control
/// register only; no system call.
class ScopedDenormalFlush {
public:
#if defined(__SSE2__)
    ScopedDenormalFlush() noexcept : mSaved(_mm_getcsr()) { _mm_setcsr(mSaved | kFlushToZero | kDenormalsAreZero); }
    ~ScopedDenormalFlush() { _mm_setcsr(mSaved); }
#elif defined(__aarch64__)
    ScopedDenormalFlush() noexcept : mSaved(__builtin_aarch64_get_fpcr())
    {
        __builtin_aarch64_set_fpcr(mSaved | kFlushToZero);
    }
    ~ScopedDenormalFlush() { __builtin_aarch64_set_fpcr(mSaved); }
#else
    ScopedDenormalFlush() noexcept = default;
#endif
    ScopedDenormalFlush(const ScopedDenormalFlush&) = delete;
    ScopedDenormalFlush& operator=(const ScopedDenormalFlush&) = delete;

private:
#if defined(__SSE2__)
    static constexpr unsigned kFlushToZero = 0x8000;
    static constexpr unsigned kDenormalsAreZero = 0x0040;
    unsigned mSaved;
#elif defined(__aarch64__)
    // FZ flushes denormal operands and results alike, as FTZ and DAZ do.
    static constexpr unsigned kFlushToZero = 1u << 24;
    unsigned mSaved;
#endif
};
