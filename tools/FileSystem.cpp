// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FileSystem.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

std::FILE* OpenFile(const std::string& path, const char* mode)
{
    return std::fopen(path.c_str(), mode);
}

std::string OpenFailureText()
{
    return std::strerror(errno);
}

bool IsFolder(const std::string& path)
{
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool RemoveFile(const std::string& path)
{
    return std::remove(path.c_str()) == 0;
}

bool RenameOver(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

OutputTarget ResolveOutput(const std::string& path)
{
    // The limit the system itself puts on a chain of links.
    constexpr int kMostLinks = 40;
    OutputTarget target{path, OutputKind::kFile};
    for (int links = 0; links <= kMostLinks; ++links) {
        struct stat info{};
        if (::lstat(target.path.c_str(), &info) != 0 || S_ISREG(info.st_mode))
            return target;  // a new file, or an existing one: replaced whole
        if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) {
            target.kind = OutputKind::kStream;
            return target;
        }
        if (!S_ISLNK(info.st_mode))
            break;
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(target.path.c_str(), link.data(), link.size());
        if (length <= 0 || size_t(length) >= link.size())
            break;
        link.resize(size_t(length));
        // A relative link leads from the folder the link is in.
        const size_t slash = target.path.rfind('/');
        target.path = link[0] == '/' || slash == std::string::npos ? link : target.path.substr(0, slash + 1) + link;
    }
    target.kind = OutputKind::kOther;
    return target;
}
