// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/MakePlatformGraphics.h"

#include "graphics/x11/IGraphicsX11.h"

std::unique_ptr<IPlatformGraphics> MakePlatformGraphics(IEffectBase& plugin, int width, int height,
                                                        int fps)
{
    return std::make_unique<IGraphicsX11>(&plugin, width, height, fps);
}
