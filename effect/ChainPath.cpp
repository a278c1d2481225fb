// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/ChainPath.h"

#include "effect/ChainKernels.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

ChainPath Widest() noexcept
{
    for (const ChainPath path : {ChainPath::Avx, ChainPath::Sse2, ChainPath::Neon})
        if (CanRunChainPath(path))
            return path;
    return ChainPath::Portable;
}

ChainPath FromEnvironment() noexcept
{
    const char* wanted = std::getenv("KELDRA_CHAIN_PATH");
    for (const ChainPath path : {ChainPath::Avx, ChainPath::Sse2, ChainPath::Neon, ChainPath::Portable})
        if (wanted != nullptr && std::strcmp(wanted, ChainPathName(path)) == 0 && CanRunChainPath(path))
            return path;
    return Widest();
}

} // namespace

bool CanRunChainPath(ChainPath path) noexcept
{
    switch (path) {
    case ChainPath::Portable:
        return true;
    case ChainPath::Sse2:
#ifdef KELDRA_SSE2_PATH
        return true;
#else
        return false;
#endif
    case ChainPath::Avx:
#ifdef KELDRA_AVX_PATH
        // The answer includes whether the system saves the wide registers.
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx");
#else
        return false;
#endif
    case ChainPath::Neon:
#ifdef KELDRA_NEON_PATH
        return true;
#else
        return false;
#endif
    }
    return false;
}

ChainPath DefaultChainPath() noexcept
{
    static const ChainPath path = FromEnvironment();
    return path;
}

const char* ChainPathName(ChainPath path) noexcept
{
    switch (path) {
    case ChainPath::Avx:
        return "avx";
    case ChainPath::Sse2:
        return "sse2";
    case ChainPath::Neon:
        return "neon";
    case ChainPath::Portable:
        break;
    }
    return "portable";
}

const ChainKernels& ChainKernelsFor(ChainPath path) noexcept
{
#ifdef KELDRA_AVX_PATH
    if (path == ChainPath::Avx)
        return kAvxChainKernels;
#endif
#ifdef KELDRA_SSE2_PATH
    if (path == ChainPath::Sse2)
        return kSse2ChainKernels;
#endif
#ifdef KELDRA_NEON_PATH
    if (path == ChainPath::Neon)
        return kNeonChainKernels;
#endif
    (void)path;
    return kPortableChainKernels;
}
