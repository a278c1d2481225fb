// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/FontCache.h"

#include "raster/PIX_CachedFont.h"

FontCache& FontCache::Instance()
{
    static FontCache cache;
    return cache;
}

PIX_CachedFont* FontCache::Find(int size, int orientation, int style, const char* face) const
{
    std::lock_guard<std::mutex> hold(mLock);
    return FindLocked(size, orientation, style, face);
}

PIX_CachedFont* FontCache::Insert(int size, int orientation, int style, const char* face,
                                  std::unique_ptr<PIX_CachedFont> font)
{
    std::lock_guard<std::mutex> hold(mLock);
    if (font) mEntries.push_back({size, orientation, style, face ? face : "", std::move(font)});
    return FindLocked(size, orientation, style, face);
}

PIX_CachedFont* FontCache::FindLocked(int size, int orientation, int style,
                                      const char* face) const noexcept
{
    const std::string_view name = face ? face : "";
    for (const Entry& e : mEntries)
        if (e.size == size && e.orientation == orientation && e.style == style && e.face == name)
            return e.font.get();
    return nullptr;
}
