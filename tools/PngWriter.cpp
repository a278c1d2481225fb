// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/PngWriter.h"

#include "raster/PIX_IBitmap.h"
#include "tools/WholeFile.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

/// Rows converted to RGBA bytes, top row first.
std::vector<png_byte> RgbaRows(const PIX_IBitmap& bitmap)
{
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    std::vector<png_byte> bytes(size_t(width) * size_t(height) * 4);
    for (int y = 0; y < height; ++y) {
        const int row = bitmap.IsBottomUp() ? height - 1 - y : y;
        const uint32_t* source = bitmap.Pixels() + size_t(row) * size_t(bitmap.RowStride());
        png_byte* out = bytes.data() + size_t(y) * size_t(width) * 4;
        for (int x = 0; x < width; ++x) {
            const uint32_t pixel = source[x];
            out[4 * x + 0] = png_byte(pixel >> 16);
            out[4 * x + 1] = png_byte(pixel >> 8);
            out[4 * x + 2] = png_byte(pixel);
            out[4 * x + 3] = png_byte(pixel >> 24);
        }
    }
    return bytes;
}

/// libpng's error path leaves through setjmp; this function is the only
/// place that can be left that way.
bool WriteRows(FILE* file, int width, int height, const std::vector<png_byte>& rgba)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    std::vector<png_const_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) rows[size_t(y)] = rgba.data() + size_t(y) * size_t(width) * 4;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, const_cast<png_bytepp>(rows.data()));
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const PIX_IBitmap& bitmap, const std::string& path, std::string& error)
{
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0 || bitmap.Pixels() == nullptr) {
        error = "nothing to write to " + path;
        return false;
    }
    const std::vector<png_byte> rgba = RgbaRows(bitmap);
    WholeFile output(path);
    FILE* file = output.Open(error);
    if (file == nullptr)
        return false;
    const bool written = WriteRows(file, bitmap.Width(), bitmap.Height(), rgba);
    if (!written || !output.Commit()) {
        error = "cannot write " + path + ": write failed";
        return false;
    }
    return true;
}
