// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/RiffHeader.h"

#include <cstring>
#include <vector>

namespace {

constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr uint32_t kOpenEndedSize = 0xFFFFFFFFu;

uint16_t LittleEndian16(const unsigned char* bytes)
{
    return uint16_t(bytes[0] | bytes[1] << 8);
}

uint32_t LittleEndian32(const unsigned char* bytes)
{
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24;
}

/// Moves `bytes` forward, in 64 bits (Windows' long and fseek have 32).
bool Skip(std::FILE* file, uint64_t bytes)
{
    if (bytes > uint64_t(INT64_MAX))
        return false;
#ifdef _WIN32
    return _fseeki64(file, int64_t(bytes), SEEK_CUR) == 0;
#else
    return fseeko(file, off_t(bytes), SEEK_CUR) == 0;
#endif
}

/// Reads the format chunk's fields into `wave`, or says why they are unusable.
bool ParseFormat(const std::vector<unsigned char>& chunk, RiffWave& wave, std::string& why)
{
    if (chunk.size() < 16) {
        why = "its format chunk is too short";
        return false;
    }
    wave.format = LittleEndian16(chunk.data());
    wave.channels = LittleEndian16(chunk.data() + 2);
    wave.rate = LittleEndian32(chunk.data() + 4);
    wave.bits = LittleEndian16(chunk.data() + 14);
    // Extensible: the real format is the first two bytes of the sub-format GUID.
    if (wave.format == kFormatExtensible) {
        if (chunk.size() < 40) {
            why = "its extensible format chunk is too short";
            return false;
        }
        wave.format = LittleEndian16(chunk.data() + 24);
    }
    if (wave.rate == 0) {
        why = "its header gives a sample rate of 0 Hz";
        return false;
    }
    if (wave.rate > kHighestRiffRate) {
        why = "its sample rate of " + std::to_string(wave.rate) + " Hz is above the highest it can take, " +
              std::to_string(kHighestRiffRate) + " Hz";
        return false;
    }
    return true;
}

} // namespace

RiffHeaderResult ReadRiffHeader(std::FILE* file, RiffWave& wave, std::string& why)
{
    unsigned char header[12];
    if (std::fread(header, 1, sizeof header, file) != sizeof header || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0)
        return RiffHeaderResult::kNotRiffWave;

    bool haveFormat = false;
    unsigned char chunk[8];
    while (std::fread(chunk, 1, sizeof chunk, file) == sizeof chunk) {
        const uint32_t size = LittleEndian32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            std::vector<unsigned char> body(size < 40 ? size : 40);
            if (std::fread(body.data(), 1, body.size(), file) != body.size()) {
                why = "the file ends inside its format chunk";
                return RiffHeaderResult::kUnusable;
            }
            if (!ParseFormat(body, wave, why))
                return RiffHeaderResult::kUnusable;
            if (!Skip(file, size - body.size() + (size & 1))) {
                why = "the file ends inside its format chunk";
                return RiffHeaderResult::kUnusable;
            }
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) {
                why = "it has no format chunk before its sample data";
                return RiffHeaderResult::kUnusable;
            }
            wave.dataBytes = size;
            wave.openEnded = size == kOpenEndedSize;
            return RiffHeaderResult::kFound;
        } else if (!Skip(file, uint64_t(size) + (size & 1))) {
            break;
        }
    }
    why = haveFormat ? "it has no sample data" : "it has no format chunk";
    return RiffHeaderResult::kUnusable;
}
