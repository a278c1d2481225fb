// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <mutex>
#include <vector>

class PIX_IBitmap;

/// The process-wide store of decoded images, shared by every editor in the
/// process and kept until the module unloads. [ui, any instance]
///
/// Its lock is held only for a lookup or an insertion, never while an image
/// is decoded, so two editors may decode the same image at once; both copies
/// stay and lookups return the first.
class ImageCache {
public:
    /// The one cache of this process.
    static ImageCache& Instance();

    ImageCache() = default;
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    /// The first image stored under `resourceId`, or null.
    PIX_IBitmap* Find(int resourceId) const;

    /// Stores `image` under `resourceId` (a null image is not stored) and
    /// returns the first image stored under that id, which may be an earlier one.
    PIX_IBitmap* Insert(int resourceId, std::unique_ptr<PIX_IBitmap> image);

    /// The id `image` is stored under, or -1 when it is not in the cache.
    int IdOf(const PIX_IBitmap* image) const;

private:
    struct Entry {
        int resourceId;
        std::unique_ptr<PIX_IBitmap> image;
    };

    PIX_IBitmap* FindLocked(int resourceId) const noexcept;

    // Declared before the entries so that the images go first at unload.
    mutable std::mutex mLock;
    std::vector<Entry> mEntries;
};
