// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

/// [any] The full file name of the module (shared object, DLL or program) this
/// code is linked into, UTF-8 encoded, or an empty string if it cannot be found.
std::string ModuleFileName();

/// [any] The folder of ModuleFileName(), keeping its trailing separator
/// ('/' on Linux, '\' on Windows).
std::string ModuleDirectory();
