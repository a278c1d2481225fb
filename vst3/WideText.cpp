// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/WideText.h"

void WidenText(const char* src, Steinberg::Vst::String128 dst) noexcept
{
    // Parameter texts may carry a two-byte UTF-8 character ("16×"): such a
    // pair becomes its one code unit; every other byte is widened as it is.
    int i = 0;
    for (int in = 0; src != nullptr && src[in] != '\0' && i < kWideTextUnits - 1; ++i, ++in) {
        const auto lead = static_cast<unsigned char>(src[in]);
        const auto next = static_cast<unsigned char>(src[in + 1]);
        if (lead >= 0xC2 && lead <= 0xDF && (next & 0xC0) == 0x80) {
            dst[i] = static_cast<Steinberg::Vst::TChar>(((lead & 0x1F) << 6) | (next & 0x3F));
            ++in;
        } else {
            dst[i] = static_cast<Steinberg::Vst::TChar>(lead);
        }
    }
    for (; i < kWideTextUnits; ++i)
        dst[i] = 0;
}

std::string NarrowText16(const Steinberg::Vst::TChar* src)
{
    std::string text;
    for (int i = 0; src != nullptr && i < kWideTextUnits && src[i] != 0; ++i)
        text += static_cast<char>(src[i] & 0xFF);
    return text;
}
