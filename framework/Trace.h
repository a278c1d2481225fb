// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// The trace hook. Trace points name where they are (a location text such as
/// "IEffectBase::SerializeParams" and the source line) and what they saw (a
/// printf format and its arguments). The hook is empty and trace points are
/// compiled out, so no trace output exists; the formats are still checked.
[[gnu::format(printf, 3, 4)]] inline void Trace(const char* /*location*/, int /*line*/,
                                                const char* /*format*/, ...) noexcept
{
}

/// [any] A trace point. Its arguments are type-checked but never evaluated.
#define KELDRA_TRACE(location, ...)                        \
    do {                                                   \
        if constexpr (false) {                             \
            Trace((location), __LINE__, __VA_ARGS__);      \
        }                                                  \
    } while (0)
