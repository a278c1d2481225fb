// SPDX-License-Identifier: GPL-3.0-or-later
#include "AllocationCounter.h"
#include "RecordingEffect.h"

#include <gtest/gtest.h>

TEST(AudioPath, BlockOperationsAndPresetRestoreDoNotAllocate)
{
    RecordingEffect effect(8, "1-1 2-2");
    for (int i = 0; i < 8; ++i) {
        effect.GetParam(i)->DefineContinuous("p", 0.25, 0.0, 1.0, 0.01);
    }
    effect.InitDefaultPresets("-");
    effect.SetMaxBlockSize(64);
    effect.changed.reserve(64);
    effect.settledAtChange.reserve(64);
    effect.wholeSetAtChange.reserve(64);

    float in32[2][64] = {};
    float out32[2][64] = {};
    const float* inputs32[] = {in32[0], in32[1]};
    float* outputs32[] = {out32[0], out32[1]};
    double in64[2][64] = {};
    double out64[2][64] = {};
    double* inputs64[] = {in64[0], in64[1]};
    double* outputs64[] = {out64[0], out64[1]};

    AllocationCounter counter;
    effect.SetInputsConnected(0, 2, true);
    effect.SetOutputsConnected(0, 2, true);
    effect.BindInputs32(0, 2, inputs32, 64);
    effect.BindOutputs32(0, 2, outputs32);
    effect.ProcessBlock(effect.GetInputData(), effect.GetOutputData(), 64);
    effect.ConvertOutputs32(64);
    effect.BindInputs64(0, 2, inputs64);
    effect.BindOutputs64(0, 2, outputs64);
    effect.PassThrough(64);
    effect.ClearScratchBuffers();
    effect.GetParam(3)->SetFromNormalized(0.9);
    effect.OnParamChanged(3);
    // A program change from the process call, applied by the next part.
    const bool restored = effect.QueueProgramChange(0) && effect.TakeWholeSet();
    const long allocations = counter.Count();

    EXPECT_TRUE(restored);
    EXPECT_EQ(effect.GetParam(3)->Value(), 0.25);
    EXPECT_EQ(allocations, 0);
}
