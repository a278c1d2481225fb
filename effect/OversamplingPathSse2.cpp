// SPDX-License-Identifier: GPL-3.0-or-later
// The oversampled loop on four lanes in two SSE2 registers, the baseline of
// every x86-64 processor.
#include "effect/F64x4Sse2.h"
#include "effect/OversamplingKernel.h"

const OversamplingKernels kSse2Oversampling = {oversample<F64x4Sse2>, shapeAll<F64x4Sse2>};
