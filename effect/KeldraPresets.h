// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/KeldraIdentity.h"

#include <array>
#include <cstdint>
#include <cstring>

/// KELDRA's factory library, part of its identity: the effect's preset slots,
/// the VST3 program list and .vstpreset files, the LV2 presets.ttl and the
/// CLAP preset-discovery factory are all made from this one table.
namespace KeldraPresets {

/// Where a preset puts the knobs: positions as the parameters hold them,
/// OUT in decibels. The IN switch is always in.
struct Knobs {
    double out;
    double hpf;
    double lpf;
    double gainH;
    double gainM;
    double gainL;
    bool oversample16;
};

struct Preset {
    const char* name;  ///< what hosts list
    /// Names the preset for good in LV2 ("#preset-" KEY), whose hosts keep
    /// the URI in their sessions; "-" keeps the URI it always had.
    const char* key;
    const char* use;  ///< one line: what it does and when to reach for it
    Knobs knobs;
};

/// Designed with keldra-render: --response for the curve, pink noise at
/// -20 dBFS and the demo signal for the level. Each stays within about 1 dB
/// of its input's loudness (K-weighted), Loud Drive excepted, and none
/// clips the demo signal. "-" stays first: a saved Preset value of 0 and
/// every project made before the library keep meaning the defaults.
constexpr Preset kPresets[] = {
    {KeldraIdentity::kDefaultPresetName, "default", "Every knob at its default: the circuit nearly flat.",
     {0.0, 0.0, 0.0, 0.5, 0.5, 0.5, false}},
    {"Gentle Air Lift", "gentle-air-lift",
     "Tilts a dull recording brighter: about 4 dB more at 16 kHz than at 100 Hz, as loud as before.",
     {-3.6, 0.0, 0.0, 0.8, 0.5, 0.5, false}},
    {"Rumble Cut", "rumble-cut", "Removes stage rumble, wind and handling noise: 3 dB down at 45 Hz, steeply below.",
     {0.0, 0.72, 0.0, 0.5, 0.5, 0.5, false}},
    {"Vocal Presence", "vocal-presence",
     "Brings a voice forward, +2.5 dB around 2 kHz, and clears the rumble beneath it.",
     {-2.0, 0.72, 0.0, 0.5, 0.72, 0.45, false}},
    {"Warm Low End", "warm-low-end", "Body for thin sources: +3 dB below 200 Hz and a softer top, -2 dB at 5 kHz.",
     {-0.8, 0.0, 0.0, 0.44, 0.5, 0.66, false}},
    {"Telephone Band", "telephone-band",
     "Only the band a telephone carries, about 350 Hz to 1.5 kHz: an effect for voices.",
     {3.0, 0.96, -0.2, 0.5, 0.7, 0.5, false}},
    {"De-Mud", "de-mud",
     "Less boom and boxiness below 500 Hz against the presence range, so a crowded mix opens up.",
     {0.5, 0.6, 0.0, 0.5, 0.56, 0.3, false}},
    {"Master Polish", "master-polish",
     "A touch of weight at 60 Hz and sheen at 10 kHz for a whole mix, subsonics removed, oversampling on.",
     {-1.0, 0.55, 0.0, 0.56, 0.5, 0.54, true}},
    {"Loud Drive", "loud-drive",
     "Drives the circuit about 7 dB louder with fuller mids: here the level is the point.",
     {6.0, 0.0, 0.0, 0.5, 0.6, 0.55, true}},
    {"Tame Harsh Highs", "tame-harsh-highs", "Softens an edgy top, -2 dB at 5 kHz, with a little more weight below.",
     {1.0, 0.0, 0.0, 0.4, 0.42, 0.5, false}},
    {"Tight Bass", "tight-bass", "A firmer low end: +3.7 dB at 60 Hz, 3 dB down at 38 Hz and falling fast below.",
     {-0.5, 0.68, 0.0, 0.5, 0.5, 0.62, false}},
    {"Acoustic Sparkle", "acoustic-sparkle",
     "Opens up acoustic guitar or piano: +2 dB at 16 kHz, a little less around 200 Hz.",
     {-2.0, 0.6, 0.0, 0.7, 0.5, 0.42, false}},
    {"Thin Out", "thin-out", "Clears pads and rhythm parts out of the bass and kick's way: 3 dB down at 105 Hz.",
     {0.5, 0.88, 0.0, 0.5, 0.5, 0.38, false}},
};

constexpr int kCount = static_cast<int>(sizeof kPresets / sizeof kPresets[0]);

/// The plain value preset `preset` gives parameter `index`.
constexpr double ValueOf(const Preset& preset, int index)
{
    const Knobs& k = preset.knobs;
    switch (static_cast<KeldraParamId>(index)) {
    case KeldraParamId::kOut: return k.out;
    case KeldraParamId::kHighPass: return k.hpf;
    case KeldraParamId::kLowPass: return k.lpf;
    case KeldraParamId::kGainHigh: return k.gainH;
    case KeldraParamId::kGainMid: return k.gainM;
    case KeldraParamId::kGainLow: return k.gainL;
    case KeldraParamId::kBypass: return 0.0;
    case KeldraParamId::kOversampling: return k.oversample16 ? 1.0 : 0.0;
    }
    return 0.0;
}

constexpr bool DefaultPresetHoldsTheDefaults()
{
    for (int i = 0; i < kKeldraParamCount; ++i)
        if (ValueOf(kPresets[0], i) != KeldraIdentity::kParams[i].defaultValue)
            return false;
    return true;
}
static_assert(DefaultPresetHoldsTheDefaults(), "\"-\" is every parameter's default");

/// The index of the preset with `key`, or -1.
inline int FindByKey(const char* key)
{
    for (int i = 0; key != nullptr && i < kCount; ++i)
        if (std::strcmp(kPresets[i].key, key) == 0)
            return i;
    return -1;
}

/// Bytes of the state every format saves: each parameter's plain value as a
/// little-endian binary64 in index order, then the host bypass flag
/// (32-bit little-endian, 0: the preset leaves the host's bypass off).
constexpr int kStateBytes = kKeldraParamCount * 8 + 4;

/// The state a host saves once `preset` is loaded, as .vstpreset files and
/// LV2 preset states carry it.
inline std::array<std::uint8_t, kStateBytes> StateOf(const Preset& preset)
{
    std::array<std::uint8_t, kStateBytes> bytes{};
    for (int i = 0; i < kKeldraParamCount; ++i) {
        const double value = ValueOf(preset, i);
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        for (int b = 0; b < 8; ++b)
            bytes[static_cast<std::size_t>(8 * i + b)] = static_cast<std::uint8_t>(bits >> (8 * b));
    }
    return bytes;
}

} // namespace KeldraPresets
