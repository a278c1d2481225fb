// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/AudioClip.h"

#include <optional>
#include <string>

/// [ui] Reads a whole sound file (any format libsndfile reads) as floats.
/// Nothing and a one-line `error` when it cannot be read.
std::optional<AudioClip> ReadWav(const std::string& path, std::string& error);

/// [ui] Writes a 32-bit float WAV as a WholeFile: a failure never leaves a
/// half-written file. False and `error` on failure.
bool WriteWav(const std::string& path, const AudioClip& clip, std::string& error);
