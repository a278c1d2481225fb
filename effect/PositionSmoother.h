// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/F64x2.h"

#include <cstdint>
#include <cstring>

/// One-pole smoother that glides a potentiometer position toward its target:
/// state := d·state + (1 − d)·target, in every lane of L (double for one
/// smoother, F64x2 for two that step equally often and share a register).
///
/// The step is a fixed, deterministic map, so once a step leaves the state
/// bit for bit unchanged every later step of the block would too; the
/// smoother then reports itself at rest, and callers may stop stepping it.
///
/// After snapAtNextBlock the next block starts with the state at its target
/// instead of gliding there from wherever it was.
template <class L>
class PositionSmoother {
public:
    /// [audio or ui, not while processing] The next beginBlock sets the state
    /// to that block's target before the first step.
    void snapAtNextBlock() noexcept { mSnapPending = true; }

    /// [audio] Sets the coefficient d and the target for the coming block;
    /// (1 − d)·target is formed here once, with the same rounding as per step.
    void beginBlock(L d, L target) noexcept
    {
        const L pull = (L(1.0) - d) * target;
        if (!sameBits(d, mD) || !sameBits(pull, mPull))
            mMapChanged = true;
        mD = d;
        mPull = pull;
        if (mSnapPending) {
            mState = target;
            mPrevious = target;
            // The first step from the target may still move the state by a
            // rounding step, so rest is only judged after it.
            mMapChanged = true;
            mSnapPending = false;
        }
    }

    /// [audio] Advances one step and returns the new state. No test on the
    /// way: a step at rest computes the same state again.
    L step() noexcept
    {
        mPrevious = mState;
        mState = mD * mState + mPull;
        mMapChanged = false;
        return mState;
    }

    /// [any] True when the last step, under this block's map, left the state
    /// of every lane as it was: further steps in this block would too.
    bool atRest() const noexcept { return !mMapChanged && sameBits(mState, mPrevious); }

private:
    static bool sameBits(double a, double b) noexcept
    {
        std::uint64_t x, y;
        std::memcpy(&x, &a, sizeof x);
        std::memcpy(&y, &b, sizeof y);
        return x == y;
    }
    static bool sameBits(F64x2 a, F64x2 b) noexcept
    {
        return sameBits(a.left(), b.left()) && sameBits(a.right(), b.right());
    }

    L mD = L(0.0);
    L mPull = L(0.0);
    L mState = L(0.0);
    L mPrevious = L(0.0);
    bool mMapChanged = true; ///< no step yet under the current map
    bool mSnapPending = false;
};
