// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// The identity of the one class the KELDRA module offers.
namespace KeldraClassInfo {

/// Class id: eight product bytes, then the maker code "Bkfd" and the
/// plug-in code "Kld1" as ASCII.
constexpr unsigned char kClassId[16] = {0x3C, 0x91, 0x5B, 0xE2, 0x07, 0xA4, 0x6D, 0x18,
                                        'B',  'k',  'f',  'd',  'K',  'l',  'd',  '1'};

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
