// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/ChainPath.h"

#include "effect/ChainKernels.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

#if defined(__SSE2__) && !defined(KELDRA_PORTABLE_LANES)
constexpr bool kHasVectorPaths = true;
#else
constexpr bool kHasVectorPaths = false;
#endif

ChainPath Widest() noexcept
{
    for (const ChainPath path : {ChainPath::Avx, ChainPath::Sse2})
        if (CanRunChainPath(path))
            return path;
    return ChainPath::Portable;
}

ChainPath FromEnvironment() noexcept
{
    const char* wanted = std::getenv("KELDRA_CHAIN_PATH");
    for (const ChainPath path : {ChainPath::Avx, ChainPath::Sse2, ChainPath::Portable})
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
        return kHasVectorPaths;
    case ChainPath::Avx:
#if defined(__SSE2__) && !defined(KELDRA_PORTABLE_LANES)
        // The answer includes whether the system saves the wide registers.
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx");
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
    case ChainPath::Portable:
        break;
    }
    return "portable";
}

const ChainKernels& ChainKernelsFor(ChainPath path) noexcept
{
#if defined(__SSE2__) && !defined(KELDRA_PORTABLE_LANES)
    if (path == ChainPath::Avx)
        return kAvxChainKernels;
    if (path == ChainPath::Sse2)
        return kSse2ChainKernels;
#else
    (void)path;
#endif
    return kPortableChainKernels;
}
