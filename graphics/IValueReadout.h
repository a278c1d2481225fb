// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/IControl.h"
#include "graphics/PixelRect.h"
#include "graphics/TextStyle.h"

#include <cstdint>

class IGraphics;

/// A knob's value in its parameter's units ("+3.2 dB", "3.1 kHz"), drawn in
/// a small box just below the knob while the pointer rests on the knob,
/// while it is dragged, and for about a second after a drag or a wheel turn
/// ends. A click on the box opens the value entry in the same units.
///
/// The frontmost control of the editor, not bound to a parameter, hidden
/// while it shows nothing. IGraphics tells it what the pointer does to which
/// control (the Note operations) and ticks it; it follows knobs (controls
/// derived from IKnobControl) bound to a parameter. Owned by the graphics
/// context; the plug-in is borrowed. [ui]
class IValueReadout : public IControl {
public:
    static constexpr int kWidth = 72;   ///< editor pixels
    static constexpr int kHeight = 17;  ///< editor pixels
    static constexpr uint32_t kFillColour = 0xFF15181Bu;    ///< as the maker's badge
    static constexpr uint32_t kBorderColour = 0xFFD8DCE0u;  ///< as the panel's printing
    static constexpr ArgbColor kTextColour{255, 240, 242, 244};

    explicit IValueReadout(IEffectBase* plug);

    // ---- what the pointer does (from IGraphics) ---------------------------------

    /// The pointer rests on control `index` (−1: none); while it rests on
    /// the readout itself, the readout keeps showing what it shows.
    void NotePointerOver(int index);
    void NotePointerOut();
    /// A press on control `index` begins; its release ends it.
    void NotePress(int index);
    void NoteRelease();
    /// The wheel turned control `index`.
    void NoteWheel(int index);
    /// One redraw tick: the second after a drag or turn runs down, and the
    /// text follows the value (a host's automation moves it too).
    void Tick();

    /// The control whose value is shown, −1 for none.
    int ShownIndex() const noexcept { return mShown; }
    const char* ShownText() const noexcept { return mText; }
    /// Where the box is drawn for a knob with draw rectangle `knob`.
    static PixelRect BoxFor(const PixelRect& knob) noexcept;

    // ---- IControl ------------------------------------------------------------------

    /// Opens the value entry of the shown knob's parameter over the box.
    void OnPress(int x, int y, const MouseMods& mods) override;
    bool Draw(IGraphics& graphics) override;
    /// After a move the draw rectangle also covered the old box; it shrinks back.
    void MarkClean() override;

private:
    /// A knob bound to a parameter.
    bool Follows(int index) const;
    /// Shows what the pointer's state asks for, or hides.
    void Update();

    int mHovered = -1;
    int mPressed = -1;
    int mLingering = -1;
    int mLingerTicks = 0;
    int mShown = -1;
    char mText[32] = {};
    PixelRect mBox;
    TextStyle mStyle;
};
