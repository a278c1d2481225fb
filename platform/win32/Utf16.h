// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

/// [any] UTF-8 text as UTF-16, the Windows API's wide form (file names, paths).
/// Invalid sequences become U+FFFD.
std::wstring Utf8ToUtf16(const std::string& text);

/// [any] UTF-16 text from the Windows API as UTF-8. Unpaired surrogates
/// become U+FFFD.
std::string Utf16ToUtf8(const std::wstring& text);
