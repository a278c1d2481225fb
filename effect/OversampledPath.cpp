// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/OversampledPath.h"

OversampledPath::OversampledPath() noexcept
    : mPath(DefaultChainPath()), mKernels(&kernelsOf(mPath))
{
}

void OversampledPath::usePath(ChainPath path) noexcept
{
    mPath = CanRunChainPath(path) ? path : DefaultChainPath();
    mKernels = &kernelsOf(mPath);
}

void OversampledPath::reset() noexcept
{
    // Nothing else is in flight between calls: each call ends with the down
    // filter caught up.
    mState = OversamplingState{};
}

void OversampledPath::shape(ChainPath path, const double* in, double* out, int count, int factor) noexcept
{
    kernelsOf(CanRunChainPath(path) ? path : DefaultChainPath()).shape(in, out, count, factor);
}

const OversamplingKernels& OversampledPath::kernelsOf(ChainPath path) noexcept
{
#if defined(__SSE2__) && !defined(KELDRA_PORTABLE_LANES)
    if (path == ChainPath::Avx)
        return kAvxOversampling;
    if (path == ChainPath::Sse2)
        return kSse2Oversampling;
#else
    (void)path;
#endif
    return kPortableOversampling;
}
