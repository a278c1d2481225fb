// keldra-version-info FILE...: prints the version resource of each Windows
// binary as "name: value" lines (the fixed file version as "FixedVersion"),
// read the way Explorer reads it, then a program's manifest, as Windows finds
// it when starting the program. Fails for a file without a version resource.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

bool PrintVersionInfo(const wchar_t* file)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    if (size == 0) return false;
    std::vector<char> block(size);
    if (!GetFileVersionInfoW(file, 0, size, block.data())) return false;

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) return false;
    std::printf("FixedVersion: %u.%u.%u.%u\n", unsigned{HIWORD(fixed->dwFileVersionMS)},
                unsigned{LOWORD(fixed->dwFileVersionMS)}, unsigned{HIWORD(fixed->dwFileVersionLS)},
                unsigned{LOWORD(fixed->dwFileVersionLS)});
    for (const wchar_t* name : {L"ProductName", L"CompanyName", L"FileDescription", L"FileVersion",
                                L"ProductVersion", L"LegalCopyright", L"OriginalFilename"}) {
        // US English, Unicode: the one language the resources carry.
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        wchar_t* value = nullptr;
        if (VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) && length > 0)
            std::printf("%s: %s\n", Utf8(name).c_str(), Utf8(value).c_str());
    }
    return true;
}

void PrintManifest(const wchar_t* file)
{
    HMODULE module = LoadLibraryExW(file, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return;
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
        const auto* text = static_cast<const char*>(LockResource(LoadResource(module, found)));
        if (text) std::printf("Manifest:\n%.*s\n", static_cast<int>(SizeofResource(module, found)), text);
    }
    FreeLibrary(module);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        std::printf("%s\n", Utf8(argv[i]).c_str());
        if (!PrintVersionInfo(argv[i])) {
            std::printf("no version information\n");
            status = 1;
        }
        PrintManifest(argv[i]);
    }
    return status;
}
