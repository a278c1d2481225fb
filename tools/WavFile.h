// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/AudioClip.h"

#include <cstdint>
#include <optional>
#include <string>

/// [ui] Reads a sound file (any format libsndfile reads) as floats: every
/// complete frame the file holds. `declaredFrames` is set to the number of
/// frames the file's header claims, which is more than the clip holds when
/// the file was cut short or its header lies. Nothing and a one-line `error`
/// when the file cannot be read, is not supported or holds more than fits in
/// memory.
std::optional<AudioClip> ReadWav(const std::string& path, int64_t& declaredFrames, std::string& error);

/// [ui] Writes a 32-bit float WAV as a WholeFile: a failure never leaves a
/// half-written file. False and `error` on failure.
bool WriteWav(const std::string& path, const AudioClip& clip, std::string& error);
