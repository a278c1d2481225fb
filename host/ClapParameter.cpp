// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/ClapParameter.h"

#include <algorithm>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

ClapParameter::ClapParameter(const clap_param_info_t& clapInfo, const clap_plugin_t& plugin,
                             const clap_plugin_params_t& params)
    : mPlugin(plugin), mParams(params), mMin(clapInfo.min_value), mMax(clapInfo.max_value)
{
    info.id = clapInfo.id;
    int i = 0;
    for (; clapInfo.name[i] != '\0' && i < 127; ++i)
        info.title[i] = static_cast<TChar>(static_cast<unsigned char>(clapInfo.name[i]));
    info.title[i] = 0;
    info.stepCount = (clapInfo.flags & CLAP_PARAM_IS_STEPPED) != 0 ? static_cast<int32>(mMax - mMin) : 0;
    info.defaultNormalizedValue = toNormalized(clapInfo.default_value);
    valueNormalized = info.defaultNormalizedValue;
    info.flags = ((clapInfo.flags & CLAP_PARAM_IS_AUTOMATABLE) != 0 ? ParameterInfo::kCanAutomate : 0) |
                 ((clapInfo.flags & CLAP_PARAM_IS_BYPASS) != 0 ? ParameterInfo::kIsBypass : 0);
    info.unitId = kRootUnitId;
}

void ClapParameter::toString(ParamValue normalized, String128 text) const
{
    char narrow[128] = {};
    if (!mParams.value_to_text(&mPlugin, info.id, toPlain(normalized), narrow, sizeof narrow))
        narrow[0] = '\0';
    int i = 0;
    for (; narrow[i] != '\0' && i < 127; ++i)
        text[i] = static_cast<TChar>(static_cast<unsigned char>(narrow[i]));
    text[i] = 0;
}

bool ClapParameter::fromString(const TChar* text, ParamValue& normalized) const
{
    std::string narrow;
    for (; text != nullptr && *text != 0; ++text)
        narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
    double plain = 0.0;
    if (!mParams.text_to_value(&mPlugin, info.id, narrow.c_str(), &plain))
        return false;
    normalized = toNormalized(plain);
    return true;
}

ParamValue ClapParameter::toPlain(ParamValue normalized) const
{
    return mMin + normalized * (mMax - mMin);
}

ParamValue ClapParameter::toNormalized(ParamValue plain) const
{
    return mMax > mMin ? (std::clamp(plain, mMin, mMax) - mMin) / (mMax - mMin) : 0.0;
}
