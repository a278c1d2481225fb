// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/SameFile.h"

#include "platform/win32/Utf16.h"

#include <windows.h>

namespace {

// The volume and the file's index on it name one file however its path is
// spelt, as device and inode do elsewhere.
bool Identify(const std::string& path, BY_HANDLE_FILE_INFORMATION& info)
{
    const HANDLE file = CreateFileW(Utf8ToUtf16(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    return known;
}

} // namespace

bool IsSameFile(const std::string& a, const std::string& b)
{
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    return Identify(a, first) && Identify(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}
