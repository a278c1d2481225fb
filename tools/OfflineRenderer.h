// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "host/PluginInstance.h"
#include "tools/AudioClip.h"
#include "tools/RenderOptions.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

/// A parameter change to apply before the first frame: id and normalised value.
struct ResolvedSetting {
    Steinberg::Vst::ParamID id = 0;
    double normalized = 0.0;
};

/// [ui] Turns the options' --preset, --set, --oversampling and --bypass into
/// parameter changes, the preset first, finding parameters by title (letter case ignored) or index and
/// checking each value against the parameter's plain range. Nothing and a
/// one-line `error` for an unknown parameter or a value out of range.
std::optional<std::vector<ResolvedSetting>> ResolveSettings(PluginInstance& plugin,
                                                            const RenderOptions& options,
                                                            std::string& error);

/// [ui] Renders `input` through a set-up `plugin` in blocks of `block`
/// frames, in the sample size the plugin was set up with. The settings go
/// into the first process call's parameter queues. `progress` (may be empty)
/// hears the frames done so far after each block.
AudioClip RenderClip(PluginInstance& plugin, const AudioClip& input, int block,
                     const std::vector<ResolvedSetting>& settings,
                     const std::function<void(int64_t)>& progress);

/// [ui] The plug-in's current settings in one line for a caption, such as
/// "OUT 0.00, HPF 0.00, ..., Bypass 0, oversampling 4".
std::string DescribeSettings(PluginInstance& plugin);

/// [ui] The published parameters as a table: id, title, plain range,
/// default and current text.
std::string DescribeParameters(PluginInstance& plugin);
