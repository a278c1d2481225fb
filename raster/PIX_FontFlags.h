// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

/// Flags given to PIX_CachedFont::AttachFont.
constexpr int32_t kFontVertical = 0x1;        ///< glyphs turned a quarter, text runs downwards
constexpr int32_t kFontVerticalUp = 0x2;      ///< with kFontVertical: runs upwards
constexpr int32_t kFontPrerenderAscii = 0x4;  ///< render 0..127 at attach time, never others
constexpr int32_t kFontBlur = 0x10;           ///< smooth glyphs before taking coverage
constexpr int32_t kFontInvert = 0x20;         ///< coverage is the complement
constexpr int32_t kFontMono = 0x40;           ///< coverage thresholded to 0 or 255
constexpr int32_t kFontShadow = 0x80;         ///< add a shadow fringe in the effect colour
constexpr int32_t kFontOutline = 0x100;       ///< add an outline fringe in the effect colour
constexpr int32_t kFontOwnsHandle = 0x200;    ///< delete the font handle when replaced/destroyed
constexpr int32_t kFontPreferSystem = 0x400;  ///< draw through the platform when possible
