// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clap/ClapAbi.h"
#include "pluginterfaces/base/ipluginbase.h"

#include <string>

/// [ui] Starts the CLAP module `entry` (loaded from `path`) and returns a
/// VST3 factory with one "Audio Module Class" per CLAP plug-in, each made as
/// a ClapEffectAdapter, holding one reference for the caller. nullptr and a
/// one-line `error` when the module refuses to start or has no plug-in
/// factory; the module is then left again. The caller calls entry.deinit
/// after releasing the factory and every instance.
Steinberg::IPluginFactory* OpenClapFactory(const clap_plugin_entry_t& entry, const std::string& path,
                                           std::string& error);
