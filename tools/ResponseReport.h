// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/FrequencyResponse.h"

#include <optional>
#include <string>
#include <vector>

/// The file formats of a measured response, chosen by extension.
enum class ResponseFormat { kSvg, kCsv };

/// [any] The format a file name asks for (".svg" or ".csv", letter case
/// ignored), or nothing.
std::optional<ResponseFormat> ResponseFormatOf(const std::string& path);

/// [any] One row per point: frequency in Hz and gain in dB, with a heading.
std::string ResponseCsv(const std::vector<ResponsePoint>& points);

/// [any] A plot of the points: log frequency 20 Hz to 20 kHz with decade
/// ticks, gain -18 to +18 dB with a 3 dB grid, axis labels and `caption`
/// under the plot. The curve is clipped to the plot area.
std::string ResponseSvg(const std::vector<ResponsePoint>& points, const std::string& caption);

/// [ui] Writes the points to `path` in the format its extension names, as a
/// WholeFile. False and a one-line `error` on failure.
bool WriteResponse(const std::string& path, const std::vector<ResponsePoint>& points, const std::string& caption,
                   std::string& error);
