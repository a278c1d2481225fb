// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ProgressBar.h"

#include <cstdio>
#include <unistd.h>

ProgressBar::ProgressBar(int64_t total, bool worthShowing)
    : mTotal(total > 0 ? total : 1), mEnabled(worthShowing && isatty(STDERR_FILENO) == 1)
{
}

ProgressBar::~ProgressBar()
{
    if (mEnabled && mShown >= 0)
        std::fputs("\n", stderr);
}

void ProgressBar::Update(int64_t done)
{
    if (!mEnabled)
        return;
    const int percent = static_cast<int>(100 * (done < mTotal ? done : mTotal) / mTotal);
    if (percent == mShown)
        return;
    mShown = percent;
    constexpr int kWidth = 40;
    char bar[kWidth + 1];
    for (int i = 0; i < kWidth; ++i)
        bar[i] = i < percent * kWidth / 100 ? '#' : '.';
    bar[kWidth] = '\0';
    std::fprintf(stderr, "\r[%s] %3d%%", bar, percent);
    std::fflush(stderr);
}
