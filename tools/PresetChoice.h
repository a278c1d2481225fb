// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "host/PluginInstance.h"
#include "tools/OfflineRenderer.h"

#include <optional>
#include <string>
#include <vector>

/// [ui] The names in the plug-in's program list, in program order; empty
/// when it has none.
std::vector<std::string> ProgramNames(PluginInstance& plugin);

/// [ui] The change a host's program menu makes to load the program named
/// `name`: the program-change parameter at that program's value. Names
/// match ignoring letter case, or by their letters and digits alone
/// ("tight-bass" finds "Tight Bass"). Nothing and a one-line `error` when no
/// program has that name.
std::optional<ResolvedSetting> ResolvePreset(PluginInstance& plugin, const std::string& name, std::string& error);
