// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/SameFile.h"

#include <sys/stat.h>

bool IsSameFile(const std::string& a, const std::string& b)
{
    struct stat first{};
    struct stat second{};
    // A file system without inode numbers reports 0 for every file; without
    // a number nothing can be shown to be the same file.
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_ino != 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
