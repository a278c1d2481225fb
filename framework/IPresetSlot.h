// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/IStateChunk.h"

#include <atomic>

/// A named preset: the serialised parameter values in a chunk. Owned by
/// IEffectBase; created not initialised, named "empty", with an empty chunk.
/// Written on the user-interface thread; the audio thread reads an
/// initialised preset's chunk when a program change arrives in process, so a
/// chunk is complete before its preset is marked initialised.
class IPresetSlot {
public:
    static constexpr int kNameSize = 256;

    IPresetSlot() noexcept;
    IPresetSlot(const IPresetSlot&) = delete;
    IPresetSlot& operator=(const IPresetSlot&) = delete;

    bool IsInitialized() const noexcept { return mInitialized.load(std::memory_order_acquire); }
    void SetInitialized(bool initialized) noexcept { mInitialized.store(initialized, std::memory_order_release); }
    const char* Name() const noexcept { return mName; }
    /// Copies the name, cut to 255 characters.
    void SetName(const char* name) noexcept;
    IStateChunk& Chunk() noexcept { return mChunk; }
    const IStateChunk& Chunk() const noexcept { return mChunk; }

private:
    std::atomic<bool> mInitialized{false};
    char mName[kNameSize] = {};
    IStateChunk mChunk{IStateChunk::kDefaultGranularity};
};
