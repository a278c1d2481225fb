// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/ImageCache.h"

#include "raster/PIX_IBitmap.h"

ImageCache& ImageCache::Instance()
{
    static ImageCache cache;
    return cache;
}

PIX_IBitmap* ImageCache::Find(int resourceId) const
{
    std::lock_guard<std::mutex> hold(mLock);
    return FindLocked(resourceId);
}

PIX_IBitmap* ImageCache::Insert(int resourceId, std::unique_ptr<PIX_IBitmap> image)
{
    std::lock_guard<std::mutex> hold(mLock);
    if (image) mEntries.push_back({resourceId, std::move(image)});
    return FindLocked(resourceId);
}

int ImageCache::IdOf(const PIX_IBitmap* image) const
{
    std::lock_guard<std::mutex> hold(mLock);
    for (const Entry& e : mEntries)
        if (image && e.image.get() == image) return e.resourceId;
    return -1;
}

PIX_IBitmap* ImageCache::FindLocked(int resourceId) const noexcept
{
    for (const Entry& e : mEntries)
        if (e.resourceId == resourceId) return e.image.get();
    return nullptr;
}
