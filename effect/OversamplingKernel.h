// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The oversampled loop, written once over a four-lane type V and compiled
// once per instruction set. Each path's file includes this with its own lane
// type and compiler flags; everything here lives in an unnamed namespace so
// that no function compiled for a wider set can stand in for another file's.

#include "effect/ChainKernels.h"
#include "effect/InputLimit.h"

#include <utility>

namespace {

constexpr int kTaps = OversamplingState::kTaps;
constexpr int kChunk = OversamplingState::kChunk;

inline int smaller(int a, int b) { return a < b ? a : b; }
inline int larger(int a, int b) { return a > b ? a : b; }
inline double magnitude(double v) { return v < 0.0 ? -v : v; }

// g, then the feedback taps oldest first (c10 … c1), in every lane.
template <class V>
struct Taps {
    V gain;
    V oldestFirst[kTaps];

    explicit Taps(const OversamplingDesign& design)
        : gain(V(design.gain))
    {
        for (int i = 0; i < kTaps; ++i)
            oldestFirst[i] = V(design.feedback[kTaps - 1 - i]);
    }
};

// Steps 0 … count − 1 of a chunk in all four lanes:
// y = flush(g·x + c10·y10 + c9·y9 + … + c1·y1), summed in that order.
// y1 is the previous step's flushed sum; c1·y1 is formed from the unflushed
// sum and then cleared where the flush clears, which gives the same bits
// (c1·0 is +0 and adds as +0 to the rest) while the flush test runs beside
// the multiplication instead of before it on the step-to-step path.
// No sum can overflow: inputs are at most 10·2^20 in magnitude (or NaN, which
// the flush test clears like a tiny value), and the filter is stable.
// The ten past outputs live in registers: slot j of the window holds the
// output of the last step whose number is j modulo ten. Step i reads its
// oldest output from slot i mod 10 and then overwrites it with its own, so
// with i known at compile time no value ever moves.
template <class V>
struct StepWindow {
    const Taps<V>& taps;
    OversamplingState& state;
    const V tiny = V(0x1p-54);
    V window[kTaps];
    V newest;
    typename V::Mask kept = V::allKept();

    StepWindow(const Taps<V>& t, OversamplingState& s) : taps(t), state(s)
    {
        for (int j = 0; j < kTaps; ++j)
            window[j] = V::load(state.history[j]);
        newest = window[kTaps - 1];
    }

    template <int J>
    void step(int i) noexcept
    {
        V sum = taps.gain * V::load(state.input[i]) + taps.oldestFirst[0] * window[J];
        for (int k = 1; k < kTaps - 1; ++k)
            sum = sum + taps.oldestFirst[k] * window[(J + k) % kTaps];
        sum = sum + V::keep(taps.oldestFirst[kTaps - 1] * newest, kept);
        kept = sum.flushMask(tiny);
        window[J] = V::keep(sum, kept);
        window[J].store(state.history[i + kTaps]);
        newest = sum;
    }

    template <int... J>
    void tenSteps(int i, std::integer_sequence<int, J...>) noexcept
    {
        (step<J>(i + J), ...);
    }

    // Steps first … first + n − 1, n < 10, first a multiple of ten.
    template <int... J>
    void fewSteps(int first, int n, std::integer_sequence<int, J...>) noexcept
    {
        ((J < n ? step<J>(first + J) : void()), ...);
    }
};

// Steps 0 … count − 1 of a chunk in all four lanes, as StepWindow describes.
template <class V>
void runSteps(OversamplingState& state, const Taps<V>& taps, int count) noexcept
{
    StepWindow<V> steps(taps, state);
    const auto ten = std::make_integer_sequence<int, kTaps>();
    int i = 0;
    for (; i + kTaps <= count; i += kTaps)
        steps.tenSteps(i, ten);
    steps.fewSteps(i, count - i, ten);
}

// Chunk c's up filter steps together with chunk c − 1's down filter; the
// first pass of a call has no down steps and the last no up steps (their
// lanes then compute values nobody reads). Between passes the shaper turns
// the up outputs into the next pass's down inputs, and the last ten outputs
// of each filter move to the front.
template <class V>
void oversample(OversamplingState& state, const OversamplingJob& job) noexcept
{
    const Taps<V> taps(*job.design);
    const int factor = job.factor;
    const int total = job.frames * factor;
    // The first pass has no down steps and the last no up steps: at most 16
    // frames per chunk, and a quarter of a short call, keep the work spent on
    // idle lanes small, while long chunks spread the cost of a pass.
    const int chunkFrames = smaller(kChunk / factor, smaller(16, larger(1, job.frames / 4)));
    const int chunk = chunkFrames * factor;
    constexpr double kDrive = 10.0; // 10^1, exact
    // Only every factor-th input slot ever holds a sample; the stuffed zeros
    // between them stay written until the factor changes.
    if (state.stuffedFactor != factor) {
        for (double(&slot)[4] : state.input)
            slot[0] = slot[1] = 0.0;
        state.stuffedFactor = factor;
    }
    int down = 0, downFrame0 = 0;
    for (int position = 0;;) {
        const int up = smaller(chunk, total - position);
        const int frame0 = position / factor;
        const int steps = larger(up, down);
        for (int t = 0; t < up / factor; ++t) {
            state.input[t * factor][0] = kDrive * SaneInput(job.inL[frame0 + t]);
            state.input[t * factor][1] = kDrive * SaneInput(job.inR[frame0 + t]);
        }
        runSteps<V>(state, taps, steps);

        // The down filter's output for the first sub-sample of each frame.
        for (int t = 0; t < down / factor; ++t) {
            job.decimated[downFrame0 + t][0] = state.history[t * factor + kTaps][2];
            job.decimated[downFrame0 + t][1] = state.history[t * factor + kTaps][3];
        }
        for (int i = 0; i < up; i += 2) {
            const V shaped = V::halves(state.history[i + kTaps], state.history[i + 1 + kTaps]).shape(factor);
            shaped.storeHalves(state.input[i] + 2, state.input[i + 1] + 2);
        }
        if (up == down) {
            for (int i = 0; i < kTaps; ++i)
                V::load(state.history[up + i]).store(state.history[i]);
        } else {
            for (int i = 0; i < kTaps; ++i) {
                state.history[i][0] = state.history[up + i][0];
                state.history[i][1] = state.history[up + i][1];
                state.history[i][2] = state.history[down + i][2];
                state.history[i][3] = state.history[down + i][3];
            }
        }
        if (up == 0)
            break;
        down = up;
        downFrame0 = frame0;
        position += up;
    }
}

template <class V>
void shapeAll(const double* in, double* out, int count, int factor) noexcept
{
    for (int i = 0; i + 1 < count; i += 2) {
        alignas(32) double pair[2][2] = {{in[i], in[i + 1]}, {0.0, 0.0}};
        alignas(32) double result[2][2];
        V::halves(pair[0], pair[1]).shape(factor).storeHalves(result[0], result[1]);
        out[i] = result[0][0];
        out[i + 1] = result[0][1];
    }
}

} // namespace
