// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clap/ClapAbi.h"
#include "graphics/IEditorRunLoop.h"

#include <map>

/// The host's timer-support and posix-fd-support seen as the editor's run
/// loop: each timer and file descriptor the window host registers is
/// registered with the host, whose on_timer / on_fd calls come back through
/// OnTimer / OnFd. Owned by the editor gui for one attachment; destroying it
/// unregisters whatever is still registered. [main]
class ClapRunLoopAdapter : public IEditorRunLoop {
public:
    /// All three are borrowed and outlive the adapter.
    ClapRunLoopAdapter(const clap_host_t& host, const clap_host_timer_support_t& timers,
                       const clap_host_posix_fd_support_t& fds);
    ~ClapRunLoopAdapter() override;
    ClapRunLoopAdapter(const ClapRunLoopAdapter&) = delete;
    ClapRunLoopAdapter& operator=(const ClapRunLoopAdapter&) = delete;

    int RegisterFdHandler(int fd, Callback onReadable) override;
    int RegisterTimer(int periodMs, Callback onTick) override;
    void Unregister(int id) override;

    /// The host's calls back: runs the callback registered for the timer or
    /// descriptor; unknown ones are ignored.
    void OnTimer(clap_id timerId);
    void OnFd(int fd);

private:
    struct Registration {
        bool isTimer = false;
        clap_id timerId = CLAP_INVALID_ID;
        int fd = -1;
        Callback callback;
    };

    void UnregisterFromHost(const Registration& registration);

    const clap_host_t& mHost;
    const clap_host_timer_support_t& mTimers;
    const clap_host_posix_fd_support_t& mFds;
    std::map<int, Registration> mRegistrations;
    int mNextId = 1;
};
