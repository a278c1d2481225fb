// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/OfflineRenderer.h"

#include "host/HostParameterChanges.h"
#include "tools/PresetChoice.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

/// Ids of the plug-in's own parameters are small indices; the binding's
/// extra parameters (preset, host bypass) use four-character codes.
constexpr ParamID kFirstCodeId = 0x1000;
constexpr ParamID kHostBypassId = 0x62706173;
constexpr ParamID kOversamplingIndex = 7;

bool SameTitle(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<ParamID> FindParameter(const std::vector<ParameterInfo>& list, const std::string& name)
{
    if (!name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const ParamID id = static_cast<ParamID>(std::stoul(name.size() > 9 ? "999999999" : name));
        for (const ParameterInfo& info : list)
            if (info.id == id && id < kFirstCodeId)
                return id;
        return std::nullopt;
    }
    for (const ParameterInfo& info : list)
        if (info.id < kFirstCodeId && SameTitle(NarrowText(info.title), name))
            return info.id;
    return std::nullopt;
}

std::string FormatNumber(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

std::optional<std::vector<ResolvedSetting>> ResolveSettings(PluginInstance& plugin, const RenderOptions& options,
                                                            std::string& error)
{
    IEditController* controller = plugin.Controller();
    const std::vector<ParameterInfo> list = plugin.Parameters();
    std::vector<ResolvedSetting> settings;
    // The preset first: the process call applies its queues in order, so
    // every --set lands on top of it.
    if (!options.preset.empty()) {
        const auto preset = ResolvePreset(plugin, options.preset, error);
        if (!preset)
            return std::nullopt;
        settings.push_back(*preset);
    }
    for (const ParameterSetting& setting : options.settings) {
        const auto id = FindParameter(list, setting.name);
        if (!id) {
            error = "unknown parameter '" + setting.name + "' (see --list)";
            return std::nullopt;
        }
        const double low = controller->normalizedParamToPlain(*id, 0.0);
        const double high = controller->normalizedParamToPlain(*id, 1.0);
        if (setting.value < std::min(low, high) - 1e-9 || setting.value > std::max(low, high) + 1e-9) {
            error = "value " + FormatNumber(setting.value) + " of " + setting.name + " is outside its range " +
                    FormatNumber(low) + " .. " + FormatNumber(high);
            return std::nullopt;
        }
        settings.push_back({*id, controller->plainParamToNormalized(*id, setting.value)});
    }
    if (options.oversampling)
        settings.push_back({kOversamplingIndex, *options.oversampling == 16 ? 1.0 : 0.0});
    if (options.bypass)
        settings.push_back({kHostBypassId, 1.0});
    return settings;
}

AudioClip RenderClip(PluginInstance& plugin, const AudioClip& input, int block,
                     const std::vector<ResolvedSetting>& settings, const std::function<void(int64_t)>& progress)
{
    const int channels = input.channels;
    const bool use64 = plugin.Settings().sampleSize == kSample64;
    AudioClip output;
    output.channels = channels;
    output.rate = input.rate;
    output.samples.assign(input.samples.size(), 0.0f);

    std::vector<std::vector<float>> in32(channels, std::vector<float>(block));
    std::vector<std::vector<float>> out32(channels, std::vector<float>(block));
    std::vector<std::vector<double>> in64(channels, std::vector<double>(use64 ? block : 0));
    std::vector<std::vector<double>> out64(channels, std::vector<double>(use64 ? block : 0));
    std::vector<float*> inPtr32(channels), outPtr32(channels);
    std::vector<double*> inPtr64(channels), outPtr64(channels);
    for (int c = 0; c < channels; ++c) {
        inPtr32[c] = in32[c].data();
        outPtr32[c] = out32[c].data();
        inPtr64[c] = in64[c].data();
        outPtr64[c] = out64[c].data();
    }

    HostParameterChanges changes;
    for (const ResolvedSetting& setting : settings) {
        // The controller keeps the value for display; the queue tells the
        // processor, exactly as a host does on automation.
        plugin.Controller()->setParamNormalized(setting.id, setting.normalized);
        changes.Add(setting.id, setting.normalized);
    }

    const int64_t frames = input.Frames();
    int64_t done = 0;
    do {
        const int n = static_cast<int>(std::min<int64_t>(block, frames - done));
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < n; ++i) {
                const float s = input.samples[(done + i) * channels + c];
                in32[c][i] = s;
                if (use64)
                    in64[c][i] = s;
            }
        if (use64)
            plugin.Process64(inPtr64.data(), outPtr64.data(), n, &changes);
        else
            plugin.Process32(inPtr32.data(), outPtr32.data(), n, &changes);
        changes.Clear();
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < n; ++i)
                output.samples[(done + i) * channels + c] =
                    use64 ? static_cast<float>(out64[c][i]) : out32[c][i];
        done += n;
        if (progress)
            progress(done);
    } while (done < frames);
    return output;
}

std::string DescribeSettings(PluginInstance& plugin)
{
    IEditController* controller = plugin.Controller();
    std::string line;
    for (const ParameterInfo& info : plugin.Parameters()) {
        if (info.id >= kFirstCodeId)
            continue;
        const double value = controller->getParamNormalized(info.id);
        line += line.empty() ? "" : ", ";
        if (info.id == kOversamplingIndex)
            line += value >= 0.5 ? "oversampling 16" : "oversampling 4";
        else
            line += NarrowText(info.title) + " " + plugin.ValueText(info.id, value);
    }
    return line;
}

std::string DescribeParameters(PluginInstance& plugin)
{
    IEditController* controller = plugin.Controller();
    // A value of the plug-in's own parameters as --set takes it (the
    // position), with what the plug-in shows for it ("0.5 (0.0 dB)").
    const auto describe = [&](ParamID id, double normalized) {
        const std::string position = FormatNumber(controller->normalizedParamToPlain(id, normalized));
        const std::string shown = plugin.ValueText(id, normalized);
        if (shown.empty()) return position;
        return id >= kFirstCodeId || shown == position ? shown : position + " (" + shown + ")";
    };
    std::string table;
    char line[256];
    std::snprintf(line, sizeof line, "%-10s %-12s %-18s %-16s %s\n", "id", "title", "range", "default", "current");
    table += line;
    for (const ParameterInfo& info : plugin.Parameters()) {
        char id[16];
        std::snprintf(id, sizeof id, info.id < kFirstCodeId ? "%u" : "0x%08X", info.id);
        const std::string range = FormatNumber(controller->normalizedParamToPlain(info.id, 0.0)) + " .. " +
                                  FormatNumber(controller->normalizedParamToPlain(info.id, 1.0));
        const std::string defaultText = describe(info.id, info.defaultNormalizedValue);
        const std::string currentText = describe(info.id, controller->getParamNormalized(info.id));
        const std::string title = NarrowText(info.title);
        std::snprintf(line, sizeof line, "%-10s %-12s %-18s %-16s %s\n", id, title.empty() ? "(none)" : title.c_str(),
                      range.c_str(), defaultText.c_str(), currentText.c_str());
        table += line;
    }
    return table;
}
