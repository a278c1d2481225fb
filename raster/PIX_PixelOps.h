// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Per-pixel operations shared by composing, filling and glyph drawing. A
// pixel is addressed as its four bytes in memory: 0 blue, 1 green, 2 red,
// 3 alpha (the library's 0xAARRGGBB words on a little-endian machine). The
// source is given as four integers so that a fill can pass its integer
// weight (up to 256) in place of an alpha byte. All arithmetic is integer;
// '/' truncates toward zero as the formulas require. [any]: no state.

#include <cstdint>

#include "raster/PIX_ComposeMode.h"

namespace pix {

inline int32_t Clamp255(int32_t v) noexcept
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

/// Integer weight from a float weight: trunc(weight * 256), limited to
/// 0..256 (a negative or non-finite weight gives 0, one above 1.0 gives 256).
inline int32_t IntWeight(float weight) noexcept
{
    const double w = double(weight) * 256.0;
    if (!(w > 0.0)) return 0;
    return w >= 256.0 ? 256 : static_cast<int32_t>(w);
}

/// Source-alpha-scaled weight: trunc((a + 1) * w / 256).
inline int32_t AlphaWeight(int32_t a, int32_t w) noexcept
{
    return (a + 1) * w / 256;
}

/// Linear blend of every byte toward the source by weight w (1..256).
template <class S>
inline void BlendBytes(uint8_t* d, const S* s, int32_t w) noexcept
{
    for (int i = 0; i < 4; ++i) d[i] = uint8_t(s[i] + (d[i] - int32_t(s[i])) * (256 - w) / 256);
}

/// Additive: d = clamp(d + s * k / 256) on every byte.
template <class S>
inline void AddBytes(uint8_t* d, const S* s, int32_t k) noexcept
{
    for (int i = 0; i < 4; ++i) d[i] = uint8_t(Clamp255(d[i] + int32_t(s[i]) * k / 256));
}

/// Colour dodge: divide by the inverted weighted source on every byte.
template <class S>
inline void DodgeBytes(uint8_t* d, const S* s, int32_t k) noexcept
{
    for (int i = 0; i < 4; ++i) {
        const int32_t q = 256 - int32_t(s[i]) * k / 256;
        int32_t v = d[i] * 256;
        if (q > 1) v /= q;
        d[i] = uint8_t(Clamp255(v));
    }
}

/// Multiply toward the source by weight f: d = ((f*s + (256-f)*256) * d) >> 16.
template <class S>
inline void MultiplyBytes(uint8_t* d, const S* s, int32_t f) noexcept
{
    for (int i = 0; i < 4; ++i) d[i] = uint8_t(((f * int32_t(s[i]) + (256 - f) * 256) * d[i]) >> 16);
}

/// Overlay: darken where the source is below mid-grey, lighten above.
template <class S>
inline void OverlayBytes(uint8_t* d, const S* s, int32_t k) noexcept
{
    const int32_t b = (256 - k) * 128;
    for (int i = 0; i < 4; ++i) {
        const int32_t t = int32_t(s[i]) * k + b;
        const int32_t v = ((t + (32768 - t) * d[i] / 256) * d[i]) >> 15;
        d[i] = uint8_t(Clamp255(v));
    }
}

/// Shifts hue, saturation and value of the destination by the source's red,
/// green and blue; `alpha` replaces the destination alpha.
void HsvAdjust(uint8_t* d, int32_t sR, int32_t sG, int32_t sB, int32_t alpha, int32_t k) noexcept;

/// Calls visit(op) once with the operation of compose mode `mode` (low byte
/// 0 to 5: copy, add, dodge, multiply, overlay, HSV adjust), where
/// op(d, s, k) applies it to one pixel with weight k; HSV adjust takes its
/// alpha argument from s[3]. Other modes call nothing. The mode is resolved
/// here, once, so that each caller's pixel loop is compiled per operation.
template <class Visit>
inline void VisitOperation(int32_t mode, Visit&& visit)
{
    switch (mode) {
    case kComposeCopy: visit([](uint8_t* d, const auto* s, int32_t k) { BlendBytes(d, s, k); }); break;
    case kComposeAdd: visit([](uint8_t* d, const auto* s, int32_t k) { AddBytes(d, s, k); }); break;
    case kComposeDodge: visit([](uint8_t* d, const auto* s, int32_t k) { DodgeBytes(d, s, k); }); break;
    case kComposeMultiply: visit([](uint8_t* d, const auto* s, int32_t k) { MultiplyBytes(d, s, k); }); break;
    case kComposeOverlay: visit([](uint8_t* d, const auto* s, int32_t k) { OverlayBytes(d, s, k); }); break;
    case kComposeHsvAdjust:
        visit([](uint8_t* d, const auto* s, int32_t k) { HsvAdjust(d, s[2], s[1], s[0], s[3], k); });
        break;
    default: break;
    }
}

/// Source over at full weight (straight alpha).
inline void SourceOverFull(uint8_t* d, const uint8_t* s) noexcept
{
    const int32_t a = s[3];
    if (a == 0) return;
    if (a == 255) {
        for (int i = 0; i < 4; ++i) d[i] = s[i];
        return;
    }
    d[3] = uint8_t(d[3] + a > 255 ? 255 : d[3] + a);
    for (int i = 0; i < 3; ++i) d[i] = uint8_t(s[i] + (d[i] - int32_t(s[i])) * (255 - a) / 256);
}

/// Source over at weight w (1..255).
inline void SourceOverWeighted(uint8_t* d, const uint8_t* s, int32_t w) noexcept
{
    const int32_t a = s[3];
    if (a == 0) return;
    const int32_t f = AlphaWeight(a, w);
    d[3] = uint8_t(d[3] + f > 255 ? 255 : d[3] + f);
    for (int i = 0; i < 3; ++i) d[i] = uint8_t(s[i] + (d[i] - int32_t(s[i])) * (256 - f) / 256);
}

}  // namespace pix
