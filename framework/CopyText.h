// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstring>

/// [any] Copies a NUL-terminated text into a fixed array, cutting it to fit
/// and always terminating it; nullptr copies as "".
template <std::size_t N>
void CopyText(char (&destination)[N], const char* source) noexcept
{
    static_assert(N > 0);
    if (!source) {
        destination[0] = '\0';
        return;
    }
    std::strncpy(destination, source, N - 1);
    destination[N - 1] = '\0';
}
