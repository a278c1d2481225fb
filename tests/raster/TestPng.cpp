// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestPng.h"

#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace testing_raster {
namespace {
void Append(png_structp png, png_bytep data, size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void Flush(png_structp) {}
}  // namespace

std::vector<uint8_t> EncodePng(const PngImage& image)
{
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng could not encode the test image");
    }
    png_set_write_fn(png, &out, Append, Flush);
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colourType,
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < image.paletteRgb.size(); i += 3)
        palette.push_back(png_color{image.paletteRgb[i], image.paletteRgb[i + 1], image.paletteRgb[i + 2]});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
    if (!image.transparency.empty())
        png_set_tRNS(png, info, image.transparency.data(), int(image.transparency.size()), nullptr);
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (const auto& r : image.rows) rows.push_back(const_cast<png_bytep>(r.data()));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::string WriteTempFile(const std::vector<uint8_t>& bytes, const std::string& suffix)
{
    const char* dir = std::getenv("TMPDIR");
    std::string path = std::string(dir && *dir ? dir : "/tmp") + "/raster_test_XXXXXX" + suffix;
    const int fd = mkstemps(path.data(), int(suffix.size()));
    if (fd < 0) throw std::runtime_error("cannot create a temporary file");
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    close(fd);
    if (written != ssize_t(bytes.size())) throw std::runtime_error("cannot write a temporary file");
    return path;
}

}  // namespace testing_raster
