// SPDX-License-Identifier: GPL-3.0-or-later
// keldra-state-check: carries the plug-in's saved state from one build to
// another (Linux to Windows and back) in a .vstpreset file, as hosts do.
// "save" sets parameters as a host's automation would and writes the preset a
// host would store; "check" restores such a file into a fresh instance and
// fails unless the class id matches and every value arrived. Both print the
// class id as hosts print it, then the parameters.
#include "host/HostParameterChanges.h"
#include "host/PluginInstance.h"
#include "host/VstPresetFile.h"
#include "tools/OfflineRenderer.h"
#include "tools/OpenedPlugin.h"
#include "tools/RenderOptions.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

int Fail(const std::string& message)
{
    std::fprintf(stderr, "keldra-state-check: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 2 ? argv[2] : "";
    if (argc < 4 || (mode != "save" && mode != "check"))
        return Fail("usage: keldra-state-check BUNDLE save|check STATE [NAME=VALUE]...");
    const std::string statePath = argv[3];
    std::string error;
    RenderOptions options;
    for (int i = 4; i < argc; ++i) {
        const auto setting = ParseSetting(argv[i], error);
        if (!setting)
            return Fail(error);
        options.settings.push_back(*setting);
    }

    auto opened = OpenedPlugin::Open(argv[1], "keldra-state-check", error);
    if (!opened)
        return Fail(error);
    PluginInstance& plugin = opened->Instance();
    const auto settings = ResolveSettings(plugin, options, error);
    if (!settings)
        return Fail(error);
    ProcessSettings setup;
    setup.processMode = Steinberg::Vst::kOffline;
    if (!plugin.Setup(setup, error))
        return Fail(error);

    if (mode == "save") {
        // A parameter-only process call, as a host delivers automation.
        HostParameterChanges changes;
        for (const ResolvedSetting& setting : *settings) changes.Add(setting.id, setting.normalized);
        float silence[2][1] = {{0.0f}, {0.0f}};
        float* channels[2] = {silence[0], silence[1]};
        plugin.Process32(channels, channels, 0, &changes);
        const VstPreset preset = SavePreset(plugin);
        const std::vector<uint8_t> file = WriteVstPreset(preset);
        std::ofstream out(statePath, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
        if (preset.controllerState.empty() || !out.flush())
            return Fail("cannot write " + statePath);
    } else {
        std::ifstream in(statePath, std::ios::binary);
        const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const auto preset = ReadVstPreset(file, error);
        if (!preset)
            return Fail(statePath + ": " + error);
        if (!LoadPreset(plugin, *preset, error))
            return Fail(statePath + ": " + error);
        if (plugin.SaveState() != preset->controllerState)
            return Fail("the restored state saves differently from " + statePath);
        // The normalised values come from the plain ones through each build's
        // own math library: equal to far below any parameter's step.
        for (const ResolvedSetting& setting : *settings) {
            const double restored = plugin.Controller()->getParamNormalized(setting.id);
            if (std::fabs(restored - setting.normalized) > 1e-9)
                return Fail("parameter " + std::to_string(setting.id) + " restored as " + std::to_string(restored) +
                            " instead of " + std::to_string(setting.normalized));
        }
    }
    std::printf("class id: %s\n", plugin.ClassIdText().c_str());
    std::fputs(DescribeParameters(plugin).c_str(), stdout);
    return 0;
}
