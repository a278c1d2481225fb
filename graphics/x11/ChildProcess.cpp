// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/x11/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

extern char** environ;

namespace ChildProcess {
namespace {

/// Children of Start still running. [ui] only, so no lock.
std::vector<pid_t>& Pending()
{
    static std::vector<pid_t> pending;
    return pending;
}

/// Spawns `argv` with stdin from /dev/null, stdout to `outFd` (or
/// /dev/null when −1) and stderr to /dev/null; −1 when it failed.
pid_t SpawnWith(const std::vector<std::string>& argv, int outFd)
{
    if (argv.empty()) return -1;
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (outFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    // The host may block or catch signals; the helper starts with defaults.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, args[0], &actions, &attr, args.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

} // namespace

bool IsOnPath(const char* name)
{
    const char* path = std::getenv("PATH");
    if (!name || !*name || !path) return false;
    std::istringstream folders(path);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty()) folder = ".";
        const std::string file = folder + "/" + name;
        struct stat info {};
        if (stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(file.c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

bool Start(const std::vector<std::string>& argv)
{
    CollectFinished();
    const pid_t pid = SpawnWith(argv, -1);
    if (pid < 0) return false;
    Pending().push_back(pid);
    return true;
}

bool Run(const std::vector<std::string>& argv, std::string& output, int& exitCode)
{
    output.clear();
    exitCode = -1;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    const pid_t pid = SpawnWith(argv, fds[1]);
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return false;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n > 0) {
            output.append(buffer, size_t(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;
        }
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return true;
    }
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

void CollectFinished()
{
    auto& pending = Pending();
    for (size_t i = 0; i < pending.size();) {
        const pid_t done = waitpid(pending[i], nullptr, WNOHANG);
        // Finished, or no longer ours to wait for (the host reaps all children).
        if (done == pending[i] || (done < 0 && errno == ECHILD)) {
            pending.erase(pending.begin() + long(i));
        } else {
            ++i;
        }
    }
}

} // namespace ChildProcess
