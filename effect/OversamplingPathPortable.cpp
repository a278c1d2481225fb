// SPDX-License-Identifier: GPL-3.0-or-later
// The oversampled loop on four lanes in plain scalar code, for any processor.
#include "effect/F64x4Portable.h"
#include "effect/OversamplingKernel.h"

const OversamplingKernels kPortableOversampling = {oversample<F64x4Portable>, shapeAll<F64x4Portable>};
