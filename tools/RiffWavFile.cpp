// SPDX-License-Identifier: GPL-3.0-or-later
// The WAV reader and writer on Windows, where libsndfile is not available:
// RIFF WAVE with 16-, 24- or 32-bit integer PCM or 32- or 64-bit float
// samples (plain or WAVE_FORMAT_EXTENSIBLE), one or two channels. Integer
// samples scale as libsndfile scales them (by 2^-(bits-1)), so both builds
// read the same file as the same floats.
#include "tools/WavFile.h"

#include "tools/FileSystem.h"
#include "tools/WholeFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr uint32_t kOpenEndedSize = 0xFFFFFFFFu;  ///< a streaming writer's "until the end"

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

uint16_t LittleEndian16(const unsigned char* bytes)
{
    return uint16_t(bytes[0] | bytes[1] << 8);
}

uint32_t LittleEndian32(const unsigned char* bytes)
{
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24;
}

void PutLittleEndian(std::vector<unsigned char>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

/// Moves `bytes` forward, in 64 bits (Windows' long and fseek have 32).
bool Skip(std::FILE* file, uint64_t bytes)
{
    return bytes <= uint64_t(INT64_MAX) && _fseeki64(file, int64_t(bytes), SEEK_CUR) == 0;
}

/// The bytes from the position to the end of the file; 0 when unknown.
uint64_t BytesLeft(std::FILE* file)
{
    const int64_t here = _ftelli64(file);
    if (here < 0 || _fseeki64(file, 0, SEEK_END) != 0)
        return 0;
    const int64_t end = _ftelli64(file);
    _fseeki64(file, here, SEEK_SET);
    return end > here ? uint64_t(end - here) : 0;
}

struct SampleFormat {
    uint16_t tag = 0;  ///< kFormatPcm or kFormatFloat
    int channels = 0;
    uint32_t rate = 0;
    int bits = 0;
    uint32_t frameBytes = 0;
};

/// The format chunk's meaning, or a reason it cannot be read.
std::optional<SampleFormat> ParseFormat(const unsigned char* chunk, uint32_t size, std::string& why)
{
    if (size < 16) {
        why = "its format chunk is too short";
        return std::nullopt;
    }
    SampleFormat format;
    format.tag = LittleEndian16(chunk);
    format.channels = LittleEndian16(chunk + 2);
    format.rate = LittleEndian32(chunk + 4);
    format.frameBytes = LittleEndian16(chunk + 12);
    format.bits = LittleEndian16(chunk + 14);
    // Extensible: the real format is the first two bytes of the sub-format GUID.
    if (format.tag == kFormatExtensible) {
        if (size < 40) {
            why = "its extensible format chunk is too short";
            return std::nullopt;
        }
        format.tag = LittleEndian16(chunk + 24);
    }
    const bool pcm = format.tag == kFormatPcm && (format.bits == 16 || format.bits == 24 || format.bits == 32);
    const bool floating = format.tag == kFormatFloat && (format.bits == 32 || format.bits == 64);
    if (!pcm && !floating) {
        why = "unsupported sample format (format " + std::to_string(format.tag) + ", " +
              std::to_string(format.bits) + " bits); 16, 24 or 32-bit PCM and 32 or 64-bit float are supported";
        return std::nullopt;
    }
    if (format.rate == 0) {
        why = "its sample rate is 0";
        return std::nullopt;
    }
    if (format.channels > 0 && format.frameBytes != uint32_t(format.channels) * uint32_t(format.bits / 8)) {
        why = "its frame size does not match its channels and sample size";
        return std::nullopt;
    }
    return format;
}

float Decode(const unsigned char* sample, const SampleFormat& format)
{
    if (format.tag == kFormatFloat) {
        if (format.bits == 32) {
            const uint32_t bits = LittleEndian32(sample);
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        const uint64_t bits = LittleEndian32(sample) | uint64_t(LittleEndian32(sample + 4)) << 32;
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return static_cast<float>(value);
    }
    switch (format.bits) {
    case 16:
        return float(int16_t(LittleEndian16(sample))) / 32768.0f;
    case 24:
        // The three bytes into the top of a 32-bit word keep the sign.
        return float(double(int32_t(uint32_t(sample[0]) << 8 | uint32_t(sample[1]) << 16 | uint32_t(sample[2]) << 24)) /
                     2147483648.0);
    default:
        return float(double(int32_t(LittleEndian32(sample))) / 2147483648.0);
    }
}

} // namespace

std::optional<AudioClip> ReadWav(const std::string& path, int64_t& declaredFrames, std::string& error)
{
    const auto fail = [&](const std::string& why) {
        error = "cannot read " + path + ": " + why;
        return std::nullopt;
    };
    File file(OpenFile(path, "rb"), &std::fclose);
    if (!file) return fail(std::strerror(errno));
    unsigned char header[12];
    if (std::fread(header, 1, sizeof header, file.get()) != sizeof header || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0)
        return fail("not a WAV file");

    std::optional<SampleFormat> format;
    unsigned char chunk[8];
    while (std::fread(chunk, 1, sizeof chunk, file.get()) == sizeof chunk) {
        const uint32_t size = LittleEndian32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            std::vector<unsigned char> body(size < 40 ? size : 40);
            if (std::fread(body.data(), 1, body.size(), file.get()) != body.size())
                return fail("the file ends inside its format chunk");
            std::string why;
            format = ParseFormat(body.data(), uint32_t(body.size()), why);
            if (!format) return fail(why);
            if (format->channels < 1 || format->channels > 2) {
                error = path + " has " + std::to_string(format->channels) +
                        " channels; only mono and stereo are supported";
                return std::nullopt;
            }
            if (!Skip(file.get(), size - body.size() + (size & 1)))
                return fail("the file ends inside its format chunk");
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!format) return fail("its sample data comes before its format chunk");
            // Read what is there: a file cut short keeps its whole frames.
            const uint64_t present = BytesLeft(file.get());
            const uint64_t claimed = size == kOpenEndedSize ? present : size;
            declaredFrames = int64_t(claimed / format->frameBytes);
            AudioClip clip;
            clip.channels = format->channels;
            clip.rate = format->rate;
            std::string why;
            if (!AllocateFrames(clip, int64_t(std::min(claimed, present) / format->frameBytes), why))
                return fail(why);
            // Whole frames at a time, decoded straight into the clip.
            const size_t sampleBytes = size_t(format->bits / 8);
            unsigned char block[65536];
            const size_t blockFrames = sizeof block / format->frameBytes;
            size_t done = 0;
            while (done < clip.samples.size()) {
                const size_t samples = std::min(blockFrames * size_t(format->channels), clip.samples.size() - done);
                const size_t got = std::fread(block, sampleBytes, samples, file.get());
                for (size_t i = 0; i < got; ++i) clip.samples[done + i] = Decode(block + i * sampleBytes, *format);
                done += got;
                if (got < samples) break;
            }
            if (std::ferror(file.get())) return fail(std::strerror(errno));
            // A file that shrank while being read keeps the whole frames it gave.
            clip.samples.resize(done - done % size_t(format->channels));
            return clip;
        } else if (!Skip(file.get(), uint64_t(size) + (size & 1))) {
            break;
        }
    }
    return fail(format ? "it has no sample data" : "it has no format chunk");
}

bool WriteWav(const std::string& path, const AudioClip& clip, std::string& error)
{
    const uint64_t dataBytes = uint64_t(clip.samples.size()) * sizeof(float);
    // RIFF sizes are 32 bits and count everything after the first 8 bytes.
    constexpr uint32_t kHeaderBytes = 4 + (8 + 18) + (8 + 4) + 8;
    if (clip.channels < 1 || dataBytes > UINT32_MAX - kHeaderBytes) {
        error = "cannot write " + path + ": " + (clip.channels < 1 ? "no channels" : "too long for a WAV file");
        return false;
    }
    const uint32_t frameBytes = uint32_t(clip.channels) * sizeof(float);
    const uint32_t rate = uint32_t(std::lround(clip.rate));
    std::vector<unsigned char> header;
    header.insert(header.end(), {'R', 'I', 'F', 'F'});
    PutLittleEndian(header, kHeaderBytes + uint32_t(dataBytes), 4);
    header.insert(header.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLittleEndian(header, 18, 4);
    PutLittleEndian(header, kFormatFloat, 2);
    PutLittleEndian(header, uint32_t(clip.channels), 2);
    PutLittleEndian(header, rate, 4);
    PutLittleEndian(header, rate * frameBytes, 4);
    PutLittleEndian(header, frameBytes, 2);
    PutLittleEndian(header, 32, 2);
    PutLittleEndian(header, 0, 2);  // no format extension
    // Every non-PCM WAV carries its frame count in a fact chunk.
    header.insert(header.end(), {'f', 'a', 'c', 't'});
    PutLittleEndian(header, 4, 4);
    PutLittleEndian(header, uint32_t(clip.Frames()), 4);
    header.insert(header.end(), {'d', 'a', 't', 'a'});
    PutLittleEndian(header, uint32_t(dataBytes), 4);

    std::vector<unsigned char> data;
    data.reserve(size_t(dataBytes));
    for (float sample : clip.samples) {
        uint32_t bits;
        std::memcpy(&bits, &sample, sizeof bits);
        PutLittleEndian(data, bits, 4);
    }

    WholeFile output(path);
    File file(OpenFile(output.TemporaryPath(), "wb"), &std::fclose);
    if (!file) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(header.data(), 1, header.size(), file.get()) == header.size() &&
                         std::fwrite(data.data(), 1, data.size(), file.get()) == data.size();
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed || !output.Commit()) {
        error = "cannot write " + path + " (disk full or no permission?)";
        return false;
    }
    return true;
}
