// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/HostRunLoop.h"
#include "vst3/VST3RunLoopAdapter.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Steinberg;

namespace {

/// A readable-on-demand descriptor.
struct Pipe {
    Pipe() { EXPECT_EQ(::pipe(fds), 0); }
    ~Pipe()
    {
        ::close(fds[0]);
        ::close(fds[1]);
    }
    void Signal() { (void)!::write(fds[1], "x", 1); }
    void Drain()
    {
        char byte;
        (void)!::read(fds[0], &byte, 1);
    }
    int fds[2] = {-1, -1};
};

/// A run loop that refuses every registration.
class RefusingLoop : public HostObject<Linux::IRunLoop> {
public:
    tresult PLUGIN_API registerEventHandler(Linux::IEventHandler*, Linux::FileDescriptor) override { return kResultFalse; }
    tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler*) override { return kResultFalse; }
    tresult PLUGIN_API registerTimer(Linux::ITimerHandler*, Linux::TimerInterval) override { return kResultFalse; }
    tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler*) override { return kResultFalse; }
};

}  // namespace

TEST(VST3RunLoopAdapter, CallsBackOnReadableDescriptorsAndTimersUntilUnregistered)
{
    HostRunLoop loop;
    Pipe pipe;
    int reads = 0;
    int ticks = 0;
    {
        VST3RunLoopAdapter adapter(loop);
        const int fdId = adapter.RegisterFdHandler(pipe.fds[0], [&] { ++reads; pipe.Drain(); });
        const int timerId = adapter.RegisterTimer(10, [&] { ++ticks; });
        ASSERT_GT(fdId, 0);
        ASSERT_GT(timerId, 0);
        EXPECT_NE(fdId, timerId);
        EXPECT_EQ(loop.EventHandlerCount(), 1);
        EXPECT_EQ(loop.TimerCount(), 1);

        loop.Pump(35);
        EXPECT_EQ(reads, 0);
        EXPECT_GE(ticks, 2);
        pipe.Signal();
        loop.Pump(5);
        EXPECT_EQ(reads, 1);

        adapter.Unregister(fdId);
        adapter.Unregister(fdId);  // a second time is ignored
        adapter.Unregister(12345);
        EXPECT_EQ(loop.EventHandlerCount(), 0);
        EXPECT_EQ(loop.TimerCount(), 1);
        pipe.Signal();
        loop.Pump(5);
        EXPECT_EQ(reads, 1);
    }
    // The adapter's end unregistered the timer it still held.
    EXPECT_EQ(loop.TimerCount(), 0);
    const int ticksAtEnd = ticks;
    loop.Pump(25);
    EXPECT_EQ(ticks, ticksAtEnd);
}

TEST(VST3RunLoopAdapter, ATimerMayUnregisterItselfWhileItRuns)
{
    HostRunLoop loop;
    VST3RunLoopAdapter adapter(loop);
    int ticks = 0;
    int id = 0;
    id = adapter.RegisterTimer(5, [&] {
        ++ticks;
        adapter.Unregister(id);
    });
    loop.Pump(40);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(loop.TimerCount(), 0);
}

TEST(VST3RunLoopAdapter, RefusedOrUnusableRegistrationsGiveNoId)
{
    RefusingLoop refusing;
    VST3RunLoopAdapter adapter(refusing);
    EXPECT_EQ(adapter.RegisterTimer(40, [] {}), 0);
    EXPECT_EQ(adapter.RegisterFdHandler(0, [] {}), 0);

    HostRunLoop loop;
    VST3RunLoopAdapter working(loop);
    EXPECT_EQ(working.RegisterFdHandler(-1, [] {}), 0);
    EXPECT_EQ(working.RegisterTimer(0, [] {}), 0);
    EXPECT_EQ(working.RegisterTimer(40, nullptr), 0);
    EXPECT_EQ(loop.EventHandlerCount() + loop.TimerCount(), 0);
}
