// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/PixelRect.h"
#include "graphics/PresentedImage.h"
#include "raster/PIX_Rect.h"

#include <functional>
#include <memory>
#include <vector>

class PIX_IBitmap;
class PIX_SysBitmap;

/// The editor as a window at a content scale above 1 shows it. The graphics
/// context keeps drawing its 1x surface in editor pixels; this panel follows
/// it at the artwork scale (ArtworkScale::For), composing every image the
/// context blitted again from that image's scaled drawing, and reduces the
/// result with a box filter to the window's real pixel size where the
/// content scale is not the artwork scale itself. Owned by the graphics
/// context, which makes one only while the scale is above 1. [ui]
///
/// What controls draw into the 1x surface by other means than an image
/// blit, and images without a scaled drawing, are shown enlarged from the
/// 1x surface (a whole redrawn area at once, so the layers stay in order).
class ScaledPanel {
public:
    /// The scaled drawing of a 1x image, or null when there is none.
    using ScaledImageLookup = std::function<const PIX_IBitmap*(const PIX_IBitmap& image, int scale)>;
    /// Draws again, into `surface` at `scale` times the editor's pixels,
    /// something the context drew by other means than an image (a filled
    /// box, text), so that it is as sharp as the artwork.
    using ScaledPainting = std::function<void(PIX_IBitmap& surface, int scale)>;

    /// For an editor of `width` x `height` editor pixels shown at
    /// `contentScale` (above 1) window pixels per editor pixel.
    ScaledPanel(double contentScale, int width, int height);
    ~ScaledPanel();
    ScaledPanel(const ScaledPanel&) = delete;
    ScaledPanel& operator=(const ScaledPanel&) = delete;

    double ContentScale() const noexcept { return mContentScale; }
    int ArtworkScale() const noexcept { return mArtworkScale; }

    /// Notes that `source` of `image` was composed at `dest` (editor pixels,
    /// already clipped to the area being drawn) with `mode` and `weight`.
    void RecordBlit(const PIX_IBitmap& image, const PixelRect& dest, const PIX_Rect& source,
                    int mode, float weight);
    /// Notes a painting, made again in order with the blits.
    void RecordPainting(ScaledPainting painting);
    /// Brings editor area `rect` up to date from the freshly drawn 1x
    /// `editorSurface` and the blits recorded since the last call, which it
    /// then forgets.
    void Compose(const PIX_IBitmap& editorSurface, const PixelRect& rect,
                 const ScaledImageLookup& scaledImage);
    /// Where a window finds editor area `rect`.
    PresentedImage Presentation(const PixelRect& rect) const;

private:
    /// An image blit, or (without image) a painting.
    struct Blit {
        const PIX_IBitmap* image;
        PixelRect dest;
        PIX_Rect source;
        int mode;
        float weight;
        ScaledPainting painting;
    };

    double mContentScale;
    int mArtworkScale;
    int mWidth;
    int mHeight;
    /// The editor at the artwork scale.
    std::unique_ptr<PIX_SysBitmap> mArtworkSurface;
    /// The editor at the window's pixel size; only when the content scale
    /// lies below the artwork scale.
    std::unique_ptr<PIX_SysBitmap> mWindowSurface;
    std::vector<Blit> mBlits;
};
