// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/ClapHostLoop.h"

using namespace Steinberg;

class ClapHostLoop::Timer : public HostObject<Linux::ITimerHandler> {
public:
    Timer(const clap_plugin_t& plugin, clap_id id) : mPlugin(plugin), mId(id) {}
    void PLUGIN_API onTimer() override
    {
        if (const auto* ext = static_cast<const clap_plugin_timer_support_t*>(
                mPlugin.get_extension(&mPlugin, CLAP_EXT_TIMER_SUPPORT)))
            ext->on_timer(&mPlugin, mId);
    }

private:
    const clap_plugin_t& mPlugin;
    clap_id mId;
};

class ClapHostLoop::Watch : public HostObject<Linux::IEventHandler> {
public:
    Watch(const clap_plugin_t& plugin, int fd) : mPlugin(plugin), mFd(fd) {}
    void PLUGIN_API onFDIsSet(Linux::FileDescriptor) override
    {
        if (const auto* ext = static_cast<const clap_plugin_posix_fd_support_t*>(
                mPlugin.get_extension(&mPlugin, CLAP_EXT_POSIX_FD_SUPPORT)))
            ext->on_fd(&mPlugin, mFd, CLAP_POSIX_FD_READ);
    }

private:
    const clap_plugin_t& mPlugin;
    int mFd;
};

ClapHostLoop::ClapHostLoop(Linux::IRunLoop& loop, const clap_plugin_t& plugin) : mLoop(loop), mPlugin(plugin) {}

ClapHostLoop::~ClapHostLoop()
{
    for (auto& [id, timer] : mTimers)
        mLoop.unregisterTimer(timer.get());
    for (auto& [fd, watch] : mWatches)
        mLoop.unregisterEventHandler(watch.get());
}

bool ClapHostLoop::RegisterTimer(uint32_t periodMs, clap_id& timerId)
{
    auto timer = std::make_unique<Timer>(mPlugin, mNextTimer);
    if (mLoop.registerTimer(timer.get(), periodMs) != kResultOk)
        return false;
    timerId = mNextTimer++;
    mTimers[timerId] = std::move(timer);
    return true;
}

bool ClapHostLoop::UnregisterTimer(clap_id timerId)
{
    const auto found = mTimers.find(timerId);
    if (found == mTimers.end())
        return false;
    mLoop.unregisterTimer(found->second.get());
    mTimers.erase(found);
    return true;
}

bool ClapHostLoop::RegisterFd(int fd)
{
    if (mWatches.count(fd) != 0)
        return false;
    auto watch = std::make_unique<Watch>(mPlugin, fd);
    if (mLoop.registerEventHandler(watch.get(), fd) != kResultOk)
        return false;
    mWatches[fd] = std::move(watch);
    return true;
}

bool ClapHostLoop::UnregisterFd(int fd)
{
    const auto found = mWatches.find(fd);
    if (found == mWatches.end())
        return false;
    mLoop.unregisterEventHandler(found->second.get());
    mWatches.erase(found);
    return true;
}
