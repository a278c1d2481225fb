// SPDX-License-Identifier: GPL-3.0-or-later
// The built bundle in the flows hosts actually use: state saved from the
// component, program changes the host must hear of, buses a host never
// activates, and state streams that take their time.
#include "BundleFixture.h"

#include "host/HostMemoryStream.h"
#include "host/HostParameterChanges.h"

#include <chrono>
#include <future>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr ParamID kPreset = 0x70727374;
constexpr ParamID kBypass = 0x62706173;

/// A stereo signal of `frames` frames, and output arrays filled with `stale`.
struct Blocks {
    Blocks(int frames, float stale) : in(2, std::vector<float>(frames)), out(2, std::vector<float>(frames, stale))
    {
        for (int i = 0; i < frames; ++i) in[0][i] = in[1][i] = 0.25f * float(i % 7) - 0.75f;
    }
    float** Inputs() { return inPtr; }
    float** Outputs() { return outPtr; }
    std::vector<std::vector<float>> in;
    std::vector<std::vector<float>> out;
    float* inPtr[2] = {in[0].data(), in[1].data()};
    float* outPtr[2] = {out[0].data(), out[1].data()};
};

/// A host stream that, on every read and write, runs one process call on
/// another thread and waits for it: a plug-in holding its lock across the
/// stream would make the audio thread wait for the stream.
class AudioDuringStreamIO : public HostMemoryStream {
public:
    AudioDuringStreamIO(PluginInstance& plugin, std::vector<uint8_t> bytes = {})
        : HostMemoryStream(std::move(bytes)), mPlugin(plugin)
    {
    }
    tresult PLUGIN_API read(void* buffer, int32 numBytes, int32* numBytesRead) override
    {
        RunAudioBlock();
        return HostMemoryStream::read(buffer, numBytes, numBytesRead);
    }
    tresult PLUGIN_API write(void* buffer, int32 numBytes, int32* numBytesWritten) override
    {
        RunAudioBlock();
        return HostMemoryStream::write(buffer, numBytes, numBytesWritten);
    }
    int blocksWaitedFor = 0; ///< process calls that could not finish during the I/O
    std::vector<std::future<void>> pending; ///< every block run, to be waited for

private:
    void RunAudioBlock()
    {
        std::future<void> block = std::async(std::launch::async, [this] {
            Blocks b(64, 0.0f);
            mPlugin.Process32(b.Inputs(), b.Outputs(), 64);
        });
        // Generous: a process call takes microseconds; only a held lock
        // keeps it from finishing at all.
        if (block.wait_for(std::chrono::seconds(10)) != std::future_status::ready) ++blocksWaitedFor;
        pending.push_back(std::move(block));
    }
    PluginInstance& mPlugin;
};

} // namespace

TEST_F(BundleTest, ComponentStateRestoresThroughTheUsualHostFlowAndOldProjectsStillOpen)
{
    std::string error;
    ASSERT_TRUE(plugin->Setup(ProcessSettings{}, error)) << error;
    HostParameterChanges changes;
    changes.Add(0, 0.8);
    changes.Add(3, 0.25);
    changes.Add(kBypass, 1.0);
    Blocks b(32, 0.0f);
    plugin->Process32(b.Inputs(), b.Outputs(), 32, &changes);

    const std::vector<uint8_t> saved = plugin->SaveComponentState();
    ASSERT_EQ(saved.size(), 68u);
    EXPECT_EQ(saved, plugin->SaveState());  // one state, wherever a host asks

    HostComponentHandler otherHandler;
    auto restored = PluginInstance::Create(*module, app, otherHandler, error);
    ASSERT_NE(restored, nullptr) << error;
    EXPECT_EQ(restored->LoadComponentState(saved), kResultOk);
    EXPECT_EQ(restored->SaveState(), saved);
    EXPECT_NEAR(restored->Controller()->getParamNormalized(0), 0.8, 1e-12);
    EXPECT_EQ(restored->Controller()->getParamNormalized(kBypass), 1.0);

    // A project from a build whose component saved nothing: the empty
    // component state changes nothing, the controller's state restores it.
    auto old = PluginInstance::Create(*module, app, otherHandler, error);
    ASSERT_NE(old, nullptr) << error;
    const std::vector<uint8_t> defaults = old->SaveState();
    EXPECT_NE(old->LoadComponentState({}), kResultOk);
    EXPECT_EQ(old->SaveState(), defaults);
    EXPECT_EQ(old->LoadState(saved), kResultOk);
    EXPECT_EQ(old->SaveComponentState(), saved);
}

TEST_F(BundleTest, AProgramChangeIsToldToTheHostOnItsNextCallAndAValueNamingNoPresetChangesNothing)
{
    std::string error;
    ASSERT_TRUE(plugin->Setup(ProcessSettings{}, error)) << error;
    IEditController* c = plugin->Controller();
    const double defaultOut = c->getParamNormalized(0);
    HostParameterChanges changes;
    changes.Add(0, 0.8);
    Blocks b(32, 0.0f);
    plugin->Process32(b.Inputs(), b.Outputs(), 32, &changes);

    changes.Clear();
    changes.Add(kPreset, 1.5);  // names no preset
    plugin->Process32(b.Inputs(), b.Outputs(), 32, &changes);
    handler.Clear();
    EXPECT_NEAR(c->getParamNormalized(0), 0.8, 1e-12);
    EXPECT_TRUE(handler.Edits().empty());

    changes.Clear();
    changes.Add(kPreset, 0.0);
    plugin->Process32(b.Inputs(), b.Outputs(), 32, &changes);
    EXPECT_TRUE(handler.Edits().empty());  // never from the audio thread
    EXPECT_EQ(c->getParamNormalized(kPreset), 0.0);
    const std::vector<HostEdit> edits = handler.Edits();
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].kind, HostEdit::Kind::Restart);
    EXPECT_EQ(int(edits[0].value), kParamValuesChanged);
    EXPECT_EQ(c->getParamNormalized(0), defaultOut);
    EXPECT_EQ(handler.Edits().size(), 1u);  // told once

    EXPECT_EQ(plugin->ValueText(kPreset, c->getParamNormalized(kPreset)), "-");
    TChar name[] = {'-', 0};
    ParamValue value = -1.0;
    ASSERT_EQ(c->getParamValueByString(kPreset, name, value), kResultOk);
    EXPECT_EQ(value, 0.0);
}

TEST_F(BundleTest, MainBusesAreActiveFromInitializeUntilTheHostDeactivatesThem)
{
    IComponent* component = plugin->Component();
    for (BusDirection dir : {kInput, kOutput}) {
        BusInfo info{};
        ASSERT_EQ(component->getBusInfo(kAudio, dir, 0, info), kResultOk);
        EXPECT_EQ(info.flags & BusInfo::kDefaultActive, uint32(BusInfo::kDefaultActive));
    }
    // A host that processes without activating the buses (nor setting up)
    // gets the effect's output, here the bypassed input, never its own
    // stale arrays back.
    HostParameterChanges changes;
    changes.Add(kBypass, 1.0);
    Blocks b(64, 7.0f);
    EXPECT_EQ(plugin->Process32(b.Inputs(), b.Outputs(), 64, &changes), kResultOk);
    EXPECT_EQ(b.out, b.in);

    ASSERT_EQ(component->activateBus(kAudio, kOutput, 0, false), kResultOk);
    Blocks inactive(64, 7.0f);
    plugin->Process32(inactive.Inputs(), inactive.Outputs(), 64);
    EXPECT_EQ(inactive.out, std::vector<std::vector<float>>(2, std::vector<float>(64, 7.0f)));
}

TEST_F(BundleTest, StateStreamsAreReadAndWrittenWithoutHoldingUpTheAudioThread)
{
    std::string error;
    ASSERT_TRUE(plugin->Setup(ProcessSettings{}, error)) << error;
    const std::vector<uint8_t> saved = plugin->SaveState();
    AudioDuringStreamIO componentOut(*plugin);
    AudioDuringStreamIO controllerOut(*plugin);
    AudioDuringStreamIO componentIn(*plugin, saved);
    AudioDuringStreamIO controllerIn(*plugin, saved);
    EXPECT_EQ(plugin->Component()->getState(&componentOut), kResultOk);
    EXPECT_EQ(plugin->Controller()->getState(&controllerOut), kResultOk);
    EXPECT_EQ(plugin->Component()->setState(&componentIn), kResultOk);
    EXPECT_EQ(plugin->Controller()->setComponentState(&controllerIn), kResultOk);
    for (AudioDuringStreamIO* stream : {&componentOut, &controllerOut, &componentIn, &controllerIn}) {
        EXPECT_FALSE(stream->pending.empty());
        EXPECT_EQ(stream->blocksWaitedFor, 0);
        for (auto& block : stream->pending) block.wait();
    }
    EXPECT_EQ(componentOut.Bytes(), saved);
    EXPECT_EQ(controllerOut.Bytes(), saved);
}
