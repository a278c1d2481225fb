// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Format flags of text drawing: the values of the Windows DrawText flags, so
// that callers pass the same words on every platform. Where the Windows
// headers came first their own definitions serve.
#ifndef DT_CENTER
constexpr uint32_t DT_CENTER = 0x1;      ///< centre each line horizontally
constexpr uint32_t DT_RIGHT = 0x2;       ///< align right
constexpr uint32_t DT_VCENTER = 0x4;     ///< centre vertically (single line)
constexpr uint32_t DT_BOTTOM = 0x8;      ///< align to the bottom (single line)
constexpr uint32_t DT_SINGLELINE = 0x20; ///< line feeds do not break lines
constexpr uint32_t DT_NOCLIP = 0x100;    ///< draw beyond the rectangle
constexpr uint32_t DT_CALCRECT = 0x400;  ///< measure only: set right and bottom
constexpr uint32_t DT_NOPREFIX = 0x800;  ///< '&' is an ordinary character
#endif

/// Library additions to the format: multiply the weight by the text colour's
/// alpha / 255 (and keep the text off the system path) ...
constexpr uint32_t kTextColorAlphaWeight = 0x40000000u;
/// ... and keep the text off the system path.
constexpr uint32_t kTextAvoidSystem = 0x80000000u;

/// Background modes: the glyphs alone, or the text box filled first.
constexpr int32_t kBkModeTransparent = 1;
constexpr int32_t kBkModeOpaque = 2;
