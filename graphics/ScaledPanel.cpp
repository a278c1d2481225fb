// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/ScaledPanel.h"

#include "graphics/ArtworkScale.h"
#include "graphics/WindowScale.h"
#include "raster/PIX_Compose.h"
#include "raster/PIX_Resample.h"
#include "raster/PIX_SysBitmap.h"

namespace {

// A panel redraw blits about one image per control; more only grows the list.
constexpr size_t kUsualBlits = 16;

} // namespace

ScaledPanel::ScaledPanel(double contentScale, int width, int height)
    : mContentScale(contentScale), mArtworkScale(ArtworkScale::For(contentScale)), mWidth(width),
      mHeight(height), mArtworkSurface(std::make_unique<PIX_SysBitmap>())
{
    mArtworkSurface->Resize(width * mArtworkScale, height * mArtworkScale);
    if (mContentScale < mArtworkScale) {
        mWindowSurface = std::make_unique<PIX_SysBitmap>();
        mWindowSurface->Resize(WindowScale::ScaledLength(width, contentScale),
                               WindowScale::ScaledLength(height, contentScale));
    }
    mBlits.reserve(kUsualBlits);
}

ScaledPanel::~ScaledPanel() = default;

void ScaledPanel::RecordBlit(const PIX_IBitmap& image, const PixelRect& dest, const PIX_Rect& source,
                             int mode, float weight)
{
    mBlits.push_back({&image, dest, source, mode, weight, nullptr});
}

void ScaledPanel::RecordPainting(ScaledPainting painting)
{
    mBlits.push_back({nullptr, {}, {}, 0, 0.0f, std::move(painting)});
}

void ScaledPanel::Compose(const PIX_IBitmap& editorSurface, const PixelRect& rect,
                          const ScaledImageLookup& scaledImage)
{
    const int a = mArtworkScale;
    const PixelRect area = rect.Intersection({0, 0, mWidth, mHeight});
    if (!area.IsEmpty()) {
        PIX_Enlarge(mArtworkSurface.get(), &editorSurface, {area.L, area.T, area.R, area.B}, a);
        // Every blit is made again from its scaled drawing, or none is: one
        // image missing would otherwise vanish under the ones drawn above it.
        std::vector<const PIX_IBitmap*> scaled;
        scaled.reserve(mBlits.size());
        for (const Blit& blit : mBlits) {
            const PIX_IBitmap* image = blit.image ? scaledImage(*blit.image, a) : nullptr;
            if (blit.image && !image) break;
            scaled.push_back(image);
        }
        if (scaled.size() == mBlits.size()) {
            for (size_t i = 0; i < mBlits.size(); ++i) {
                const Blit& b = mBlits[i];
                if (b.painting) {
                    b.painting(*mArtworkSurface, a);
                    continue;
                }
                const PIX_Rect source{b.source.left * a, b.source.top * a, b.source.right * a,
                                      b.source.bottom * a};
                PIX_Compose(mArtworkSurface.get(), scaled[i], b.dest.L * a, b.dest.T * a, &source,
                            b.weight, b.mode);
            }
        }
        if (mWindowSurface) {
            const PixelRect out = WindowScale::ScaledRect(area, mContentScale);
            PIX_Reduce(mWindowSurface.get(), {out.L, out.T, out.R, out.B}, mArtworkSurface.get(),
                       a / mContentScale);
        }
    }
    mBlits.clear();
}

PresentedImage ScaledPanel::Presentation(const PixelRect& rect) const
{
    const PixelRect area = rect.Intersection({0, 0, mWidth, mHeight});
    if (mWindowSurface) {
        const PixelRect out = WindowScale::ScaledRect(area, mContentScale);
        return {mWindowSurface.get(), out.Intersection({0, 0, mWindowSurface->Width(), mWindowSurface->Height()}),
                1.0};
    }
    const int a = mArtworkScale;
    return {mArtworkSurface.get(), {area.L * a, area.T * a, area.R * a, area.B * a}, mContentScale / a};
}
