// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding of PNG data through libpng into 0xAARRGGBB straight-alpha pixels.
#include <png.h>

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "raster/PIX_PngLoader.h"

namespace {

// Ancillary chunks whose data libpng would buffer whole, at the length their
// header claims, before checking anything. None of them matters for pixels,
// so they are skipped unread: a header claiming gigabytes must not make the
// decoder reserve (and clear) them.
constexpr png_byte kSkippedChunks[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0pCAL\0sCAL\0eXIf";

constexpr unsigned char kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

struct MemoryReader {
    const unsigned char* data;
    int32_t remaining;
};

// Reading past the end is an error. Handing out zero bytes instead is not
// safe: libpng skips a chunk by reading its whole declared length, so a cut
// file whose last chunk claims 2 GB would be "read" and checksummed for
// seconds before anything rejected it.
void ReadFromMemory(png_structp png, png_bytep out, size_t count)
{
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (reader->remaining < 0 || size_t(reader->remaining) < count) png_error(png, "read past the end");
    std::memcpy(out, reader->data, count);
    reader->data += count;
    reader->remaining -= int32_t(count);
}

// libpng's stock handlers write to stderr; a plug-in must stay silent, so an
// error only returns to the landing point and a warning is dropped.
[[noreturn]] void SilentError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void SilentWarning(png_structp, png_const_charp) {}

// Where the encoded bytes come from.
struct PngInput {
    MemoryReader* memory = nullptr;
    FILE* file = nullptr;
};

// Asks libpng for 8-bit A, R, G, B samples whatever the colour type and depth.
void RequestArgb(png_structp png, png_infop info, int bitDepth, int colourType)
{
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_tRNS_to_alpha(png);
        colourType |= PNG_COLOR_MASK_ALPHA;
    }
    if (bitDepth == 16) png_set_strip_16(png);
    if (bitDepth < 8) png_set_packing(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (colourType & PNG_COLOR_MASK_ALPHA) png_set_swap_alpha(png);
    else png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
}

// Bytes A, R, G, B of each pixel become the word 0xAARRGGBB.
void ArgbBytesToWords(PIX_IBitmap& bitmap)
{
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        uint32_t* row = bitmap.Pixels() + ptrdiff_t(y) * bitmap.RowStride();
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(row);
        for (int32_t x = 0; x < bitmap.Width(); ++x, bytes += 4)
            row[x] = (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | bytes[3];
    }
}

// The one function that holds libpng's landing point. Decodes into `into`
// when given, else into a new bitmap; returns the bitmap decoded into, or
// null with nothing left allocated (a supplied bitmap is never deleted).
PIX_IBitmap* Decode(const PngInput& input, PIX_IBitmap* into)
{
    png_structp png = png_create_read_struct("1.6.19", nullptr, SilentError, SilentWarning);
    if (!png) return nullptr;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return nullptr;
    }
    // Written after the landing point is set, so they must survive longjmp.
    PIX_MemBitmap* volatile created = nullptr;
    png_bytep* volatile rows = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::free(rows);
        delete created;
        return nullptr;
    }
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks, int(sizeof kSkippedChunks / 5));
    if (input.memory) png_set_read_fn(png, input.memory, ReadFromMemory);
    else png_init_io(png, input.file);
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
    RequestArgb(png, info, bitDepth, colourType);

    PIX_IBitmap* target = into;
    if (!target) target = created = new PIX_MemBitmap();
    if (width > 0 && height > 0 && width <= INT32_MAX && height <= INT32_MAX)
        target->Resize(int32_t(width), int32_t(height));
    if (png_uint_32(target->Width()) != width || png_uint_32(target->Height()) != height || !target->Pixels())
        png_error(png, "no storage");

    rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
    if (!rows) png_error(png, "no row table");
    const ptrdiff_t stride = ptrdiff_t(target->RowStride());
    for (png_uint_32 i = 0; i < height; ++i) {
        const ptrdiff_t stored = target->IsBottomUp() ? ptrdiff_t(height - 1 - i) : ptrdiff_t(i);
        rows[i] = reinterpret_cast<png_bytep>(target->Pixels() + stored * stride);
    }
    png_read_image(png, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    std::free(rows);
    ArgbBytesToWords(*target);
    return target;
}

}  // namespace

std::unique_ptr<PIX_MemBitmap> PIX_LoadPngFromMemory(const void* data, int32_t length)
{
    if (!data || length < 8 || std::memcmp(data, kSignature, sizeof kSignature) != 0) return nullptr;
    MemoryReader reader{static_cast<const unsigned char*>(data), length};
    PngInput input;
    input.memory = &reader;
    return std::unique_ptr<PIX_MemBitmap>(static_cast<PIX_MemBitmap*>(Decode(input, nullptr)));
}

namespace {
// Paths are UTF-8 and the file system takes them as they are.
PIX_IBitmap* DecodeFile(const char* path, PIX_IBitmap* into)
{
    if (!path) return nullptr;
    PngInput input;
    input.file = std::fopen(path, "rb");
    if (!input.file) return nullptr;
    PIX_IBitmap* result = Decode(input, into);
    std::fclose(input.file);
    return result;
}
}  // namespace

std::unique_ptr<PIX_MemBitmap> PIX_LoadPngFromFile(const char* path)
{
    return std::unique_ptr<PIX_MemBitmap>(static_cast<PIX_MemBitmap*>(DecodeFile(path, nullptr)));
}

bool PIX_LoadPngFromFileInto(const char* path, PIX_IBitmap& into)
{
    return DecodeFile(path, &into) != nullptr;
}
