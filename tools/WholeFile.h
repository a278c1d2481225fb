// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

/// An output file that appears only once it is complete: the data goes to a
/// temporary file beside the destination (same folder, so the final rename
/// is atomic), which is renamed over the destination on success and removed
/// on failure. A failed write never leaves a half-written file behind.
///
/// A destination that is a symbolic link stays one: its target is what gets
/// replaced. Standard output ("-"), a pipe or a character device (a terminal,
/// /dev/null; on Windows NUL or CON) cannot be replaced and is written
/// straight through. Anything else that is not a regular file is refused.
class WholeFile {
public:
    /// The destination that names standard output.
    static constexpr const char* kStandardOutput = "-";

    /// [ui] `path` is the destination; nothing is created yet.
    explicit WholeFile(std::string path);
    /// [ui] Closes the stream if still open; removes the temporary file
    /// unless Commit succeeded.
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    /// [ui] False and a one-line `error` when `path` is something this
    /// class leaves alone: lets a caller refuse before any work is done.
    static bool CanWrite(const std::string& path, std::string& error);

    /// [ui] Opens the stream the data is written to, owned by this object;
    /// nullptr and a one-line `error` naming the destination on failure.
    std::FILE* Open(std::string& error);
    /// [ui] Closes the stream and moves the written data to the destination;
    /// false (and the temporary file removed) when either fails.
    [[nodiscard]] bool Commit();

private:
    std::string mPath;
    std::string mTemporary;    ///< empty when writing straight through
    std::string mDestination;  ///< what the temporary file replaces
    std::FILE* mFile = nullptr;
    bool mCommitted = false;
};
