// SPDX-License-Identifier: GPL-3.0-or-later
// The oversampled loop and the section coefficients on four lanes in one AVX
// register. This file alone is compiled for AVX (never contracting into fused
// multiply-adds); it is reached only where the processor has AVX.
#include "effect/CoefficientKernel.h"
#include "effect/F64x4Avx.h"
#include "effect/OversamplingKernel.h"

const ChainKernels kAvxChainKernels = {oversample<F64x4Avx>, shapeAll<F64x4Avx>, computeCoefficients<F64x4Avx>};
