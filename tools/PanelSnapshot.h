// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "host/PluginInstance.h"
#include "tools/OfflineRenderer.h"

#include <string>
#include <vector>

/// [ui] Writes the front panel of the KELDRA editor for the state of
/// `plugin` (a set-up instance of the bundle) to `path` as a PNG. The
/// `settings` reach the plug-in first through a parameter-only process call,
/// as a host's automation would. The panel is drawn off-screen by this
/// build's editor after it restored the plug-in's saved state, exactly as a
/// host reopening a project would show it, at `scale` window pixels per
/// editor pixel (1 to the largest artwork scale), with the value readout of
/// the knob of parameter `readout` (a title or index; empty: none) shown as
/// while the pointer rests on that knob. False and a one-line `error` on
/// failure.
bool WritePanelSnapshot(PluginInstance& plugin, const std::vector<ResolvedSetting>& settings,
                        const std::string& path, std::string& error, double scale = 1.0,
                        const std::string& readout = {});
