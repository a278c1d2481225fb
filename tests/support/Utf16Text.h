// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pluginterfaces/vst/vsttypes.h"

#include <string>

/// VST3 text as char16_t, whatever the system's TChar is (wchar_t on
/// Windows, char16_t elsewhere; UTF-16 units on both), so tests compare it
/// with u"" literals everywhere.
inline std::u16string AsUtf16(const Steinberg::Vst::TChar* text)
{
    return reinterpret_cast<const char16_t*>(text);
}
