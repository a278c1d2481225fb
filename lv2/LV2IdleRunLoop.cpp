// SPDX-License-Identifier: GPL-3.0-or-later
#include "lv2/LV2IdleRunLoop.h"

#include <poll.h>

#include <vector>

int LV2IdleRunLoop::RegisterFdHandler(int fd, Callback onReadable)
{
    if (fd < 0 || !onReadable)
        return 0;
    Registration registration;
    registration.callback = std::move(onReadable);
    registration.fd = fd;
    mRegistrations.emplace(mNextId, std::move(registration));
    return mNextId++;
}

int LV2IdleRunLoop::RegisterTimer(int periodMs, Callback onTick)
{
    if (periodMs < 1 || !onTick)
        return 0;
    Registration registration;
    registration.callback = std::move(onTick);
    registration.period = std::chrono::milliseconds(periodMs);
    registration.due = Clock::now() + registration.period;
    mRegistrations.emplace(mNextId, std::move(registration));
    return mNextId++;
}

void LV2IdleRunLoop::Unregister(int id)
{
    mRegistrations.erase(id);
}

void LV2IdleRunLoop::Idle(Clock::time_point now)
{
    // A callback may end any registration, its own included: each is looked
    // up again before it runs, and a copy of the callback runs.
    std::vector<int> ids;
    for (const auto& entry : mRegistrations)
        ids.push_back(entry.first);
    for (int id : ids) {
        auto found = mRegistrations.find(id);
        if (found == mRegistrations.end())
            continue;
        Registration& registration = found->second;
        if (registration.fd >= 0) {
            pollfd watched{registration.fd, POLLIN, 0};
            if (poll(&watched, 1, 0) <= 0 || (watched.revents & POLLIN) == 0)
                continue;
        } else {
            if (now < registration.due)
                continue;
            // A loop that fell behind does not catch up with a burst of ticks.
            registration.due += registration.period;
            if (registration.due <= now)
                registration.due = now + registration.period;
        }
        Callback callback = registration.callback;
        callback();
    }
}
