// SPDX-License-Identifier: GPL-3.0-or-later
// Parameters and state of the CLAP binding.
#include "clap/IEffectCLAP.h"

#include "framework/CopyText.h"
#include "framework/DecimalText.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

void CopyOut(const char* text, char* out, uint32_t capacity) noexcept
{
    if (capacity == 0)
        return;
    std::strncpy(out, text, capacity - 1);
    out[capacity - 1] = '\0';
}

} // namespace

uint32_t IEffectCLAP::ParamCount() const noexcept
{
    return static_cast<uint32_t>(GetParamCount()) + (IsInstrument() ? 0u : 1u);
}

bool IEffectCLAP::ParamInfo(uint32_t index, clap_param_info_t& info) const noexcept
{
    info = clap_param_info_t{};
    if (index < static_cast<uint32_t>(GetParamCount())) {
        const IParamRecord& record = *GetParam(static_cast<int>(index));
        info.id = index;
        info.flags = (record.CanAutomate() ? CLAP_PARAM_IS_AUTOMATABLE : 0u) |
                     (record.IsStepped() ? CLAP_PARAM_IS_STEPPED : 0u);
        CopyText(info.name, record.Name());
        info.min_value = record.Min();
        info.max_value = record.Max();
        info.default_value = record.Default();
        return true;
    }
    if (index != static_cast<uint32_t>(GetParamCount()) || IsInstrument())
        return false;
    info.id = kBypassParamId;
    info.flags = CLAP_PARAM_IS_AUTOMATABLE | CLAP_PARAM_IS_STEPPED | CLAP_PARAM_IS_BYPASS;
    CopyText(info.name, "Bypass");
    info.min_value = 0.0;
    info.max_value = 1.0;
    info.default_value = 0.0;
    return true;
}

bool IEffectCLAP::ParamValue(clap_id id, double& value) const noexcept
{
    if (id == kBypassParamId) {
        value = IsBypassed() ? 1.0 : 0.0;
        return true;
    }
    if (id >= static_cast<clap_id>(GetParamCount()))
        return false;
    value = GetParam(static_cast<int>(id))->Value();
    return true;
}

bool IEffectCLAP::ValueToText(clap_id id, double value, char* text, uint32_t capacity) const noexcept
{
    if (text == nullptr || capacity == 0 || std::isnan(value))
        return false;
    if (id == kBypassParamId) {
        CopyOut(value > 0.5 ? "on" : "off", text, capacity);
        return true;
    }
    if (id >= static_cast<clap_id>(GetParamCount()))
        return false;
    // The text path truncates the plain value to an integer, which is only
    // defined for values inside the range.
    const IParamRecord& record = *GetParam(static_cast<int>(id));
    char narrow[IParamRecord::kTextSize] = {};
    record.FormatForHost(std::clamp(value, record.Min(), record.Max()), narrow, sizeof narrow);
    CopyOut(narrow, text, capacity);
    return true;
}

bool IEffectCLAP::TextToValue(clap_id id, const char* text, double& value) const noexcept
{
    if (text == nullptr)
        return false;
    if (id == kBypassParamId) {
        double number = 0.0;
        if (std::strcmp(text, "off") == 0 || std::strcmp(text, "on") == 0)
            value = text[1] == 'n' ? 1.0 : 0.0;
        else if (ReadWholeDecimal(text, number))
            value = number > 0.5 ? 1.0 : 0.0;
        else
            return false;
        return true;
    }
    if (id >= static_cast<clap_id>(GetParamCount()))
        return false;
    const IParamRecord& record = *GetParam(static_cast<int>(id));
    double plain = 0.0;
    if (record.HasTextUnits() ? !record.ParseFromHost(text, plain) : !ReadWholeDecimal(text, plain))
        return false;
    value = std::clamp(plain, record.Min(), record.Max());
    return true;
}

bool IEffectCLAP::SaveStateTo(const clap_ostream_t& stream) noexcept
{
    // The host's stream is written outside the lock.
    const auto bytes = MakeStateBuffer();
    if (bytes == nullptr || !WriteStateChunk(bytes.get(), static_cast<size_t>(StateChunkBytes())))
        return false;
    const uint8_t* data = bytes.get();
    int64_t left = StateChunkBytes();
    while (left > 0) {
        const int64_t written = stream.write(&stream, data, static_cast<uint64_t>(left));
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

bool IEffectCLAP::LoadStateFrom(const clap_istream_t& stream) noexcept
{
    // The stream is read outside the lock, into a buffer of the state's size.
    const auto bytes = MakeStateBuffer();
    if (bytes == nullptr)
        return false;
    const int64_t size = StateChunkBytes();
    int64_t got = 0;
    while (got < size) {
        const int64_t read = stream.read(&stream, bytes.get() + got, static_cast<uint64_t>(size - got));
        if (read <= 0)
            break;
        got += read;
    }
    return ReadStateChunk(bytes.get(), static_cast<size_t>(got)) == StateRead::kWhole;
}
