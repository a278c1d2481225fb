// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/FileDialogFilter.h"

#include <cstring>
#include <sstream>

FileDialogFilter FileDialogFilter::FromExtensions(const char* extensions)
{
    FileDialogFilter filter;
    std::istringstream words(extensions ? extensions : "");
    std::string extension;
    while (words >> extension) {
        const std::string pattern = "*." + extension;
        const char* separator = filter.patterns.empty() ? "" : ";";
        if (filter.description.size() + std::strlen(separator) + pattern.size() > kMaxFilterLength)
            break;
        filter.description += separator + pattern;
        filter.patterns.push_back(pattern);
    }
    return filter;
}
