// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

/// A system-exclusive MIDI message at a frame offset; the bytes are borrowed
/// from the sender for the duration of the call.
struct ISysexMessage {
    int offset = 0;
    const std::uint8_t* data = nullptr;
    int size = 0;
};
