// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

/// A shared library loaded into this process (a shared object on Linux, a DLL
/// on Windows); destroying it unloads the library.
class SharedLibrary {
public:
    /// [ui] Loads the library at `path` (UTF-8), resolving every reference now.
    /// On failure returns nullptr and puts one line of explanation in `error`.
    static std::unique_ptr<SharedLibrary> Open(const std::string& path, std::string& error);
    /// [ui] Another hold on the library at `path` if it is loaded in this
    /// process already, else nullptr; never loads it.
    static std::unique_ptr<SharedLibrary> FindLoaded(const std::string& path);

    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    /// [ui] The exported function `name`, or nullptr if the library has none.
    void* Symbol(const char* name) const;
    /// [ui] The system's handle of the library (what ModuleEntry receives).
    void* Handle() const { return mHandle; }

private:
    explicit SharedLibrary(void* handle) : mHandle(handle) {}

    void* mHandle;
};
