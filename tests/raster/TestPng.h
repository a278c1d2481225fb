// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_raster {

/// What to write: rows of raw samples exactly as PNG stores them (packed
/// bits for depths below 8, big-endian 16-bit samples).
struct PngImage {
    uint32_t width = 1;
    uint32_t height = 1;
    int bitDepth = 8;
    int colourType = 6;  // PNG colour type: 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
    bool interlaced = false;
    std::vector<std::vector<uint8_t>> rows;
    std::vector<uint8_t> paletteRgb;    // 3 bytes per entry
    std::vector<uint8_t> transparency;  // tRNS chunk data: palette alphas, or the transparent sample(s)
};

/// Encodes `image` as a PNG file (image data stored uncompressed).
std::vector<uint8_t> EncodePng(const PngImage& image);

/// Writes `bytes` to a new file under the temporary folder; returns its path.
std::string WriteTempFile(const std::vector<uint8_t>& bytes, const std::string& suffix);

}  // namespace testing_raster
