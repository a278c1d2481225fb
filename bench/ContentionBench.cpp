// SPDX-License-Identifier: GPL-3.0-or-later
// How long a host's audio thread spends in one process call (64 or 512
// frames) while its user-interface thread is busy with the same instance:
// saving and restoring state (component and controller), setting every
// parameter and attaching and removing the editor, as fast as it can.
// The loads: none; a busy user-interface thread with memory streams; the
// same with streams that take 2 ms per read and write; and a real-time
// audio thread (SCHED_FIFO where permitted, paced at the block's period)
// sharing one core with the user-interface thread and a busy thread that
// starves it. Reported per case: median, 99th and 99.9th percentile and
// maximum wall-clock time of a process call, the calls over a millisecond
// and those over the real-time budget of a block (1.33 ms for 64 frames,
// 10.67 ms for 512 at 48 kHz). Wall-clock time includes the scheduler's
// doing: compare runs on a quiet machine.
//
// The bundle is loaded as a host loads it: the built one, or the one named
// by KELDRA_BUNDLE (to measure another build). The editor is attached only
// when an X display is there.
#include "host/HostApplication.h"
#include "host/HostComponentHandler.h"
#include "host/HostMemoryStream.h"
#include "host/HostPlugFrame.h"
#include "host/HostRunLoop.h"
#include "host/PluginInstance.h"
#include "host/PluginModule.h"
#include "pluginterfaces/gui/iplugview.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include <pthread.h>
#include <sched.h>

#include <X11/Xlib.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr double kSampleRate = 48000.0;
constexpr int kCalls = 20000;
/// The paced real-time case runs for about this long.
constexpr double kPacedSeconds = 5.0;
/// Opening the editor window costs far more than the rest of a round, so it
/// comes every few rounds, leaving the state and parameter calls frequent.
constexpr int kRoundsPerEditorAttach = 8;

enum class Load { kNone, kMemoryStreams, kSlowStreams, kStarvedRealTime };

const char* LoadName(Load load)
{
    switch (load) {
    case Load::kNone: return "idle host";
    case Load::kMemoryStreams: return "busy host, memory streams";
    case Load::kSlowStreams: return "busy host, 2 ms streams";
    case Load::kStarvedRealTime: return "real-time audio, host starved on its core";
    }
    return "";
}

/// Pins the calling thread to the first processor.
void PinToFirstCore()
{
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(0, &one);
    pthread_setaffinity_np(pthread_self(), sizeof one, &one);
}

/// The calling thread as a host's real-time audio thread, for the life of
/// the object: SCHED_FIFO where permitted, on the first processor.
class RealTimeAudioThread {
public:
    RealTimeAudioThread()
    {
        pthread_getaffinity_np(pthread_self(), sizeof mAffinity, &mAffinity);
        PinToFirstCore();
        sched_param param{};
        param.sched_priority = 70;
        fifo = pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
    }
    ~RealTimeAudioThread()
    {
        sched_param param{};
        pthread_setschedparam(pthread_self(), SCHED_OTHER, &param);
        pthread_setaffinity_np(pthread_self(), sizeof mAffinity, &mAffinity);
    }
    bool fifo = false;

private:
    cpu_set_t mAffinity;
};

/// A host stream that takes `delay` for every read and write, as a stream
/// into a project file on a busy disk does.
class SlowStream : public HostMemoryStream {
public:
    SlowStream(std::chrono::microseconds delay, std::vector<uint8_t> bytes = {})
        : HostMemoryStream(std::move(bytes)), mDelay(delay)
    {
    }
    tresult PLUGIN_API read(void* buffer, int32 numBytes, int32* numBytesRead) override
    {
        std::this_thread::sleep_for(mDelay);
        return HostMemoryStream::read(buffer, numBytes, numBytesRead);
    }
    tresult PLUGIN_API write(void* buffer, int32 numBytes, int32* numBytesWritten) override
    {
        std::this_thread::sleep_for(mDelay);
        return HostMemoryStream::write(buffer, numBytes, numBytesWritten);
    }

private:
    std::chrono::microseconds mDelay;
};

/// An editor parent window on the X display, when there is one.
struct EditorParent {
    EditorParent()
    {
        if (std::getenv("DISPLAY") == nullptr || (display = XOpenDisplay(nullptr)) == nullptr) return;
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 300, 570, 0, 0, 0);
        XSync(display, False);
    }
    ~EditorParent()
    {
        if (display == nullptr) return;
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    Display* display = nullptr;
    Window window = 0;
};

/// What the busy user-interface thread does, once round.
void BusyHostRound(PluginInstance& plugin, Load load, IPlugView* view, HostPlugFrame& frame,
                   HostRunLoop& loop, const EditorParent& parent, int round)
{
    const std::chrono::microseconds delay(load == Load::kSlowStreams ? 2000 : 0);
    SlowStream componentOut(delay);
    SlowStream controllerOut(delay);
    plugin.Component()->getState(&componentOut);
    plugin.Controller()->getState(&controllerOut);
    SlowStream componentIn(delay, componentOut.Bytes());
    SlowStream controllerIn(delay, controllerOut.Bytes());
    plugin.Component()->setState(&componentIn);
    componentIn.Rewind();
    plugin.Controller()->setComponentState(&componentIn);
    plugin.Controller()->setState(&controllerIn);
    for (ParamID id = 0; id < 8; ++id)
        plugin.Controller()->setParamNormalized(id, 0.5 + 0.25 * std::sin(0.1 * (round + int(id))));
    if (view != nullptr && parent.window != 0 && round % kRoundsPerEditorAttach == 0) {
        view->setFrame(&frame);
        view->attached(reinterpret_cast<void*>(uintptr_t(parent.window)), kPlatformTypeX11EmbedWindowID);
        loop.Pump(0);
        view->removed();
    }
}

double Percentile(std::vector<double> sorted, double fraction)
{
    const size_t index = std::min(sorted.size() - 1, size_t(std::ceil(fraction * double(sorted.size()))) - 1);
    return sorted[index];
}

void BM_ProcessWhileHostIsBusy(benchmark::State& state)
{
    const int frames = int(state.range(0));
    const Load load = Load(state.range(1));
    const bool paced = load == Load::kStarvedRealTime;
    const char* bundle = std::getenv("KELDRA_BUNDLE");
    std::string error;
    auto module = PluginModule::Load(bundle != nullptr ? bundle : KELDRA_BUNDLE_PATH, error);
    HostApplication app{"KELDRA contention bench"};
    HostComponentHandler handler;
    auto plugin = module ? PluginInstance::Create(*module, app, handler, error) : nullptr;
    ProcessSettings settings;
    settings.sampleRate = kSampleRate;
    settings.maxBlock = frames;
    if (!plugin || !plugin->Setup(settings, error)) {
        state.SkipWithError(error.c_str());
        return;
    }

    std::vector<std::vector<float>> in(2, std::vector<float>(frames)), out = in;
    for (int i = 0; i < frames; ++i) in[0][i] = in[1][i] = float(0.3 * std::sin(0.02 * i));
    float* inPtr[2] = {in[0].data(), in[1].data()};
    float* outPtr[2] = {out[0].data(), out[1].data()};
    std::vector<double> seconds;
    seconds.reserve(kCalls);

    std::atomic<bool> running{true};
    std::atomic<int> rounds{0};
    std::thread host;
    std::thread starver;
    if (paced) {
        starver = std::thread([&] {
            PinToFirstCore();
            while (running.load(std::memory_order_relaxed)) {
            }
        });
    }
    if (load != Load::kNone) {
        host = std::thread([&] {
            if (paced) PinToFirstCore();
            EditorParent parent;
            HostRunLoop loop;
            HostPlugFrame frame{&loop};
            IPlugView* view = plugin->Controller()->createView("editor");
            while (running.load()) BusyHostRound(*plugin, load, view, frame, loop, parent, rounds++);
            if (view != nullptr) view->release();
        });
    }

    const std::chrono::duration<double> period(frames / kSampleRate);
    std::unique_ptr<RealTimeAudioThread> realTime;
    if (paced) realTime = std::make_unique<RealTimeAudioThread>();
    auto due = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (paced) {
            due += std::chrono::duration_cast<std::chrono::steady_clock::duration>(period);
            std::this_thread::sleep_until(due);
        }
        const auto start = std::chrono::steady_clock::now();
        plugin->Process32(inPtr, outPtr, frames);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        seconds.push_back(took.count());
        benchmark::DoNotOptimize(out[0][0]);
    }
    const bool fifo = realTime && realTime->fifo;
    realTime.reset();
    running = false;
    if (host.joinable()) host.join();
    if (starver.joinable()) starver.join();

    std::sort(seconds.begin(), seconds.end());
    const double budget = frames / kSampleRate;
    state.counters["median_us"] = 1e6 * Percentile(seconds, 0.5);
    state.counters["p99_us"] = 1e6 * Percentile(seconds, 0.99);
    state.counters["p99.9_us"] = 1e6 * Percentile(seconds, 0.999);
    state.counters["max_us"] = 1e6 * seconds.back();
    state.counters["over_budget"] = double(std::count_if(seconds.begin(), seconds.end(),
                                                         [budget](double s) { return s > budget; }));
    // A call that took over a millisecond waited for something: the lock,
    // or (on a loaded machine) the scheduler.
    state.counters["over_1ms"] = double(std::count_if(seconds.begin(), seconds.end(),
                                                      [](double s) { return s > 1e-3; }));
    state.counters["host_rounds"] = double(rounds.load());
    if (paced) state.counters["sched_fifo"] = fifo ? 1.0 : 0.0;
    state.SetLabel(LoadName(load));
}

} // namespace

int main(int argc, char** argv)
{
    for (int frames : {64, 512}) {
        for (Load load : {Load::kNone, Load::kMemoryStreams, Load::kSlowStreams, Load::kStarvedRealTime}) {
            const int calls = load == Load::kStarvedRealTime ? int(kPacedSeconds * kSampleRate / frames) : kCalls;
            benchmark::RegisterBenchmark("BM_ProcessWhileHostIsBusy", BM_ProcessWhileHostIsBusy)
                ->Args({frames, int(load)})
                ->Iterations(calls)
                ->UseRealTime()
                ->Unit(benchmark::kMicrosecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
