// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/WholeFile.h"

#include "tools/FileSystem.h"

#include <unistd.h>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

WholeFile::WholeFile(std::string path) : mPath(std::move(path))
{
}

WholeFile::~WholeFile()
{
    if (mFile != nullptr && mFile != stdout)
        std::fclose(mFile);
    if (!mCommitted && !mTemporary.empty())
        RemoveFile(mTemporary);
}

namespace {

std::string LeftAlone(const std::string& path)
{
    return "cannot write " + path + ": it is neither a regular file nor a pipe or character device, "
           "so it is left as it is";
}

} // namespace

bool WholeFile::CanWrite(const std::string& path, std::string& error)
{
    if (path == kStandardOutput || ResolveOutput(path).kind != OutputKind::kOther)
        return true;
    error = LeftAlone(path);
    return false;
}

std::FILE* WholeFile::Open(std::string& error)
{
    if (mPath == kStandardOutput) {
#ifdef _WIN32
        // Text mode would turn every byte 10 of the data into 13 10.
        _setmode(_fileno(stdout), _O_BINARY);
#endif
        mFile = stdout;
        return mFile;
    }
    const OutputTarget target = ResolveOutput(mPath);
    switch (target.kind) {
    case OutputKind::kStream:
        mFile = OpenFile(target.path, "wb");
        break;
    case OutputKind::kFile:
        mDestination = target.path;
        mTemporary = target.path + ".part" + std::to_string(::getpid());
        mFile = OpenFile(mTemporary, "wb");
        break;
    case OutputKind::kOther:
        error = LeftAlone(mPath);
        return nullptr;
    }
    if (mFile == nullptr)
        error = "cannot write " + mPath + ": " + OpenFailureText();
    return mFile;
}

bool WholeFile::Commit()
{
    std::FILE* file = std::exchange(mFile, nullptr);
    const bool closed = file != nullptr && (file == stdout ? std::fflush(file) == 0 : std::fclose(file) == 0);
    mCommitted = closed && (mTemporary.empty() || RenameOver(mTemporary, mDestination));
    return mCommitted;
}
