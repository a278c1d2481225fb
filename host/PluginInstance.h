// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "host/HostApplication.h"
#include "host/HostComponentHandler.h"
#include "host/PluginModule.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/// How a host sets an instance up for processing.
struct ProcessSettings {
    double sampleRate = 48000.0;              ///< Hz
    int maxBlock = 512;                       ///< frames
    int sampleSize = Steinberg::Vst::kSample32; ///< kSample32 or kSample64
    int channels = 2;                         ///< in and out: 1 mono, 2 stereo, up to 32
    int processMode = Steinberg::Vst::kRealtime;
};

/// One effect instance created from a module's factory, with the calls a
/// host makes on it. The effect must be a single object that is component,
/// processor and controller. Destruction deactivates, terminates and
/// releases it. All calls come from the thread that created it unless noted.
class PluginInstance {
public:
    /// [ui] Creates the module's effect class and initialises it with `app`
    /// and `handler` (both must outlive the instance). nullptr and `error` on
    /// failure.
    static std::unique_ptr<PluginInstance> Create(const PluginModule& module, HostApplication& app,
                                                  HostComponentHandler& handler, std::string& error);
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    /// [ui] Bus arrangement, bus activation, processing set-up, activation.
    /// False and `error` when the plug-in refuses the settings.
    bool Setup(const ProcessSettings& settings, std::string& error);
    /// [ui] Deactivates; Setup may be called again afterwards.
    void Deactivate();

    /// [audio] One block in single precision: `channels` arrays each way.
    Steinberg::tresult Process32(float** inputs, float** outputs, int frames,
                                 Steinberg::Vst::IParameterChanges* changes = nullptr);
    /// [audio] One block in double precision.
    Steinberg::tresult Process64(double** inputs, double** outputs, int frames,
                                 Steinberg::Vst::IParameterChanges* changes = nullptr);

    /// [ui] The controller's state bytes (empty if the plug-in gave none).
    std::vector<uint8_t> SaveState();
    /// [ui] Restores state bytes through the controller; the plug-in's result.
    Steinberg::tresult LoadState(const std::vector<uint8_t>& bytes);
    /// [ui] The component's state bytes (empty if the plug-in gave none).
    std::vector<uint8_t> SaveComponentState();
    /// [ui] Restores component state bytes as most hosts do: the component's
    /// setState, then the controller's setComponentState with the same bytes.
    /// The first result that is not kResultOk, else kResultOk.
    Steinberg::tresult LoadComponentState(const std::vector<uint8_t>& bytes);

    /// [ui] The published parameters in the controller's order.
    std::vector<Steinberg::Vst::ParameterInfo> Parameters();
    /// [ui] The controller's display text of a normalised value.
    std::string ValueText(Steinberg::Vst::ParamID id, double normalized);

    Steinberg::Vst::IComponent* Component() const { return mComponent; }
    Steinberg::Vst::IAudioProcessor* Processor() const { return mProcessor; }
    Steinberg::Vst::IEditController* Controller() const { return mController; }
    const ProcessSettings& Settings() const { return mSettings; }
    /// [any] The class id as hosts print it and store it in projects and
    /// presets: 32 hexadecimal digits.
    const std::string& ClassIdText() const { return mClassId; }

private:
    PluginInstance() = default;
    Steinberg::tresult Process(Steinberg::Vst::AudioBusBuffers& in, Steinberg::Vst::AudioBusBuffers& out,
                               int frames, Steinberg::Vst::IParameterChanges* changes);

    Steinberg::Vst::IComponent* mComponent = nullptr;
    Steinberg::Vst::IAudioProcessor* mProcessor = nullptr;
    Steinberg::Vst::IEditController* mController = nullptr;
    ProcessSettings mSettings;
    std::string mClassId;
    Steinberg::Vst::ProcessContext mContext{};
    bool mActive = false;
};

/// [any] UTF-16 text (zero-terminated) as UTF-8, for display.
std::string NarrowText(const Steinberg::Vst::TChar* text);
