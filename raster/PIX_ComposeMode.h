// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

/// Compose modes of PIX_Compose and PIX_Fill. Only the low 8 bits and
/// kComposeSourceAlpha mean anything; low-byte values 6 to 0xEF draw nothing.
constexpr int32_t kComposeCopy = 0;          ///< replace, or blend toward the source by the weight
constexpr int32_t kComposeAdd = 1;           ///< add the weighted source, saturating
constexpr int32_t kComposeDodge = 2;         ///< divide by the inverted weighted source
constexpr int32_t kComposeMultiply = 3;      ///< multiply by the weighted source
constexpr int32_t kComposeOverlay = 4;       ///< darken below mid-grey, lighten above
constexpr int32_t kComposeHsvAdjust = 5;     ///< shift hue/saturation/value by source red/green/blue
/// Plus (destination byte * 4) + source byte (0 blue, 1 green, 2 red,
/// 3 alpha): copy one byte of each source pixel (PIX_Compose only).
constexpr int32_t kComposeChannelCopy = 0xF0;
/// Flag: scale the weight by each source pixel's alpha (PIX_Compose) or by
/// the fill colour's alpha (PIX_Fill).
constexpr int32_t kComposeSourceAlpha = 0x10000;
