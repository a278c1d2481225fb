// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/IPlatformGraphics.h"

#include <memory>

class IEffectBase;

/// [ui] The graphics context of this platform's window host for `plugin`
/// (borrowed; it must outlive the context), `width` x `height` editor pixels,
/// redrawn `fps` times a second. On Linux an X11 window host.
std::unique_ptr<IPlatformGraphics> MakePlatformGraphics(IEffectBase& plugin, int width, int height,
                                                        int fps);
