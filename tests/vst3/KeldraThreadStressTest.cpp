// SPDX-License-Identifier: GPL-3.0-or-later
// The built VST3 bundle and CLAP module under both of a host's threads at
// once: on the user-interface thread, knob drags in the open editor on a
// real X server, parameter values from the host, state saved and restored
// and the editor attached and removed; on an audio thread, process calls
// automating the same parameters and the host's bypass. Built with
// ThreadSanitizer (the tsan preset), any data race fails the run.
#include "host/HostApplication.h"
#include "host/HostComponentHandler.h"
#include "host/HostParameterChanges.h"
#include "host/HostPlugFrame.h"
#include "host/HostRunLoop.h"
#include "host/PluginInstance.h"
#include "host/PluginModule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>

// After every other header: Xlib defines short macro names (None, Bool, Status).
#include "../editor/X11TestWindows.h"
#include <X11/extensions/XTest.h>

using namespace Steinberg;

namespace {

constexpr int kRounds = 6;
/// The host bypass parameter both formats publish (characters "bpas").
constexpr Vst::ParamID kHostBypassId = 0x62706173;
constexpr int kFrames = 64;
/// Editor pixels of the GainH and OUT knobs.
constexpr int kKnobs[2][2] = {{223, 102}, {73, 349}};

class ThreadStress : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display";
        display = SharedDisplay();
        ASSERT_NE(display, nullptr);
        std::string error;
        module = PluginModule::Load(GetParam(), error);
        ASSERT_TRUE(module) << error;
        plugin = PluginInstance::Create(*module, app, handler, error);
        ASSERT_TRUE(plugin) << error;
        ProcessSettings settings;
        settings.maxBlock = kFrames;
        ASSERT_TRUE(plugin->Setup(settings, error)) << error;
        parent = CreateParentWindow(display);
    }

    void TearDown() override
    {
        if (display != nullptr && parent != 0) {
            XDestroyWindow(display, parent);
            XSync(display, False);
        }
        plugin.reset();
        module.reset();
    }

    void Pointer(int x, int y)
    {
        XTestFakeMotionEvent(display, -1, kParentX + x, kParentY + y, CurrentTime);
        XSync(display, False);
        loop.Pump(5);
    }

    void Button(bool down)
    {
        XTestFakeButtonEvent(display, 1, down ? True : False, CurrentTime);
        XSync(display, False);
        loop.Pump(5);
    }

    /// One round on the user-interface thread: open the editor, drag a knob,
    /// set a value, save and restore the state, close the editor.
    void UserInterfaceRound(int round)
    {
        IPlugView* view = plugin->Controller()->createView("editor");
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(view->setFrame(&frame), kResultOk);
        ASSERT_EQ(view->attached(reinterpret_cast<void*>(uintptr_t(parent)), kPlatformTypeX11EmbedWindowID),
                  kResultOk);
        loop.Pump(30);
        const int* knob = kKnobs[round % 2];
        Pointer(knob[0], knob[1]);
        Button(true);
        for (int step = 1; step <= 6; ++step)
            Pointer(knob[0], knob[1] + (round % 2 == 0 ? -8 : 8) * step);
        Button(false);
        plugin->Controller()->setParamNormalized(round % 8, 0.1 * round);
        EXPECT_EQ(plugin->LoadState(plugin->SaveState()), kResultOk);
        view->removed();
        view->release();
        loop.Pump(5);
    }

    Display* display = nullptr;
    Window parent = 0;
    HostApplication app{"thread-stress-test"};
    HostComponentHandler handler;
    std::unique_ptr<PluginModule> module;
    std::unique_ptr<PluginInstance> plugin;
    HostRunLoop loop;
    HostPlugFrame frame{&loop};
};

TEST_P(ThreadStress, EditorDragsStateAndAutomationOfTheSameParametersRunTogether)
{
    std::atomic<bool> running{true};
    std::atomic<bool> finite{true};
    std::atomic<int> blocks{0};
    std::thread audio([&] {
        std::vector<float> in(kFrames), out0(kFrames), out1(kFrames);
        for (int i = 0; i < kFrames; ++i)
            in[i] = 0.25f * std::sin(0.05f * float(i));
        float* inputs[2] = {in.data(), in.data()};
        float* outputs[2] = {out0.data(), out1.data()};
        HostParameterChanges changes;
        for (int block = 0; running.load(); ++block) {
            changes.Clear();
            // GainH and OUT, the knobs being dragged, and the host's bypass now and then.
            changes.Add(3, 0.5 + 0.4 * std::sin(0.01 * block), block % kFrames);
            changes.Add(0, 0.5 + 0.4 * std::cos(0.013 * block));
            changes.Add(kHostBypassId, block % 97 < 3 ? 1.0 : 0.0);
            plugin->Process32(inputs, outputs, kFrames, &changes);
            for (float sample : out0)
                if (!std::isfinite(sample))
                    finite = false;
            blocks = block + 1;
            std::this_thread::yield();
        }
    });
    for (int round = 0; round < kRounds; ++round)
        UserInterfaceRound(round);
    running = false;
    audio.join();

    EXPECT_TRUE(finite.load());
    EXPECT_GT(blocks.load(), kRounds);
    // The drags reached the host as gestures.
    const std::vector<HostEdit> edits = handler.Edits();
    EXPECT_GE(std::count_if(edits.begin(), edits.end(), [](const HostEdit& e) { return e.kind == HostEdit::Kind::Begin; }),
              kRounds);
}

// The host's automation on the audio thread and state restores on the
// user-interface thread set GainH at the same time, round after round. Once
// both stop, the sound is what a saved state says: a fresh instance given
// that state renders the same, within -120 dB (a long-running instance's
// smoothers settle a few bits from a fresh one's). A working copy that
// fell behind its parameter left up to 1.7 dB between them.
TEST_P(ThreadStress, AutomationAndRestoresOfTheSameParameterLeaveTheSoundAtTheSavedState)
{
    constexpr int kRestores = 400;
    constexpr int kGainHigh = 3;
    std::vector<uint8_t> states[2] = {plugin->SaveState(), plugin->SaveState()};
    ASSERT_EQ(states[0].size(), 68u);
    for (int k = 0; k < 2; ++k) {
        const double value = k == 0 ? 0.1 : 0.9;
        std::memcpy(states[k].data() + kGainHigh * sizeof(double), &value, sizeof value);
    }
    std::vector<float> in(kFrames), out0(kFrames), out1(kFrames);
    float* inputs[2] = {in.data(), in.data()};
    float* outputs[2] = {out0.data(), out1.data()};
    std::atomic<bool> running{true};
    std::thread audio([&] {
        HostParameterChanges changes;
        for (int block = 0; running.load(); ++block) {
            changes.Clear();
            changes.Add(kGainHigh, block % 2 == 0 ? 0.3 : 0.7, block % kFrames);
            plugin->Process32(inputs, outputs, kFrames, &changes);
        }
    });
    for (int round = 0; round < kRestores; ++round)
        EXPECT_EQ(plugin->LoadState(states[round % 2]), kResultOk);
    running = false;
    audio.join();

    std::string error;
    std::unique_ptr<PluginInstance> fresh = PluginInstance::Create(*module, app, handler, error);
    ASSERT_TRUE(fresh) << error;
    ProcessSettings settings;
    settings.maxBlock = kFrames;
    ASSERT_TRUE(fresh->Setup(settings, error)) << error;
    ASSERT_EQ(fresh->LoadState(plugin->SaveState()), kResultOk);
    std::vector<float> again0(kFrames), again1(kFrames);
    float* freshOutputs[2] = {again0.data(), again1.data()};
    float most = 0.0f;
    float peak = 0.0f;
    // Three seconds: the long-running smoothers glide to where the fresh ones start.
    for (int block = 0; block < 3 * 48000 / kFrames; ++block) {
        for (int i = 0; i < kFrames; ++i)
            in[i] = 0.5f * std::sin(0.05f * float(block * kFrames + i)) + 0.3f * std::sin(0.7f * float(i));
        plugin->Process32(inputs, outputs, kFrames, nullptr);
        fresh->Process32(inputs, freshOutputs, kFrames, nullptr);
        if (block >= 3 * 48000 / kFrames - 16)
            for (int i = 0; i < kFrames; ++i) {
                most = std::max(most, std::fabs(out0[i] - again0[i]));
                peak = std::max(peak, std::fabs(again0[i]));
            }
    }
    EXPECT_GT(peak, 0.1f);
    EXPECT_LE(most, 1e-6f * peak);
}

INSTANTIATE_TEST_SUITE_P(VST3AndCLAP, ThreadStress, testing::Values(KELDRA_BUNDLE_PATH, KELDRA_CLAP_MODULE_PATH),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string(info.index == 0 ? "vst3" : "clap");
                         });

} // namespace
