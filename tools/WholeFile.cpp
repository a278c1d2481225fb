// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/WholeFile.h"

#include "tools/FileSystem.h"

#include <unistd.h>
#include <utility>

WholeFile::WholeFile(std::string path)
    : mPath(std::move(path)), mTemporary(mPath + ".part" + std::to_string(::getpid()))
{
}

WholeFile::~WholeFile()
{
    if (!mCommitted)
        RemoveFile(mTemporary);
}

bool WholeFile::Commit()
{
    mCommitted = RenameOver(mTemporary, mPath);
    return mCommitted;
}
