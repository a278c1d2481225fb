// SPDX-License-Identifier: GPL-3.0-or-later
// What a host stores of an instance in a .vstpreset, and how it restores it.
#include "host/VstPresetFile.h"

#include "host/HostMemoryStream.h"
#include "host/PluginInstance.h"

using namespace Steinberg;

VstPreset SavePreset(PluginInstance& plugin)
{
    VstPreset preset;
    preset.classId = plugin.ClassIdText();
    HostMemoryStream component;
    if (plugin.Component()->getState(&component) == kResultOk)
        preset.componentState = component.Bytes();
    preset.controllerState = plugin.SaveState();
    return preset;
}

bool LoadPreset(PluginInstance& plugin, const VstPreset& preset, std::string& error)
{
    if (preset.classId != plugin.ClassIdText()) {
        error = "the preset belongs to class " + preset.classId + ", not to " + plugin.ClassIdText();
        return false;
    }
    if (!preset.componentState.empty()) {
        HostMemoryStream forComponent(preset.componentState);
        HostMemoryStream forController(preset.componentState);
        if (plugin.Component()->setState(&forComponent) != kResultOk ||
            plugin.Controller()->setComponentState(&forController) != kResultOk) {
            error = "the plug-in refused the preset's component state";
            return false;
        }
    }
    if (!preset.controllerState.empty() && plugin.LoadState(preset.controllerState) != kResultOk) {
        error = "the plug-in refused the preset's controller state";
        return false;
    }
    return true;
}
