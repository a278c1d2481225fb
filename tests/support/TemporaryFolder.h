// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

/// A new, empty folder in the system's temporary folder, removed with all it
/// holds when the object goes.
class TemporaryFolder {
public:
    /// Creates the folder; its name starts with `prefix`. Path() is empty if
    /// it could not be made.
    explicit TemporaryFolder(const std::string& prefix);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    /// The folder, without a trailing separator.
    const std::string& Path() const noexcept { return mPath; }
    /// `name` inside the folder.
    std::string Path(const std::string& name) const { return mPath + "/" + name; }
    /// How many entries the folder holds.
    int EntryCount() const;

private:
    std::string mPath;
};
