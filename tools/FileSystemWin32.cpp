// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FileSystem.h"

#include "platform/win32/Utf16.h"

#include <cerrno>
#include <cstring>
#include <iterator>
#include <windows.h>

std::FILE* OpenFile(const std::string& path, const char* mode)
{
    return _wfopen(Utf8ToUtf16(path).c_str(), Utf8ToUtf16(mode).c_str());
}

std::string OpenFailureText()
{
    const DWORD error = GetLastError();
    wchar_t* text = nullptr;
    const DWORD length = error == 0 ? 0 : FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                                             FORMAT_MESSAGE_IGNORE_INSERTS,
                                                         nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text != nullptr ? text : L"", length);
    LocalFree(text);
    // The system's messages end in a full stop and a line break.
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
        message.pop_back();
    return message.empty() ? std::strerror(errno) : Utf16ToUtf8(message);
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

OutputTarget ResolveOutput(const std::string& path)
{
    const std::wstring name = Utf8ToUtf16(path);
    // Opening follows symbolic links and junctions to their target; asking
    // for no access touches nothing, and device names (NUL, CON) open too.
    const HANDLE file = CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // Nothing there is a new file; a link that leads nowhere is left alone.
        const DWORD attributes = GetFileAttributesW(name.c_str());
        const bool link = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        return {path, link ? OutputKind::kOther : OutputKind::kFile};
    }
    OutputTarget target{path, OutputKind::kOther};
    switch (GetFileType(file)) {
    case FILE_TYPE_CHAR:
    case FILE_TYPE_PIPE:
        target.kind = OutputKind::kStream;
        break;
    case FILE_TYPE_DISK: {
        wchar_t final[32768];
        const DWORD length = GetFinalPathNameByHandleW(file, final, DWORD(std::size(final)), FILE_NAME_NORMALIZED);
        if (length > 0 && length < std::size(final)) {
            target.path = Utf16ToUtf8(std::wstring(final, length));
            target.kind = OutputKind::kFile;
        }
        break;
    }
    default:
        break;
    }
    CloseHandle(file);
    return target;
}
