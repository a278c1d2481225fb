// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <string>
#include <vector>

/// The built keldra.lv2 module, opened with dlopen as an LV2 host opens it.
class LV2Module {
public:
    explicit LV2Module(const std::string& bundle);
    ~LV2Module();
    LV2Module(const LV2Module&) = delete;
    LV2Module& operator=(const LV2Module&) = delete;

    /// The plug-in's descriptor, or nullptr if the module did not load.
    const LV2_Descriptor* Descriptor() const { return mDescriptor; }
    /// The editor's UI descriptor, or nullptr.
    const LV2UI_Descriptor* UiDescriptor() const { return mUiDescriptor; }
    const std::string& Bundle() const { return mBundle; }

private:
    std::string mBundle;
    void* mLibrary = nullptr;
    const LV2_Descriptor* mDescriptor = nullptr;
    const LV2UI_Descriptor* mUiDescriptor = nullptr;
};

/// The URIDs a host hands out: one number per URI, from 1.
class UridTable {
public:
    LV2_URID Map(const char* uri);
    LV2_URID_Map* Feature() { return &mMap; }

private:
    static LV2_URID MapCallback(LV2_URID_Map_Handle handle, const char* uri);
    std::vector<std::string> mUris;
    LV2_URID_Map mMap{this, MapCallback};
};

/// One instance of the plug-in with its ports connected to buffers of its
/// own, set up and driven as a host does. The port layout is the bundle's:
/// two audio inputs, two outputs, eight controls, the enable port.
class LV2Instance {
public:
    static constexpr int kControls = 8;
    static constexpr std::uint32_t kEnablePort = 12;

    /// Instantiates at `rate` with `maxBlock` announced through the options
    /// feature (0: not announced), the controls at the bundle's defaults, and
    /// activates. Handle() is nullptr if the plug-in refused.
    LV2Instance(const LV2Module& module, double rate = 48000.0, int maxBlock = 512);
    ~LV2Instance();
    LV2Instance(const LV2Instance&) = delete;
    LV2Instance& operator=(const LV2Instance&) = delete;

    LV2_Handle Handle() const { return mHandle; }
    /// The value the host holds for control `index` (0..7) / the enable port.
    float& Control(int index) { return mControls[static_cast<std::size_t>(index)]; }
    float& Enabled() { return mEnabled; }

    /// Deactivates and activates again, as a host does between two runs.
    void Reactivate();

    /// Runs `frames` frames of `left`/`right` (each at least `frames` long)
    /// and returns the outputs interleaved. `inPlace` hands the outputs the
    /// input buffers, as hosts may.
    std::vector<float> Run(const std::vector<float>& left, const std::vector<float>& right,
                           std::uint32_t frames, bool inPlace = false);

    /// The state the plug-in saves: the one property's bytes and type URI.
    std::vector<std::uint8_t> SaveState(std::string& typeUri);
    /// Restores one property of `typeUri`; the plug-in's status.
    int RestoreState(const std::vector<std::uint8_t>& bytes, const char* typeUri);

private:
    const LV2_Descriptor* mDescriptor;
    UridTable mUrids;
    LV2_Handle mHandle = nullptr;
    std::int32_t mMaxBlock = 0;
    std::vector<LV2_Options_Option> mOptions;
    float mControls[kControls] = {0.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.5f, 0.0f, 0.0f};
    float mEnabled = 1.0f;
    std::vector<float> mBuffers[4];
};
