// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

/// Integer rectangle in pixel coordinates; right and bottom are exclusive.
struct PIX_Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};
