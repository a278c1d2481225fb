// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/ChainPath.h"
#include "effect/OversamplingDesign.h"

struct CoefficientRun;
struct SectionPositions;
struct SectionScales;

/// What the oversampled path keeps between calls, laid out for four lanes:
/// in every slot, lanes 0 and 1 belong to the up filter (left, right) and
/// lanes 2 and 3 to the down filter, which runs one chunk behind the up
/// filter so that both step together.
struct OversamplingState {
    static constexpr int kTaps = OversamplingDesign::kTaps;
    /// Most sub-samples per chunk: a multiple of both factors.
    static constexpr int kChunk = 128;

    /// Step i of a chunk reads its ten past outputs from slots i … i+9 and
    /// writes slot i+10, so no history is ever shifted within a chunk.
    alignas(32) double history[kTaps + kChunk][4] = {};
    /// Step i's input: the zero-stuffed, driven input sample in lanes 0 and
    /// 1, the shaped output of the previous chunk's step i in lanes 2 and 3.
    alignas(32) double input[kChunk][4] = {};
    /// The factor whose stuffed zeros lanes 0 and 1 of `input` hold.
    int stuffedFactor = 0;
};

/// One call of the oversampled path over `frames` base samples of both
/// channels. [audio] Value type; borrows the arrays.
struct OversamplingJob {
    const double* inL;
    const double* inR;
    int frames;
    int factor; ///< 4 or 16
    const OversamplingDesign* design;
    double (*decimated)[2]; ///< out: `frames` pairs, left then right
};

/// The entry points of one instruction-set path. Every path computes the
/// same bits; they differ only in how many lanes one instruction carries.
struct ChainKernels {
    /// [audio] Runs `job`: up filter, shaper and down filter over all its
    /// sub-samples, and writes the decimated results.
    void (*oversample)(OversamplingState& state, const OversamplingJob& job) noexcept;
    /// [any] out[i] = shaper(factor·in[i]) for i < count (count even).
    void (*shape)(const double* in, double* out, int count, int factor) noexcept;
    /// [audio] Coefficient sets 0 … count − 1 of `out` (count ≤
    /// CoefficientRun::kLength) for the positions of those samples.
    void (*coefficients)(const SectionPositions* positions, int count, const SectionScales& scales,
                         CoefficientRun& out) noexcept;
};

/// [any] The paths. The SSE2 and AVX ones exist only in x86-64 builds that
/// have them (KELDRA_SSE2_PATH, KELDRA_AVX_PATH), and the AVX one may only
/// run where the processor has AVX; the NEON one only in AArch64 builds
/// (KELDRA_NEON_PATH). Use ChainKernelsFor rather than naming one.
extern const ChainKernels kPortableChainKernels;
extern const ChainKernels kSse2ChainKernels;
extern const ChainKernels kAvxChainKernels;
extern const ChainKernels kNeonChainKernels;

/// [any] The entry points of `path`, which must be one CanRunChainPath allows.
const ChainKernels& ChainKernelsFor(ChainPath path) noexcept;
