// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The section coefficients of a run of samples, written once over a
// four-lane type V that carries two samples (left and right of each) and
// compiled once per instruction set, like OversamplingKernel.h and for the
// same reasons: everything lives in an unnamed namespace, and the results
// leave through memcpy, never through a shared inline function.

#include "effect/ChainKernels.h"
#include "effect/CoefficientRun.h"

#include <cstring>

namespace {

// Lanes 0, 1 of every coefficient into sample k's set, lanes 2, 3 into
// sample `next`'s (the same sample when the run has no partner for k).
template <class V, int Order>
void storePair(const SectionCoefficients<Order, V>& c, SectionCoefficients<Order>* out, int k, int next) noexcept
{
    for (int i = 0; i <= Order; ++i) {
        alignas(32) double lanes[2][2][2];
        c.a[i].storeHalves(lanes[0][0], lanes[0][1]);
        c.b[i].storeHalves(lanes[1][0], lanes[1][1]);
        std::memcpy(&out[next].a[i], lanes[0][1], sizeof lanes[0][1]);
        std::memcpy(&out[next].b[i], lanes[1][1], sizeof lanes[1][1]);
        std::memcpy(&out[k].a[i], lanes[0][0], sizeof lanes[0][0]);
        std::memcpy(&out[k].b[i], lanes[1][0], sizeof lanes[1][0]);
    }
}

template <class V>
void computeCoefficients(const SectionPositions* positions, int count, const SectionScales& scalesOfBlock,
                         CoefficientRun& out) noexcept
{
    // A local copy: the stores into `out` cannot alias it, so the products
    // of constants and scales are formed once, not once per pair.
    const SectionScales scales = scalesOfBlock;
    for (int k = 0; k < count; k += 2) {
        const int next = k + 1 < count ? k + 1 : k;
        const SectionPositions& p = positions[k];
        const SectionPositions& q = positions[next];
        // Each register below holds one smoother pair's step for both
        // samples; evens and odds sort them into (left, right, left, right).
        const V one(1.0);
        const V bandsLeft = V::halves(p.bands[0], q.bands[0]);
        const V bandsRight = V::halves(p.bands[1], q.bands[1]);
        const V pass1 = V::halves(p.passes[0], q.passes[0]);
        const V pass2 = V::halves(p.passes[1], q.passes[1]);
        const V pass3 = V::halves(p.passes[2], q.passes[2]);
        const V pass4 = V::halves(p.passes[3], q.passes[3]);
        storePair(HighShelfSection::coefficients(one - V::evens(bandsLeft, bandsRight), scales.highShelf),
                  out.highShelf, k, next);
        // High-pass: u = 1 − f2, v = 1 − f1 (left), 1 − f4 and 1 − f3 (right).
        storePair(HighPassSection::coefficients(one - V::evens(pass2, pass4), one - V::evens(pass1, pass3),
                                                scales.highPass),
                  out.highPass, k, next);
        // Low-pass: u = g2, v = g1 (left), g4 and g3 (right).
        storePair(LowPassSection::coefficients(V::odds(pass2, pass4), V::odds(pass1, pass3), scales.lowPass),
                  out.lowPass, k, next);
        storePair(MidBellSection::coefficients(one - V::odds(bandsLeft, bandsRight), scales.midBell), out.midBell,
                  k, next);
        storePair(LowShelfSection::coefficients(one - V::halves(p.lowShelf, q.lowShelf), scales.lowShelf),
                  out.lowShelf, k, next);
    }
}

} // namespace
