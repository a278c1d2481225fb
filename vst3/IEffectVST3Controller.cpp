// SPDX-License-Identifier: GPL-3.0-or-later
// Controller side of the binding: state, parameter answers, units and
// programs, and the base operations that report to the host.
#include "vst3/IEffectVST3.h"

#include "vst3/IEffectParameter.h"
#include "vst3/IEffectVST3View.h"
#include "vst3/WideText.h"
#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

/// Bytes of the bypass flag behind the parameter values.
constexpr int32 kBypassFlagBytes = 4;

void PutLittleEndian32(int32 value, uint8 (&bytes)[kBypassFlagBytes])
{
    for (int i = 0; i < kBypassFlagBytes; ++i)
        bytes[i] = static_cast<uint8>(static_cast<uint32>(value) >> (8 * i));
}

int32 GetLittleEndian32(const uint8 (&bytes)[kBypassFlagBytes])
{
    uint32 value = 0;
    for (int i = 0; i < kBypassFlagBytes; ++i)
        value |= static_cast<uint32>(bytes[i]) << (8 * i);
    return static_cast<int32>(value);
}

} // namespace

tresult IEffectVST3::getControllerState(IBStream* stream)
{
    if (stream == nullptr)
        return kResultFalse;
    std::lock_guard<std::recursive_mutex> hold(GetLock());
    IStateChunk chunk(IStateChunk::kDefaultGranularity);
    if (!SaveState(chunk))
        return kResultFalse;
    int32 written = 0;
    if (chunk.Size() > 0 && (stream->write(chunk.Data(), chunk.Size(), &written) != kResultOk ||
                             written != chunk.Size()))
        return kResultFalse;
    uint8 flag[kBypassFlagBytes];
    PutLittleEndian32(IsBypassed() ? 1 : 0, flag);
    if (stream->write(flag, kBypassFlagBytes, &written) != kResultOk || written != kBypassFlagBytes)
        return kResultFalse;
    return kResultOk;
}

tresult IEffectVST3::setControllerState(IBStream* stream)
{
    if (stream == nullptr)
        return kResultFalse;
    std::lock_guard<std::recursive_mutex> hold(GetLock());
    // The chunk starts out holding the current values, so values the stream
    // does not supply stay as they are.
    IStateChunk chunk(IStateChunk::kDefaultGranularity);
    if (!SaveState(chunk) || chunk.Size() <= 0)
        return kResultFalse;
    const int32 size = chunk.Size();
    std::vector<uint8> current(chunk.Data(), chunk.Data() + size);
    int32 got = 0;
    if (stream->read(chunk.Data(), size, &got) != kResultOk || got < 0 || got > size)
        got = 0;
    // A value cut off by the end of the stream would mix new and old bytes
    // into a meaningless number: it keeps its old bytes instead.
    const int32 whole = got - got % static_cast<int32>(sizeof(double));
    std::memcpy(chunk.Data() + whole, current.data() + whole, static_cast<size_t>(size - whole));
    LoadState(chunk, 0);

    uint8 flag[kBypassFlagBytes] = {};
    int32 flagBytes = 0;
    if (stream->read(flag, kBypassFlagBytes, &flagBytes) != kResultOk || flagBytes != kBypassFlagBytes)
        return kResultFalse;
    SetHostBypass(GetLittleEndian32(flag) != 0);
    RefreshEditorControls();
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3::getParamStringByValue(ParamID id, ParamValue normalized, String128 text)
{
    if (id >= static_cast<ParamID>(GetParamCount()) || text == nullptr)
        return kResultFalse;
    Parameter* parameter = getParameterObject(id);
    if (parameter == nullptr)
        return kResultFalse;
    parameter->toString(normalized, text);
    return kResultOk;
}

ParamValue PLUGIN_API IEffectVST3::plainParamToNormalized(ParamID id, ParamValue plain)
{
    if (id >= static_cast<ParamID>(GetParamCount()))
        return plain;
    return GetParam(static_cast<int>(id))->PlainToNormalized(plain);
}

ParamValue PLUGIN_API IEffectVST3::getParamNormalized(ParamID id)
{
    if (id == kBypassParamId)
        return mBypassShown;
    if (id >= static_cast<ParamID>(GetParamCount()))
        return 0.0;
    return GetParam(static_cast<int>(id))->GetNormalized();
}

tresult PLUGIN_API IEffectVST3::setParamNormalized(ParamID id, ParamValue value)
{
    if (id == kBypassParamId) {
        // A host restoring its own view of the bypass reads back what it
        // set; the processor hears of it through the next process queue.
        if (std::isnan(value))
            return kResultFalse;
        mBypassShown = std::clamp(value, 0.0, 1.0);
        return kResultOk;
    }
    if (id >= static_cast<ParamID>(GetParamCount()))
        return kResultFalse;
    GetParam(static_cast<int>(id))->SetFromNormalized(value);
    return kResultOk;
}

int32 PLUGIN_API IEffectVST3::getUnitCount()
{
    return static_cast<int32>(GetGroupNames().size()) + 1;
}

tresult PLUGIN_API IEffectVST3::getUnitInfo(int32 index, UnitInfo& info)
{
    const int32 groups = static_cast<int32>(GetGroupNames().size());
    if (index < 0 || index > groups)
        return kResultFalse;
    info.id = index;
    info.parentUnitId = index == 0 ? kNoParentUnitId : kRootUnitId;
    WidenText(index == 0 ? "Root Unit" : GetGroupNames()[static_cast<size_t>(index - 1)], info.name);
    info.programListId = kNoProgramListId;
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3::getProgramListInfo(int32 index, ProgramListInfo& info)
{
    if (index != 0)
        return kResultFalse;
    info.id = kPresetParamId;
    WidenText("Factory Presets", info.name);
    info.programCount = GetPresetCount();
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3::getProgramName(ProgramListID listId, int32 index, String128 name)
{
    if (listId != static_cast<ProgramListID>(kPresetParamId) || name == nullptr)
        return kResultFalse;
    WidenText(index >= 0 && index < GetPresetCount() ? GetPreset(index)->Name() : "", name);
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3::getProgramInfo(ProgramListID, int32, Vst::CString, String128)
{
    return kNotImplemented;
}

tresult PLUGIN_API IEffectVST3::hasProgramPitchNames(ProgramListID, int32)
{
    return kNotImplemented;
}

tresult PLUGIN_API IEffectVST3::getProgramPitchName(ProgramListID, int32, int16, String128)
{
    return kNotImplemented;
}

tresult PLUGIN_API IEffectVST3::selectUnit(UnitID)
{
    return kNotImplemented;
}

tresult PLUGIN_API IEffectVST3::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID&)
{
    return kNotImplemented;
}

tresult PLUGIN_API IEffectVST3::setUnitProgramData(int32, int32, IBStream*)
{
    return kNotImplemented;
}

void IEffectVST3::BeginParamGesture(int paramIdx)
{
    beginEdit(static_cast<ParamID>(paramIdx));
}

void IEffectVST3::ReportParamChange(int paramIdx, double normalized)
{
    performEdit(static_cast<ParamID>(paramIdx), normalized);
}

void IEffectVST3::EndParamGesture(int paramIdx)
{
    endEdit(static_cast<ParamID>(paramIdx));
}

void IEffectVST3::PopupHostContextMenu(int paramIdx, int x, int y)
{
    if (componentHandler == nullptr || mViews.empty())
        return;
    FUnknownPtr<IComponentHandler3> handler(componentHandler);
    if (!handler)
        return;
    ParamID id = static_cast<ParamID>(paramIdx);
    if (IContextMenu* menu = handler->createContextMenu(mViews.front(), &id)) {
        menu->popup(static_cast<UCoord>(x), static_cast<UCoord>(y));
        menu->release();
    }
}

bool IEffectVST3::IsOfflineRender() const noexcept
{
    return processSetup.processMode == kOffline;
}

int IEffectVST3::GetSamplePosition() const noexcept
{
    return static_cast<int>(mContext.projectTimeSamples);
}

double IEffectVST3::GetTempo() const noexcept
{
    return mContext.tempo;
}

void IEffectVST3::GetTimeSignature(int& numerator, int& denominator) const noexcept
{
    numerator = mContext.timeSigNumerator;
    denominator = mContext.timeSigDenominator;
}

void IEffectVST3::GetTransportInfo(ITransportInfo& info) const noexcept
{
    info.tempo = mContext.tempo;
    info.samplePosition = static_cast<double>(mContext.projectTimeSamples);
    info.quarterNotePosition = mContext.projectTimeMusic;
    info.lastBarPosition = mContext.barPositionMusic;
    info.cycleStart = mContext.cycleStartMusic;
    info.cycleEnd = mContext.cycleEndMusic;
    info.numerator = mContext.timeSigNumerator;
    info.denominator = mContext.timeSigDenominator;
    info.transportRunning = (mContext.state & ProcessContext::kPlaying) != 0;
    info.loopEnabled = (mContext.state & ProcessContext::kCycleActive) != 0;
}

bool IEffectVST3::ResizeEditor(int width, int height)
{
    if (GetEditor() == nullptr || mViews.empty())
        return false;
    auto* view = dynamic_cast<IEffectVST3View*>(mViews.front());
    return view != nullptr && view->RequestResize(width, height);
}

IPlugView* PLUGIN_API IEffectVST3::createView(FIDString name)
{
    if (name == nullptr || std::strcmp(name, "editor") != 0)
        return nullptr;
    return new IEffectVST3View(*this);
}

void IEffectVST3::RemoveView(IPlugView* view)
{
    mViews.erase(std::remove(mViews.begin(), mViews.end(), view), mViews.end());
}

bool IEffectVST3::SendMidiMessage(const IMidiMessage&) noexcept
{
    return false;
}

bool IEffectVST3::SendSysexMessage(const ISysexMessage&) noexcept
{
    return false;
}
