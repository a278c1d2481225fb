// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstring>

/// One-pole smoother that glides a potentiometer position toward its target:
/// state := d·state + (1 − d)·target.
///
/// The step is a fixed, deterministic map, so once a step leaves the state
/// bit for bit unchanged every later step of the block would too; the
/// smoother then reports itself at rest, and callers may stop stepping it.
class PositionSmoother {
public:
    /// [audio] Sets the coefficient d and the target for the coming block;
    /// (1 − d)·target is formed here once, with the same rounding as per step.
    void beginBlock(double d, double target) noexcept
    {
        const double pull = (1.0 - d) * target;
        if (!sameBits(d, mD) || !sameBits(pull, mPull))
            mMapChanged = true;
        mD = d;
        mPull = pull;
    }

    /// [audio] Advances one step and returns the new state. No test on the
    /// way: a step at rest computes the same state again.
    double step() noexcept
    {
        mPrevious = mState;
        mState = mD * mState + mPull;
        mMapChanged = false;
        return mState;
    }

    /// [any] True when the last step, under this block's map, left the state
    /// as it was: further steps in this block would too.
    bool atRest() const noexcept { return !mMapChanged && sameBits(mState, mPrevious); }

    /// [any] Current state.
    double state() const noexcept { return mState; }

private:
    static bool sameBits(double a, double b) noexcept
    {
        std::uint64_t x, y;
        std::memcpy(&x, &a, sizeof x);
        std::memcpy(&y, &b, sizeof y);
        return x == y;
    }

    double mD = 0.0;
    double mPull = 0.0;
    double mState = 0.0;
    double mPrevious = 0.0;
    bool mMapChanged = true; ///< no step yet under the current map
};
