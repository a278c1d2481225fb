// SPDX-License-Identifier: GPL-3.0-or-later
// A small PNG writer of the tests' own, the same on every system: the image
// data is stored uncompressed (deflate's stored blocks), which every decoder
// must read, so no compression library is needed where there is none.
#include "TestPng.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace testing_raster {
namespace {

uint32_t Crc32(const uint8_t* data, size_t length, uint32_t crc)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    for (size_t i = 0; i < length; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data)
{
    PutBigEndian(out, uint32_t(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + start, out.size() - start, 0xFFFFFFFFu) ^ 0xFFFFFFFFu);
}

// zlib stream of stored blocks.
std::vector<uint8_t> Deflated(const std::vector<uint8_t>& raw)
{
    std::vector<uint8_t> out{0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = std::min<size_t>(raw.size() - at, 65535);
        out.push_back(at + n == raw.size() ? 1 : 0);
        out.push_back(uint8_t(n));
        out.push_back(uint8_t(n >> 8));
        out.push_back(uint8_t(~n));
        out.push_back(uint8_t(~n >> 8));
        out.insert(out.end(), raw.begin() + ptrdiff_t(at), raw.begin() + ptrdiff_t(at + n));
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(out, (b << 16) | a);
    return out;
}

int Channels(int colourType)
{
    switch (colourType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
    }
}

// Filter byte 0 before each row; interlaced images row by row of the seven
// passes (whole bytes per pixel only).
std::vector<uint8_t> Scanlines(const PngImage& image)
{
    std::vector<uint8_t> raw;
    if (!image.interlaced) {
        for (const auto& row : image.rows) {
            raw.push_back(0);
            raw.insert(raw.end(), row.begin(), row.end());
        }
        return raw;
    }
    if (image.bitDepth < 8) throw std::invalid_argument("interlaced test images need 8 or 16 bits");
    const size_t pixelBytes = size_t(Channels(image.colourType)) * size_t(image.bitDepth / 8);
    const uint32_t pass[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                 {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto& p : pass) {
        if (p[0] >= image.width) continue;
        for (uint32_t y = p[1]; y < image.height; y += p[3]) {
            raw.push_back(0);
            for (uint32_t x = p[0]; x < image.width; x += p[2]) {
                const uint8_t* pixel = image.rows[y].data() + x * pixelBytes;
                raw.insert(raw.end(), pixel, pixel + pixelBytes);
            }
        }
    }
    return raw;
}

}  // namespace

std::vector<uint8_t> EncodePng(const PngImage& image)
{
    std::vector<uint8_t> out{0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    PutBigEndian(header, image.width);
    PutBigEndian(header, image.height);
    header.insert(header.end(), {uint8_t(image.bitDepth), uint8_t(image.colourType), 0, 0,
                                 uint8_t(image.interlaced ? 1 : 0)});
    PutChunk(out, "IHDR", header);
    if (!image.paletteRgb.empty()) PutChunk(out, "PLTE", image.paletteRgb);
    if (!image.transparency.empty()) PutChunk(out, "tRNS", image.transparency);
    PutChunk(out, "IDAT", Deflated(Scanlines(image)));
    PutChunk(out, "IEND", {});
    return out;
}

std::string WriteTempFile(const std::vector<uint8_t>& bytes, const std::string& suffix)
{
    static int counter = 0;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("raster_test_" + std::to_string(stamp) + "_" + std::to_string(++counter) + suffix);
    FILE* file = std::fopen(path.string().c_str(), "wb");
    if (!file) throw std::runtime_error("cannot create a temporary file");
    const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    if (written != bytes.size()) throw std::runtime_error("cannot write a temporary file");
    return path.u8string();
}

}  // namespace testing_raster
