// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/ParamStore.h"

#include "framework/Trace.h"

ParamStore::ParamStore(int paramCount, int presetCount)
    : mReadValues(static_cast<std::size_t>(paramCount), 0.0), mSettledValues(mReadValues)
{
    for (int i = 0; i < paramCount; ++i) {
        mParams.push_back(std::make_unique<IParamRecord>());
    }
    for (int i = 0; i < presetCount; ++i) {
        mPresets.push_back(std::make_unique<IPresetSlot>());
    }
    // Room for a whole state, so that saving and restoring never allocate.
    mStateBuffer.ResizeBuffer(StateChunkBytes(), false);
    mStateBuffer.ResizeBuffer(0, false);
}

bool ParamStore::SerializeParams(IStateChunk& chunk)
{
    for (int i = 0; i < GetParamCount(); ++i) {
        const IParamRecord& param = *GetParam(i);
        const double value = param.Value();
        KELDRA_TRACE("IEffectBase::SerializeParams", "%d %s %f", i, param.Name(), value);
        const int before = chunk.Size();
        // A put that did not grow the chunk ran out of memory.
        if (chunk.PutValue(value) != before + static_cast<int>(sizeof value)) {
            return false;
        }
    }
    return true;
}

bool ParamStore::QueueProgramChange(int index) noexcept
{
    if (index < 0 || index >= GetPresetCount()) {
        return false;
    }
    mQueuedProgram.store(index, std::memory_order_relaxed);
    return true;
}

bool ParamStore::ReadWholeSet() noexcept
{
    bool hostBypass = false;
    const bool whole = mWholeSetGate.ReadWhole([&] {
        for (std::size_t i = 0; i < mReadValues.size(); ++i) {
            mReadValues[i] = mParams[i]->Value();
        }
        hostBypass = IsBypassed();
    });
    if (whole) {
        mSettledValues.swap(mReadValues);
        mSettledHostBypass = hostBypass;
        mHaveWholeSet = true;
    }
    return mHaveWholeSet;
}

bool ParamStore::IsBypassWanted() const noexcept
{
    return mSettledHostBypass || (mBypassParam >= 0 && SettledValue(mBypassParam) >= 0.5);
}

void ParamStore::PutFlag(std::uint8_t* bytes, std::uint32_t flag) noexcept
{
    for (int i = 0; i < kStateFlagBytes; ++i) {
        bytes[i] = static_cast<std::uint8_t>(flag >> (8 * i));
    }
}

std::uint32_t ParamStore::GetFlag(const std::uint8_t* bytes) noexcept
{
    std::uint32_t flag = 0;
    for (int i = 0; i < kStateFlagBytes; ++i) {
        flag |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    }
    return flag;
}
