// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clap/ClapAbi.h"

/// The preset-load extension: loads one of the plug-in's own presets, the
/// load key being the preset's name, as the module's preset-discovery
/// factory declares them (location kind "plugin", no location).
namespace ClapPresetLoad {

/// [main] The extension's table.
const clap_plugin_preset_load_t* Extension() noexcept;

} // namespace ClapPresetLoad
