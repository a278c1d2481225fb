// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/HostIdentification.h"

#include <cstring>

namespace {

struct HostKey {
    const char* key;
    HostKind kind;
};

// Tested in this order; the first key found decides, wherever it occurs.
constexpr HostKey kHostKeys[] = {
    {"cubase", HostKind::kCubase},
    {"reaper", HostKind::kReaper},
    {"nuendo", HostKind::kNuendo},
    {"cakewalk", HostKind::kCakewalk},
    {"samplitude", HostKind::kSamplitude},
    {"fruity", HostKind::kFruity},
    {"live", HostKind::kLive},
    {"melodyne", HostKind::kMelodyne},
    {"vstmanlib", HostKind::kVstManLib},
    {"aulab", HostKind::kAuLab},
    {"garageband", HostKind::kGarageBand},
    {"forte", HostKind::kForte},
    {"chainer", HostKind::kChainer},
    {"audition", HostKind::kAudition},
    {"orion", HostKind::kOrion},
    {"sawstudio", HostKind::kSawStudio},
    {"logic", HostKind::kLogic},
    {"digital", HostKind::kDigital},
    {"audiomulch", HostKind::kAudioMulch},
    {"presonus", HostKind::kPreSonus},
    {"vst3plugintesthost", HostKind::kVst3PluginTestHost},
    {"protools", HostKind::kProTools},
    {"ardour", HostKind::kArdour},
    {"openmpt", HostKind::kOpenMpt},
    {"renoise", HostKind::kRenoise},
    {"standalone", HostKind::kStandalone},
};

constexpr int kLowerCaseSize = 256;

}  // namespace

HostKind ClassifyHostName(const char* name) noexcept
{
    char lower[kLowerCaseSize] = {};
    if (name) {
        // Only A..Z change: the name's other bytes may be any 8-bit code.
        for (int i = 0; i < kLowerCaseSize - 1 && name[i] != '\0'; ++i) {
            const char c = name[i];
            lower[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    for (const HostKey& entry : kHostKeys) {
        if (std::strstr(lower, entry.key)) {
            return entry.kind;
        }
    }
    return HostKind::kUnknown;
}

void NarrowHostName(const char16_t* utf16, char (&name)[kHostNameSize]) noexcept
{
    name[0] = '\0';
    if (utf16) {
        for (int i = 0; i < kHostNameSize; ++i) {
            name[i] = static_cast<char>(utf16[i] & 0xFF);
            if (utf16[i] == 0) {
                break;
            }
        }
    }
    name[kHostNameSize - 1] = '\0';
}
