// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/RenderOptions.h"

#include "graphics/ArtworkScale.h"
#include "tools/ResponseReport.h"

#include <cmath>
#include <cstdlib>

const char* const kRenderUsage =
    "usage: keldra-render [--plugin BUNDLE] [--preset NAME] [--set NAME=VALUE]...\n"
    "                     [--oversampling 4|16] [--bypass] [--block N] [--precision 32|64]\n"
    "                     [--demo SECONDS] [--rate HZ] [--list] [--list-presets]\n"
    "                     [--panel OUT.png [--scale S] [--readout NAME]]\n"
    "                     [INPUT.wav] OUTPUT.wav\n"
    "       keldra-render [--plugin BUNDLE] [--preset NAME] [--set NAME=VALUE]...\n"
    "                     [--oversampling 4|16] [--rate HZ] --response FILE.svg|FILE.csv\n"
    "\n"
    "Renders audio through the KELDRA VST3 plug-in as a host would.\n"
    "  --plugin BUNDLE      the KELDRA.vst3 bundle (or its .so) to load; by default\n"
    "                       the one installed beside the program, in\n"
    "                       ../lib/vst3/KELDRA.vst3 (/usr/lib/vst3 from /usr/bin)\n"
    "  --preset NAME        start from a factory preset (see --list-presets), as the\n"
    "                       host's program menu loads it; --set changes it further\n"
    "  --set NAME=VALUE     set a parameter by title (OUT, HPF, LPF, GainH, GainM,\n"
    "                       GainL, Bypass) or by index 0-7, as a plain value\n"
    "  --oversampling 4|16  waveshaper oversampling factor\n"
    "  --bypass             bypass the plug-in through the host bypass parameter\n"
    "  --block N            frames per process call (1-65536, default 512)\n"
    "  --precision 32|64    sample size handed to the plug-in (default 32)\n"
    "  --demo SECONDS       render the built-in test signal instead of INPUT.wav:\n"
    "                       stereo; left a logarithmic sine sweep 20 Hz-20 kHz,\n"
    "                       right a 220 Hz sine, both at -12 dBFS peak, with\n"
    "                       10 ms fades at either end\n"
    "  --rate HZ            sample rate of the demo signal or the response\n"
    "                       measurement (default 48000)\n"
    "  --list               print the published parameters and exit\n"
    "  --list-presets       print the factory presets and exit\n"
    "  --help, -h           print this help and exit\n"
    "  --panel OUT.png      also (or, without audio files, only) write an image of\n"
    "                       the front panel showing the settings\n"
    "  --scale S            draw that panel as a window at content scale S (1-2,\n"
    "                       default 1) shows it: 1.5 gives 450 x 855 pixels\n"
    "  --readout NAME       show that knob's value readout on the panel, as while\n"
    "                       the pointer rests on it (a title or index, as --set)\n"
    "  --response FILE      measure the magnitude response of the settings through\n"
    "                       the plug-in with low-level sines (left channel) and\n"
    "                       write it as a plot (FILE.svg) or a table (FILE.csv)\n"
    "The output is a 32-bit float WAV with the input's rate and channel count;\n"
    "'-' writes it to standard output (the report then goes to standard error).\n"
    "A link's target is replaced; a pipe or device is written straight through.\n"
    "Exit status: 0 on success, 1 when a file, the plug-in or a setting fails,\n"
    "2 on a usage error.\n";

std::optional<double> ParseNumber(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value))
        return std::nullopt;
    // strtod also reads hexadecimal and "inf"/"nan" spellings; only decimal
    // numbers are parameter values.
    if (text.find_first_of("xXnN") != std::string::npos)
        return std::nullopt;
    return value;
}

std::optional<ParameterSetting> ParseSetting(const std::string& text, std::string& error)
{
    const size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) {
        error = "expects NAME=VALUE, got '" + text + "'";
        return std::nullopt;
    }
    const auto number = ParseNumber(text.substr(eq + 1));
    if (!number) {
        error = "value of " + text.substr(0, eq) + " is not a number: '" + text.substr(eq + 1) + "'";
        return std::nullopt;
    }
    return ParameterSetting{text.substr(0, eq), *number};
}

namespace {

std::optional<int> ParseInteger(const std::string& text)
{
    const auto number = ParseNumber(text);
    if (!number || *number != std::floor(*number) || std::fabs(*number) > 1e9)
        return std::nullopt;
    return static_cast<int>(*number);
}

} // namespace

std::optional<RenderOptions> ParseRenderOptions(const std::vector<std::string>& args,
                                                const std::string& defaultPlugin, std::string& error)
{
    RenderOptions options;
    options.plugin = defaultPlugin;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = "option " + arg + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string text;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--plugin") {
            if (!value(options.plugin))
                return std::nullopt;
        } else if (arg == "--preset") {
            if (!value(options.preset))
                return std::nullopt;
        } else if (arg == "--set") {
            if (!value(text))
                return std::nullopt;
            const auto setting = ParseSetting(text, error);
            if (!setting) {
                error = "--set " + error;
                return std::nullopt;
            }
            options.settings.push_back(*setting);
        } else if (arg == "--oversampling") {
            if (!value(text))
                return std::nullopt;
            const auto factor = ParseInteger(text);
            if (!factor || (*factor != 4 && *factor != 16)) {
                error = "--oversampling must be 4 or 16, got '" + text + "'";
                return std::nullopt;
            }
            options.oversampling = *factor;
        } else if (arg == "--bypass") {
            options.bypass = true;
        } else if (arg == "--block") {
            if (!value(text))
                return std::nullopt;
            const auto block = ParseInteger(text);
            if (!block || *block < 1 || *block > 65536) {
                error = "--block must be a whole number from 1 to 65536, got '" + text + "'";
                return std::nullopt;
            }
            options.block = *block;
        } else if (arg == "--precision") {
            if (!value(text))
                return std::nullopt;
            const auto precision = ParseInteger(text);
            if (!precision || (*precision != 32 && *precision != 64)) {
                error = "--precision must be 32 or 64, got '" + text + "'";
                return std::nullopt;
            }
            options.precision = *precision;
        } else if (arg == "--demo") {
            if (!value(text))
                return std::nullopt;
            const auto seconds = ParseNumber(text);
            if (!seconds || *seconds <= 0.0 || *seconds > 3600.0) {
                error = "--demo needs a length in seconds above 0 and at most 3600, got '" + text + "'";
                return std::nullopt;
            }
            options.demoSeconds = *seconds;
        } else if (arg == "--rate") {
            if (!value(text))
                return std::nullopt;
            const auto rate = ParseNumber(text);
            if (!rate || *rate < 8000.0 || *rate > 768000.0) {
                error = "--rate must be a sample rate from 8000 to 768000 Hz, got '" + text + "'";
                return std::nullopt;
            }
            options.rate = *rate;
        } else if (arg == "--list") {
            options.list = true;
        } else if (arg == "--list-presets") {
            options.listPresets = true;
        } else if (arg == "--panel") {
            if (!value(options.panel))
                return std::nullopt;
        } else if (arg == "--readout") {
            if (!value(options.panelReadout))
                return std::nullopt;
        } else if (arg == "--scale") {
            if (!value(text))
                return std::nullopt;
            const auto scale = ParseNumber(text);
            if (!scale || *scale < 1.0 || *scale > ArtworkScale::kLargest) {
                error = "--scale must be from 1 to " + std::to_string(ArtworkScale::kLargest) + ", got '" + text + "'";
                return std::nullopt;
            }
            options.panelScale = *scale;
        } else if (arg == "--response") {
            if (!value(options.response))
                return std::nullopt;
            if (!ResponseFormatOf(options.response)) {
                error = "--response writes FILE.svg or FILE.csv, got '" + options.response + "'";
                return std::nullopt;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return std::nullopt;
        } else {
            files.push_back(arg);
        }
    }
    if (!options.panelReadout.empty() && options.panel.empty()) {
        error = "--readout shows a knob's value on the panel and needs --panel";
        return std::nullopt;
    }
    if (options.help || options.list || options.listPresets) {
        if (!files.empty()) {
            error = "--list, --list-presets and --help take no files";
            return std::nullopt;
        }
        return options;
    }
    if (!options.response.empty()) {
        if (!files.empty() || options.demoSeconds) {
            error = "--response measures the plug-in itself and takes no audio files or --demo";
            return std::nullopt;
        }
        return options;
    }
    // A panel image alone needs no audio.
    if (!options.panel.empty() && files.empty() && !options.demoSeconds)
        return options;
    const size_t wanted = options.demoSeconds ? 1 : 2;
    if (files.size() != wanted) {
        error = options.demoSeconds ? "--demo expects only OUTPUT.wav"
                                    : "expected INPUT.wav and OUTPUT.wav (or --demo SECONDS OUTPUT.wav)";
        return std::nullopt;
    }
    if (!options.demoSeconds)
        options.input = files[0];
    options.output = files.back();
    return options;
}
