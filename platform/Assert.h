// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cassert>

// A broken contract must not end the host's session: debug builds stop at the
// fault, release builds return a safe fallback from the enclosing function.
#define KELDRA_ASSERT_RETURN(cond, ...) \
    do {                                \
        if (!(cond)) {                  \
            assert(!#cond);             \
            return __VA_ARGS__;         \
        }                               \
    } while (0)
