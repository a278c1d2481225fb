// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

/// An output file that appears only once it is complete: the data goes to a
/// temporary file beside the destination (same folder, so the final rename
/// is atomic), which is renamed over the destination on success and removed
/// on failure. A failed write never leaves a half-written file behind.
class WholeFile {
public:
    /// [ui] `path` is the destination; nothing is created yet.
    explicit WholeFile(std::string path);
    /// [ui] Removes the temporary file unless Commit succeeded.
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    /// [ui] Where to write the data.
    const std::string& TemporaryPath() const noexcept { return mTemporary; }
    /// [ui] Moves the written data to the destination; false (and the
    /// temporary file removed) when that fails.
    [[nodiscard]] bool Commit();

private:
    std::string mPath;
    std::string mTemporary;
    bool mCommitted = false;
};
