// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/KeldraParamIds.h"
#include "effect/KeldraVersion.h"
#include "framework/FourCharCode.h"

#include <cstdint>

/// Who KELDRA is to hosts and users: names, version, the ids each format
/// knows it by, and its parameters as the effect defines them and the LV2
/// description lists them. Every format's entry, the effect and the Turtle
/// generator read these; nothing else spells them out.
namespace KeldraIdentity {

constexpr const char* kName = "KELDRA";
constexpr const char* kMaker = "Brackenfold";
constexpr const char* kMakerWebPage = "https://www.brackenfold.com/";
constexpr const char* kMakerEmail = "support@brackenfold.example";
/// The product's page; the panel's logo opens it.
constexpr const char* kWebPage = "https://www.brackenfold.com/product/keldra/";
constexpr const char* kDescription = "An analog tone-shaping circuit: oversampled saturation, high shelf, high-pass, "
                                     "low-pass, mid bell, low shelf and output gain.";
/// SPDX identifier of the licence.
constexpr const char* kLicense = "GPL-3.0-or-later";

constexpr int kVersionMajor = KeldraVersion::kMajor;
constexpr int kVersionMinor = KeldraVersion::kMinor;
constexpr int kVersionPatch = KeldraVersion::kPatch;
/// "major.minor.patch".
constexpr const char* kVersionText = KeldraVersion::kText;
/// The version as the plug-in base keeps it: 0xMMmmpp (3.0.0 is 0x30000).
constexpr std::int32_t kVersion = (kVersionMajor << 16) | (kVersionMinor << 8) | kVersionPatch;

/// The plug-in's and its maker's four-character codes.
constexpr char kPluginCode[] = "Kld1";
constexpr char kMakerCode[] = "Bkfd";

/// The VST3 class id {E25B913C-A407-186D-426B-66644B6C6431} as four 32-bit
/// words; its last eight bytes are the maker code and the plug-in code.
constexpr std::uint32_t kVst3ClassId[4] = {0xE25B913Cu, 0xA407186Du,
                                           static_cast<std::uint32_t>(MakeFourCharCode(kMakerCode)),
                                           static_cast<std::uint32_t>(MakeFourCharCode(kPluginCode))};
constexpr const char* kClapId = "com.brackenfold.keldra";

// Every LV2 URI the bundle names starts with the plug-in's.
#define KELDRA_LV2_URI "urn:brackenfold:keldra"
constexpr const char* kLv2Uri = KELDRA_LV2_URI;
constexpr const char* kLv2EditorUri = KELDRA_LV2_URI "#editor";
/// The state property that holds the state chunk.
constexpr const char* kLv2StateChunkUri = KELDRA_LV2_URI "#chunk";
constexpr const char* kLv2MakerUri = KELDRA_LV2_URI "#maker";
#undef KELDRA_LV2_URI

/// Mono in and out, or stereo.
constexpr const char* kChannelIO = "1-1 2-2";
/// The one preset: every parameter at its default.
constexpr const char* kDefaultPresetName = "-";

/// What a parameter's value measures.
enum class ParamUnit {
    kPosition,  ///< a potentiometer position of the modelled circuit, or a switch
    kDecibels,
};

/// How a parameter is shown beyond its range.
enum class ParamStyle {
    kContinuous,  ///< a knob
    kToggle,      ///< off (0) or on (1)
    kChoice,      ///< whole numbers from the minimum up, each with a label
};

struct ParamSpec {
    KeldraParamId id;
    const char* name;    ///< the title hosts show
    const char* symbol;  ///< LV2 port symbol: hosts' sessions keep it, so it never changes
    ParamUnit unit;
    double defaultValue;
    double minValue;
    double maxValue;
    double step;
    double shape;  ///< exponent of the normalisation curve
    ParamStyle style;
    const char* const* choiceLabels;  ///< kChoice: one per whole number, then nullptr
};

constexpr const char* kOversamplingLabels[] = {"4×", "16×", nullptr};

/// The parameters in index order: id, name, symbol, unit, then default,
/// minimum, maximum, step, shape, style and labels. Apart from OUT the values
/// are positions of the modelled circuit's potentiometers, which the filter
/// formulas take as they are.
constexpr ParamSpec kParams[kKeldraParamCount] = {
    {KeldraParamId::kOut, "OUT", "out_gain", ParamUnit::kDecibels,
     0.0, -15.0, 15.0, 0.01, 1.0, ParamStyle::kContinuous, nullptr},
    // Shape 0.25 spends most of the knob's travel on the low corners.
    {KeldraParamId::kHighPass, "HPF", "hpf", ParamUnit::kPosition,
     0.0, 0.0, 0.96, 0.01, 0.25, ParamStyle::kContinuous, nullptr},
    {KeldraParamId::kLowPass, "LPF", "lpf", ParamUnit::kPosition,
     0.0, -0.3, 0.0, 0.01, 1.0, ParamStyle::kContinuous, nullptr},
    {KeldraParamId::kGainHigh, "GainH", "gain_h", ParamUnit::kPosition,
     0.5, 0.0, 1.0, 0.01, 1.0, ParamStyle::kContinuous, nullptr},
    {KeldraParamId::kGainMid, "GainM", "gain_m", ParamUnit::kPosition,
     0.5, 0.02, 0.98, 0.01, 1.0, ParamStyle::kContinuous, nullptr},
    {KeldraParamId::kGainLow, "GainL", "gain_l", ParamUnit::kPosition,
     0.5, 0.0, 1.0, 0.01, 1.0, ParamStyle::kContinuous, nullptr},
    {KeldraParamId::kBypass, "Bypass", "bypass", ParamUnit::kPosition,
     0.0, 0.0, 1.0, 1.0, 1.0, ParamStyle::kToggle, nullptr},
    // The range, step and default every parameter starts with; the title
    // makes hosts list it by name rather than as a blank line.
    {KeldraParamId::kOversampling, "Oversampling", "oversampling", ParamUnit::kPosition,
     0.0, 0.0, 1.0, 1.0, 1.0, ParamStyle::kChoice, kOversamplingLabels},
};

constexpr bool ParamsAreInIndexOrder()
{
    for (int i = 0; i < kKeldraParamCount; ++i)
        if (ToIndex(kParams[i].id) != i)
            return false;
    return true;
}
static_assert(ParamsAreInIndexOrder(), "the table is read by index");

/// The host's own bypass, where a format gives it a port of its own (LV2's
/// lv2:enabled, 1 = processing).
constexpr const char* kEnableSymbol = "enable";
constexpr const char* kEnableName = "Enable";

} // namespace KeldraIdentity
