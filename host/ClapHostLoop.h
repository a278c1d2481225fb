// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clap/ClapAbi.h"
#include "host/HostObject.h"
#include "pluginterfaces/gui/iplugview.h"

#include <map>
#include <memory>

/// The host side of CLAP's timer-support and posix-fd-support on Linux: the
/// plug-in's timers and file descriptors are registered with the run loop
/// of the editor's frame, whose calls come back as the plug-in's on_timer
/// and on_fd. Lives for one editor attachment; destroying it unregisters
/// whatever is left. The run loop and the plug-in are borrowed. [ui]
class ClapHostLoop {
public:
    ClapHostLoop(Steinberg::Linux::IRunLoop& loop, const clap_plugin_t& plugin);
    ~ClapHostLoop();
    ClapHostLoop(const ClapHostLoop&) = delete;
    ClapHostLoop& operator=(const ClapHostLoop&) = delete;

    bool RegisterTimer(uint32_t periodMs, clap_id& timerId);
    bool UnregisterTimer(clap_id timerId);
    bool RegisterFd(int fd);
    bool UnregisterFd(int fd);

private:
    class Timer;
    class Watch;

    Steinberg::Linux::IRunLoop& mLoop;
    const clap_plugin_t& mPlugin;
    std::map<clap_id, std::unique_ptr<Timer>> mTimers;
    std::map<int, std::unique_ptr<Watch>> mWatches;
    clap_id mNextTimer = 1;
};
