// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/HostRunLoop.h"

#include <poll.h>

#include <algorithm>

using namespace Steinberg;

namespace {

/// Drops every registration of `handler`; kResultFalse when there was none.
template <class Entry, class Handler>
tresult RemoveEntries(std::vector<Entry>& entries, Handler* handler)
{
    const auto end = std::remove_if(entries.begin(), entries.end(),
                                    [handler](const Entry& e) { return e.handler == handler; });
    if (end == entries.end()) return kResultFalse;
    entries.erase(end, entries.end());
    return kResultOk;
}

} // namespace

tresult PLUGIN_API HostRunLoop::registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd)
{
    if (handler == nullptr || fd < 0) return kInvalidArgument;
    mHandlers.push_back(FdEntry{handler, fd});
    return kResultOk;
}

tresult PLUGIN_API HostRunLoop::unregisterEventHandler(Linux::IEventHandler* handler)
{
    return RemoveEntries(mHandlers, handler);
}

tresult PLUGIN_API HostRunLoop::registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval milliseconds)
{
    if (handler == nullptr || milliseconds == 0) return kInvalidArgument;
    const auto period = std::chrono::milliseconds(milliseconds);
    mTimers.push_back(TimerEntry{handler, period, Clock::now() + period});
    return kResultOk;
}

tresult PLUGIN_API HostRunLoop::unregisterTimer(Linux::ITimerHandler* handler)
{
    return RemoveEntries(mTimers, handler);
}

void HostRunLoop::Pump(int milliseconds)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        const Clock::time_point now = Clock::now();
        Clock::time_point wake = deadline;
        for (const TimerEntry& timer : mTimers) wake = std::min(wake, timer.due);
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(wake - now).count();
        PollOnce(int(std::max<long long>(0, wait)));
        FireDueTimers();
        if (Clock::now() >= deadline) return;
    }
}

bool HostRunLoop::PollOnce(int timeoutMs)
{
    // A snapshot: handlers may change the registrations while they run.
    const std::vector<FdEntry> watched = mHandlers;
    std::vector<pollfd> fds;
    for (const FdEntry& entry : watched) fds.push_back(pollfd{entry.fd, POLLIN, 0});
    if (::poll(fds.data(), fds.size(), timeoutMs) <= 0) return false;
    for (size_t i = 0; i < fds.size(); ++i) {
        if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
        const bool stillRegistered =
            std::any_of(mHandlers.begin(), mHandlers.end(),
                        [&](const FdEntry& e) { return e.handler == watched[i].handler; });
        if (stillRegistered) watched[i].handler->onFDIsSet(watched[i].fd);
    }
    return true;
}

void HostRunLoop::FireDueTimers()
{
    const Clock::time_point now = Clock::now();
    const std::vector<TimerEntry> timers = mTimers;
    for (const TimerEntry& timer : timers) {
        if (timer.due > now) continue;
        auto current = std::find_if(mTimers.begin(), mTimers.end(),
                                    [&](const TimerEntry& e) { return e.handler == timer.handler; });
        if (current == mTimers.end()) continue;
        current->due = now + current->period;
        timer.handler->onTimer();
    }
}
