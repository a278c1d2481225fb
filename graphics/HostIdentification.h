// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Host kinds recorded by the plug-in base as its host id (which is
/// IEffectBase::kHostNotYetKnown until the host is identified). Nothing in the
/// program branches on them; they are kept for diagnostics.
enum class HostKind : int {
    kUnknown = 0,
    kReaper = 1,
    kProTools = 2,
    kCubase = 3,
    kNuendo = 4,
    kCakewalk = 5,
    kFruity = 7,
    kSamplitude = 8,
    kLive = 9,
    kMelodyne = 12,
    kVstManLib = 13,
    kAuLab = 14,
    kForte = 15,
    kChainer = 16,
    kAudition = 17,
    kOrion = 18,
    kSawStudio = 20,
    kLogic = 21,
    kGarageBand = 22,
    kDigital = 23,
    kStandalone = 24,
    kAudioMulch = 25,
    kPreSonus = 26,
    kVst3PluginTestHost = 27,
    kArdour = 28,
    kRenoise = 29,
    kOpenMpt = 30,
};

constexpr int kHostNameSize = 128;  ///< UTF-16 units read from the host, bytes kept

/// [any] Classifies a host name (NUL-terminated 8-bit text; nullptr counts as
/// empty) by the first key word of a fixed table that occurs in it, ignoring
/// the case of A..Z. kUnknown when no key word occurs.
HostKind ClassifyHostName(const char* name) noexcept;

/// [any] Narrows a host's UTF-16 name to 8-bit text: the low byte of each
/// unit, up to the terminating zero or kHostNameSize units; the last byte of
/// `name` is always zero, so at most 127 characters are kept.
void NarrowHostName(const char16_t* utf16, char (&name)[kHostNameSize]) noexcept;
