// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/WideText.h"

void WidenText(const char* src, Steinberg::Vst::String128 dst) noexcept
{
    int i = 0;
    for (; src != nullptr && src[i] != '\0' && i < kWideTextUnits - 1; ++i)
        dst[i] = static_cast<Steinberg::Vst::TChar>(static_cast<unsigned char>(src[i]));
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
