// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

/// Starting helper programs (browser launcher, dialogs) without a shell: the
/// program is looked up on PATH and every argument reaches it as one word,
/// whatever characters it holds. [ui]
namespace ChildProcess {

/// True when `name` is an executable file in a folder of PATH.
bool IsOnPath(const char* name);

/// Starts `argv` (argv[0] is the program) and returns at once; true when it
/// started. Finished children are collected by later calls, so none is
/// left as a zombie while the editor runs.
bool Start(const std::vector<std::string>& argv);

/// Runs `argv` to its end with input from /dev/null, collecting its output;
/// `exitCode` is its exit status, −1 when it was killed. False when it could
/// not start. Blocks the calling thread while it runs.
bool Run(const std::vector<std::string>& argv, std::string& output, int& exitCode);

/// Collects the children of Start that have finished.
void CollectFinished();

} // namespace ChildProcess
