// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/WholeFile.h"

#include <cstdio>
#include <unistd.h>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

WholeFile::WholeFile(std::string path)
    : mPath(std::move(path)), mTemporary(mPath + ".part" + std::to_string(::getpid()))
{
}

WholeFile::~WholeFile()
{
    if (!mCommitted)
        std::remove(mTemporary.c_str());
}

bool WholeFile::Commit()
{
#ifdef _WIN32
    // Windows' rename refuses to replace an existing file.
    mCommitted = MoveFileExA(mTemporary.c_str(), mPath.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    mCommitted = std::rename(mTemporary.c_str(), mPath.c_str()) == 0;
#endif
    return mCommitted;
}
