// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "host/HostObject.h"

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"

#include <chrono>
#include <vector>

/// The run loop a Linux host lends an editor through its plug-in frame: the
/// plug-in registers file-descriptor handlers and timers; the host (here the
/// caller of Pump) calls them. Registered handlers are referenced until they
/// are unregistered. Everything runs on the thread that calls Pump. [ui]
class HostRunLoop : public HostObject<Steinberg::Linux::IRunLoop> {
public:
    Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                       Steinberg::Linux::FileDescriptor fd) override;
    Steinberg::tresult PLUGIN_API unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override;
    Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                                Steinberg::Linux::TimerInterval milliseconds) override;
    Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;

    /// Runs the loop for `milliseconds`: calls the handlers of readable file
    /// descriptors and the timers that fall due, then returns. Handlers may
    /// register and unregister while they run.
    void Pump(int milliseconds);

    /// Registrations currently held.
    int EventHandlerCount() const noexcept { return int(mHandlers.size()); }
    int TimerCount() const noexcept { return int(mTimers.size()); }

private:
    using Clock = std::chrono::steady_clock;
    struct FdEntry {
        Steinberg::IPtr<Steinberg::Linux::IEventHandler> handler;
        int fd = -1;
    };
    struct TimerEntry {
        Steinberg::IPtr<Steinberg::Linux::ITimerHandler> handler;
        Clock::duration period{};
        Clock::time_point due{};
    };

    bool PollOnce(int timeoutMs);
    void FireDueTimers();

    std::vector<FdEntry> mHandlers;
    std::vector<TimerEntry> mTimers;
};
