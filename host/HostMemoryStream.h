// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "host/HostObject.h"
#include "pluginterfaces/base/ibstream.h"

#include <cstdint>
#include <utility>
#include <vector>

/// A seekable byte stream in memory: what the host hands to state calls.
class HostMemoryStream : public HostObject<Steinberg::IBStream> {
public:
    HostMemoryStream() = default;
    /// [any] A stream holding `bytes`, positioned at the start.
    explicit HostMemoryStream(std::vector<uint8_t> bytes) : mBytes(std::move(bytes)) {}

    /// [any] Reads up to numBytes; fewer at the end (kResultFalse when none remain
    /// but some were asked for).
    Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 numBytes,
                                       Steinberg::int32* numBytesRead) override;
    /// [any] Writes at the position, growing the stream as needed.
    Steinberg::tresult PLUGIN_API write(void* buffer, Steinberg::int32 numBytes,
                                        Steinberg::int32* numBytesWritten) override;
    /// [any] kIBSeekSet/Cur/End; a position before the start is refused.
    Steinberg::tresult PLUGIN_API seek(Steinberg::int64 pos, Steinberg::int32 mode,
                                       Steinberg::int64* result) override;
    Steinberg::tresult PLUGIN_API tell(Steinberg::int64* pos) override;

    /// [any] Everything written so far.
    const std::vector<uint8_t>& Bytes() const { return mBytes; }
    /// [any] Moves the position back to the start.
    void Rewind() { mPosition = 0; }
    /// [any] Every later read returns at most `bytes` bytes, as a host's
    /// stream legally may (0 = no limit).
    void LimitReads(Steinberg::int32 bytes) { mReadLimit = bytes; }

private:
    std::vector<uint8_t> mBytes;
    size_t mPosition = 0;
    Steinberg::int32 mReadLimit = 0;
};
