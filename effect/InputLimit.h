// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <limits>

/// The largest input magnitude the chain takes for signal: 2^20, about
/// +120 dBFS. No real signal comes near it, and a stray sample beyond it (a
/// host's 1e30) would ring for seconds in the sections' slow poles; such a
/// sample is taken for a NaN instead, which the chain already forgets at
/// once (the oversampling filters flush it, each section restarts from rest).
constexpr double kLargestInput = 0x1p20;

/// [any] `x` when |x| ≤ kLargestInput, else a NaN (a NaN stays one).
inline double SaneInput(double x) noexcept
{
    return x <= kLargestInput && x >= -kLargestInput ? x : std::numeric_limits<double>::quiet_NaN();
}
