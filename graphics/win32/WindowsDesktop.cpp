// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/win32/WindowsDesktop.h"

#include "graphics/FileDialogFilter.h"
#include "graphics/FolderRules.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <cstdlib>
#include <cstring>

namespace WindowsDesktop {
namespace {

/// The file name buffer of the choosers.
constexpr size_t kPathCapacity = 256;
/// Longest default extension a chooser takes.
constexpr size_t kMaxDefaultExtension = 15;

UINT_PTR CALLBACK ColourDialogHook(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const auto* choice = reinterpret_cast<const CHOOSECOLORA*>(lParam);
        if (choice && choice->lCustData)
            SetWindowTextA(dialog, reinterpret_cast<const char*>(choice->lCustData));
    }
    return 0;
}

} // namespace

int ShowMessage(HWND owner, const char* text, const char* caption, int type)
{
    return MessageBoxA(owner, text, caption, UINT(type));
}

bool IsConnected()
{
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
}

bool OpenUrl(HWND owner, const char* url)
{
    const HINSTANCE result = ShellExecuteA(owner, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

std::string ExecutableFolder(HMODULE module)
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return FolderRules::FolderOfPath(path, '\\');
}

std::string DesktopFolder()
{
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOP, FALSE)) return {};
    return path;
}

std::string AppDataFolder(bool system)
{
    char path[MAX_PATH] = {};
    const int folder = system ? CSIDL_COMMON_APPDATA : CSIDL_LOCAL_APPDATA;
    if (FAILED(SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}

bool ChooseColour(HWND owner, ArgbColor& colour, const char* prompt, COLORREF* customColours)
{
    CHOOSECOLORA choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.rgbResult = RGB(colour.R, colour.G, colour.B);
    choice.lpCustColors = customColours;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK | CC_SOLIDCOLOR | CC_ANYCOLOR;
    choice.lpfnHook = ColourDialogHook;
    choice.lCustData = reinterpret_cast<LPARAM>(prompt);
    if (!ChooseColorA(&choice)) return false;
    colour.R = GetRValue(choice.rgbResult);
    colour.G = GetGValue(choice.rgbResult);
    colour.B = GetBValue(choice.rgbResult);
    return true;
}

void ChooseFile(HWND owner, std::string& path, int action, std::string& folder,
                const char* extensions, const std::string& fallback)
{
    const FileDialogFilter filter = FileDialogFilter::FromExtensions(extensions);
    // "description\0patterns\0\0": the pattern list serves as both.
    std::string filterText;
    if (!filter.patterns.empty()) {
        filterText = filter.description;
        filterText += '\0';
        filterText += filter.description;
        filterText += '\0';
    }
    filterText += '\0';
    std::string defaultExtension =
        filter.patterns.empty() ? std::string() : filter.patterns.front().substr(2);
    if (defaultExtension.size() > kMaxDefaultExtension) defaultExtension.clear();
    const std::string startFolder = folder.empty() ? fallback : folder;

    char file[kPathCapacity] = {};
    std::strncpy(file, path.c_str(), kPathCapacity - 1);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filterText.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = DWORD(kPathCapacity - 1);
    dialog.lpstrInitialDir = startFolder.empty() ? nullptr : startFolder.c_str();
    dialog.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    bool chosen;
    if (action == 1) {
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
        chosen = GetSaveFileNameA(&dialog) != FALSE;
    } else {
        dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
        chosen = GetOpenFileNameA(&dialog) != FALSE;
    }
    if (!chosen) {
        path.clear();
        return;
    }
    path = file;
    char drive[_MAX_DRIVE] = {};
    char directory[_MAX_DIR] = {};
    _splitpath(file, drive, directory, nullptr, nullptr);
    folder = std::string(drive) + directory;
}

bool ReadClipboardText(HWND owner, std::string& text)
{
    text.clear();
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner)) return false;
    bool read = false;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
            if (bytes > 0) {
                text.resize(size_t(bytes));
                WideCharToMultiByte(CP_UTF8, 0, wide, -1, &text[0], bytes, nullptr, nullptr);
                text.resize(size_t(bytes - 1));
                read = true;
            }
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return read;
}

} // namespace WindowsDesktop
