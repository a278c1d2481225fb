// SPDX-License-Identifier: GPL-3.0-or-later
// The oversampled loop and the section coefficients on four lanes in two NEON
// registers, the baseline of every AArch64 processor.
#include "effect/CoefficientKernel.h"
#include "effect/F64x4Pair.h"
#include "effect/OversamplingKernel.h"

const ChainKernels kNeonChainKernels = {oversample<F64x4Pair>, shapeAll<F64x4Pair>, computeCoefficients<F64x4Pair>};
