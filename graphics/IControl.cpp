// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/IControl.h"

#include "framework/IEffectBase.h"
#include "framework/IParamRecord.h"
#include "graphics/IGraphics.h"

IControl::IControl(IEffectBase* plug, const PixelRect& rect, int paramIdx, int blendMethod)
    : mPlug(plug), mRect(rect), mHitRect(rect), mParamIdx(paramIdx)
{
    mBlend.method = blendMethod;
}

IControl::~IControl() = default;

void IControl::OnPress(int, int, const MouseMods& mods)
{
    if (mods.right) RequestValuePrompt();
}

void IControl::OnRelease(int, int, const MouseMods&) {}

void IControl::OnDrag(int, int, int, int, const MouseMods&) {}

void IControl::OnDoubleClick(int, int, const MouseMods&)
{
    if (mDefaultValue < 0.0) return;
    mValue = mDefaultValue;
    MarkDirty(true);
}

void IControl::OnWheelTurn(int, int, const MouseMods&, int) {}

bool IControl::OnKeyPress(int, int, int) { return false; }

void IControl::OnPointerOver(int, int, const MouseMods&) {}

void IControl::OnPointerOut() {}

void IControl::SetValueFromPlugin(double value) noexcept
{
    if (mDefaultValue < 0.0) {
        // The first value the plug-in delivers (at attach time) is what a
        // double click restores later. The control is still dirty from
        // construction, so nothing more is needed.
        mDefaultValue = value;
        mValue = value;
        return;
    }
    if (mValue == value) return;
    mValue = value;
    MarkDirty(false);
    mDrawTwice = true;
}

void IControl::SetValueFromUser(double value)
{
    if (mValue == value) return;
    mValue = value;
    MarkDirty(true);
    mDrawTwice = true;
}

void IControl::AcceptEnteredText(const char*) {}

void IControl::SetHidden(bool hide)
{
    mHidden = hide;
    mDrawTwice = true;
    MarkDirty(false);
}

void IControl::SetGreyed(bool grey)
{
    mGreyed = grey;
    mBlend.weight = grey ? 0.25f : 1.0f;
    MarkDirty(false);
}

bool IControl::HitTest(int x, int y) const { return mHitRect.Contains(x, y); }

void IControl::MarkDirty(bool pushToPlugin)
{
    if (mValue < mLowerClamp)
        mValue = mLowerClamp;
    else if (mValue > mUpperClamp)
        mValue = mUpperClamp;
    mDirty = true;
    // Written even when clamping left the value unchanged: a knob pushed
    // past its end still reasserts the end value to the host.
    if (pushToPlugin && mPlug && mParamIdx >= 0) mPlug->SetParamFromEditor(mParamIdx, mValue);
}

void IControl::MarkClean()
{
    mDirty = mDrawTwice;
    mDrawTwice = false;
}

bool IControl::NeedsRedraw() const { return mDirty; }

void IControl::IdleTick() {}

void IControl::SetAuxValueFromPlugin(int auxIndex, double value) noexcept
{
    if (auxIndex < 0 || auxIndex >= AuxParamCount()) return;
    AuxParam& aux = mExtraParams[size_t(auxIndex)];
    if (aux.value == value) return;
    aux.value = value;
    MarkDirty(false);
    mDrawTwice = true;
}

void IControl::RequestValuePrompt()
{
    if (mParamIdx < 0 || mPromptOff || !mPlug || !mGraphics) return;
    IParamRecord* param = mPlug->GetParam(mParamIdx);
    if (!param) return;
    PixelRect textRect = mRect;
    if (param->DisplayTexts().empty()) {
        // A 40 x 16 box around the centre, computed in single precision.
        const int cX = int(float(mRect.L + mRect.R) * 0.5f);
        const int cY = int(float(mRect.T + mRect.B) * 0.5f);
        textRect = {cX - 20, cY - 8, cX + 20, cY + 8};
    }
    mGraphics->PromptValueEntry(this, param, textRect);
    mDrawTwice = true;
}

int IControl::AddAuxParam(int paramIdx)
{
    mExtraParams.push_back({0.0, paramIdx});
    return AuxParamCount() - 1;
}

const IControl::AuxParam* IControl::Aux(int auxIndex) const noexcept
{
    return auxIndex >= 0 && auxIndex < AuxParamCount() ? &mExtraParams[size_t(auxIndex)] : nullptr;
}
