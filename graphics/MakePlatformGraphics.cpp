// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/MakePlatformGraphics.h"

#ifdef _WIN32
#include "graphics/win32/IGraphicsWin.h"
using PlatformGraphics = IGraphicsWin;
#else
#include "graphics/x11/IGraphicsX11.h"
using PlatformGraphics = IGraphicsX11;
#endif

std::unique_ptr<IPlatformGraphics> MakePlatformGraphics(IEffectBase& plugin, int width, int height,
                                                        int fps)
{
    return std::make_unique<PlatformGraphics>(&plugin, width, height, fps);
}
