// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_Resample.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

uint32_t* Row(const PIX_IBitmap& bitmap, int32_t y) noexcept
{
    const int32_t stored = bitmap.IsBottomUp() ? bitmap.Height() - 1 - y : y;
    return bitmap.Pixels() + ptrdiff_t(stored) * bitmap.RowStride();
}

/// The source pixels a destination pixel covers along one axis: the span
/// [begin, end) in source pixels, cut to the source's `length`.
struct Span {
    double begin;
    double end;
    int32_t first; ///< first source pixel touched
    int32_t last;  ///< last source pixel touched

    Span(int32_t index, double ratio, int32_t length) noexcept
        : begin(index * ratio), end(std::min((index + 1) * ratio, double(length))),
          first(int32_t(begin)), last(std::min(int32_t(std::ceil(end)) - 1, length - 1))
    {
    }

    /// How much of source pixel `i` the span covers (0..1).
    double Cover(int32_t i) const noexcept { return std::min(i + 1.0, end) - std::max(double(i), begin); }
};

} // namespace

void PIX_Enlarge(PIX_IBitmap* dest, const PIX_IBitmap* source, const PIX_Rect& area,
                 int32_t factor) noexcept
{
    if (!dest || !source || factor < 1 || !dest->Pixels() || !source->Pixels()) return;
    const int32_t left = std::max(area.left, 0);
    const int32_t top = std::max(area.top, 0);
    const int32_t right = std::min({area.right, source->Width(), dest->Width() / factor});
    const int32_t bottom = std::min({area.bottom, source->Height(), dest->Height() / factor});
    for (int32_t y = top; y < bottom; ++y) {
        const uint32_t* from = Row(*source, y);
        for (int32_t dy = 0; dy < factor; ++dy) {
            uint32_t* to = Row(*dest, y * factor + dy);
            for (int32_t x = left; x < right; ++x)
                std::fill_n(to + ptrdiff_t(x) * factor, factor, from[x]);
        }
    }
}

void PIX_Reduce(PIX_IBitmap* dest, const PIX_Rect& area, const PIX_IBitmap* source,
                double ratio) noexcept
{
    if (!dest || !source || !std::isfinite(ratio) || ratio < 1.0) return;
    if (!dest->Pixels() || !source->Pixels()) return;
    const int32_t left = std::max(area.left, 0);
    const int32_t top = std::max(area.top, 0);
    const int32_t right = std::min(area.right, dest->Width());
    const int32_t bottom = std::min(area.bottom, dest->Height());
    for (int32_t y = top; y < bottom; ++y) {
        const Span rows(y, ratio, source->Height());
        if (rows.first > rows.last) break;
        uint32_t* to = Row(*dest, y);
        for (int32_t x = left; x < right; ++x) {
            const Span columns(x, ratio, source->Width());
            if (columns.first > columns.last) break;
            double sum[4] = {};
            double covered = 0.0;
            for (int32_t sy = rows.first; sy <= rows.last; ++sy) {
                const uint32_t* from = Row(*source, sy);
                const double rowCover = rows.Cover(sy);
                for (int32_t sx = columns.first; sx <= columns.last; ++sx) {
                    const double w = rowCover * columns.Cover(sx);
                    const uint32_t p = from[sx];
                    for (int byte = 0; byte < 4; ++byte) sum[byte] += w * double((p >> (8 * byte)) & 0xFF);
                    covered += w;
                }
            }
            uint32_t pixel = 0;
            for (int byte = 0; byte < 4; ++byte) {
                const double mean = std::min(255.0, sum[byte] / covered + 0.5);
                pixel |= uint32_t(mean) << (8 * byte);
            }
            to[x] = pixel;
        }
    }
}
