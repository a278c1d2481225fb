// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingEditor.h"
#include "RecordingEffect.h"

#include "framework/FourCharCode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

std::vector<std::pair<int, int>> Pairs(const IEffectBase& effect)
{
    std::vector<std::pair<int, int>> pairs;
    for (const IChannelIOPair& pair : effect.GetChannelIOPairs()) {
        pairs.emplace_back(pair.inputs, pair.outputs);
    }
    return pairs;
}

}  // namespace

TEST(EffectBase, ConstructionStartsFromTheInitialValues)
{
    RecordingEffect effect(3, "1-1 2-2", 2);
    EXPECT_EQ(effect.GetHostId(), -1);
    EXPECT_EQ(effect.GetHostVersion(), 0);
    EXPECT_EQ(effect.GetApiId(), 1);
    EXPECT_EQ(effect.GetSampleRate(), 44100.0);
    EXPECT_EQ(effect.GetBlockSize(), 0);
    EXPECT_EQ(effect.GetLatency(), 0);
    EXPECT_FALSE(effect.IsBypassed());
    EXPECT_EQ(effect.GetEditor(), nullptr);

    ASSERT_EQ(effect.GetParamCount(), 3);
    EXPECT_EQ(effect.GetParam(2)->Kind(), IParamRecord::kKindUnset);
    ASSERT_EQ(effect.GetPresetCount(), 2);
    EXPECT_STREQ(effect.GetPreset(1)->Name(), "empty");
    EXPECT_FALSE(effect.GetPreset(1)->IsInitialized());
    EXPECT_EQ(effect.GetPreset(1)->Chunk().Size(), 0);
}

TEST(EffectBase, FourCharCodesPackTheFirstCharacterHighest)
{
    EXPECT_EQ(MakeFourCharCode("Kld1"), 0x4B6C6431);
    EXPECT_EQ(MakeFourCharCode("prst"), 0x70727374);
}

TEST(EffectBase, ParsesChannelConfigurations)
{
    RecordingEffect standard(0, "1-1 2-2");
    EXPECT_EQ(Pairs(standard), (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}}));
    EXPECT_EQ(standard.GetInputCount(), 2);
    EXPECT_EQ(standard.GetOutputCount(), 2);

    RecordingEffect single(0, "2-2");
    EXPECT_EQ(Pairs(single), (std::vector<std::pair<int, int>>{{2, 2}}));

    RecordingEffect trailingBlank(0, "2-2 ");
    EXPECT_EQ(Pairs(trailingBlank), (std::vector<std::pair<int, int>>{{2, 2}, {0, 0}}));

    RecordingEffect uneven(0, "1-2 3-1");
    EXPECT_EQ(uneven.GetInputCount(), 3);
    EXPECT_EQ(uneven.GetOutputCount(), 2);

    RecordingEffect none(0, "0-2");
    EXPECT_EQ(none.GetInputData(), nullptr);
    EXPECT_NE(none.GetOutputData(), nullptr);
}

TEST(EffectBase, LegalIOMatchesAPairWithNegativeCountsAsWildcards)
{
    RecordingEffect effect(0, "1-1 2-2");
    EXPECT_TRUE(effect.LegalIO(2, 2));
    EXPECT_TRUE(effect.LegalIO(1, 1));
    EXPECT_FALSE(effect.LegalIO(1, 2));
    EXPECT_FALSE(effect.LegalIO(2, 1));
    EXPECT_TRUE(effect.LegalIO(-1, 2));
    EXPECT_TRUE(effect.LegalIO(1, -1));
    EXPECT_FALSE(effect.LegalIO(-1, 3));
}

TEST(EffectBase, ChannelsStartDisconnectedAndPointAtTheirScratch)
{
    RecordingEffect effect(0, "1-1 2-2");
    effect.SetMaxBlockSize(16);
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(effect.GetInputChannel(i).connected);
        EXPECT_EQ(effect.GetInputChannel(i).slot, &effect.GetInputData()[i]);
        EXPECT_EQ(effect.GetInputData()[i], effect.GetInputChannel(i).scratch.data());
        EXPECT_EQ(effect.GetOutputData()[i], effect.GetOutputChannel(i).scratch.data());
        EXPECT_EQ(effect.GetOutputChannel(i).scratch.size(), 16u);
    }
}

TEST(EffectBase, BindInputs32SkipsDisconnectedChannelsWithoutConsumingAHostArray)
{
    RecordingEffect effect(0, "1-1 2-2");
    effect.SetMaxBlockSize(4);
    effect.SetInputsConnected(0, 1, true);
    effect.SetInputsConnected(1, 5, false);  // a count past the end is cut

    const float first[4] = {0.5f, -0.25f, 1.0f, 0.125f};
    const float second[4] = {9.0f, 9.0f, 9.0f, 9.0f};
    const float* host[] = {first, second};
    effect.BindInputs32(0, 2, host, 4);

    const IInputChannel& in0 = effect.GetInputChannel(0);
    const IInputChannel& in1 = effect.GetInputChannel(1);
    EXPECT_EQ(effect.GetInputData()[0], in0.scratch.data());
    EXPECT_EQ(in0.scratch, (std::vector<double>{0.5, -0.25, 1.0, 0.125}));
    EXPECT_EQ(effect.GetInputData()[1], in1.scratch.data());
    EXPECT_EQ(in1.scratch, (std::vector<double>{0.0, 0.0, 0.0, 0.0}));

    // With channel 0 disconnected, channel 1 takes the first host array.
    effect.SetInputsConnected(0, 1, false);
    effect.SetInputsConnected(1, 1, true);
    effect.BindInputs32(0, 2, host, 4);
    EXPECT_EQ(in1.scratch, (std::vector<double>{0.5, -0.25, 1.0, 0.125}));
}

TEST(EffectBase, BindInputs32NeverWritesPastTheScratch)
{
    RecordingEffect effect(0, "1-1");
    effect.SetMaxBlockSize(2);
    effect.SetInputsConnected(0, 1, true);
    const float samples[4] = {1.0f, 2.0f, 3.0f, 4.0f};
    const float* host[] = {samples};
    effect.BindInputs32(0, 1, host, 4);
    EXPECT_EQ(effect.GetInputChannel(0).scratch, (std::vector<double>{1.0, 2.0}));
}

TEST(EffectBase, SixtyFourBitBuffersAreUsedInPlace)
{
    RecordingEffect effect(0, "2-2");
    effect.SetMaxBlockSize(4);
    effect.SetInputsConnected(0, 2, true);
    effect.SetOutputsConnected(0, 2, true);
    double in0[4] = {}, in1[4] = {}, out0[4] = {}, out1[4] = {};
    double* inputs[] = {in0, in1};
    double* outputs[] = {out0, out1};
    float stale[4] = {7.0f, 7.0f, 7.0f, 7.0f};
    float* staleOutputs[] = {stale, stale};
    effect.BindOutputs32(0, 2, staleOutputs);  // an earlier 32-bit block

    effect.BindInputs64(0, 2, inputs);
    effect.BindOutputs64(0, 2, outputs);
    EXPECT_EQ(effect.GetInputData()[1], in1);
    EXPECT_EQ(effect.GetOutputData()[0], out0);
    effect.GetOutputData()[0][0] = 0.5;
    effect.ConvertOutputs32(4);  // must not write into the earlier block's arrays
    EXPECT_EQ(stale[0], 7.0f);
}

TEST(EffectBase, ThirtyTwoBitOutputsAreConvertedBackOnlyForConnectedChannels)
{
    RecordingEffect effect(0, "2-2");
    effect.SetMaxBlockSize(3);
    effect.SetOutputsConnected(0, 2, true);
    float out0[3] = {7.0f, 7.0f, 7.0f};
    float out1[3] = {7.0f, 7.0f, 7.0f};
    float* host[] = {out0, out1};
    effect.BindOutputs32(0, 2, host);
    ASSERT_EQ(effect.GetOutputChannel(1).destination32, out1);

    effect.GetOutputData()[0][1] = 0.5;
    effect.GetOutputData()[1][2] = -0.75;
    effect.SetOutputsConnected(1, 1, false);
    effect.ConvertOutputs32(3);
    EXPECT_EQ(out0[0], 0.0f);
    EXPECT_EQ(out0[1], 0.5f);
    EXPECT_EQ(out1[2], 7.0f);  // disconnected: the host array is untouched
}

TEST(EffectBase, PassThroughCopiesEachInputAndSilencesOutputsWithoutOne)
{
    RecordingEffect stereo(0, "2-2");
    stereo.SetMaxBlockSize(3);
    stereo.SetInputsConnected(0, 2, true);
    stereo.SetOutputsConnected(0, 2, true);
    double in0[3] = {0.1, 1e-300, -0.3}, in1[3] = {4.0, -5.0, 6.5};
    double out0[3] = {}, out1[3] = {};
    double* inputs[] = {in0, in1};
    double* outputs[] = {out0, out1};
    stereo.BindInputs64(0, 2, inputs);
    stereo.BindOutputs64(0, 2, outputs);
    stereo.PassThrough(3);
    for (int f = 0; f < 3; ++f) {
        EXPECT_EQ(out0[f], in0[f]);
        EXPECT_EQ(out1[f], in1[f]);
    }

    RecordingEffect widen(0, "1-2");
    widen.SetMaxBlockSize(3);
    widen.SetInputsConnected(0, 1, true);
    widen.SetOutputsConnected(0, 2, true);
    double extra[3] = {8.0, 8.0, 8.0};
    double* wideOutputs[] = {out0, extra};
    widen.BindInputs64(0, 1, inputs);
    widen.BindOutputs64(0, 2, wideOutputs);
    widen.PassThrough(3);
    EXPECT_EQ(out0[2], -0.3);
    EXPECT_EQ(extra[0], 0.0);
    EXPECT_EQ(extra[2], 0.0);

    // The default block processing behaves the same, also in place.
    double* inPlace[] = {in0};
    double* twoOut[] = {in0, extra};
    extra[1] = 3.0;
    widen.ProcessBlock(inPlace, twoOut, 3);
    EXPECT_EQ(in0[0], 0.1);
    EXPECT_EQ(extra[1], 0.0);
}

TEST(EffectBase, NewBlockSizeZeroesScratchAndKeepsDisconnectedSlotsValid)
{
    RecordingEffect effect(0, "2-2");
    effect.SetMaxBlockSize(4);
    effect.GetInputData()[0][3] = 5.0;
    effect.SetMaxBlockSize(64);
    const IInputChannel& in0 = effect.GetInputChannel(0);
    ASSERT_EQ(in0.scratch.size(), 64u);
    EXPECT_EQ(in0.scratch[3], 0.0);
    EXPECT_EQ(effect.GetInputData()[0], in0.scratch.data());
    EXPECT_EQ(effect.GetOutputData()[1], effect.GetOutputChannel(1).scratch.data());
    EXPECT_EQ(effect.GetBlockSize(), 64);

    effect.GetOutputData()[1][63] = 2.0;
    effect.ClearScratchBuffers();
    EXPECT_EQ(effect.GetOutputChannel(1).scratch[63], 0.0);
}

TEST(EffectBase, EditorChangesStoreReportAndNotifyInOrder)
{
    RecordingEffect effect(2, "2-2");
    effect.GetParam(1)->DefineContinuous("p", 0.0, -10.0, 10.0, 0.01);
    effect.SetParamFromEditor(1, 0.75);
    EXPECT_EQ(effect.GetParam(1)->Value(), 5.0);
    ASSERT_EQ(effect.reported.size(), 1u);
    EXPECT_EQ(effect.reported[0], std::make_pair(1, 0.75));
    EXPECT_EQ(effect.changed, std::vector<int>{1});
    EXPECT_EQ(effect.valueAtLastChange, 5.0);  // stored before the effect hears of it

    effect.SetParamFromEditor(2, 0.5);  // no such parameter
    effect.SetParamFromEditor(-1, 0.5);
    effect.SetParamFromEditor(1, std::nan(""));
    EXPECT_EQ(effect.reported.size(), 1u);
    EXPECT_EQ(effect.changed.size(), 1u);
    EXPECT_EQ(effect.GetParam(1)->Value(), 5.0);

    // The host only ever hears values within 0..1.
    effect.SetParamFromEditor(1, 1.5);
    ASSERT_EQ(effect.reported.size(), 2u);
    EXPECT_EQ(effect.reported[1], std::make_pair(1, 1.0));
    EXPECT_EQ(effect.GetParam(1)->Value(), 10.0);
}

TEST(EffectBase, AttachingAnEditorDeliversNormalizedValuesBeforeItsSurface)
{
    RecordingEffect effect(2, "2-2");
    effect.GetParam(0)->DefineContinuous("a", 5.0, -10.0, 10.0, 0.01);
    effect.GetParam(1)->DefineContinuous("b", 0.5, 0.0, 1.0, 0.01);

    effect.AttachEditor(nullptr);
    EXPECT_EQ(effect.GetEditor(), nullptr);
    effect.RefreshEditorControls();  // nothing attached: nothing happens

    EditorLog log;
    auto editor = std::make_unique<RecordingEditor>(log);
    IEditorContext* raw = editor.get();
    effect.AttachEditor(std::move(editor));
    EXPECT_EQ(effect.GetEditor(), raw);
    EXPECT_EQ(log.surfacesPrepared, 1);
    ASSERT_EQ(log.deliveries.size(), 2u);
    EXPECT_EQ(log.deliveries[0].paramIdx, 0);
    EXPECT_EQ(log.deliveries[0].value, 0.75);
    EXPECT_TRUE(log.deliveries[0].isNormalized);
    EXPECT_TRUE(log.deliveries[1].beforeSurface);

    log.deliveries.clear();
    effect.RefreshEditorControls();
    ASSERT_EQ(log.deliveries.size(), 2u);
    EXPECT_EQ(log.deliveries[0].value, 5.0);
    EXPECT_FALSE(log.deliveries[0].isNormalized);
}

TEST(EffectBase, DestructionDeletesTheAttachedEditor)
{
    EditorLog log;
    {
        RecordingEffect effect(1, "2-2");
        effect.AttachEditor(std::make_unique<RecordingEditor>(log));
        EXPECT_FALSE(log.destroyed);
    }
    EXPECT_TRUE(log.destroyed);
}

TEST(EffectBase, StateEqualsComparesAbsoluteDifferencesInSinglePrecision)
{
    RecordingEffect effect(2, "2-2");
    effect.GetParam(0)->DefineContinuous("a", 1.0, -10.0, 10.0, 0.01);
    effect.GetParam(1)->DefineContinuous("b", 2.0, -10.0, 10.0, 0.01);
    const double close[] = {99.0, 1.000001, 1.999999};
    EXPECT_TRUE(effect.StateEquals(close, 1));
    const double above[] = {1.0, 2.001};
    EXPECT_FALSE(effect.StateEquals(above, 0));
    const double below[] = {1.0, 1.999};
    EXPECT_FALSE(effect.StateEquals(below, 0));
    const double nan[] = {1.0, std::nan("")};
    EXPECT_FALSE(effect.StateEquals(nan, 0));
}
