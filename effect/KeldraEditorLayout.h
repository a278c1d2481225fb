// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/KeldraIdentity.h"
#include "graphics/IGraphics.h"

#include <memory>

class IEffectBase;

/// The front panel of KELDRA: a fixed 300 x 570 pixel editor redrawn 25
/// times a second, with a painted background, six knobs, the IN (Bypass)
/// switch, the oversampling switch, the maker logo that opens the product
/// page and the nameplate that opens the preset menu. [ui]
class KeldraEditorLayout {
public:
    static constexpr int kWidth = 300;  ///< editor pixels
    static constexpr int kHeight = 570; ///< editor pixels
    static constexpr int kFps = 25;     ///< redraw ticks per second
    /// The product page the logo area opens.
    static constexpr const char* kProductUrl = KeldraIdentity::kWebPage;

    /// [ui] The editor of `plug`: the platform's graphics context at the
    /// panel's size and rate, filled by Build. The caller hands it to the
    /// plug-in base (AttachEditor).
    static std::unique_ptr<IGraphics> Create(IEffectBase& plug);

    /// [ui] Fills an empty `graphics` with the panel's twelve controls, back
    /// to front: the background inserted at the front, then the IN switch, the
    /// six knobs, the oversampling switch, the logo area, the nameplate and
    /// the value readout appended (last, so it shows over the others).
    static void Build(IGraphics& graphics);
};
