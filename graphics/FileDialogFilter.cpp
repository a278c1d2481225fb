// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/FileDialogFilter.h"

#include <sstream>

FileDialogFilter FileDialogFilter::FromExtensions(const char* extensions)
{
    FileDialogFilter filter;
    std::istringstream words(extensions ? extensions : "");
    std::string extension;
    bool first = true;
    while (words >> extension) {
        const std::string pattern = "*." + extension;
        const size_t length = filter.description.size() + (first ? 0 : 1) + pattern.size();
        if (length > kMaxFilterLength) break;
        if (!first) filter.description += ';';
        filter.description += pattern;
        filter.patterns.push_back(pattern);
        if (first && extension.size() <= kMaxDefaultExtension) filter.defaultExtension = extension;
        first = false;
    }
    return filter;
}
