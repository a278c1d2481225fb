// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingEditor.h"
#include "RecordingEffect.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace {

// Eight parameters shaped like a tone effect's: a few ranges, one stepped.
class StateFixture : public ::testing::Test {
protected:
    StateFixture() : effect(8, "1-1 2-2", 2)
    {
        effect.GetParam(0)->DefineContinuous("OUT", 0.0, -15.0, 15.0, 0.01);
        for (int i = 1; i < 6; ++i) {
            effect.GetParam(i)->DefineContinuous("tone", 0.5, 0.0, 1.0, 0.01);
        }
        effect.GetParam(6)->SetKind(IParamRecord::kKindInteger);
        effect.GetParam(6)->DefineContinuous("Bypass", 0.0, 0.0, 1.0, 1.0);
        // Parameter 7 keeps its initial state: range 0..1, value 0.
    }

    void SetValues(const std::vector<double>& values)
    {
        for (std::size_t i = 0; i < values.size(); ++i) {
            effect.GetParam(static_cast<int>(i))->SetPlain(values[i]);
        }
    }

    std::vector<double> Values() const
    {
        std::vector<double> values;
        for (int i = 0; i < effect.GetParamCount(); ++i) {
            values.push_back(effect.GetParam(i)->Value());
        }
        return values;
    }

    static void PutAll(IStateChunk& chunk, const std::vector<double>& values)
    {
        for (double value : values) {
            chunk.PutValue(value);
        }
    }

    const std::vector<int> kEveryIndex{0, 1, 2, 3, 4, 5, 6, 7};
    EditorLog log;  // declared first: it outlives the effect, whose editor writes to it
    RecordingEffect effect;
};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST_F(StateFixture, SerialisedParametersRoundTripBitForBit)
{
    const std::vector<double> values = {-14.99, 0.1, 1.0 / 3.0, 0.0, 0.7071067811865476, 1e-9, 1.0, 1.0};
    SetValues(values);
    IStateChunk chunk;
    ASSERT_TRUE(effect.SaveState(chunk));
    ASSERT_EQ(chunk.Size(), 64);
    EXPECT_EQ(std::memcmp(chunk.Data(), values.data(), 64), 0);

    SetValues({0, 0, 0, 0, 0, 0, 0, 0});
    effect.changed.clear();
    EXPECT_EQ(effect.LoadState(chunk, 0), 64);
    const std::vector<double> restored = Values();
    EXPECT_EQ(std::memcmp(restored.data(), values.data(), 64), 0);
    EXPECT_EQ(effect.changed, kEveryIndex);
    // Every value was in place before the first notification.
    EXPECT_EQ(effect.lastValueAtFirstChange, values.back());
}

TEST_F(StateFixture, ShortDataRestoresWhatIsThereZeroesTheFirstMissingValueAndKeepsTheRest)
{
    const std::vector<double> before = {1, 0.2, 0.3, 0.4, 0.6, 0.7, 1, 1};
    const struct {
        std::vector<double> stored;
        bool halfValueAfter;  // four stray bytes: 7 values make 60 bytes
        std::vector<double> expected;
    } cases[] = {
        {{-3, 0.11, 0.12, 0.13, 0.14, 0.15, 0}, true, {-3, 0.11, 0.12, 0.13, 0.14, 0.15, 0, 0}},
        {{-3, 0.25}, false, {-3, 0.25, 0, 0.4, 0.6, 0.7, 1, 1}},
        {{}, false, {0, 0.2, 0.3, 0.4, 0.6, 0.7, 1, 1}},
    };
    for (const auto& c : cases) {
        SetValues(before);
        effect.changed.clear();
        IStateChunk chunk;
        PutAll(chunk, c.stored);
        if (c.halfValueAfter) {
            chunk.PutValue(std::int32_t{0x7FF00000});
        }
        SCOPED_TRACE(chunk.Size());
        EXPECT_EQ(effect.UnserializeParams(chunk, 0), -1);
        EXPECT_EQ(Values(), c.expected);
        EXPECT_EQ(effect.changed, kEveryIndex);
    }
}

TEST_F(StateFixture, RestoringFromTheTrailingBypassFlagReadsNothing)
{
    SetValues({5, 0.2, 0.3, 0.4, 0.6, 0.7, 1, 1});
    IStateChunk chunk;
    PutAll(chunk, {1, 1, 1, 1, 1, 1, 1, 1});
    chunk.PutValue(std::int32_t{1});
    ASSERT_EQ(chunk.Size(), 68);

    EXPECT_EQ(effect.UnserializeParams(chunk, 64), -1);
    EXPECT_EQ(Values(), (std::vector<double>{0, 0.2, 0.3, 0.4, 0.6, 0.7, 1, 1}));
    EXPECT_EQ(effect.changed, kEveryIndex);

    // From the start, the surplus flag is left unread.
    EXPECT_EQ(effect.UnserializeParams(chunk, 0), 64);
}

TEST_F(StateFixture, OutOfRangeValuesAreClampedAndNonFiniteOnesIgnored)
{
    SetValues({2, 0.2, 0.3, 0.4, 0.6, 0.7, 1, 1});
    IStateChunk chunk;
    PutAll(chunk, {99.0, kNaN, kInf, -kInf, -1.0, 0.5, 7.0, 0.0});
    EXPECT_EQ(effect.UnserializeParams(chunk, 0), 64);
    EXPECT_EQ(Values(), (std::vector<double>{15, 0.2, 0.3, 0.4, 0.0, 0.5, 1, 0}));
    EXPECT_EQ(effect.changed, kEveryIndex);
}

TEST_F(StateFixture, SteppedValuesBetweenStepsAreSnappedOnRestore)
{
    IStateChunk chunk;
    PutAll(chunk, {0.0, 0.5, 0.5, 0.5, 0.5, 0.5, 0.37, 0.5});
    EXPECT_EQ(effect.UnserializeParams(chunk, 0), 64);
    EXPECT_EQ(Values(), (std::vector<double>{0, 0.5, 0.5, 0.5, 0.5, 0.5, 0, 1}));

    IStateChunk nearTop;
    PutAll(nearTop, {0.0, 0.5, 0.5, 0.5, 0.5, 0.5, 0.62, 0.49});
    effect.UnserializeParams(nearTop, 0);
    EXPECT_EQ(effect.GetParam(6)->Value(), 1.0);
    EXPECT_EQ(effect.GetParam(7)->Value(), 0.0);
}

TEST_F(StateFixture, DefaultPresetHoldsTheValuesAtItsCreation)
{
    effect.InitDefaultPresets("-");
    const IPresetSlot& preset = *effect.GetPreset(0);
    EXPECT_TRUE(preset.IsInitialized());
    EXPECT_STREQ(preset.Name(), "-");
    EXPECT_EQ(preset.Chunk().Size(), 64);
    EXPECT_FALSE(effect.GetPreset(1)->IsInitialized());

    SetValues({9, 0.9, 0.9, 0.9, 0.9, 0.9, 1, 1});
    effect.changed.clear();
    ASSERT_TRUE(effect.LoadPreset(0));
    EXPECT_EQ(Values(), (std::vector<double>{0, 0.5, 0.5, 0.5, 0.5, 0.5, 0, 0}));
    EXPECT_EQ(effect.changed, kEveryIndex);
    EXPECT_EQ(effect.presetsChanged, 1);

    effect.InitDefaultPresets("second");
    effect.InitDefaultPresets("none left");
    EXPECT_STREQ(effect.GetPreset(1)->Name(), "second");
}

TEST_F(StateFixture, LoadingUninitialisedPresetsCapturesNumberedUserPresets)
{
    SetValues({4, 0.2, 0.3, 0.4, 0.6, 0.7, 1, 1});
    ASSERT_TRUE(effect.LoadPreset(1));
    EXPECT_STREQ(effect.GetPreset(1)->Name(), "user preset 1");
    EXPECT_EQ(effect.GetPreset(1)->Chunk().Size(), 64);
    EXPECT_EQ(effect.GetCurrentPreset(), 1);
    EXPECT_TRUE(effect.changed.empty());  // a capture changes no value

    ASSERT_TRUE(effect.LoadPreset(0));
    EXPECT_STREQ(effect.GetPreset(0)->Name(), "user preset 2");
    EXPECT_EQ(effect.GetCurrentPreset(), 0);
    EXPECT_EQ(effect.presetsChanged, 2);

    SetValues({-4, 0, 0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(effect.LoadPreset(1));
    EXPECT_EQ(Values(), (std::vector<double>{4, 0.2, 0.3, 0.4, 0.6, 0.7, 1, 1}));
}

TEST_F(StateFixture, LoadPresetRefusesIndicesOutOfRangeAndPresetsWithoutData)
{
    EXPECT_FALSE(effect.LoadPreset(2));
    EXPECT_FALSE(effect.LoadPreset(-1));
    EXPECT_FALSE(effect.GetPreset(0)->IsInitialized());
    EXPECT_FALSE(effect.GetPreset(1)->IsInitialized());

    effect.GetPreset(1)->SetInitialized(true);  // marked, but its chunk is empty
    EXPECT_FALSE(effect.LoadPreset(1));
    EXPECT_EQ(effect.presetsChanged, 0);
    EXPECT_EQ(effect.GetCurrentPreset(), 0);
}

TEST_F(StateFixture, ARestoredPresetRefreshesTheEditorWithPlainValues)
{
    effect.InitDefaultPresets("-");
    effect.AttachEditor(std::make_unique<RecordingEditor>(log));
    log.deliveries.clear();
    ASSERT_TRUE(effect.LoadPreset(0));
    ASSERT_EQ(log.deliveries.size(), 8u);
    EXPECT_EQ(log.deliveries[3].paramIdx, 3);
    EXPECT_EQ(log.deliveries[3].value, 0.5);
    EXPECT_FALSE(log.deliveries[3].isNormalized);
}

TEST_F(StateFixture, ARestoreUnderWayIsNeverReadAsWhole)
{
    std::vector<std::uint8_t> chunk(static_cast<std::size_t>(effect.StateChunkBytes()));
    ASSERT_TRUE(effect.WriteStateChunk(chunk.data(), chunk.size()));
    ASSERT_TRUE(effect.TakeWholeSet());
    effect.settledAtChange.clear();
    effect.wholeSetAtChange.clear();
    EXPECT_EQ(effect.ReadStateChunk(chunk.data(), chunk.size()), IEffectBase::StateRead::kWhole);
    EXPECT_EQ(effect.settledAtChange, std::vector<bool>(8, false));
    EXPECT_TRUE(effect.ReadSettled([] {}));
    // Meanwhile a part keeps the set it took last, but after an activation
    // it has none until the restore is done: the effect waits for it.
    EXPECT_EQ(effect.wholeSetAtChange, std::vector<bool>(8, true));
    effect.RestartSignal();
    effect.wholeSetAtChange.clear();
    EXPECT_EQ(effect.ReadStateChunk(chunk.data(), chunk.size()), IEffectBase::StateRead::kWhole);
    EXPECT_EQ(effect.wholeSetAtChange, std::vector<bool>(8, false));
    EXPECT_TRUE(effect.TakeWholeSet());
    // A read that a restore overtakes is not whole either.
    EXPECT_FALSE(effect.ReadSettled([&] { effect.ReadStateChunk(chunk.data(), chunk.size()); }));
    // A preset is a bulk write as well; one the audio thread is handed
    // (a program change in process) applies at its next whole-set read.
    effect.InitDefaultPresets("-");
    effect.settledAtChange.clear();
    ASSERT_TRUE(effect.LoadPreset(0));
    EXPECT_EQ(effect.settledAtChange, std::vector<bool>(8, false));
    effect.GetParam(3)->SetFromNormalized(1.0);
    ASSERT_TRUE(effect.QueueProgramChange(0));
    EXPECT_FALSE(effect.QueueProgramChange(2));
    EXPECT_TRUE(effect.TakeWholeSet());
    EXPECT_EQ(effect.SettledValue(3), 0.5);
}
