// SPDX-License-Identifier: GPL-3.0-or-later
#include "TemporaryFolder.h"

#include <filesystem>
#include <random>

namespace fs = std::filesystem;

TemporaryFolder::TemporaryFolder(const std::string& prefix)
{
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    if (error) return;
    // create_directory reports an existing folder as not created, so a name
    // another program holds is never taken over.
    std::random_device seed;
    std::mt19937_64 pick(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path folder = base / (prefix + std::to_string(pick() % 1000000000));
        if (fs::create_directory(folder, error)) {
            mPath = folder.generic_string();
            return;
        }
    }
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code error;
    if (!mPath.empty()) fs::remove_all(mPath, error);
}

int TemporaryFolder::EntryCount() const
{
    std::error_code error;
    int count = 0;
    for (fs::directory_iterator it(mPath, error), end; !error && it != end; it.increment(error)) ++count;
    return count;
}
