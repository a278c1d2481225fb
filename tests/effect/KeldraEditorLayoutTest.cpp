// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/KELDRA.h"
#include "effect/KeldraEditorLayout.h"
#include "effect/KeldraPresetMenu.h"
#include "effect/KeldraPresets.h"

#include "graphics/IBitmapControl.h"
#include "graphics/IGraphicsOffscreen.h"
#include "graphics/IKnobMultiControl.h"
#include "graphics/IPlatformGraphics.h"
#include "graphics/ISwitchControl.h"
#include "graphics/IURLControl.h"
#include "GraphicsTestSupport.h"
#include "host/HostComponentHandler.h"
#include "graphics/IValueReadout.h"
#include "raster/PIX_PngLoader.h"
#include "raster/PIX_SysBitmap.h"

#include "base/source/fobject.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

/// The panel built on an off-screen editor over a real KELDRA, attached the
/// way the effect attaches its own editor.
class EditorLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto editor = std::make_unique<IGraphicsOffscreen>(effect.get(), KeldraEditorLayout::kWidth,
                                                           KeldraEditorLayout::kHeight,
                                                           KeldraEditorLayout::kFps);
        graphics = editor.get();
        KeldraEditorLayout::Build(*graphics);
        effect->AttachEditor(std::move(editor));
    }

    void Click(int x, int y)
    {
        graphics->HandleMouseDown(x, y, MouseMods{true, false, false, false, false});
        graphics->HandleMouseUp(x, y, MouseMods{});
    }

    double Param(KeldraParamId id) const { return effect->GetParam(ToIndex(id))->Value(); }

    Steinberg::IPtr<KELDRA> effect = Steinberg::owned(new KELDRA());
    IGraphicsOffscreen* graphics = nullptr;
};

struct Expected {
    int resourceId;  // 0: no image
    PixelRect rect;
    int param;
};

// Rows of the panel in attachment order.
const Expected kExpected[] = {
    {101, {0, 0, 300, 570}, -1},
    {102, {-2, 430, 149, 544}, 6},
    {107, {182, 62, 265, 143}, 3},
    {109, {182, 310, 265, 391}, 5},
    {110, {182, 185, 265, 266}, 4},
    {113, {32, 309, 115, 390}, 0},
    {111, {32, 185, 115, 266}, 1},
    {112, {34, 61, 117, 142}, 2},
    {114, {0, 543, 150, 568}, 7},
    {0, {203, 540, 303, 640}, -1},
    {0, {166, 437, 285, 501}, -1},
};

bool Overlap(const PixelRect& a, const PixelRect& b)
{
    return a.L < b.R && b.L < a.R && a.T < b.B && b.T < a.B;
}

uint32_t RowPixel(const PIX_IBitmap& bitmap, int x, int y)
{
    const int row = bitmap.IsBottomUp() ? bitmap.Height() - 1 - y : y;
    return bitmap.Pixels()[row * bitmap.RowStride() + x];
}

}  // namespace

TEST_F(EditorLayout, TheEffectOwnsAPanelOfTheFixedSizeAndRate)
{
    Steinberg::IPtr<KELDRA> own = Steinberg::owned(new KELDRA());
    // The platform's window host, so that the editor view can open it.
    auto* attached = dynamic_cast<IPlatformGraphics*>(own->GetEditor());
    ASSERT_NE(attached, nullptr);
    EXPECT_EQ(attached->Width(), 300);
    EXPECT_EQ(attached->Height(), 570);
    EXPECT_EQ(attached->Fps(), 25);
    EXPECT_EQ(attached->ControlCount(), 12);
    EXPECT_EQ(attached->Plug(), own.get());
    ASSERT_NE(attached->DrawSurface(), nullptr);
    // The default preset comes after the editor: it holds the initial values.
    EXPECT_STREQ(own->GetPreset(0)->Name(), "-");
}

TEST_F(EditorLayout, ControlsEnterInTableOrderWithTheirRectanglesBindingsAndBlends)
{
    // The eleven of the table, then the value readout, frontmost.
    ASSERT_EQ(graphics->ControlCount(), 12);
    EXPECT_EQ(graphics->Control(11), static_cast<IControl*>(graphics->ValueReadout()));
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE("control " + std::to_string(i));
        IControl* control = graphics->Control(i);
        EXPECT_EQ(control->Rect(), kExpected[i].rect);
        EXPECT_EQ(control->HitRect(), kExpected[i].rect);
        EXPECT_EQ(control->ParamIdx(), kExpected[i].param);
        EXPECT_EQ(control->Blend().method, i == 0 ? BlendSpec::kBlendReplace : BlendSpec::kBlendNone);
        EXPECT_FLOAT_EQ(control->Blend().weight, 1.0f);
        EXPECT_TRUE(control->PromptOff());
    }
    // Classes: background, switch, six knobs, switch, logo area, nameplate.
    EXPECT_EQ(typeid(*graphics->Control(10)), typeid(KeldraPresetMenu));
    EXPECT_EQ(typeid(*graphics->Control(0)), typeid(IBitmapControl));
    EXPECT_EQ(typeid(*graphics->Control(1)), typeid(ISwitchControl));
    for (int i = 2; i <= 7; ++i) {
        auto* knob = dynamic_cast<IKnobMultiControl*>(graphics->Control(i));
        ASSERT_NE(knob, nullptr) << i;
        EXPECT_EQ(knob->Direction(), IKnobControl::kVertical);
        EXPECT_DOUBLE_EQ(knob->Gearing(), 4.0);
        EXPECT_EQ(knob->Strip().frameCount, 31);
        EXPECT_EQ(knob->Strip().height, 2511);
    }
    auto* over = dynamic_cast<ISwitchControl*>(graphics->Control(8));
    ASSERT_NE(over, nullptr);
    EXPECT_EQ(over->Strip().frameCount, 2);
    auto* in = dynamic_cast<ISwitchControl*>(graphics->Control(1));
    EXPECT_EQ(in->Strip().frameCount, 2);
    EXPECT_EQ(in->Strip().width, 151);

    auto* logo = dynamic_cast<IURLControl*>(graphics->Control(9));
    ASSERT_NE(logo, nullptr);
    const std::string url = logo->Url();
    EXPECT_EQ(url.rfind("https://", 0), 0u);
    EXPECT_EQ(url.substr(url.size() - 16), "/product/keldra/");
    EXPECT_STREQ(logo->BackupUrl(), "");
    EXPECT_STREQ(logo->ErrorText(), "");
}

TEST_F(EditorLayout, ControlsStartAtTheParametersInitialValuesWhichBecomeTheirDefaults)
{
    for (int i = 1; i <= 8; ++i) {
        IControl* control = graphics->Control(i);
        const double normalized = effect->GetParam(control->ParamIdx())->GetNormalized();
        EXPECT_DOUBLE_EQ(control->Value(), normalized) << i;
        EXPECT_DOUBLE_EQ(control->DefaultValue(), normalized) << i;
    }
    // Never given a value: a double click on them restores nothing.
    EXPECT_LT(graphics->Control(0)->DefaultValue(), 0.0);
    EXPECT_LT(graphics->Control(9)->DefaultValue(), 0.0);
}

TEST_F(EditorLayout, KnobsAndSwitchesDoNotOverlapExceptTheTwoSwitchesBottomRow)
{
    for (int a = 1; a <= 8; ++a) {
        for (int b = a + 1; b <= 8; ++b) {
            const bool switches = a == 1 && b == 8;
            EXPECT_EQ(Overlap(graphics->Control(a)->Rect(), graphics->Control(b)->Rect()), switches)
                << a << " and " << b;
        }
    }
}

TEST_F(EditorLayout, TheLogoAreaOpensTheProductPageOnlyInsideThePanel)
{
    Click(250, 530);
    EXPECT_TRUE(graphics->RequestedPages().empty());

    Click(250, 560);
    ASSERT_EQ(graphics->RequestedPages().size(), 1u);
    EXPECT_EQ(graphics->RequestedPages()[0], KeldraEditorLayout::kProductUrl);

    // Below the panel the area exists but no pointer can reach it from a
    // 570-pixel window; the right button also opens it (it has no parameter).
    graphics->HandleMouseDown(210, 545, MouseMods{false, true, false, false, false});
    graphics->HandleMouseUp(210, 545, MouseMods{});
    EXPECT_EQ(graphics->RequestedPages().size(), 2u);
}

TEST_F(EditorLayout, TheOversamplingSwitchTakesClicksWhereTheSwitchesOverlap)
{
    const double bypass = Param(KeldraParamId::kBypass);
    const double oversampling = Param(KeldraParamId::kOversampling);

    Click(60, 543);  // the row both switches cover
    EXPECT_EQ(Param(KeldraParamId::kBypass), bypass);
    EXPECT_NE(Param(KeldraParamId::kOversampling), oversampling);
    effect->TakeWholeSet();
    EXPECT_EQ(effect->SettledChainSettings().oversampling, KELDRA::kOversamplingHigh);

    Click(60, 542);  // one row up: the IN switch
    EXPECT_NE(Param(KeldraParamId::kBypass), bypass);
    EXPECT_EQ(graphics->Control(1)->Value(), 1.0);

    Click(60, 542);
    EXPECT_EQ(Param(KeldraParamId::kBypass), bypass);
}

TEST_F(EditorLayout, APanelRenderShowsTheInSwitchCutAtTheLeftEdgeAndOversampleOff)
{
    ASSERT_TRUE(graphics->DrawArea(PixelRect{0, 0, 300, 570}));
    const PIX_IBitmap& surface = *graphics->DrawSurface();
    std::unique_ptr<PIX_IBitmap> by = PIX_LoadPngResource(102, "resources/img/by.png");
    std::unique_ptr<PIX_IBitmap> over = PIX_LoadPngResource(114, "resources/img/OVER.png");
    ASSERT_TRUE(by && over);

    // Where the IN switch's image is opaque, the panel shows it shifted two
    // pixels left (frame 1: not bypassed).
    int compared = 0;
    for (int y = 0; y < 113; y += 7) {
        for (int x = 0; x < 149; x += 5) {
            const uint32_t source = RowPixel(*by, x + 2, y);
            if ((source >> 24) != 0xFF) continue;
            ASSERT_EQ(RowPixel(surface, x, 430 + y), source) << x << "," << y;
            ++compared;
        }
    }
    EXPECT_GT(compared, 100);

    // Oversampling off: the legend's first frame, where it is opaque, drawn
    // over the IN switch in their shared row 543.
    compared = 0;
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 150; x += 3) {
            const uint32_t source = RowPixel(*over, x, y);
            if ((source >> 24) != 0xFF) continue;
            ASSERT_EQ(RowPixel(surface, x, 543 + y), source) << x << "," << y;
            ++compared;
        }
    }
    EXPECT_GT(compared, 100);
}

// A click on the nameplate lists the presets with the current one checked;
// choosing one moves every knob in one recorded edit (all gestures open
// around all the changes), and the panel follows.
TEST(Nameplate, ChoosingAPresetIsOneRecordedEditOfEveryKnob)
{
    Steinberg::IPtr<KELDRA> effect = Steinberg::owned(new KELDRA());
    HostComponentHandler handler;
    effect->setComponentHandler(&handler);
    auto owned = std::make_unique<RecordingGraphics>(effect.get(), 300, 570);
    RecordingGraphics& graphics = *owned;
    KeldraEditorLayout::Build(graphics);
    effect->AttachEditor(std::move(owned));
    const int tightBass = 10;
    graphics.menuChoice = tightBass;
    graphics.HandleMouseDown(220, 470, MouseMods{true, false, false, false, false});
    ASSERT_EQ(graphics.menuItems.size(), static_cast<size_t>(KeldraPresets::kCount));
    EXPECT_EQ(graphics.menuItems[0], "-*");  // a fresh instance holds the defaults
    const std::vector<HostEdit> edits = handler.Edits();
    ASSERT_EQ(edits.size(), 3u * kKeldraParamCount);
    for (int i = 0; i < kKeldraParamCount; ++i) {
        EXPECT_EQ(edits[i].kind, HostEdit::Kind::Begin);
        EXPECT_EQ(edits[kKeldraParamCount + i].kind, HostEdit::Kind::Perform);
        EXPECT_EQ(edits[2 * kKeldraParamCount + i].kind, HostEdit::Kind::End);
        EXPECT_NEAR(effect->GetParam(i)->Value(), KeldraPresets::ValueOf(KeldraPresets::kPresets[tightBass], i), 1e-9);
    }
    EXPECT_EQ(graphics.Control(6)->Value(), effect->GetParam(ToIndex(KeldraParamId::kHighPass))->GetNormalized());

    graphics.menuChoice = -1;  // dismissed: nothing changes
    handler.Clear();
    graphics.HandleMouseDown(220, 470, MouseMods{true, false, false, false, false});
    EXPECT_EQ(graphics.menuItems[tightBass], "Tight Bass*");
    EXPECT_TRUE(handler.Edits().empty());
}
