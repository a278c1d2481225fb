// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/IValueReadout.h"

#include "framework/IEffectBase.h"
#include "framework/IParamRecord.h"
#include "graphics/IGraphics.h"
#include "graphics/IKnobControl.h"

#include <cstring>

IValueReadout::IValueReadout(IEffectBase* plug) : IControl(plug, {}, -1)
{
    mHidden = true;
    mStyle.size = 11;
    mStyle.style = TextStyle::kStyleBold;
    mStyle.color = kTextColour;
}

PixelRect IValueReadout::BoxFor(const PixelRect& knob) noexcept
{
    // Over the knob's printed label, clear of its scale's figures: the
    // label says what the knob is, and the box says how far it is turned.
    const int centre = (knob.L + knob.R) / 2;
    const int top = knob.B + 4;
    return {centre - kWidth / 2, top, centre - kWidth / 2 + kWidth, top + kHeight};
}

bool IValueReadout::Follows(int index) const
{
    const IControl* control = Graphics() ? Graphics()->Control(index) : nullptr;
    return control != nullptr && control != this && control->ParamIdx() >= 0 &&
           dynamic_cast<const IKnobControl*>(control) != nullptr && Plug() != nullptr &&
           control->ParamIdx() < Plug()->GetParamCount();
}

void IValueReadout::NotePointerOver(int index)
{
    // Resting on the box keeps it, as on its knob: the box is where a click
    // types a value.
    const bool onBox = Graphics() && Graphics()->Control(index) == this;
    mHovered = onBox ? mShown : Follows(index) ? index : -1;
    Update();
}

void IValueReadout::NotePointerOut()
{
    mHovered = -1;
    Update();
}

void IValueReadout::NotePress(int index)
{
    mPressed = Follows(index) ? index : -1;
    Update();
}

void IValueReadout::NoteRelease()
{
    if (mPressed >= 0) {
        mLingering = mPressed;
        mLingerTicks = Graphics()->Fps();
        mPressed = -1;
    }
    Update();
}

void IValueReadout::NoteWheel(int index)
{
    if (Follows(index)) {
        mLingering = index;
        mLingerTicks = Graphics()->Fps();
    }
    Update();
}

void IValueReadout::Tick()
{
    if (mLingerTicks > 0 && --mLingerTicks == 0) mLingering = -1;
    Update();
}

void IValueReadout::Update()
{
    const int target = mPressed >= 0 ? mPressed : mHovered >= 0 ? mHovered : mLingerTicks > 0 ? mLingering : -1;
    if (target < 0) {
        mShown = -1;
        if (!mHidden) SetHidden(true);
        return;
    }
    const IControl& knob = *Graphics()->Control(target);
    const IParamRecord& param = *Plug()->GetParam(knob.ParamIdx());
    char text[sizeof mText];
    param.FormatForHost(param.NormalizedToPlain(knob.Value()), text, sizeof text);
    if (target == mShown && !mHidden && std::strcmp(text, mText) == 0) return;

    const PixelRect box = BoxFor(knob.Rect());
    // The old box must be painted over too when the readout moves or hides.
    mRect = mHidden ? box : mBox.Union(box);
    mBox = box;
    mHitRect = box;
    mShown = target;
    std::memcpy(mText, text, sizeof mText);
    if (mHidden) SetHidden(false);
    MarkDirty(false);
}

void IValueReadout::OnPress(int, int, const MouseMods& mods)
{
    if (mShown < 0 || mods.right) return;
    IControl* knob = Graphics()->Control(mShown);
    Graphics()->PromptValueEntry(knob, Plug()->GetParam(knob->ParamIdx()), mBox);
}

bool IValueReadout::Draw(IGraphics& graphics)
{
    graphics.FillArea(mBox, kBorderColour);
    graphics.FillArea({mBox.L + 1, mBox.T + 1, mBox.R - 1, mBox.B - 1}, kFillColour);
    return graphics.RenderText(mStyle, mText, mBox, true);
}

void IValueReadout::MarkClean()
{
    IControl::MarkClean();
    if (!mHidden) mRect = mBox;
}
