// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_ImageLoader.h"

#include <strings.h>

#include <cstring>

#include "raster/PIX_PngLoader.h"

namespace {

// The name's text from its last '.', '/' or '\' onwards must be ".png".
bool HasPngExtension(const char* path)
{
    const char* tail = nullptr;
    for (const char* p = path; *p; ++p)
        if (*p == '.' || *p == '/' || *p == '\\') tail = p;
    return tail && strcasecmp(tail, ".png") == 0;
}

PIX_IBitmap* LoadPng(const char* path, PIX_IBitmap* into, bool checkName)
{
    if (!path || (checkName && !HasPngExtension(path))) return nullptr;
    if (into) return PIX_LoadPngFromFileInto(path, *into) ? into : nullptr;
    return PIX_LoadPngFromFile(path).release();
}

const char* PngFilter()
{
    return "PNG files (*.PNG)\0*.PNG\0";
}

}  // namespace

const PIX_ImageLoader* PIX_ImageLoaders()
{
    // Registered on first use, which the language makes thread-safe; the
    // list is never changed afterwards.
    static const PIX_ImageLoader png{LoadPng, PngFilter, nullptr};
    return &png;
}
