// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

/// One --set NAME=VALUE: a parameter by title or index and a plain value.
struct ParameterSetting {
    std::string name;
    double value = 0.0;
};

/// What keldra-render was asked to do.
struct RenderOptions {
    std::string plugin;                      ///< bundle folder or shared object
    std::string preset;                      ///< factory preset loaded before the settings (empty: none)
    std::vector<ParameterSetting> settings;  ///< in command-line order
    std::optional<int> oversampling;         ///< 4 or 16
    bool bypass = false;                     ///< host bypass
    int block = 512;                         ///< frames per process call
    int precision = 32;                      ///< 32 or 64
    std::optional<double> demoSeconds;       ///< render the built-in signal
    double rate = 48000.0;                   ///< Hz, for the built-in signal
    bool list = false;                       ///< print the parameters
    bool listPresets = false;                ///< print the presets
    bool help = false;
    std::string input;                       ///< WAV file (empty with --demo or --list)
    std::string output;                      ///< WAV file to write
    std::string panel;                       ///< PNG of the front panel to write (empty: none)
    double panelScale = 1.0;                 ///< content scale the panel is drawn at
    std::string panelReadout;                ///< knob (title or index) whose readout the panel shows; empty: none
    std::string response;                    ///< measured response to write, .svg or .csv (empty: none)
};

/// [any] Parses the arguments after the program name. On a usage error
/// returns nothing and puts one line of explanation into `error`.
/// `defaultPlugin` is used when --plugin is not given.
std::optional<RenderOptions> ParseRenderOptions(const std::vector<std::string>& args,
                                                const std::string& defaultPlugin, std::string& error);

/// [any] Reads a whole decimal number (finite), or nothing.
std::optional<double> ParseNumber(const std::string& text);

/// [any] Reads one NAME=VALUE setting (a non-empty name, a number as
/// ParseNumber reads it); nothing and a one-line `error` otherwise.
std::optional<ParameterSetting> ParseSetting(const std::string& text, std::string& error);

/// The usage text printed by --help.
extern const char* const kRenderUsage;
