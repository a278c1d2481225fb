// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clap/ClapAbi.h"

/// The module's preset-discovery factory: one provider declaring KELDRA's
/// factory library as presets inside the plug-in, each with its name as the
/// load key (what the preset-load extension takes) and a line on its use.
namespace KeldraClapPresets {

const clap_preset_discovery_factory_t* Factory() noexcept;

} // namespace KeldraClapPresets
