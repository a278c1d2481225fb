// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/F64x2.h"
#include "effect/SectionCoefficients.h"

/// One recursive filter section per channel, left in lane 0 and right in
/// lane 1, in direct form I with a division by a0 for every sample. The two
/// lanes share nothing but the register: each has its own histories.
template <int Order>
class StereoSection {
public:
    /// [audio] Clears the histories of both lanes.
    void reset() noexcept
    {
        for (int i = 0; i < Order; ++i)
            mX[i] = mY[i] = F64x2(0.0);
    }

    /// [audio] Filters one sample per lane with this sample's coefficients:
    /// y = (b0·x + b1·x1 + … − a1·y1 − …) / a0, summed as
    /// (bn·xn + … + b1·x1 − an·yn − … − a2·y2) + b0·x − a1·y1: the two terms
    /// that wait on this sample's input and the last output enter last.
    /// The result goes into the histories unchecked: the caller tests it
    /// (several sections at once, as one sample's results) and calls
    /// restartWhereNot for a lane that is not finite.
    F64x2 process(const SectionCoefficients<Order>& c, F64x2 x) noexcept
    {
        const F64x2 y = output<0>(c, x);
        // Two or three taps: moving them costs less than ring indexing.
        for (int i = Order - 1; i > 0; --i) {
            mX[i] = mX[i - 1];
            mY[i] = mY[i - 1];
        }
        mX[0] = x;
        mY[0] = y;
        return y;
    }

    /// [audio] As process, for step Phase (0 … 5) of a run of six that
    /// starts with the histories in order: the histories stay in place as a
    /// ring and only the oldest slot is overwritten, so unrolled steps move
    /// nothing. After six steps they are in order again.
    template <int Phase>
    F64x2 processInRing(const SectionCoefficients<Order>& c, F64x2 x) noexcept
    {
        const F64x2 y = output<Phase>(c, x);
        mX[slot<Phase>(Order)] = x;
        mY[slot<Phase>(Order)] = y;
        return y;
    }

    /// [audio] After process gave `y`: every lane whose bit is clear in
    /// `finite` (as F64x2::finiteMask gives it) restarts from rest, its
    /// histories all 0, so one bad sample cannot silence the channel for
    /// good; the other lane runs on. Returns `y` with those lanes 0.
    F64x2 restartWhereNot(int finite, F64x2 y) noexcept
    {
        const auto pick = [finite](F64x2 v) { return F64x2(finite & 1 ? v.left() : 0.0, finite & 2 ? v.right() : 0.0); };
        for (int i = 0; i < Order; ++i) {
            mX[i] = pick(mX[i]);
            mY[i] = pick(mY[i]);
        }
        return pick(y);
    }

    /// [audio] True when every history of both lanes is below `level` in
    /// magnitude.
    bool below(double level) const noexcept
    {
        const auto small = [level](F64x2 v) {
            return v.left() < level && v.left() > -level && v.right() < level && v.right() > -level;
        };
        for (int i = 0; i < Order; ++i)
            if (!small(mX[i]) || !small(mY[i]))
                return false;
        return true;
    }

private:
    // Where history i (1 … Order) sits at step Phase of a ring run.
    template <int Phase>
    static constexpr int slot(int i) noexcept
    {
        return ((i - 1 - Phase) % Order + Order) % Order;
    }

    template <int Phase>
    F64x2 output(const SectionCoefficients<Order>& c, F64x2 x) const noexcept
    {
        F64x2 sum = c.b[Order] * mX[slot<Phase>(Order)];
        for (int i = Order - 1; i >= 1; --i)
            sum += c.b[i] * mX[slot<Phase>(i)];
        for (int i = Order; i >= 2; --i)
            sum -= c.a[i] * mY[slot<Phase>(i)];
        sum += c.b[0] * x;
        sum -= c.a[1] * mY[slot<Phase>(1)];
        return sum / c.a[0];
    }

    F64x2 mX[Order]; ///< x1 … xOrder
    F64x2 mY[Order]; ///< y1 … yOrder
};
