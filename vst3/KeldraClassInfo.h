// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "pluginterfaces/base/funknown.h"

/// The identity of the one class the KELDRA module offers.
namespace KeldraClassInfo {

/// Class id: the COM-style identifier {E25B913C-A407-186D-426B-66644B6C6431},
/// whose last eight bytes are the maker code "Bkfd" and the plug-in code "Kld1"
/// as ASCII. The SDK lays its bytes out as each system's hosts read them: on
/// Windows in COM order (3C 91 5B E2 07 A4 6D 18 ...), elsewhere in text order,
/// so every host prints E25B913CA407186D426B66644B6C6431 and a project or
/// preset saved on one system finds the plug-in on the other.
constexpr Steinberg::TUID kClassId = INLINE_UID(0xE25B913C, 0xA407186D, 0x426B6664, 0x4B6C6431);

constexpr const char* kVendor = "Brackenfold";
constexpr const char* kVendorUrl = "https://www.brackenfold.example/";
constexpr const char* kVendorEmail = "support@brackenfold.example";
constexpr const char* kName = "KELDRA";
constexpr const char* kCategory = "Audio Module Class";
constexpr const char* kSubCategories = "Fx|EQ";
constexpr const char* kVersion = "3.0.0";
constexpr const char* kSdkVersion = "VST 3.6.12";
constexpr int kCardinality = 0x7FFFFFFF;  ///< many instances
constexpr int kClassFlags = 2;            ///< simple mode supported
constexpr int kFactoryFlags = 16;         ///< the factory answers in UTF-16 too

} // namespace KeldraClassInfo
