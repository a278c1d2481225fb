// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/IStateChunk.h"

/// A named preset: the serialised parameter values in a chunk. Owned by
/// IEffectBase; created not initialised, named "empty", with an empty chunk.
/// Accessed from the user-interface thread, and from the audio thread when a
/// program change arrives in process (under the plug-in lock).
class IPresetSlot {
public:
    static constexpr int kNameSize = 256;

    IPresetSlot() noexcept;
    IPresetSlot(const IPresetSlot&) = delete;
    IPresetSlot& operator=(const IPresetSlot&) = delete;

    bool IsInitialized() const noexcept { return mInitialized; }
    void SetInitialized(bool initialized) noexcept { mInitialized = initialized; }
    const char* Name() const noexcept { return mName; }
    /// Copies the name, cut to 255 characters.
    void SetName(const char* name) noexcept;
    IStateChunk& Chunk() noexcept { return mChunk; }
    const IStateChunk& Chunk() const noexcept { return mChunk; }

private:
    bool mInitialized = false;
    char mName[kNameSize] = {};
    IStateChunk mChunk{IStateChunk::kDefaultGranularity};
};
