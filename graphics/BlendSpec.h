// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// How a control's image is put onto the draw surface. [any]
struct BlendSpec {
    enum Method : int { kBlendNone = 0, kBlendReplace = 1, kBlendAdd = 2, kBlendColorDodge = 3 };

    int method = kBlendNone;
    /// 1.0 unless the control is greyed out.
    float weight = 1.0f;

    /// The raster compose mode for `method` (any unknown method draws source-over).
    int ComposeMode() const noexcept;
};
