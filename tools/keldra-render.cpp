// SPDX-License-Identifier: GPL-3.0-or-later
// keldra-render: renders audio through the KELDRA bundle as a host would.
#include "host/PluginInstance.h"
#include "tools/DefaultBundle.h"
#include "tools/FileSystem.h"
#include "tools/FrequencyResponse.h"
#include "tools/OfflineRenderer.h"
#include "tools/OpenedPlugin.h"
#include "tools/PanelSnapshot.h"
#include "tools/PresetChoice.h"
#include "tools/ProgressBar.h"
#include "tools/RenderOptions.h"
#include "tools/ResponseReport.h"
#include "tools/SameFile.h"
#include "tools/WavFile.h"
#include "tools/WholeFile.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include "platform/win32/Utf16.h"

#include <windows.h>
#endif

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr double kProgressSeconds = 10.0; ///< renders shorter than this show no bar

int Fail(const std::string& message, int code = kExitFailure)
{
    std::fprintf(stderr, "keldra-render: %s\n", message.c_str());
    if (code == kExitUsage)
        std::fputs("Try 'keldra-render --help'.\n", stderr);
    return code;
}

/// Reads the input file; a file cut short renders what it holds, and samples
/// that are not numbers (or infinite) render as silence, each with a note.
std::optional<AudioClip> ReadInput(const std::string& path, std::string& error)
{
    int64_t declared = 0;
    auto clip = ReadWav(path, declared, error);
    if (!clip)
        return std::nullopt;
    if (clip->Frames() == 0) {
        error = path + " holds no complete audio frame" +
                (declared > 0 ? " (its header claims " + std::to_string(declared) + ")" : "");
        return std::nullopt;
    }
    if (declared > clip->Frames())
        std::fprintf(stderr,
                     "keldra-render: %s is shorter than its header claims: %lld frames expected, %lld found; "
                     "rendering those\n",
                     path.c_str(), static_cast<long long>(declared), static_cast<long long>(clip->Frames()));
    // Data of another format under a float label reads as infinities and
    // NaNs; silence in their place keeps the rest of the render usable.
    long long notFinite = 0;
    for (float& sample : clip->samples)
        if (!std::isfinite(sample)) {
            sample = 0.0f;
            ++notFinite;
        }
    if (notFinite > 0)
        std::fprintf(stderr,
                     "keldra-render: %s: %lld of its %zu samples are not finite numbers; "
                     "rendered as silence (is the file's sample format labelled right?)\n",
                     path.c_str(), notFinite, clip->samples.size());
    return clip;
}

int Run(const RenderOptions& options)
{
    std::string error;
    int toStandardOutput = 0;
    for (const std::string& output : {options.output, options.panel, options.response}) {
        if (output == WholeFile::kStandardOutput) {
            ++toStandardOutput;
            continue;
        }
        if (!output.empty() && IsFolder(output))
            return Fail(output + " is a folder; give the output a file name");
        if (!options.input.empty() && !output.empty() && IsSameFile(options.input, output))
            return Fail(output + " is the input file itself; choose another output name");
        if (!output.empty() && !WholeFile::CanWrite(output, error))
            return Fail(error);
    }
    if (toStandardOutput > 1)
        return Fail("only one output can go to standard output ('-')");
    // Output on standard output leaves only standard error for the report.
    std::FILE* const report = toStandardOutput > 0 ? stderr : stdout;
    // Read the input before loading anything: a bad file is the commonest mistake.
    AudioClip input;
    const bool panelOnly = !options.panel.empty() && options.output.empty();
    if (panelOnly || !options.response.empty()) {
        input.channels = 2;
        input.rate = options.rate;
    } else if (!options.list && !options.listPresets) {
        if (options.demoSeconds) {
            input = MakeDemoSignal(*options.demoSeconds, options.rate);
        } else {
            auto clip = ReadInput(options.input, error);
            if (!clip)
                return Fail(error);
            input = std::move(*clip);
        }
    }

    auto opened = OpenedPlugin::Open(options.plugin, "keldra-render", error);
    if (!opened)
        return Fail(error);
    PluginInstance& plugin = opened->Instance();

    if (options.list) {
        std::fputs(DescribeParameters(plugin).c_str(), stdout);
        return 0;
    }
    if (options.listPresets) {
        const std::vector<std::string> names = ProgramNames(plugin);
        if (names.empty())
            return Fail("the plug-in has no presets");
        for (const std::string& name : names)
            std::printf("%s\n", name.c_str());
        return 0;
    }

    const auto settings = ResolveSettings(plugin, options, error);
    if (!settings)
        return Fail(error);
    ProcessSettings setup;
    setup.sampleRate = input.rate;
    setup.maxBlock = options.block;
    setup.sampleSize = options.precision == 64 ? Steinberg::Vst::kSample64 : Steinberg::Vst::kSample32;
    setup.channels = input.channels;
    setup.processMode = Steinberg::Vst::kOffline;
    if (!plugin.Setup(setup, error))
        return Fail(error);
    if (!options.panel.empty()) {
        if (!WritePanelSnapshot(plugin, *settings, options.panel, error, options.panelScale,
                                options.panelReadout))
            return Fail(error);
        std::fprintf(report, "wrote %s: the front panel\n", options.panel.c_str());
        if (panelOnly && options.response.empty())
            return 0;
    }
    if (!options.response.empty()) {
        const std::vector<ResponsePoint> points = MeasureResponse(plugin, *settings, options.block);
        char rate[32];
        std::snprintf(rate, sizeof rate, "%g kHz", input.rate / 1000.0);
        const std::string caption =
            DescribeSettings(plugin) + (options.bypass ? ", host bypass" : "") + "; " + rate + ", left channel";
        if (!WriteResponse(options.response, points, caption, error))
            return Fail(error);
        std::fprintf(report, "wrote %s: magnitude response, %zu points from %.0f Hz to %.0f Hz\n",
                     options.response.c_str(), points.size(), points.front().hz, points.back().hz);
        return 0;
    }

    AudioClip output;
    {
        ProgressBar bar(input.Frames(), input.Frames() > kProgressSeconds * input.rate);
        output = RenderClip(plugin, input, options.block, *settings, [&bar](int64_t done) { bar.Update(done); });
    }
    opened.reset();

    if (!WriteWav(options.output, output, error))
        return Fail(error);
    const ClipLevels in = MeasureLevels(input);
    const ClipLevels out = MeasureLevels(output);
    std::fprintf(report, "wrote %s: %d channel%s, %.0f Hz, %lld frames (%.2f s)\n", options.output.c_str(),
                 output.channels, output.channels == 1 ? "" : "s", output.rate,
                 static_cast<long long>(output.Frames()), static_cast<double>(output.Frames()) / output.rate);
    std::fprintf(report, "levels in:  peak %7.2f dBFS, rms %7.2f dBFS\n", in.peakDb, in.rmsDb);
    std::fprintf(report, "levels out: peak %7.2f dBFS, rms %7.2f dBFS\n", out.peakDb, out.rmsDb);
    return 0;
}

/// The whole program, on the arguments as UTF-8.
int RunCommandLine(const std::vector<std::string>& args)
{
    std::string error;
    const auto options = ParseRenderOptions(args, DefaultBundle(), error);
    if (!options)
        return Fail(error, kExitUsage);
    if (options->help) {
        std::fputs(kRenderUsage, stdout);
        return 0;
    }
    return Run(*options);
}

} // namespace

#ifdef _WIN32
// The wide-character entry point: file names in any script arrive intact,
// and are UTF-8 from here on.
int wmain(int argc, wchar_t** argv)
{
    // Messages name files in UTF-8: the console shows them as such.
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Utf16ToUtf8(argv[i]));
    return RunCommandLine(args);
}
#else
int main(int argc, char** argv)
{
    return RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
