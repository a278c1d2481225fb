// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/WholeFile.h"

#include <cstdio>
#include <unistd.h>
#include <utility>

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
    mCommitted = std::rename(mTemporary.c_str(), mPath.c_str()) == 0;
    return mCommitted;
}
