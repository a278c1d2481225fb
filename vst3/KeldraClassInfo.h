// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "effect/KeldraIdentity.h"
#include "pluginterfaces/base/funknown.h"

/// What only VST3 asks of the one class the KELDRA module offers; the rest
/// is the product's identity.
namespace KeldraClassInfo {

/// The product's class id in the SDK's byte layout, which is each system's
/// hosts' own: on Windows in COM order (3C 91 5B E2 07 A4 6D 18
/// ...), elsewhere in text order, so every host prints
/// E25B913CA407186D426B66644B6C6431 and a project or preset saved on one
/// system finds the plug-in on the other.
constexpr Steinberg::TUID kClassId = INLINE_UID(KeldraIdentity::kVst3ClassId[0], KeldraIdentity::kVst3ClassId[1],
                                                KeldraIdentity::kVst3ClassId[2], KeldraIdentity::kVst3ClassId[3]);

constexpr const char* kCategory = "Audio Module Class";
constexpr const char* kSubCategories = "Fx|EQ";
constexpr const char* kSdkVersion = "VST 3.6.12";
constexpr int kCardinality = 0x7FFFFFFF;  ///< many instances
constexpr int kClassFlags = 2;            ///< simple mode supported
constexpr int kFactoryFlags = 16;         ///< the factory answers in UTF-16 too

} // namespace KeldraClassInfo
