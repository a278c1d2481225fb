// SPDX-License-Identifier: GPL-3.0-or-later
#include "BindingDrivers.h"
#include "BindingProbe.h"

#include "clap/IEffectCLAP.h"
#include "host/ClapEventLists.h"
#include "host/ClapStreams.h"
#include "host/HostApplication.h"
#include "host/HostMemoryStream.h"
#include "host/HostParameterChanges.h"
#include "vst3/IEffectVST3.h"
#if KELDRA_TEST_LV2
#include "lv2/IEffectLV2.h"
#endif

#include <algorithm>
#include <climits>

using namespace Steinberg;
using namespace Steinberg::Vst;

StereoBlock::StereoBlock(int frames) : in(2, std::vector<float>(frames)), out(2, std::vector<float>(frames, -7.0f))
{
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < frames; ++i)
            in[c][i] = 0.001f * static_cast<float>(i % 997 + 1) * (c == 0 ? 1.0f : -0.5f);
        inPtr[c] = in[c].data();
        outPtr[c] = out[c].data();
    }
}

namespace {

template <class Binding>
class DriverOn : public BindingDriver {
public:
    IEffectBase& Base() override { return *mProbe; }
    const std::vector<int>& Changed() const override { return mProbe->changed; }
    const std::vector<int>& Parts() const override { return mProbe->blocks; }
    void Forget() override
    {
        mProbe->changed.clear();
        mProbe->blocks.clear();
    }

protected:
    BindingProbe<Binding>* mProbe = new BindingProbe<Binding>();
};

class Vst3Driver final : public DriverOn<IEffectVST3> {
public:
    Vst3Driver()
    {
        mProbe->initialize(&mApp);
        mProbe->activateBus(kAudio, kInput, 0, true);
        mProbe->activateBus(kAudio, kOutput, 0, true);
    }
    ~Vst3Driver() override
    {
        mProbe->setActive(false);
        mProbe->terminate();
        mProbe->release();
    }
    const char* Name() const override { return "vst3"; }
    bool SampleAccurate() const override { return true; }

    bool SetUp(double sampleRate, std::int64_t maxFrames) override
    {
        ProcessSetup setup{kRealtime, kSample32, static_cast<int32>(std::min<std::int64_t>(maxFrames, INT32_MAX)),
                           sampleRate};
        return mProbe->setupProcessing(setup) == kResultOk && mProbe->setActive(true) == kResultOk;
    }

    std::vector<std::uint8_t> Save() override
    {
        HostMemoryStream stream;
        return Component().getState(&stream) == kResultOk ? stream.Bytes() : std::vector<std::uint8_t>();
    }

    bool Load(const std::vector<std::uint8_t>& bytes, int bytesPerRead) override
    {
        HostMemoryStream stream(bytes);
        stream.LimitReads(bytesPerRead);
        return Component().setState(&stream) == kResultOk;
    }

    void Process(StereoBlock& block, const std::vector<HostChange>& changes) override
    {
        HostParameterChanges queues;
        for (const HostChange& change : changes) {
            if (change.param == HostChange::kHostBypass)
                queues.Add(IEffectVST3::kBypassParamId, change.plain, change.offset);
            else
                queues.Add(static_cast<ParamID>(change.param),
                           mProbe->GetParam(change.param)->PlainToNormalized(change.plain), change.offset);
        }
        AudioBusBuffers inBus{};
        AudioBusBuffers outBus{};
        inBus.numChannels = outBus.numChannels = 2;
        inBus.channelBuffers32 = block.inPtr;
        outBus.channelBuffers32 = block.outPtr;
        ProcessData data{};
        data.symbolicSampleSize = kSample32;
        data.numSamples = static_cast<int32>(block.in[0].size());
        data.numInputs = data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
        data.inputParameterChanges = &queues;
        mProbe->process(data);
    }

private:
    // The host restores through the component, as most hosts do.
    IComponent& Component() { return *mProbe; }

    HostApplication mApp{"Binding Test Host"};
};

class ClapDriver final : public DriverOn<IEffectCLAP> {
public:
    ClapDriver()
    {
        mHost.name = "Binding Test Host";
        mHost.get_extension = [](const clap_host_t*, const char*) -> const void* { return nullptr; };
        mProbe->Bind(&mHost, nullptr);
        mPlugin->init(mPlugin);
    }
    ~ClapDriver() override { mPlugin->destroy(mPlugin); }
    const char* Name() const override { return "clap"; }
    bool SampleAccurate() const override { return true; }

    bool SetUp(double sampleRate, std::int64_t maxFrames) override
    {
        return mPlugin->activate(mPlugin, sampleRate, 1, static_cast<std::uint32_t>(maxFrames));
    }

    std::vector<std::uint8_t> Save() override
    {
        HostMemoryStream stream;
        ClapOutputStream out(stream);
        return State().save(mPlugin, &out) ? stream.Bytes() : std::vector<std::uint8_t>();
    }

    bool Load(const std::vector<std::uint8_t>& bytes, int bytesPerRead) override
    {
        HostMemoryStream stream(bytes);
        stream.LimitReads(bytesPerRead);
        ClapInputStream in(stream);
        return State().load(mPlugin, &in);
    }

    void Process(StereoBlock& block, const std::vector<HostChange>& changes) override
    {
        ClapInputEventList events;
        for (const HostChange& change : changes)
            events.AddValue(change.param == HostChange::kHostBypass ? IEffectCLAP::kBypassParamId
                                                                     : static_cast<clap_id>(change.param),
                            static_cast<std::uint32_t>(change.offset), change.plain);
        events.Sort();
        ClapOutputEventList sent([](const clap_event_header_t&) {});
        clap_audio_buffer_t in{block.inPtr, nullptr, 2, 0, 0};
        clap_audio_buffer_t out{block.outPtr, nullptr, 2, 0, 0};
        clap_process_t process{};
        process.frames_count = static_cast<std::uint32_t>(block.in[0].size());
        process.audio_inputs = &in;
        process.audio_outputs = &out;
        process.audio_inputs_count = process.audio_outputs_count = 1;
        process.in_events = events.List();
        process.out_events = sent.List();
        mPlugin->process(mPlugin, &process);
    }

private:
    const clap_plugin_state_t& State() const
    {
        return *static_cast<const clap_plugin_state_t*>(mPlugin->get_extension(mPlugin, CLAP_EXT_STATE));
    }

    clap_host_t mHost{};
    const clap_plugin_t* mPlugin = mProbe->Plugin();
};

#if KELDRA_TEST_LV2
class Lv2Driver final : public DriverOn<IEffectLV2> {
public:
    Lv2Driver()
    {
        for (int i = 0; i < 3; ++i)
            mProbe->ConnectPort(mProbe->ControlPort(i), &mControls[i]);
        mProbe->ConnectPort(mProbe->EnabledPort(), &mEnabled);
    }
    ~Lv2Driver() override { delete mProbe; }
    const char* Name() const override { return "lv2"; }
    bool SampleAccurate() const override { return false; }

    bool SetUp(double sampleRate, std::int64_t maxFrames) override
    {
        if (!mProbe->Start(sampleRate, static_cast<int>(std::min<std::int64_t>(maxFrames, INT_MAX))))
            return false;
        for (int i = 0; i < 3; ++i)
            mControls[i] = static_cast<float>(mProbe->GetParam(i)->Value());
        mProbe->Activate();
        return true;
    }

    std::vector<std::uint8_t> Save() override
    {
        std::vector<std::uint8_t> bytes;
        return mProbe->SaveStateChunk(bytes) ? bytes : std::vector<std::uint8_t>();
    }

    bool Load(const std::vector<std::uint8_t>& bytes, int) override
    {
        return mProbe->LoadStateChunk(bytes.data(), bytes.size());
    }

    // Control ports hold one value per run: the last change of each applies.
    void Process(StereoBlock& block, const std::vector<HostChange>& changes) override
    {
        for (const HostChange& change : changes) {
            if (change.param == HostChange::kHostBypass)
                mEnabled = change.plain > 0.5 ? 0.0f : 1.0f;
            else
                mControls[change.param] = static_cast<float>(change.plain);
        }
        for (int c = 0; c < 2; ++c) {
            mProbe->ConnectPort(static_cast<std::uint32_t>(c), block.inPtr[c]);
            mProbe->ConnectPort(static_cast<std::uint32_t>(2 + c), block.outPtr[c]);
        }
        mProbe->Run(static_cast<std::uint32_t>(block.in[0].size()));
    }

private:
    float mControls[3] = {};
    float mEnabled = 1.0f;
};
#endif

} // namespace

std::vector<std::string> BindingNames()
{
#if KELDRA_TEST_LV2
    return {"vst3", "clap", "lv2"};
#else
    return {"vst3", "clap"};
#endif
}

std::unique_ptr<BindingDriver> MakeBindingDriver(const std::string& name)
{
    if (name == "vst3")
        return std::make_unique<Vst3Driver>();
#if KELDRA_TEST_LV2
    if (name == "lv2")
        return std::make_unique<Lv2Driver>();
#endif
    return std::make_unique<ClapDriver>();
}
