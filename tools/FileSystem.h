// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

// Paths are UTF-8 everywhere in the tool; on Windows these go through the
// wide-character file functions, so a name in any script works whatever the
// system's code page.

/// [any] std::fopen of a UTF-8 path; nullptr and errno set on failure.
std::FILE* OpenFile(const std::string& path, const char* mode);

/// [any] The system's own words for why the last OpenFile failed (on
/// Windows its message for the error, which names too-long paths rightly).
std::string OpenFailureText();

/// [any] True when `path` names an existing folder.
bool IsFolder(const std::string& path);

/// [any] Removes a file; false when it could not.
bool RemoveFile(const std::string& path);

/// [any] Renames `from` to `to`, replacing a file already there.
bool RenameOver(const std::string& from, const std::string& to);

/// How an output path can be written.
enum class OutputKind {
    kFile,    ///< a regular file, or nothing yet: replace it whole
    kStream,  ///< a pipe or character device: write straight into it
    kOther,   ///< anything else (a block device, a socket, a link loop): leave it alone
};

/// Where writing to a path really goes.
struct OutputTarget {
    std::string path;  ///< the path with symbolic links (reparse points) followed
    OutputKind kind = OutputKind::kFile;
};

/// [any] Follows `path` through symbolic links to what writing it would
/// change, and says what that is.
OutputTarget ResolveOutput(const std::string& path);
