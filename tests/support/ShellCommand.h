// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

/// Runs `command`, a line for the POSIX shell whose arguments are quoted with
/// single quotes (none inside) and whose output may go to files or /dev/null
/// with > and 2>. Returns the program's exit status, -1 if it did not exit.
/// On Windows the line is translated for cmd.exe, which quotes differently,
/// and handed over in UTF-16: `command` is UTF-8.
int RunShellCommand(const std::string& command);
