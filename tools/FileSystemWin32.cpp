// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FileSystem.h"

#include "platform/win32/Utf16.h"

#include <windows.h>

std::FILE* OpenFile(const std::string& path, const char* mode)
{
    return _wfopen(Utf8ToUtf16(path).c_str(), Utf8ToUtf16(mode).c_str());
}

bool IsFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(Utf8ToUtf16(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool RemoveFile(const std::string& path)
{
    return DeleteFileW(Utf8ToUtf16(path).c_str()) != 0;
}

bool RenameOver(const std::string& from, const std::string& to)
{
    // Windows' rename refuses to replace an existing file.
    return MoveFileExW(Utf8ToUtf16(from).c_str(), Utf8ToUtf16(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}
