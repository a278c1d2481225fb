// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/IPlatformGraphics.h"

#include <memory>

class IEffectBase;

/// [ui] The graphics context of this platform's window host for `plugin`
/// (borrowed; it must outlive the context), `width` x `height` editor pixels,
/// redrawn `fps` times a second: on Windows the Win32 window host, on Linux
/// the X11 one.
std::unique_ptr<IPlatformGraphics> MakePlatformGraphics(IEffectBase& plugin, int width, int height,
                                                        int fps);
