// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/AudioClip.h"

#include <cstdint>
#include <optional>
#include <string>

/// [ui] Reads a sound file as floats: every complete frame the file holds.
/// Any format libsndfile reads where it is available; on Windows, RIFF WAVE
/// with 8-, 16-, 24- or 32-bit PCM or 32- or 64-bit float samples (other
/// formats are refused by name). `declaredFrames` is set to the number of
/// frames the file's header claims, which is more than the clip holds when
/// the file was cut short or its header lies. Nothing and a one-line `error`
/// when the file cannot be read, is not supported or holds more than fits in
/// memory.
std::optional<AudioClip> ReadWav(const std::string& path, int64_t& declaredFrames, std::string& error);

/// [ui] Writes a 32-bit float WAV as a WholeFile: a failure never leaves a
/// half-written file, and a pipe or device takes it front to back. False and
/// `error` on failure.
bool WriteWav(const std::string& path, const AudioClip& clip, std::string& error);
