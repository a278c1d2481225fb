// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/KeldraEditorLayout.h"

#include "effect/KeldraParamIds.h"
#include "effect/KeldraPresetMenu.h"
#include "graphics/IGraphics.h"
#include "graphics/IKnobMultiControl.h"
#include "graphics/ISwitchControl.h"
#include "graphics/IURLControl.h"
#include "graphics/IValueReadout.h"
#include "graphics/MakePlatformGraphics.h"

namespace {

enum class Kind { kSwitch, kKnob };

/// One image-based control of the panel, in the order it is attached.
struct Row {
    Kind kind;
    int resourceId;
    const char* fileName;
    int frames;
    int x;
    int y;
    KeldraParamId param;
};

constexpr int kKnobFrames = 31;
constexpr double kKnobGearing = 4.0;
// A value typed in units, "-13.3 dB" or "18.8 kHz", with room to spare.
constexpr int kKnobEntryLength = 12;

// Attachment order decides drawing and hit-testing: the oversampling switch
// comes after the IN switch so that it takes the row where the two overlap.
constexpr Row kRows[] = {
    {Kind::kSwitch, 102, "resources/img/by.png", 2, -2, 430, KeldraParamId::kBypass},
    {Kind::kKnob, 107, "resources/img/GainH.png", kKnobFrames, 182, 62, KeldraParamId::kGainHigh},
    {Kind::kKnob, 109, "resources/img/GainL.png", kKnobFrames, 182, 310, KeldraParamId::kGainLow},
    {Kind::kKnob, 110, "resources/img/GainM.png", kKnobFrames, 182, 185, KeldraParamId::kGainMid},
    {Kind::kKnob, 113, "resources/img/OUT.png", kKnobFrames, 32, 309, KeldraParamId::kOut},
    {Kind::kKnob, 111, "resources/img/HPF.png", kKnobFrames, 32, 185, KeldraParamId::kHighPass},
    {Kind::kKnob, 112, "resources/img/LPF.png", kKnobFrames, 34, 61, KeldraParamId::kLowPass},
    {Kind::kSwitch, 114, "resources/img/OVER.png", 2, 0, 543, KeldraParamId::kOversampling},
};

constexpr int kBackgroundId = 101;
constexpr const char* kBackgroundFile = "resources/img/bg.png";

// The logo is painted at the bottom right; the area deliberately reaches
// below the panel, so only its top 30 rows can be clicked.
constexpr PixelRect kLogoArea{203, 540, 303, 640};
// The KELDRA nameplate opens the preset menu.
constexpr PixelRect kNameplate{166, 437, 285, 501};

}  // namespace

std::unique_ptr<IGraphics> KeldraEditorLayout::Create(IEffectBase& plug)
{
    std::unique_ptr<IGraphics> graphics = MakePlatformGraphics(plug, kWidth, kHeight, kFps);
    Build(*graphics);
    return graphics;
}

void KeldraEditorLayout::Build(IGraphics& graphics)
{
    IEffectBase* plug = graphics.Plug();
    graphics.InsertBackground(kBackgroundId, kBackgroundFile);
    for (const Row& row : kRows) {
        const FrameStrip strip = graphics.LoadFrameStrip(row.resourceId, row.fileName, row.frames);
        const int param = ToIndex(row.param);
        if (row.kind == Kind::kKnob) {
            auto knob = std::make_unique<IKnobMultiControl>(plug, row.x, row.y, param, strip,
                                                            IKnobControl::kVertical, kKnobGearing);
            knob->SetEntryMaxLength(kKnobEntryLength);
            graphics.AppendControl(std::move(knob));
        } else {
            graphics.AppendControl(
                std::make_unique<ISwitchControl>(plug, row.x, row.y, param, strip, BlendSpec::kBlendNone));
        }
    }
    graphics.AppendControl(std::make_unique<IURLControl>(plug, kLogoArea, kProductUrl));
    graphics.AppendControl(std::make_unique<KeldraPresetMenu>(plug, kNameplate));
    // Frontmost, over the knobs' labels; it follows the pointer, so the
    // editor tracks the pointer even without a button down.
    graphics.AttachValueReadout(std::make_unique<IValueReadout>(plug));
    graphics.SetTrackHover(true);
}
