// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry point for the in-memory PNG decoder: any input must either
// decode to a bitmap of the size it claims or yield nothing, without touching
// memory it does not own (AddressSanitizer watches) or leaking.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "raster/PIX_PngLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > size_t(INT32_MAX)) return 0;
    // Headers that claim huge images only measure how fast the allocator
    // can hand out (and the sanitizer poison) gigabytes; skip them.
    if (size >= 24) {
        const uint64_t width = uint64_t(data[16]) << 24 | data[17] << 16 | data[18] << 8 | data[19];
        const uint64_t height = uint64_t(data[20]) << 24 | data[21] << 16 | data[22] << 8 | data[23];
        if (width * height > (uint64_t(1) << 18)) return 0;
    }
    auto bitmap = PIX_LoadPngFromMemory(data, int32_t(size));
    if (bitmap) {
        if (bitmap->Width() < 1 || bitmap->Height() < 1 || !bitmap->Pixels()) std::abort();
        // Read every pixel so that a short allocation shows up.
        uint32_t sum = 0;
        for (int32_t y = 0; y < bitmap->Height(); ++y)
            for (int32_t x = 0; x < bitmap->Width(); ++x) sum += bitmap->Pixels()[y * bitmap->RowStride() + x];
        volatile uint32_t sink = sum;
        (void)sink;
    }
    return 0;
}
