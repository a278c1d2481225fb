// SPDX-License-Identifier: GPL-3.0-or-later
#include "clap/ClapRunLoopAdapter.h"

#include <utility>

ClapRunLoopAdapter::ClapRunLoopAdapter(const clap_host_t& host, const clap_host_timer_support_t& timers,
                                       const clap_host_posix_fd_support_t& fds)
    : mHost(host), mTimers(timers), mFds(fds)
{
}

ClapRunLoopAdapter::~ClapRunLoopAdapter()
{
    for (const auto& [id, registration] : mRegistrations)
        UnregisterFromHost(registration);
}

int ClapRunLoopAdapter::RegisterFdHandler(int fd, Callback onReadable)
{
    if (!mFds.register_fd(&mHost, fd, CLAP_POSIX_FD_READ))
        return 0;
    mRegistrations[mNextId] = Registration{false, CLAP_INVALID_ID, fd, std::move(onReadable)};
    return mNextId++;
}

int ClapRunLoopAdapter::RegisterTimer(int periodMs, Callback onTick)
{
    clap_id timerId = CLAP_INVALID_ID;
    if (periodMs < 0 || !mTimers.register_timer(&mHost, static_cast<uint32_t>(periodMs), &timerId))
        return 0;
    mRegistrations[mNextId] = Registration{true, timerId, -1, std::move(onTick)};
    return mNextId++;
}

void ClapRunLoopAdapter::Unregister(int id)
{
    const auto found = mRegistrations.find(id);
    if (found == mRegistrations.end())
        return;
    UnregisterFromHost(found->second);
    mRegistrations.erase(found);
}

void ClapRunLoopAdapter::UnregisterFromHost(const Registration& registration)
{
    if (registration.isTimer)
        mTimers.unregister_timer(&mHost, registration.timerId);
    else
        mFds.unregister_fd(&mHost, registration.fd);
}

void ClapRunLoopAdapter::OnTimer(clap_id timerId)
{
    for (const auto& [id, registration] : mRegistrations) {
        if (registration.isTimer && registration.timerId == timerId) {
            // A copy: the callback may unregister itself while it runs.
            Callback callback = registration.callback;
            callback();
            return;
        }
    }
}

void ClapRunLoopAdapter::OnFd(int fd)
{
    for (const auto& [id, registration] : mRegistrations) {
        if (!registration.isTimer && registration.fd == fd) {
            Callback callback = registration.callback;
            callback();
            return;
        }
    }
}
