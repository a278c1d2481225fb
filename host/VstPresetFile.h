// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class PluginInstance;

/// The contents of a .vstpreset file: the class it belongs to, as hosts print
/// class ids (32 hexadecimal digits), and the component's and the controller's
/// state (either may be empty when the plug-in gave none).
struct VstPreset {
    std::string classId;
    std::vector<uint8_t> componentState;
    std::vector<uint8_t> controllerState;
};

/// [any] The file's bytes: header "VST3", version 1, class id, the offset of
/// the chunk list; then the "Comp" and "Cont" chunks that have data; then the
/// list naming each chunk's offset and size.
std::vector<uint8_t> WriteVstPreset(const VstPreset& preset);

/// [any] The preset in a file's bytes, or nothing with one line in `error`
/// when the header, the list or a chunk's place in the file is damaged.
std::optional<VstPreset> ReadVstPreset(const std::vector<uint8_t>& bytes, std::string& error);

/// [ui] What a host stores of `plugin` in a preset: its class id and the
/// component's and the controller's state.
VstPreset SavePreset(PluginInstance& plugin);

/// [ui] Restores a preset as a host does (component, then the controller told
/// of the component's state, then the controller's own). False with `error`
/// when the preset belongs to another class or the plug-in refuses a chunk.
bool LoadPreset(PluginInstance& plugin, const VstPreset& preset, std::string& error);
