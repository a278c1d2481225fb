// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/ChainPath.h"
#include "effect/ChainKernels.h"

/// The oversampled waveshaper of both channels: 10 × input, zero-stuffed to
/// N sub-samples, up filter, shaper, down filter, first sub-sample kept.
/// Runs on the instruction-set path chosen at construction; every path
/// gives the same bits. Holds its state by value; allocates nothing.
class OversampledPath {
public:
    /// [ui] Takes DefaultChainPath().
    OversampledPath() noexcept;

    /// [ui, not while processing] Runs on `path` from now on (one that
    /// CanRunChainPath allows).
    void usePath(ChainPath path) noexcept;
    /// [any] The path in use.
    ChainPath path() const noexcept { return mPath; }
    /// [any] The entry points of that path.
    const ChainKernels& kernels() const noexcept { return *mKernels; }

    /// [audio] Clears both filters' histories.
    void reset() noexcept;

    /// [audio] Runs `job` (its design and factor, 4 or 16) and writes its
    /// decimated results.
    void process(const OversamplingJob& job) noexcept { mKernels->oversample(mState, job); }

    /// [any] The shaper of `path` on factor·in[i], i < count (count even);
    /// lets tests hold each path's shaper against the model.
    static void shape(ChainPath path, const double* in, double* out, int count, int factor) noexcept;

private:
    ChainPath mPath;
    const ChainKernels* mKernels;
    OversamplingState mState;
};
