// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/EditorAttachment.h"
#include "lv2/ILV2ControlSink.h"
#include "lv2/LV2IdleRunLoop.h"

#include <lv2/ui/ui.h>

#include <cstdint>

class IEffectLV2;

/// The effect's editor as an LV2 X11 UI: the window opened inside the host's
/// `ui:parent` (or, for hosts that show UIs through ui:showInterface, as a
/// window of its own), its events and redraw tick run from the host's idle calls,
/// edits sent to the host through the write function (with ui:touch around
/// each gesture where the host offers it), and control changes from the
/// host shown as they arrive through port events. The host's ui:scaleFactor
/// is the window's content scale. Reaches the effect through
/// instance-access. One per open UI; destroying it closes the window and
/// leaves nothing registered. [ui]
class LV2EditorUI : public ILV2ControlSink {
public:
    /// The editor of `effect`, not yet open, at content scale `scale` (1
    /// for a host that gives none). `touch` and `resize` may be null.
    LV2EditorUI(IEffectLV2& effect, LV2UI_Write_Function write, LV2UI_Controller controller,
                const LV2UI_Touch* touch, const LV2UI_Resize* resize, double scale);
    ~LV2EditorUI() override;
    LV2EditorUI(const LV2EditorUI&) = delete;
    LV2EditorUI& operator=(const LV2EditorUI&) = delete;

    /// Opens the window inside X window `parent` (0: a window of its own).
    /// False when the effect has no editor or the window cannot be opened.
    bool Open(std::uintptr_t parent);
    /// Closes the window; the UI may open again.
    void Close();
    bool IsOpen() const noexcept { return mAttachment.Window() != nullptr; }
    /// The X window id, as the host embeds it.
    LV2UI_Widget Widget() const noexcept { return mAttachment.Window(); }
    /// The window's size in pixels, at the content scale.
    int Width() const noexcept { return mAttachment.WindowWidth(); }
    int Height() const noexcept { return mAttachment.WindowHeight(); }
    /// The host's new ui:scaleFactor: an open window takes the new size and
    /// asks the host's ui:resize for it.
    void SetScale(double scale);

    /// A float arrived on `port`: control ports move their control.
    void PortEvent(std::uint32_t port, const float& value);
    /// The host's idle call: X events and the redraw tick.
    void Idle() { mLoop.Idle(); }

    void TouchParam(int paramIdx, bool grabbed) override;
    void WriteParam(int paramIdx, double plain) override;

private:
    IEffectLV2& mEffect;
    LV2UI_Write_Function mWrite;
    LV2UI_Controller mController;
    const LV2UI_Touch* mTouch;
    const LV2UI_Resize* mResize;
    LV2IdleRunLoop mLoop;
    EditorAttachment mAttachment;
};
