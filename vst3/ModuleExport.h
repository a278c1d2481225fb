// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Marks a module entry point that hosts look up by name. On Linux the symbol
// is made visible (everything else is hidden); on Windows the module's .def
// file lists the exports, so nothing is marked.
#ifdef _WIN32
#define KELDRA_EXPORT extern "C"
#else
#define KELDRA_EXPORT extern "C" __attribute__((visibility("default")))
#endif
