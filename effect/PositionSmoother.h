// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// One-pole smoother that glides a potentiometer position toward its target:
/// state := d·state + (1 − d)·target.
class PositionSmoother {
public:
    /// [audio] Sets the coefficient d and the target for the coming block;
    /// (1 − d)·target is formed here once, with the same rounding as per step.
    void beginBlock(double d, double target) noexcept
    {
        mD = d;
        mPull = (1.0 - d) * target;
    }

    /// [audio] Advances one step and returns the new state.
    double step() noexcept
    {
        mState = mD * mState + mPull;
        return mState;
    }

    /// [any] Current state.
    double state() const noexcept { return mState; }

private:
    double mD = 0.0;
    double mPull = 0.0;
    double mState = 0.0;
};
