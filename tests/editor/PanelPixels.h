// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PluginInstance;

/// [ui] The panel the editor would show for `plugin`'s current state in a
/// window at content scale `scale`, with the value readout of knob
/// `readout` (a parameter title; empty: none), drawn off-screen: 0x00RRGGBB
/// words row by row. Empty (and a test failure) when it cannot be drawn.
std::vector<uint32_t> OffscreenPanelPixels(PluginInstance& plugin, double scale = 1.0,
                                           const std::string& readout = {});

/// [any] Index of the first pixel where `a` and `b` differ, 0 when their sizes
/// differ, −1 when they are equal.
long FirstDifferentPixel(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b);
