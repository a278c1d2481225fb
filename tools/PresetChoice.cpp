// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/PresetChoice.h"

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <cctype>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

/// Lower-case letters and digits only: how a name is typed on a command line.
std::string Folded(const std::string& text, bool lettersAndDigitsOnly)
{
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (!lettersAndDigitsOnly || std::isalnum(u))
            out += static_cast<char>(std::tolower(u));
    }
    return out;
}

} // namespace

std::vector<std::string> ProgramNames(PluginInstance& plugin)
{
    std::vector<std::string> names;
    FUnknownPtr<IUnitInfo> units(plugin.Controller());
    ProgramListInfo list{};
    if (!units || units->getProgramListCount() < 1 || units->getProgramListInfo(0, list) != kResultOk)
        return names;
    for (int32 i = 0; i < list.programCount; ++i) {
        String128 name{};
        names.push_back(units->getProgramName(list.id, i, name) == kResultOk ? NarrowText(name) : "");
    }
    return names;
}

std::optional<ResolvedSetting> ResolvePreset(PluginInstance& plugin, const std::string& name, std::string& error)
{
    const std::vector<std::string> names = ProgramNames(plugin);
    int found = -1;
    for (const bool loosely : {false, true}) {
        const std::string wanted = Folded(name, loosely);
        for (size_t i = 0; found < 0 && !wanted.empty() && i < names.size(); ++i)
            if (Folded(names[i], loosely) == wanted)
                found = static_cast<int>(i);
    }
    const ParameterInfo* program = nullptr;
    const std::vector<ParameterInfo> parameters = plugin.Parameters();
    for (const ParameterInfo& info : parameters)
        if ((info.flags & ParameterInfo::kIsProgramChange) != 0)
            program = &info;
    if (found < 0 || program == nullptr) {
        error = names.empty() ? "the plug-in has no presets"
                              : "unknown preset '" + name + "' (see --list-presets)";
        return std::nullopt;
    }
    const double steps = program->stepCount > 0 ? program->stepCount : 1;
    return ResolvedSetting{program->id, found / steps};
}
