// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

/// [any] Packs a four-character code with the first character in the most
/// significant byte ("Kld1" -> 0x4B6C6431).
constexpr std::int32_t MakeFourCharCode(const char (&code)[5]) noexcept
{
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
                                     (static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
                                     (static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
                                     static_cast<std::uint32_t>(static_cast<unsigned char>(code[3])));
}
