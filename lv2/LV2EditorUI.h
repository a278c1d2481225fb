// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lv2/ILV2ControlSink.h"
#include "lv2/LV2IdleRunLoop.h"

#include <lv2/ui/ui.h>

#include <cstdint>

class IEffectLV2;
class IGraphics;

/// The effect's editor as an LV2 X11 UI: the window opened inside the host's
/// `ui:parent` (or, for hosts that show UIs through ui:showInterface, as a
/// window of its own), its events and redraw tick run from the host's idle calls,
/// edits sent to the host through the write function (with ui:touch around
/// each gesture where the host offers it), and control changes from the
/// host shown as they arrive through port events. Reaches the effect
/// through instance-access. One per open UI; destroying it closes the
/// window and leaves nothing registered. [ui]
class LV2EditorUI : public ILV2ControlSink {
public:
    /// The editor of `effect`, not yet open.
    LV2EditorUI(IEffectLV2& effect, LV2UI_Write_Function write, LV2UI_Controller controller,
                const LV2UI_Touch* touch);
    ~LV2EditorUI() override;
    LV2EditorUI(const LV2EditorUI&) = delete;
    LV2EditorUI& operator=(const LV2EditorUI&) = delete;

    /// Opens the window inside X window `parent` (0: a window of its own).
    /// False when the effect has no editor or the window cannot be opened.
    bool Open(std::uintptr_t parent);
    /// Closes the window; the UI may open again.
    void Close();
    bool IsOpen() const noexcept { return mWindow != nullptr; }
    /// The X window id, as the host embeds it.
    LV2UI_Widget Widget() const noexcept { return mWindow; }
    int Width() const noexcept;
    int Height() const noexcept;

    /// A float arrived on `port`: control ports move their control.
    void PortEvent(std::uint32_t port, const float& value);
    /// The host's idle call: X events and the redraw tick.
    void Idle() { mLoop.Idle(); }

    void TouchParam(int paramIdx, bool grabbed) override;
    void WriteParam(int paramIdx, double plain) override;

private:
    IGraphics* Graphics() const;

    IEffectLV2& mEffect;
    LV2UI_Write_Function mWrite;
    LV2UI_Controller mController;
    const LV2UI_Touch* mTouch;
    LV2IdleRunLoop mLoop;
    void* mWindow = nullptr;
};
