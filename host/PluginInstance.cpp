// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/PluginInstance.h"

#include "host/HostMemoryStream.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <type_traits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

/// One host bus of `channels` arrays of 32-bit (float) or 64-bit samples.
template <class Sample>
AudioBusBuffers BusOf(int channels, Sample** arrays)
{
    AudioBusBuffers bus;
    bus.numChannels = channels;
    if constexpr (std::is_same_v<Sample, float>)
        bus.channelBuffers32 = arrays;
    else
        bus.channelBuffers64 = arrays;
    return bus;
}

} // namespace

std::string NarrowText(const TChar* text)
{
    // UTF-8, as a terminal shows it ("16×"); a lone surrogate reads '?'.
    std::string out;
    for (; text != nullptr && *text != 0; ++text) {
        const auto unit = static_cast<unsigned>(static_cast<char16_t>(*text));
        if (unit < 0x80) {
            out += static_cast<char>(unit);
        } else if (unit < 0x800) {
            out += static_cast<char>(0xC0 | (unit >> 6));
            out += static_cast<char>(0x80 | (unit & 0x3F));
        } else if (unit >= 0xD800 && unit < 0xE000) {
            out += '?';
        } else {
            out += static_cast<char>(0xE0 | (unit >> 12));
            out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return out;
}

std::unique_ptr<PluginInstance> PluginInstance::Create(const PluginModule& module, HostApplication& app,
                                                       HostComponentHandler& handler, std::string& error)
{
    auto effectClass = module.FindEffectClass();
    if (!effectClass) {
        error = "plug-in module offers no audio effect class";
        return nullptr;
    }
    std::unique_ptr<PluginInstance> instance(new PluginInstance());
    void* obj = nullptr;
    if (module.Factory()->createInstance(effectClass->cid, IComponent::iid, &obj) != kResultOk || !obj) {
        error = "plug-in factory could not create the effect";
        return nullptr;
    }
    instance->mComponent = static_cast<IComponent*>(obj);
    char classId[33] = {};
    FUID::fromTUID(effectClass->cid).toString(classId);
    instance->mClassId = classId;
    if (instance->mComponent->queryInterface(IAudioProcessor::iid, &obj) != kResultOk || !obj) {
        error = "plug-in effect is not an audio processor";
        return nullptr;
    }
    instance->mProcessor = static_cast<IAudioProcessor*>(obj);
    if (instance->mComponent->queryInterface(IEditController::iid, &obj) != kResultOk || !obj) {
        error = "plug-in effect has no edit controller in the same object";
        return nullptr;
    }
    instance->mController = static_cast<IEditController*>(obj);
    if (instance->mComponent->initialize(&app) != kResultOk) {
        error = "plug-in effect failed to initialise";
        return nullptr;
    }
    instance->mController->setComponentHandler(&handler);
    return instance;
}

PluginInstance::~PluginInstance()
{
    Deactivate();
    if (mController != nullptr)
        mController->setComponentHandler(nullptr);
    if (mComponent != nullptr)
        mComponent->terminate();
    if (mController != nullptr)
        mController->release();
    if (mProcessor != nullptr)
        mProcessor->release();
    if (mComponent != nullptr)
        mComponent->release();
}

bool PluginInstance::Setup(const ProcessSettings& settings, std::string& error)
{
    Deactivate();
    mSettings = settings;
    if (settings.channels < 1 || settings.channels > 32) {
        error = "cannot process " + std::to_string(settings.channels) + " channels";
        return false;
    }
    // Mono and stereo by name; other counts as that many speakers from the first.
    const SpeakerArrangement arrangement =
        settings.channels == 1 ? SpeakerArr::kMono
                               : settings.channels == 2 ? SpeakerArr::kStereo
                                                        : (SpeakerArrangement(1) << settings.channels) - 1;
    SpeakerArrangement in = arrangement;
    SpeakerArrangement out = arrangement;
    if (mProcessor->setBusArrangements(&in, 1, &out, 1) != kResultOk) {
        error = "plug-in refuses " + std::to_string(settings.channels) + "-channel buses";
        return false;
    }
    if (mProcessor->canProcessSampleSize(settings.sampleSize) != kResultOk) {
        error = "plug-in cannot process this sample size";
        return false;
    }
    for (BusDirection dir : {kInput, kOutput})
        for (int32 i = 0; i < mComponent->getBusCount(kAudio, dir); ++i)
            mComponent->activateBus(kAudio, dir, i, true);
    ProcessSetup setup{settings.processMode, settings.sampleSize, settings.maxBlock, settings.sampleRate};
    if (mProcessor->setupProcessing(setup) != kResultOk) {
        error = "plug-in refuses the processing set-up";
        return false;
    }
    mContext = ProcessContext{};
    mContext.sampleRate = settings.sampleRate;
    mContext.tempo = 120.0;
    mContext.timeSigNumerator = 4;
    mContext.timeSigDenominator = 4;
    mContext.state = ProcessContext::kPlaying | ProcessContext::kTempoValid | ProcessContext::kTimeSigValid;
    mComponent->setActive(true);
    mProcessor->setProcessing(true);
    mActive = true;
    return true;
}

void PluginInstance::Deactivate()
{
    if (!mActive)
        return;
    mProcessor->setProcessing(false);
    mComponent->setActive(false);
    mActive = false;
}

tresult PluginInstance::Process(AudioBusBuffers& in, AudioBusBuffers& out, int frames,
                                IParameterChanges* changes)
{
    ProcessData data;
    data.processMode = mSettings.processMode;
    data.symbolicSampleSize = mSettings.sampleSize;
    data.numSamples = frames;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &in;
    data.outputs = &out;
    data.inputParameterChanges = changes;
    data.processContext = &mContext;
    const tresult result = mProcessor->process(data);
    mContext.projectTimeSamples += frames;
    return result;
}

tresult PluginInstance::Process32(float** inputs, float** outputs, int frames, IParameterChanges* changes)
{
    AudioBusBuffers in = BusOf(mSettings.channels, inputs);
    AudioBusBuffers out = BusOf(mSettings.channels, outputs);
    return Process(in, out, frames, changes);
}

tresult PluginInstance::Process64(double** inputs, double** outputs, int frames, IParameterChanges* changes)
{
    AudioBusBuffers in = BusOf(mSettings.channels, inputs);
    AudioBusBuffers out = BusOf(mSettings.channels, outputs);
    return Process(in, out, frames, changes);
}

std::vector<uint8_t> PluginInstance::SaveState()
{
    HostMemoryStream stream;
    if (mController->getState(&stream) != kResultOk)
        return {};
    return stream.Bytes();
}

tresult PluginInstance::LoadState(const std::vector<uint8_t>& bytes)
{
    HostMemoryStream stream(bytes);
    return mController->setState(&stream);
}

std::vector<uint8_t> PluginInstance::SaveComponentState()
{
    HostMemoryStream stream;
    if (mComponent->getState(&stream) != kResultOk)
        return {};
    return stream.Bytes();
}

tresult PluginInstance::LoadComponentState(const std::vector<uint8_t>& bytes)
{
    HostMemoryStream forComponent(bytes);
    const tresult component = mComponent->setState(&forComponent);
    HostMemoryStream forController(bytes);
    const tresult controller = mController->setComponentState(&forController);
    return component != kResultOk ? component : controller;
}

std::vector<ParameterInfo> PluginInstance::Parameters()
{
    std::vector<ParameterInfo> list;
    const int32 count = mController->getParameterCount();
    for (int32 i = 0; i < count; ++i) {
        ParameterInfo info{};
        if (mController->getParameterInfo(i, info) == kResultOk)
            list.push_back(info);
    }
    return list;
}

std::string PluginInstance::ValueText(ParamID id, double normalized)
{
    String128 text{};
    if (mController->getParamStringByValue(id, normalized, text) != kResultOk)
        return {};
    return NarrowText(text);
}
