// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/IParamRecord.h"
#include "framework/IPresetSlot.h"
#include "framework/IStateChunk.h"
#include "framework/WholeSetGate.h"
#include "platform/RelaxedAtomic.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

/// The plug-in base's data: the parameters, the presets, the host bypass,
/// the layout of the state chunk, and the whole set of values each part of
/// a block runs with (read under the whole-set gate that every bulk write
/// holds). Parameters are the data: nothing keeps a second copy in step.
class ParamStore {
public:
    /// Bytes of the host bypass flag (32-bit little-endian, 1 = bypassed)
    /// that follows the parameter values in the state chunk.
    static constexpr int kStateFlagBytes = 4;

    /// [ui] `paramCount` fresh parameters and `presetCount` fresh presets.
    ParamStore(int paramCount, int presetCount);
    ParamStore(const ParamStore&) = delete;
    ParamStore& operator=(const ParamStore&) = delete;

    int GetParamCount() const noexcept { return static_cast<int>(mParams.size()); }
    /// [any] Parameter `paramIdx` (0 <= paramIdx < GetParamCount()).
    IParamRecord* GetParam(int paramIdx) noexcept { return mParams[static_cast<std::size_t>(paramIdx)].get(); }
    const IParamRecord* GetParam(int paramIdx) const noexcept { return mParams[static_cast<std::size_t>(paramIdx)].get(); }
    int GetPresetCount() const noexcept { return static_cast<int>(mPresets.size()); }
    IPresetSlot* GetPreset(int index) noexcept { return mPresets[static_cast<std::size_t>(index)].get(); }
    const IPresetSlot* GetPreset(int index) const noexcept { return mPresets[static_cast<std::size_t>(index)].get(); }
    int GetCurrentPreset() const noexcept { return mCurrentPreset; }

    /// [any] Host bypass; read by the controller without the lock, hence atomic.
    bool IsBypassed() const noexcept { return mBypassed; }
    void SetBypassed(bool bypassed) noexcept { mBypassed = bypassed; }

    /// Bytes of the parameter values, and of the whole state chunk.
    int StateValueBytes() const noexcept { return GetParamCount() * static_cast<int>(sizeof(double)); }
    int StateChunkBytes() const noexcept { return StateValueBytes() + kStateFlagBytes; }
    /// [ui] A buffer of StateChunkBytes() for a binding's stream I/O, or
    /// nullptr when memory ran out (never throws).
    std::unique_ptr<std::uint8_t[]> MakeStateBuffer() const noexcept
    {
        return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(StateChunkBytes())]);
    }
    /// How a state chunk was taken.
    enum class StateRead {
        kRefused,     ///< shorter than the values: nothing changed
        kValuesOnly,  ///< an older chunk without the bypass flag: values restored, bypass kept
        kWhole,       ///< values and bypass flag restored
    };

    /// [any] Appends every parameter's plain value (binary64) in index order;
    /// false if memory ran out. Takes no lock (the values are atomics).
    bool SerializeParams(IStateChunk& chunk);

    /// [audio] Runs `read` and tells whether what it read of the
    /// parameters is one set: false when a bulk write (state restore,
    /// program change, preset) was half applied meanwhile. Never waits.
    template <typename Read>
    bool ReadSettled(Read&& read) const noexcept
    {
        return mWholeSetGate.ReadWhole(read);
    }
    /// [audio] Parameter `paramIdx`'s value in the set the current part runs with.
    double SettledValue(int paramIdx) const noexcept { return mSettledValues[static_cast<std::size_t>(paramIdx)]; }
    /// [audio] The host bypass in that set.
    bool SettledHostBypass() const noexcept { return mSettledHostBypass; }
    /// [ui] Parameter `paramIdx` (an integer switch, 1 = bypassed) is the
    /// effect's own bypass: it cross-fades as the host's does. -1: none.
    void UseParamAsBypass(int paramIdx) noexcept { mBypassParam = paramIdx; }
    /// [audio] A program change from the host's process call: handed to the
    /// next part's whole-set read, without allocation, text or locks.
    /// Presets never initialised change nothing there. False for a bad index.
    bool QueueProgramChange(int index) noexcept;

protected:
    ~ParamStore() = default;

    /// [ui] Holds the whole-set gate for a bulk write (see WholeSetGate).
    void ClaimWholeSet() noexcept { mWholeSetGate.Claim(); }
    /// [audio] Holds it if no other writer does.
    bool TryClaimWholeSet() noexcept { return mWholeSetGate.TryClaim(); }
    void ReleaseWholeSet() noexcept { mWholeSetGate.Release(); }
    /// [audio] The queued program change, -1 when none waits; it stays queued.
    int QueuedProgram() const noexcept { return mQueuedProgram.load(std::memory_order_relaxed); }
    void ForgetQueuedProgram() noexcept { mQueuedProgram.store(-1, std::memory_order_relaxed); }
    void SetCurrentPreset(int index) noexcept { mCurrentPreset = index; }

    /// [audio] Reads every value and the host bypass as one set; when the
    /// read is not whole the set taken last stays. False while no whole set
    /// was taken since ForgetWholeSet.
    bool ReadWholeSet() noexcept;
    /// [ui, or audio; never while processing] The next part must take a whole set.
    void ForgetWholeSet() noexcept { mHaveWholeSet = false; }
    /// [audio] Whether the set the part runs with asks for bypass.
    bool IsBypassWanted() const noexcept;

    /// [ui, under the plug-in lock] Room for a whole state, so that saving
    /// and restoring never allocate.
    IStateChunk& StateBuffer() noexcept { return mStateBuffer; }
    static void PutFlag(std::uint8_t* bytes, std::uint32_t flag) noexcept;
    static std::uint32_t GetFlag(const std::uint8_t* bytes) noexcept;

    std::vector<std::unique_ptr<IPresetSlot>>& Presets() noexcept { return mPresets; }

private:
    std::vector<std::unique_ptr<IParamRecord>> mParams;
    std::vector<std::unique_ptr<IPresetSlot>> mPresets;
    RelaxedAtomic<bool> mBypassed = false;
    /// Written by a program change on the audio thread, read by the controller.
    RelaxedAtomic<int> mCurrentPreset = 0;
    IStateChunk mStateBuffer{IStateChunk::kDefaultGranularity};
    /// Held by every bulk write of the parameter values.
    WholeSetGate mWholeSetGate;
    /// [audio] What one whole-set read takes, and the set in force; sized
    /// once, so that reads never allocate.
    std::vector<double> mReadValues;
    std::vector<double> mSettledValues;
    bool mSettledHostBypass = false;
    bool mHaveWholeSet = false;
    int mBypassParam = -1;
    /// A program change from the audio thread, -1 when none waits.
    std::atomic<int> mQueuedProgram{-1};
};
