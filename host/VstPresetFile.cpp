// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/VstPresetFile.h"

#include <cstring>

namespace {

constexpr size_t kClassIdSize = 32;
constexpr size_t kHeaderSize = 4 + 4 + kClassIdSize + 8;
constexpr size_t kListEntrySize = 4 + 8 + 8;
constexpr int32_t kFormatVersion = 1;

// The file stores numbers little-endian whatever the machine.
void PutLe(std::vector<uint8_t>& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

uint64_t GetLe(const uint8_t* in, int bytes)
{
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | in[i];
    return value;
}

struct Chunk {
    const char* id;
    const std::vector<uint8_t>* data;
    uint64_t offset;
};

} // namespace

std::vector<uint8_t> WriteVstPreset(const VstPreset& preset)
{
    std::vector<uint8_t> out;
    out.insert(out.end(), {'V', 'S', 'T', '3'});
    PutLe(out, kFormatVersion, 4);
    std::string classId = preset.classId;
    classId.resize(kClassIdSize, '0');
    out.insert(out.end(), classId.begin(), classId.end());
    const size_t listOffsetAt = out.size();
    PutLe(out, 0, 8);

    std::vector<Chunk> chunks;
    for (const Chunk& chunk : {Chunk{"Comp", &preset.componentState, 0}, Chunk{"Cont", &preset.controllerState, 0}}) {
        if (chunk.data->empty())
            continue;
        chunks.push_back({chunk.id, chunk.data, out.size()});
        out.insert(out.end(), chunk.data->begin(), chunk.data->end());
    }

    const uint64_t listOffset = out.size();
    for (int i = 0; i < 8; ++i) out[listOffsetAt + i] = uint8_t(listOffset >> (8 * i));
    out.insert(out.end(), {'L', 'i', 's', 't'});
    PutLe(out, chunks.size(), 4);
    for (const Chunk& chunk : chunks) {
        out.insert(out.end(), chunk.id, chunk.id + 4);
        PutLe(out, chunk.offset, 8);
        PutLe(out, chunk.data->size(), 8);
    }
    return out;
}

std::optional<VstPreset> ReadVstPreset(const std::vector<uint8_t>& bytes, std::string& error)
{
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), "VST3", 4) != 0) {
        error = "not a VST3 preset";
        return std::nullopt;
    }
    VstPreset preset;
    preset.classId.assign(reinterpret_cast<const char*>(bytes.data()) + 8, kClassIdSize);
    const uint64_t listOffset = GetLe(bytes.data() + 8 + kClassIdSize, 8);
    // Every size is checked against what is left, so no sum can wrap around.
    if (listOffset < kHeaderSize || listOffset > bytes.size() || bytes.size() - listOffset < 8 ||
        std::memcmp(bytes.data() + listOffset, "List", 4) != 0) {
        error = "the preset's chunk list is missing or damaged";
        return std::nullopt;
    }
    const uint64_t count = GetLe(bytes.data() + listOffset + 4, 4);
    const uint64_t listRoom = bytes.size() - listOffset - 8;
    if (count > listRoom / kListEntrySize) {
        error = "the preset's chunk list runs past the end of the file";
        return std::nullopt;
    }
    for (uint64_t i = 0; i < count; ++i) {
        const uint8_t* entry = bytes.data() + listOffset + 8 + i * kListEntrySize;
        const uint64_t offset = GetLe(entry + 4, 8);
        const uint64_t size = GetLe(entry + 12, 8);
        if (offset > listOffset || size > listOffset - offset) {
            error = "a chunk of the preset lies outside its data";
            return std::nullopt;
        }
        const std::vector<uint8_t> data(bytes.begin() + long(offset), bytes.begin() + long(offset + size));
        // Other chunks (the program list, the metadata) are not ours to read.
        if (std::memcmp(entry, "Comp", 4) == 0)
            preset.componentState = data;
        else if (std::memcmp(entry, "Cont", 4) == 0)
            preset.controllerState = data;
    }
    return preset;
}
