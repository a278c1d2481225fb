// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>

#include "raster/PIX_PixelOps.h"

namespace pix {
namespace {

// Reciprocals 65536 / i - 1 (T[0] = 0) so that hue and saturation need no
// division per pixel.
constexpr std::array<uint16_t, 256> MakeReciprocals()
{
    std::array<uint16_t, 256> t{};
    for (int i = 1; i < 256; ++i) t[i] = uint16_t(65536 / i - 1);
    return t;
}
constexpr std::array<uint16_t, 256> kReciprocal = MakeReciprocals();

}  // namespace

void HsvAdjust(uint8_t* d, int32_t sR, int32_t sG, int32_t sB, int32_t alpha, int32_t k) noexcept
{
    const int32_t R = d[2], G = d[1], B = d[0];
    // Hue runs on a circle of 384 steps: six sectors of 64.
    int32_t max, delta, n, base;
    if (G > R) {
        if (G > B) {
            max = G; delta = G - (R < B ? R : B); n = B - R; base = 128;
        } else {
            max = B; delta = B - R; n = R - G; base = 256;
        }
    } else if (R > B) {
        max = R; delta = R - (G < B ? G : B); n = G - B; base = G < B ? 383 : 0;
    } else {
        max = B; delta = B - (R < G ? R : G); n = R - G; base = 256;
    }
    int32_t S = int32_t(kReciprocal[max]) * delta / 256;
    int32_t H = base + n * (int32_t(kReciprocal[delta]) + 1) / 1024;
    int32_t V = max;

    H += k * (sR / 2 + sR - 192) / 256;
    if (H < 0) H += 384;
    else if (H >= 384) H -= 384;
    S = Clamp255(S + (sG - 128) * k / 128);
    V = Clamp255(V + (sB - 128) * k / 128);

    const int32_t lo = ((256 - S) * V / 256) & 255;
    auto ramp = [S, V](int32_t t) { return ((16384 + t * S) * V / 16384) & 255; };
    int32_t r, g, b;
    if (H < 64) { r = V; g = ramp(H - 64); b = lo; }
    else if (H < 128) { r = ramp(64 - H); g = V; b = lo; }
    else if (H < 192) { r = lo; g = V; b = ramp(H - 192); }
    else if (H < 256) { r = lo; g = ramp(192 - H); b = V; }
    else if (H < 320) { r = ramp(H - 320); g = lo; b = V; }
    else { r = V; g = lo; b = ramp(320 - H); }

    // A fill passes its integer weight as the alpha, which reaches 256 at
    // full weight; a byte cannot hold that, so it saturates to opaque.
    d[3] = uint8_t(alpha > 255 ? 255 : alpha);
    d[2] = uint8_t(r);
    d[1] = uint8_t(g);
    d[0] = uint8_t(b);
}

}  // namespace pix
