// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_GlyphSurfaces.h"

#include <algorithm>

#include "raster/PIX_DrawContext.h"
#include "raster/PIX_TextFormat.h"

namespace pix {
namespace {

// Plain pointers rather than owning objects: fonts kept in process-wide
// caches may be destroyed during static destruction, and must still find
// this state intact then. The last font deletes the surfaces.
PIX_SysBitmap* gGlyphSurface = nullptr;
PIX_SysBitmap* gMeasureSurface = nullptr;
int32_t gLiveFonts = 0;

// Grows `surface` to at least width x height; true when it grew.
bool GrowTo(PIX_SysBitmap& surface, int32_t width, int32_t height)
{
    if (surface.Width() >= width && surface.Height() >= height) return false;
    surface.Resize(std::max(surface.Width(), width), std::max(surface.Height(), height));
    return true;
}

}  // namespace

void FontCreated() noexcept
{
    ++gLiveFonts;
}

void FontDestroyed() noexcept
{
    if (--gLiveFonts > 0) return;
    gLiveFonts = 0;
    delete gGlyphSurface;
    delete gMeasureSurface;
    gGlyphSurface = nullptr;
    gMeasureSurface = nullptr;
}

PIX_SysBitmap& GlyphSurface(int32_t size)
{
    if (!gGlyphSurface) gGlyphSurface = new PIX_SysBitmap();
    const int32_t side = std::max(size, 256);
    if (GrowTo(*gGlyphSurface, side, side)) {
        PIX_DrawContext& dc = *gGlyphSurface->DeviceContext();
        dc.SetTextColor(0xFFFFFF);
        dc.SetBkMode(kBkModeOpaque);
        dc.SetBkColor(0);
    }
    return *gGlyphSurface;
}

PIX_SysBitmap& MeasureSurface(int32_t width, int32_t height)
{
    if (!gMeasureSurface) gMeasureSurface = new PIX_SysBitmap();
    GrowTo(*gMeasureSurface, std::max(width, 4), std::max(height, 4));
    return *gMeasureSurface;
}

}  // namespace pix
