// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/IEditorRunLoop.h"

#include <chrono>
#include <map>

/// The editor's run loop driven by a host's idle calls (ui:idleInterface):
/// each Idle() runs the handlers whose descriptor has data and the timers
/// that are due. A timer runs at most once per idle call, so the redraw tick
/// follows the host's idle rate when that is slower than the timer. [ui]
class LV2IdleRunLoop : public IEditorRunLoop {
public:
    using Clock = std::chrono::steady_clock;

    int RegisterFdHandler(int fd, Callback onReadable) override;
    int RegisterTimer(int periodMs, Callback onTick) override;
    void Unregister(int id) override;

    /// Runs what is ready at `now`. Callbacks may register and unregister.
    void Idle(Clock::time_point now = Clock::now());
    /// Registrations still held.
    std::size_t Count() const noexcept { return mRegistrations.size(); }

private:
    struct Registration {
        Callback callback;
        int fd = -1; // a timer has none
        Clock::duration period{};
        Clock::time_point due{};
    };

    std::map<int, Registration> mRegistrations;
    int mNextId = 1;
};
