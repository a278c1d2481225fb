// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/FrameStrip.h"
#include "graphics/IControl.h"

/// A picture: shows the frame of its strip that matches its value (the only
/// frame for one-frame images such as the background). [ui]
class IBitmapControl : public IControl {
public:
    /// Placed at (x, y), one frame of `strip` in size.
    IBitmapControl(IEffectBase* plug, int x, int y, int paramIdx, const FrameStrip& strip,
                   int blendMethod = BlendSpec::kBlendNone);

    bool Draw(IGraphics& graphics) override;

    const FrameStrip& Strip() const noexcept { return mStrip; }

protected:
    FrameStrip mStrip;
};
