// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/BlendSpec.h"
#include "graphics/MouseMods.h"
#include "graphics/PixelRect.h"
#include "graphics/TextStyle.h"
#include "platform/RelaxedAtomic.h"

#include <string>
#include <vector>

class IEffectBase;
class IGraphics;

/// An element of the editor: a rectangle with an optional binding to one
/// plug-in parameter, holding a normalised value in [0, 1], drawing itself
/// into the graphics context's surface and reacting to the mouse. Abstract
/// (no drawing of its own).
///
/// Owned by the IGraphics it is attached to; the plug-in and the context are
/// borrowed. Everything runs on the user-interface thread [ui]: the plug-in's
/// values reach the controls on the editor's own timer, never from the audio
/// thread. What SetValueFromPlugin / SetAuxValueFromPlugin write (values,
/// dirty flags) is relaxed-atomic all the same, so drawing needs no lock.
class IControl {
public:
    /// A further parameter the control follows, with its normalised value.
    struct AuxParam {
        RelaxedAtomic<double> value = 0.0;
        int paramIdx = -1;
    };

    /// `plug` receives the parameter writes (may be null); `paramIdx` is the
    /// bound parameter or −1; `blendMethod` is a BlendSpec method.
    IControl(IEffectBase* plug, const PixelRect& rect, int paramIdx = -1,
             int blendMethod = BlendSpec::kBlendNone);
    IControl(const IControl&) = delete;
    IControl& operator=(const IControl&) = delete;

    // ---- virtual operations, in slot order ----------------------------------

    virtual ~IControl();
    /// A button went down on the control: with the right button, asks for the
    /// value prompt.
    virtual void OnPress(int x, int y, const MouseMods& mods);
    virtual void OnRelease(int x, int y, const MouseMods& mods);
    /// Pointer moved by (dX, dY) pixels since the last delivered position
    /// while the control holds the press.
    virtual void OnDrag(int x, int y, int dX, int dY, const MouseMods& mods);
    /// Restores the default value (if one is known) and writes it to the plug-in.
    virtual void OnDoubleClick(int x, int y, const MouseMods& mods);
    /// `steps` wheel notches, positive away from the user.
    virtual void OnWheelTurn(int x, int y, const MouseMods& mods, int steps);
    /// True when the key was taken; the base takes none.
    virtual bool OnKeyPress(int x, int y, int key);
    virtual void OnPointerOver(int x, int y, const MouseMods& mods);
    virtual void OnPointerOut();
    /// Draws into the context's surface, clipped to its draw area.
    virtual bool Draw(IGraphics& graphics) = 0;
    /// A normalised value from the plug-in; the first one becomes the default.
    /// [ui]
    virtual void SetValueFromPlugin(double value) noexcept;
    /// A normalised value chosen by the user; written to the plug-in.
    virtual void SetValueFromUser(double value);
    /// Text typed into a value entry opened without a parameter.
    virtual void AcceptEnteredText(const char* text);
    virtual void SetHidden(bool hide);
    /// Greyed controls draw at weight 0.25 and ignore the mouse.
    virtual void SetGreyed(bool grey);
    virtual bool HitTest(int x, int y) const;
    /// Clamps the value to [lowerClamp, upperClamp], marks the control dirty
    /// and, with `pushToPlugin` and a bound parameter, writes the value to the
    /// plug-in (even when clamping left it unchanged).
    virtual void MarkDirty(bool pushToPlugin);
    /// After a draw pass: stays dirty once more if a change asked for it.
    virtual void MarkClean();
    virtual bool NeedsRedraw() const;
    /// Hook for periodic work; the toolkit never calls it.
    virtual void IdleTick();
    /// A normalised value for aux entry `auxIndex` from the plug-in.
    /// [ui]
    virtual void SetAuxValueFromPlugin(int auxIndex, double value) noexcept;

    // ---- non-virtual ---------------------------------------------------------

    /// Asks the context for the value prompt when prompting is on and a
    /// parameter is bound (see IGraphics::PromptValueEntry).
    void RequestValuePrompt();

    /// Called by IGraphics when it takes the control: the context that draws
    /// it and answers its requests. Null until attached.
    void SetGraphics(IGraphics* graphics) noexcept { mGraphics = graphics; }
    IGraphics* Graphics() const noexcept { return mGraphics; }
    IEffectBase* Plug() const noexcept { return mPlug; }

    /// Adds a further parameter the control follows; returns its aux index.
    int AddAuxParam(int paramIdx);
    int AuxParamCount() const noexcept { return int(mExtraParams.size()); }
    /// Aux entry `auxIndex`, or null when out of range.
    const AuxParam* Aux(int auxIndex) const noexcept;

    const PixelRect& Rect() const noexcept { return mRect; }
    const PixelRect& HitRect() const noexcept { return mHitRect; }
    int ParamIdx() const noexcept { return mParamIdx; }
    double Value() const noexcept { return mValue; }
    double DefaultValue() const noexcept { return mDefaultValue; }
    void SetClamp(double lower, double upper) noexcept { mLowerClamp = lower; mUpperClamp = upper; }
    bool IsHidden() const noexcept { return mHidden; }
    bool IsGreyed() const noexcept { return mGreyed; }
    const BlendSpec& Blend() const noexcept { return mBlend; }
    TextStyle& Text() noexcept { return mText; }
    int EntryMaxLength() const noexcept { return mEntryMaxLength; }
    void SetEntryMaxLength(int length) noexcept { mEntryMaxLength = length; }
    bool PromptOff() const noexcept { return mPromptOff; }
    void SetPromptOff(bool off) noexcept { mPromptOff = off; }
    bool DblClickAsPress() const noexcept { return mDblClickAsPress; }
    void SetDblClickAsPress(bool asPress) noexcept { mDblClickAsPress = asPress; }
    bool HoverWhenGreyed() const noexcept { return mHoverWhenGreyed; }
    void SetHoverWhenGreyed(bool hover) noexcept { mHoverWhenGreyed = hover; }
    const std::string& Tooltip() const noexcept { return mTooltip; }
    void SetTooltip(std::string tooltip) { mTooltip = std::move(tooltip); }

protected:
    int mEntryMaxLength = 7;
    TextStyle mText;
    IEffectBase* mPlug = nullptr;
    PixelRect mRect;
    PixelRect mHitRect;
    int mParamIdx = -1;
    std::vector<AuxParam> mExtraParams;
    RelaxedAtomic<double> mValue = 0.0;
    /// Negative until the plug-in delivered a first value.
    double mDefaultValue = -1.0;
    double mLowerClamp = 0.0;
    double mUpperClamp = 1.0;
    RelaxedAtomic<bool> mDirty = true;
    bool mHidden = false;
    bool mGreyed = false;
    /// Keeps the control dirty for one more pass after the next clean.
    RelaxedAtomic<bool> mDrawTwice = false;
    bool mPromptOff = true;
    bool mDblClickAsPress = false;
    bool mHoverWhenGreyed = false;
    BlendSpec mBlend;
    std::string mTooltip;

private:
    IGraphics* mGraphics = nullptr;
};
