// SPDX-License-Identifier: GPL-3.0-or-later
#include "GraphicsTestSupport.h"

#include "graphics/EditorTick.h"
#include "graphics/IKnobMultiControl.h"
#include "graphics/ISwitchControl.h"

#include <gtest/gtest.h>

namespace {

// An editor attached to a TestPlug with a 31-frame knob on the level
// parameter at (182, 62) (83 × 81 like the panel's knobs) and a two-frame
// switch on the switch parameter at (0, 200).
struct KnobAndSwitchTest : ::testing::Test {
    TestPlug plug;
    std::unique_ptr<PIX_MemBitmap> knobImage = MakeStripImage(83, 81, std::vector<uint32_t>(31, 0xFF000000));
    std::unique_ptr<PIX_MemBitmap> switchImage = MakeStripImage(20, 10, {0xFFFF0000, 0xFF00FF00});
    RecordingGraphics* g = nullptr;
    IKnobMultiControl* knob = nullptr;
    ISwitchControl* sw = nullptr;

    void SetUp() override
    {
        auto graphics = std::make_unique<RecordingGraphics>(&plug, 300, 570);
        g = graphics.get();
        knob = Attach<IKnobMultiControl>(*g, &plug, 182, 62, kParamLevel, StripOf(*knobImage, 31),
                                         IKnobControl::kVertical, 4.0);
        sw = Attach<ISwitchControl>(*g, &plug, 0, 200, kParamSwitch, StripOf(*switchImage, 2));
        plug.AttachEditor(std::move(graphics));
    }
};

}  // namespace

TEST_F(KnobAndSwitchTest, OnePixelOfDragIsA324thOfTheRangeAndTenTimesFinerWithAModifier)
{
    EXPECT_EQ(knob->Value(), 0.25);
    g->HandleMouseDown(200, 100, kLeftButton);
    g->HandleMouseDrag(200, 101, kLeftButton);
    EXPECT_DOUBLE_EQ(knob->Value(), 0.25 - 1.0 / 324.0);

    MouseMods fine = kLeftButton;
    fine.shift = true;
    g->HandleMouseDrag(200, 102, fine);
    EXPECT_DOUBLE_EQ(knob->Value(), 0.25 - 1.0 / 324.0 - 1.0 / 3240.0);
    fine.shift = false;
    fine.control = true;
    g->HandleMouseDrag(200, 92, fine);  // ten pixels up
    EXPECT_DOUBLE_EQ(knob->Value(), 0.25 - 1.0 / 324.0 + 9.0 / 3240.0);
    g->HandleMouseUp(200, 92, {});

    ASSERT_EQ(plug.log.size(), 5u);
    EXPECT_EQ(plug.log.front(), "begin 0");
    EXPECT_EQ(plug.log.back(), "end 0");
    EXPECT_DOUBLE_EQ(plug.GetParam(kParamLevel)->Value(), knob->Value());
}

TEST_F(KnobAndSwitchTest, KnobAtTheTopDraggedUpStaysAndStillWritesTheParameter)
{
    g->SetParameterFromPlugin(kParamLevel, 1.0, true);
    g->HandleMouseDown(200, 100, kLeftButton);
    g->HandleMouseDrag(200, 90, kLeftButton);
    EXPECT_EQ(knob->Value(), 1.0);
    EXPECT_EQ(plug.log, (std::vector<std::string>{"begin 0", "edit 0 1.000000"}));
}

TEST_F(KnobAndSwitchTest, WheelTurnsByOnePercentOrATenthAndATurnIsOneGestureUntilTheWheelRests)
{
    using Log = std::vector<std::string>;
    TextEntrySession entry;
    const auto ticks = [&](int count) {
        for (int i = 0; i < count; ++i) RunEditorTick(*g, entry, "");
    };
    // About half a second of ticks at the editor's frame rate.
    EXPECT_NEAR(g->WheelRestTicks() * 1000.0 / g->Fps(), 500.0, 40.0);

    g->HandleMouseWheel(200, 100, {}, 1);
    EXPECT_DOUBLE_EQ(knob->Value(), 0.26);
    ticks(g->WheelRestTicks() - 1);  // a pause, but the wheel turns on
    MouseMods control;
    control.control = true;
    g->HandleMouseWheel(200, 100, control, -2);
    EXPECT_DOUBLE_EQ(knob->Value(), 0.258);
    ticks(g->WheelRestTicks() - 1);
    EXPECT_EQ(plug.log, (Log{"begin 0", "edit 0 0.260000", "edit 0 0.258000"}));
    ticks(1);
    EXPECT_EQ(plug.log, (Log{"begin 0", "edit 0 0.260000", "edit 0 0.258000", "end 0"}));

    // During a press the turn joins the press's gesture.
    plug.log.clear();
    g->HandleMouseDown(200, 100, kLeftButton);
    g->HandleMouseWheel(200, 100, {}, 1);
    g->HandleMouseUp(200, 100, kLeftButton);
    ticks(g->WheelRestTicks());
    EXPECT_EQ(plug.log, (Log{"begin 0", "edit 0 0.268000", "end 0"}));
}

TEST_F(KnobAndSwitchTest, PartsOfANotchAddUpToWholeStepsAndATurnBackStartsAfresh)
{
    g->HandleWheelDelta(200, 100, {}, 40);
    g->HandleWheelDelta(200, 100, {}, 40);
    EXPECT_DOUBLE_EQ(knob->Value(), 0.25);
    EXPECT_TRUE(plug.log.empty());
    g->HandleWheelDelta(200, 100, {}, 50);  // 130: one step, 10 left over
    EXPECT_DOUBLE_EQ(knob->Value(), 0.26);
    g->HandleWheelDelta(200, 100, {}, -110);  // the 10 do not hold this back
    EXPECT_DOUBLE_EQ(knob->Value(), 0.26);
    g->HandleWheelDelta(200, 100, {}, -10);
    EXPECT_DOUBLE_EQ(knob->Value(), 0.25);
    g->HandleWheelDelta(200, 100, {}, 2 * IGraphics::kWheelNotch);
    EXPECT_DOUBLE_EQ(knob->Value(), 0.27);
    EXPECT_EQ(plug.log.size(), 4u);  // one turn: its begin and three values
}

TEST_F(KnobAndSwitchTest, DoubleClickRestoresTheValueAtAttachTimeWithoutGestures)
{
    plug.GetParam(kParamLevel)->SetPlain(0.8);  // as a restored state would
    plug.RefreshEditorControls();
    EXPECT_DOUBLE_EQ(knob->Value(), 0.8);
    g->HandleDoubleClick(200, 100, kLeftButton);
    EXPECT_EQ(knob->Value(), 0.25);
    EXPECT_EQ(plug.log, std::vector<std::string>{"edit 0 0.250000"});
    EXPECT_DOUBLE_EQ(plug.GetParam(kParamLevel)->Value(), 0.25);
}

TEST_F(KnobAndSwitchTest, TwoFrameSwitchWrapsAndADoubleClickStepsAgain)
{
    EXPECT_EQ(sw->Value(), 1.0);  // integer parameter 0..1 at 1
    g->HandleMouseDown(5, 205, kLeftButton);
    g->HandleMouseUp(5, 205, {});
    EXPECT_EQ(sw->Value(), 0.0);
    EXPECT_EQ(plug.GetParam(kParamSwitch)->Value(), 0.0);

    // Press, release, double click: two steps.
    g->HandleMouseDown(5, 205, kLeftButton);
    g->HandleMouseUp(5, 205, {});
    g->HandleDoubleClick(5, 205, kLeftButton);
    EXPECT_EQ(sw->Value(), 0.0);
    EXPECT_EQ(plug.log, (std::vector<std::string>{"begin 2", "edit 2 0.000000", "end 2", "begin 2",
                                                  "edit 2 1.000000", "end 2", "edit 2 0.000000"}));
}

TEST_F(KnobAndSwitchTest, SwitchStepsByFrameAndWrapsAboveTheTolerance)
{
    auto three = MakeStripImage(4, 4, {0xFF000000, 0xFF000001, 0xFF000002});
    ISwitchControl s3(nullptr, 0, 0, -1, StripOf(*three, 3));
    s3.OnPress(0, 0, {});
    EXPECT_EQ(s3.Value(), 0.5);
    s3.OnPress(0, 0, {});
    EXPECT_EQ(s3.Value(), 1.0);
    s3.OnPress(0, 0, {});
    EXPECT_EQ(s3.Value(), 0.0);

    ISwitchControl s1(nullptr, 0, 0, -1, StripOf(*three, 1));  // fewer than 2 frames: steps by 1
    s1.OnPress(0, 0, {});
    EXPECT_EQ(s1.Value(), 1.0);
    s1.OnPress(0, 0, {});
    EXPECT_EQ(s1.Value(), 0.0);
}

TEST_F(KnobAndSwitchTest, GreyedKnobDrawsAtAQuarterAndIgnoresTheMouseUntilUngreyed)
{
    knob->MarkClean();
    knob->SetGreyed(true);
    EXPECT_FLOAT_EQ(knob->Blend().weight, 0.25f);
    EXPECT_TRUE(knob->NeedsRedraw());
    g->HandleMouseDown(200, 100, kLeftButton);
    g->HandleMouseWheel(200, 100, {}, 1);
    EXPECT_EQ(knob->Value(), 0.25);
    EXPECT_TRUE(plug.log.empty());
    knob->SetGreyed(false);
    EXPECT_FLOAT_EQ(knob->Blend().weight, 1.0f);
    g->HandleMouseWheel(200, 100, {}, 1);
    EXPECT_DOUBLE_EQ(knob->Value(), 0.26);
}
