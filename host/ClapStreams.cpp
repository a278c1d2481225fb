// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/ClapStreams.h"

#include <algorithm>
#include <climits>

using namespace Steinberg;

namespace {

int32 Chunk(uint64_t size)
{
    return static_cast<int32>(std::min<uint64_t>(size, INT32_MAX));
}

int64_t CLAP_ABI Read(const clap_istream_t* stream, void* buffer, uint64_t size)
{
    int32 got = 0;
    if (static_cast<IBStream*>(stream->ctx)->read(buffer, Chunk(size), &got) != kResultOk)
        return -1;
    return got;
}

int64_t CLAP_ABI Write(const clap_ostream_t* stream, const void* buffer, uint64_t size)
{
    int32 written = 0;
    if (static_cast<IBStream*>(stream->ctx)->write(const_cast<void*>(buffer), Chunk(size), &written) != kResultOk)
        return -1;
    return written;
}

} // namespace

ClapInputStream::ClapInputStream(IBStream& stream) : clap_istream_t{&stream, Read} {}

ClapOutputStream::ClapOutputStream(IBStream& stream) : clap_ostream_t{&stream, Write} {}
