// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "raster/PIX_IBitmap.h"

/// One entry of the process-wide list of image file loaders.
struct PIX_ImageLoader {
    /// Loads the file at `path` into `into` when given (returning it), else
    /// into a new bitmap that the caller owns; null on failure. With
    /// `checkName` the loader first refuses paths it does not handle.
    PIX_IBitmap* (*load)(const char* path, PIX_IBitmap* into, bool checkName) = nullptr;
    /// File-dialog filter: description and pattern, each NUL-terminated,
    /// followed by a second NUL.
    const char* (*filter)() = nullptr;
    const PIX_ImageLoader* next = nullptr;
};

/// [any] Head of the loader list; the PNG loader is registered before the
/// first call returns. The list is never changed afterwards.
const PIX_ImageLoader* PIX_ImageLoaders();
