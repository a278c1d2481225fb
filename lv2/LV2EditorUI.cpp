// SPDX-License-Identifier: GPL-3.0-or-later
#include "lv2/LV2EditorUI.h"

#include "graphics/IGraphics.h"
#include "graphics/IPlatformGraphics.h"
#include "lv2/IEffectLV2.h"

#include <cmath>

// After every other header: Xlib defines short macro names (None, Bool, Status).
#include <X11/Xlib.h>

LV2EditorUI::LV2EditorUI(IEffectLV2& effect, LV2UI_Write_Function write, LV2UI_Controller controller,
                         const LV2UI_Touch* touch)
    : mEffect(effect), mWrite(write), mController(controller), mTouch(touch)
{
}

LV2EditorUI::~LV2EditorUI()
{
    Close();
}

bool LV2EditorUI::Open(std::uintptr_t parent)
{
    Close();
    IGraphics* graphics = Graphics();
    auto* platform = dynamic_cast<IPlatformGraphics*>(graphics);
    if (platform == nullptr)
        return false;
    if (parent == 0) {
        // A window of its own: a child of the screen's root window.
        Display* display = XOpenDisplay(nullptr);
        if (display == nullptr)
            return false;
        parent = DefaultRootWindow(display);
        XCloseDisplay(display);
    }
    platform->SetRunLoop(&mLoop);
    mWindow = graphics->OpenEditorWindow(reinterpret_cast<void*>(parent));
    if (mWindow == nullptr) {
        platform->SetRunLoop(nullptr);
        return false;
    }
    mEffect.SetControlSink(this);
    mEffect.OnEditorOpened();
    return true;
}

void LV2EditorUI::Close()
{
    if (mWindow == nullptr)
        return;
    mEffect.SetControlSink(nullptr);
    mEffect.OnEditorClosed();
    IGraphics* graphics = Graphics();
    graphics->CloseEditorWindow();
    dynamic_cast<IPlatformGraphics*>(graphics)->SetRunLoop(nullptr);
    mWindow = nullptr;
}

IGraphics* LV2EditorUI::Graphics() const
{
    return dynamic_cast<IGraphics*>(mEffect.GetEditor());
}

int LV2EditorUI::Width() const noexcept
{
    return dynamic_cast<const IPlatformGraphics*>(mEffect.GetEditor())->WindowWidth();
}

int LV2EditorUI::Height() const noexcept
{
    return dynamic_cast<const IPlatformGraphics*>(mEffect.GetEditor())->WindowHeight();
}

void LV2EditorUI::PortEvent(std::uint32_t port, const float& value)
{
    if (mWindow == nullptr)
        return;
    for (int i = 0; i < mEffect.GetParamCount(); ++i)
        if (mEffect.ControlPort(i) == port) {
            IParamRecord& param = *mEffect.GetParam(i);
            // Shown as the parameter would take it: refused when not finite.
            if (std::isfinite(value))
                Graphics()->SetParameterFromPlugin(i, param.PlainToNormalized(value), true);
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
