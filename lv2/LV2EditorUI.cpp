// SPDX-License-Identifier: GPL-3.0-or-later
#include "lv2/LV2EditorUI.h"

#include "graphics/IGraphics.h"
#include "lv2/IEffectLV2.h"

#include <cmath>

// After every other header: Xlib defines short macro names (None, Bool, Status).
#include <X11/Xlib.h>

LV2EditorUI::LV2EditorUI(IEffectLV2& effect, LV2UI_Write_Function write, LV2UI_Controller controller,
                         const LV2UI_Touch* touch, const LV2UI_Resize* resize, double scale)
    : mEffect(effect), mWrite(write), mController(controller), mTouch(touch), mResize(resize),
      mAttachment(effect)
{
    // The graphics context outlives UIs: a host that gives no scale gets 1,
    // whatever an earlier UI was given.
    mAttachment.SetContentScale(scale);
}

LV2EditorUI::~LV2EditorUI()
{
    Close();
}

bool LV2EditorUI::Open(std::uintptr_t parent)
{
    Close();
    if (mAttachment.PlatformGraphics() == nullptr)
        return false;
    if (parent == 0) {
        // A window of its own: a child of the screen's root window.
        Display* display = XOpenDisplay(nullptr);
        if (display == nullptr)
            return false;
        parent = DefaultRootWindow(display);
        XCloseDisplay(display);
    }
    if (!mAttachment.Attach(reinterpret_cast<void*>(parent), &mLoop))
        return false;
    mEffect.SetControlSink(this);
    return true;
}

void LV2EditorUI::Close()
{
    if (!IsOpen())
        return;
    mEffect.SetControlSink(nullptr);
    mAttachment.Detach();
}

void LV2EditorUI::SetScale(double scale)
{
    if (mAttachment.SetContentScale(scale) && IsOpen() && mResize != nullptr)
        mResize->ui_resize(mResize->handle, Width(), Height());
}

void LV2EditorUI::PortEvent(std::uint32_t port, const float& value)
{
    if (!IsOpen())
        return;
    for (int i = 0; i < mEffect.GetParamCount(); ++i)
        if (mEffect.ControlPort(i) == port) {
            IParamRecord& param = *mEffect.GetParam(i);
            // Shown as the parameter would take it: refused when not finite.
            if (std::isfinite(value))
                mAttachment.Graphics()->SetParameterFromPlugin(i, param.PlainToNormalized(value), true);
            return;
        }
}

void LV2EditorUI::TouchParam(int paramIdx, bool grabbed)
{
    if (mTouch != nullptr && paramIdx >= 0 && paramIdx < mEffect.GetParamCount())
        mTouch->touch(mTouch->handle, mEffect.ControlPort(paramIdx), grabbed);
}

void LV2EditorUI::WriteParam(int paramIdx, double plain)
{
    const float value = static_cast<float>(plain);
    mWrite(mController, mEffect.ControlPort(paramIdx), sizeof(float), 0, &value);
}
