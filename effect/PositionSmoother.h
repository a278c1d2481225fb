// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstring>

/// One-pole smoother that glides a potentiometer position toward its target:
/// state := d·state + (1 − d)·target.
///
/// The step is a fixed, deterministic map, so once a step leaves the state
/// bit for bit unchanged every later step of the block would too; the
/// smoother then reports itself at rest and stops computing.
class PositionSmoother {
public:
    /// [audio] Sets the coefficient d and the target for the coming block;
    /// (1 − d)·target is formed here once, with the same rounding as per step.
    void beginBlock(double d, double target) noexcept
    {
        const double pull = (1.0 - d) * target;
        if (!sameBits(d, mD) || !sameBits(pull, mPull))
            mAtRest = false;
        mD = d;
        mPull = pull;
    }

    /// [audio] Advances one step and returns the new state.
    double step() noexcept
    {
        if (!mAtRest) {
            const double next = mD * mState + mPull;
            mAtRest = sameBits(next, mState);
            mState = next;
        }
        return mState;
    }

    /// [any] True when further steps in this block leave the state as it is.
    bool atRest() const noexcept { return mAtRest; }

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
    bool mAtRest = false;
};
