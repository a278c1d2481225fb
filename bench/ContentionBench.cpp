// SPDX-License-Identifier: GPL-3.0-or-later
// How long a host's audio thread spends in one 512-frame process call while
// its user-interface thread is busy with the same instance: saving and
// restoring state (component and controller), setting every parameter and
// attaching and removing the editor, as fast as it can. Reported per case:
// median, 99th and 99.9th percentile and maximum wall-clock time of a
// process call, the calls over a millisecond and those over the real-time
// budget of a block (10.67 ms at 48 kHz). Wall-clock time includes the
// scheduler's doing: compare runs on a quiet machine.
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
#include <thread>
#include <vector>

#include <X11/Xlib.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kFrames = 512;
constexpr double kSampleRate = 48000.0;
constexpr int kCalls = 20000;
/// Opening the editor window costs far more than the rest of a round, so it
/// comes every few rounds, leaving the state and parameter calls frequent.
constexpr int kRoundsPerEditorAttach = 8;

enum class Load { kNone, kMemoryStreams, kSlowStreams };

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
    const Load load = Load(state.range(0));
    const char* bundle = std::getenv("KELDRA_BUNDLE");
    std::string error;
    auto module = PluginModule::Load(bundle != nullptr ? bundle : KELDRA_BUNDLE_PATH, error);
    HostApplication app{"KELDRA contention bench"};
    HostComponentHandler handler;
    auto plugin = module ? PluginInstance::Create(*module, app, handler, error) : nullptr;
    ProcessSettings settings;
    settings.sampleRate = kSampleRate;
    settings.maxBlock = kFrames;
    if (!plugin || !plugin->Setup(settings, error)) {
        state.SkipWithError(error.c_str());
        return;
    }

    std::vector<std::vector<float>> in(2, std::vector<float>(kFrames)), out = in;
    for (int i = 0; i < kFrames; ++i) in[0][i] = in[1][i] = float(0.3 * std::sin(0.02 * i));
    float* inPtr[2] = {in[0].data(), in[1].data()};
    float* outPtr[2] = {out[0].data(), out[1].data()};
    std::vector<double> seconds;
    seconds.reserve(kCalls);

    std::atomic<bool> running{true};
    std::atomic<int> rounds{0};
    std::thread host;
    if (load != Load::kNone) {
        host = std::thread([&] {
            EditorParent parent;
            HostRunLoop loop;
            HostPlugFrame frame{&loop};
            IPlugView* view = plugin->Controller()->createView("editor");
            while (running.load()) BusyHostRound(*plugin, load, view, frame, loop, parent, rounds++);
            if (view != nullptr) view->release();
        });
    }

    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        plugin->Process32(inPtr, outPtr, kFrames);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        seconds.push_back(took.count());
        benchmark::DoNotOptimize(out[0][0]);
    }
    running = false;
    if (host.joinable()) host.join();

    std::sort(seconds.begin(), seconds.end());
    const double budget = kFrames / kSampleRate;
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
    state.SetLabel(load == Load::kNone ? "idle host" : load == Load::kMemoryStreams ? "busy host, memory streams"
                                                                                    : "busy host, 2 ms streams");
}

} // namespace

BENCHMARK(BM_ProcessWhileHostIsBusy)
    ->Arg(int(Load::kNone))
    ->Arg(int(Load::kMemoryStreams))
    ->Arg(int(Load::kSlowStreams))
    ->Iterations(kCalls)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
