// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

/// A short MIDI message at a frame offset within the block.
struct IMidiMessage {
    int offset = 0;
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
};
