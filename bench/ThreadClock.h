// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <time.h>

/// Processor time of the calling thread in seconds: other programs on a
/// shared machine then cost the figures little.
inline double ThreadSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}
