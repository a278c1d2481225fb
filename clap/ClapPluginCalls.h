// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clap/ClapAbi.h"

/// The C entry points of a plug-in instance and its extensions: each one
/// finds the IEffectCLAP behind the clap_plugin_t and calls it.
namespace ClapPluginCalls {

/// [any] The clap_plugin_t functions (desc and plugin_data left empty).
clap_plugin_t Table() noexcept;

/// [any] The extension tables every instance shares, by CLAP id; nullptr
/// for an extension the binding does not offer.
const void* Extension(const char* id) noexcept;

} // namespace ClapPluginCalls
