// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellCommand.h"

#include <algorithm>
#include <cstdlib>

#ifdef _WIN32
#include "platform/win32/Utf16.h"
#else
#include <sys/wait.h>
#endif

int RunShellCommand(const std::string& command)
{
#ifdef _WIN32
    std::string line = command;
    const std::string null = "/dev/null";
    for (auto at = line.find(null); at != std::string::npos; at = line.find(null, at))
        line.replace(at, null.size(), "NUL");
    std::replace(line.begin(), line.end(), '\'', '"');
    // cmd.exe drops the outermost pair of quotes; its status is the exit code.
    return _wsystem(Utf8ToUtf16("\"" + line + "\"").c_str());
#else
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}
