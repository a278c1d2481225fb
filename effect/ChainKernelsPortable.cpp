// SPDX-License-Identifier: GPL-3.0-or-later
// The oversampled loop and the section coefficients on four lanes in plain
// scalar code, for any processor.
#include "effect/CoefficientKernel.h"
#include "effect/F64x4Portable.h"
#include "effect/OversamplingKernel.h"

const ChainKernels kPortableChainKernels = {oversample<F64x4Portable>, shapeAll<F64x4Portable>,
                                            computeCoefficients<F64x4Portable>};
