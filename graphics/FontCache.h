// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class PIX_CachedFont;

/// The process-wide store of fonts created for text drawing, shared by every
/// editor and kept until the module unloads. [ui, any instance]
///
/// A font is found by size, orientation, style and the exact (case-sensitive)
/// face name; colour and quality are not part of the key.
class FontCache {
public:
    /// The one cache of this process.
    static FontCache& Instance();

    FontCache() = default;
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    /// The first font stored under this key, or null.
    PIX_CachedFont* Find(int size, int orientation, int style, const char* face) const;

    /// Stores `font` under the key (a null font is not stored) and returns the
    /// first font stored under it, which may be an earlier one.
    PIX_CachedFont* Insert(int size, int orientation, int style, const char* face,
                           std::unique_ptr<PIX_CachedFont> font);

private:
    struct Entry {
        int size;
        int orientation;
        int style;
        std::string face;
        std::unique_ptr<PIX_CachedFont> font;
    };

    PIX_CachedFont* FindLocked(int size, int orientation, int style, const char* face) const noexcept;

    mutable std::mutex mLock;
    std::vector<Entry> mEntries;
};
