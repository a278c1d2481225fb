// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/OversampledPath.h"

namespace {

// `path` where it can run, else the default one.
ChainPath runnable(ChainPath path) noexcept
{
    return CanRunChainPath(path) ? path : DefaultChainPath();
}

} // namespace

OversampledPath::OversampledPath() noexcept
    : mPath(DefaultChainPath()), mKernels(&ChainKernelsFor(mPath))
{
}

void OversampledPath::usePath(ChainPath path) noexcept
{
    mPath = runnable(path);
    mKernels = &ChainKernelsFor(mPath);
}

void OversampledPath::reset() noexcept
{
    // Nothing else is in flight between calls: each call ends with the down
    // filter caught up.
    mState = OversamplingState{};
}

void OversampledPath::shape(ChainPath path, const double* in, double* out, int count, int factor) noexcept
{
    ChainKernelsFor(runnable(path)).shape(in, out, count, factor);
}
