// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

/// [any] True when both paths exist and name the same file (the same device
/// and inode), however they are spelt: through "..", links or another name.
bool IsSameFile(const std::string& a, const std::string& b);
