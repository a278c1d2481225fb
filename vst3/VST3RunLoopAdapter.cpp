// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/VST3RunLoopAdapter.h"

#include <utility>

using namespace Steinberg;

/// One callback as the host sees it: an event handler and a timer handler at
/// once, so one class serves both kinds of registration.
class VST3RunLoopAdapter::Handler : public FObject, public Linux::IEventHandler, public Linux::ITimerHandler {
public:
    explicit Handler(Callback callback) : mCallback(std::move(callback)) {}

    void PLUGIN_API onFDIsSet(Linux::FileDescriptor) SMTG_OVERRIDE { Fire(); }
    void PLUGIN_API onTimer() SMTG_OVERRIDE { Fire(); }

    /// A host may still hold (and, within the dispatch under way, call) the
    /// handler after it was unregistered; from then on the call does nothing.
    void Disable() { mCallback = nullptr; }

    OBJ_METHODS(Handler, FObject)
    DEFINE_INTERFACES
        DEF_INTERFACE(Linux::IEventHandler)
        DEF_INTERFACE(Linux::ITimerHandler)
    END_DEFINE_INTERFACES(FObject)
    REFCOUNT_METHODS(FObject)

private:
    void Fire()
    {
        // Copied first: the callback may unregister (and so disable) itself.
        if (Callback callback = mCallback) callback();
    }

    Callback mCallback;
};

VST3RunLoopAdapter::VST3RunLoopAdapter(Linux::IRunLoop& hostLoop) : mHostLoop(&hostLoop) {}

VST3RunLoopAdapter::~VST3RunLoopAdapter()
{
    for (auto& entry : mRegistrations) UnregisterFromHost(entry.second);
}

int VST3RunLoopAdapter::RegisterFdHandler(int fd, Callback onReadable)
{
    if (fd < 0 || !onReadable) return 0;
    IPtr<Handler> handler = owned(new Handler(std::move(onReadable)));
    if (mHostLoop->registerEventHandler(handler, fd) != kResultOk) return 0;
    mRegistrations[mNextId] = Registration{handler, false};
    return mNextId++;
}

int VST3RunLoopAdapter::RegisterTimer(int periodMs, Callback onTick)
{
    if (periodMs <= 0 || !onTick) return 0;
    IPtr<Handler> handler = owned(new Handler(std::move(onTick)));
    if (mHostLoop->registerTimer(handler, Linux::TimerInterval(periodMs)) != kResultOk) return 0;
    mRegistrations[mNextId] = Registration{handler, true};
    return mNextId++;
}

void VST3RunLoopAdapter::Unregister(int id)
{
    const auto found = mRegistrations.find(id);
    if (found == mRegistrations.end()) return;
    UnregisterFromHost(found->second);
    mRegistrations.erase(found);
}

void VST3RunLoopAdapter::UnregisterFromHost(Registration& registration)
{
    registration.handler->Disable();
    if (registration.isTimer)
        mHostLoop->unregisterTimer(registration.handler);
    else
        mHostLoop->unregisterEventHandler(registration.handler);
}
