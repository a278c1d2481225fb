// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/HostMemoryStream.h"

#include <algorithm>
#include <cstring>

using Steinberg::int32;
using Steinberg::int64;
using Steinberg::tresult;

tresult PLUGIN_API HostMemoryStream::read(void* buffer, int32 numBytes, int32* numBytesRead)
{
    if (numBytesRead != nullptr)
        *numBytesRead = 0;
    if (numBytes < 0 || (buffer == nullptr && numBytes > 0))
        return Steinberg::kInvalidArgument;
    const size_t available = mPosition < mBytes.size() ? mBytes.size() - mPosition : 0;
    const int32 asked = mReadLimit > 0 ? std::min(numBytes, mReadLimit) : numBytes;
    const size_t count = std::min(available, static_cast<size_t>(asked));
    if (count > 0)
        std::memcpy(buffer, mBytes.data() + mPosition, count);
    mPosition += count;
    if (numBytesRead != nullptr)
        *numBytesRead = static_cast<int32>(count);
    return count == 0 && numBytes > 0 ? Steinberg::kResultFalse : Steinberg::kResultOk;
}

tresult PLUGIN_API HostMemoryStream::write(void* buffer, int32 numBytes, int32* numBytesWritten)
{
    if (numBytesWritten != nullptr)
        *numBytesWritten = 0;
    if (numBytes < 0 || (buffer == nullptr && numBytes > 0))
        return Steinberg::kInvalidArgument;
    if (mBytes.size() < mPosition + numBytes)
        mBytes.resize(mPosition + numBytes);
    if (numBytes > 0)
        std::memcpy(mBytes.data() + mPosition, buffer, numBytes);
    mPosition += numBytes;
    if (numBytesWritten != nullptr)
        *numBytesWritten = numBytes;
    return Steinberg::kResultOk;
}

tresult PLUGIN_API HostMemoryStream::seek(int64 pos, int32 mode, int64* result)
{
    int64 base = 0;
    switch (mode) {
    case kIBSeekSet: base = 0; break;
    case kIBSeekCur: base = static_cast<int64>(mPosition); break;
    case kIBSeekEnd: base = static_cast<int64>(mBytes.size()); break;
    default: return Steinberg::kInvalidArgument;
    }
    if (base + pos < 0)
        return Steinberg::kResultFalse;
    mPosition = static_cast<size_t>(base + pos);
    if (result != nullptr)
        *result = static_cast<int64>(mPosition);
    return Steinberg::kResultOk;
}

tresult PLUGIN_API HostMemoryStream::tell(int64* pos)
{
    if (pos == nullptr)
        return Steinberg::kInvalidArgument;
    *pos = static_cast<int64>(mPosition);
    return Steinberg::kResultOk;
}
