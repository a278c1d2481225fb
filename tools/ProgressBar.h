// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

/// A one-line progress bar on stderr, drawn only when stderr is a terminal
/// and the job is long enough to be worth watching.
class ProgressBar {
public:
    /// [ui] `total` units of work; `worthShowing` is the caller's judgement
    /// that the job is long.
    ProgressBar(int64_t total, bool worthShowing);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    /// [ui] Redraws when the shown percentage changes.
    void Update(int64_t done);

private:
    int64_t mTotal;
    bool mEnabled;
    int mShown = -1;
};
