// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/BlendSpec.h"

#include "raster/PIX_ComposeMode.h"

int BlendSpec::ComposeMode() const noexcept
{
    switch (method) {
    case kBlendReplace: return kComposeCopy;
    case kBlendAdd: return kComposeSourceAlpha + kComposeAdd;
    case kBlendColorDodge: return kComposeSourceAlpha + kComposeDodge;
    default: return kComposeSourceAlpha + kComposeCopy;
    }
}
