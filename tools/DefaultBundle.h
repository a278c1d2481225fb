// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

/// [any] The bundle keldra-render loads without --plugin, found from where
/// the running program is: the one installed beside it (bin/../lib/vst3, as
/// the Debian package installs them), else one beside it (the portable zip),
/// else the one its build made. When
/// neither exists, the installed path, so the error names where it looked;
/// on Windows that is where the installer puts the bundle
/// (%CommonProgramFiles%\VST3\KELDRA.vst3).
std::string DefaultBundle();
