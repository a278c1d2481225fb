// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class PIX_IBitmap;

/// [any] Writes `bitmap` (straight-alpha 0xAARRGGBB pixels) to `path` as an
/// 8-bit RGBA PNG, as a WholeFile: a failure never leaves a half-written
/// file. False and a one-line `error` when the file cannot be written.
bool WritePng(const PIX_IBitmap& bitmap, const std::string& path, std::string& error);
