// SPDX-License-Identifier: GPL-3.0-or-later
#include "GraphicsTestSupport.h"

#include "raster/PIX_SysBitmap.h"

#include <gtest/gtest.h>

namespace {

// Records, for its first value, whether the editor had a surface already.
class SurfaceWitness : public IControl {
public:
    using IControl::IControl;
    void SetValueFromPlugin(double value) noexcept override
    {
        if (DefaultValue() < 0.0) surfaceAtFirstValue = Graphics()->DrawSurface() != nullptr;
        IControl::SetValueFromPlugin(value);
    }
    bool Draw(IGraphics&) override { return true; }
    bool surfaceAtFirstValue = true;
};

}  // namespace

TEST(EditorAttach, DistributesNormalisedValuesBeforeTheSurfaceIsPrepared)
{
    TestPlug plug;
    auto editor = std::make_unique<RecordingGraphics>(&plug, 30, 20);
    RecordingGraphics* g = editor.get();
    auto witness = std::make_unique<SurfaceWitness>(&plug, PixelRect{0, 0, 5, 5}, kParamGain);
    SurfaceWitness* w = witness.get();
    w->AddAuxParam(kParamMode);
    g->AppendControl(std::move(witness));
    plug.AttachEditor(std::move(editor));

    EXPECT_FALSE(w->surfaceAtFirstValue);
    EXPECT_DOUBLE_EQ(w->Value(), 0.6);  // 3 dB of −15..15
    EXPECT_DOUBLE_EQ(w->DefaultValue(), 0.6);
    EXPECT_DOUBLE_EQ(w->Aux(0)->value, 0.5);  // list value 1 of 0..2
    ASSERT_NE(g->DrawSurface(), nullptr);
    EXPECT_EQ(g->DrawSurface()->Width(), 30);
    EXPECT_EQ(g->DrawSurface()->Height(), 20);
    EXPECT_EQ(plug.GetEditor(), g);
    EXPECT_TRUE(plug.log.empty());
}

TEST(EditorAttach, RefreshDeliversPlainValuesThroughTheParameters)
{
    TestPlug plug;
    auto editor = std::make_unique<RecordingGraphics>(&plug, 30, 20);
    std::vector<std::string> events;
    ProbeControl* control = Attach<ProbeControl>(*editor, &plug, PixelRect{0, 0, 5, 5}, kParamGain, events, "g");
    plug.AttachEditor(std::move(editor));

    plug.GetParam(kParamGain)->SetPlain(-15.0);
    EXPECT_DOUBLE_EQ(control->Value(), 0.6);  // the host alone does not move controls
    plug.RefreshEditorControls();
    EXPECT_DOUBLE_EQ(control->Value(), 0.0);
    EXPECT_DOUBLE_EQ(control->DefaultValue(), 0.6);
}
