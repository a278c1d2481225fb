// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/x11/LinuxDesktop.h"

#include "graphics/FileDialogFilter.h"
#include "graphics/FolderRules.h"
#include "graphics/x11/ChildProcess.h"
#include "graphics/x11/ZenityDialogs.h"
#include "platform/ModulePath.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace LinuxDesktop {
namespace {

/// Runs zenity with `args` above `owner`; false when it is not installed or
/// did not start.
bool RunDialog(const std::vector<std::string>& args, unsigned long owner, std::string& output,
               int& exitCode)
{
    if (!ChildProcess::IsOnPath(kDialogProgram)) return false;
    std::vector<std::string> argv = {kDialogProgram};
    argv.insert(argv.end(), args.begin(), args.end());
    const std::vector<std::string> ownerArgs = ZenityDialogs::OwnerArgs(owner);
    argv.insert(argv.end(), ownerArgs.begin(), ownerArgs.end());
    return ChildProcess::Run(argv, output, exitCode);
}

const char* Env(const char* name) { return std::getenv(name); }

} // namespace

int ShowMessage(const char* text, const char* caption, int type, unsigned long owner)
{
    std::string output;
    int exitCode = -1;
    if (!RunDialog(ZenityDialogs::MessageArgs(text, caption, type), owner, output, exitCode))
        return ZenityDialogs::CancelledAnswer(type);
    return ZenityDialogs::MessageAnswer(type, exitCode, output);
}

bool OpenUrl(const char* url)
{
    if (!url || !*url) return false;
    return ChildProcess::Start({kBrowserLauncher, url});
}

bool IsConnected()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return false;
    bool connected = false;
    for (const ifaddrs* i = list; i && !connected; i = i->ifa_next) {
        const unsigned flags = i->ifa_flags;
        connected = i->ifa_addr && (flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK);
    }
    freeifaddrs(list);
    return connected;
}

bool ChooseColour(ArgbColor& colour, const char* prompt, unsigned long owner)
{
    std::string output;
    int exitCode = -1;
    if (!RunDialog(ZenityDialogs::ColourArgs(colour, prompt), owner, output, exitCode) || exitCode != 0)
        return false;
    return ZenityDialogs::ParseColour(output, colour);
}

void ChooseFile(std::string& path, int action, std::string& folder, const char* extensions,
                unsigned long owner)
{
    const std::string start = folder.empty() ? DesktopFolder() : folder;
    const FileDialogFilter filter = FileDialogFilter::FromExtensions(extensions);
    std::string output;
    int exitCode = -1;
    const bool save = action == 1;
    if (!RunDialog(ZenityDialogs::FileArgs(save, start, path, filter), owner, output, exitCode)
        || exitCode != 0) {
        path.clear();
        return;
    }
    path = ZenityDialogs::ChosenFile(output);
    if (!path.empty()) folder = FolderRules::FolderOfPath(path);
}

std::string HostFolder()
{
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return {};
    return FolderRules::FolderOfPath(std::string(exe, size_t(n)));
}

std::string PluginFolder() { return FolderRules::FolderOfPath(ModuleFileName()); }

std::string DesktopFolder()
{
    const std::string file = FolderRules::UserDirsFile(Env);
    std::string text;
    if (!file.empty()) {
        std::ifstream in(file);
        std::ostringstream contents;
        contents << in.rdbuf();
        text = contents.str();
    }
    return FolderRules::DesktopFolder(Env, text);
}

std::string AppDataFolder(bool system) { return FolderRules::AppDataFolder(Env, system); }

} // namespace LinuxDesktop
