// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

/// [any] The full file name of the module (shared object or program) this code
/// is linked into, or an empty string if it cannot be found.
std::string ModuleFileName();

/// [any] The folder of ModuleFileName(), keeping its trailing '/'.
std::string ModuleDirectory();
