// SPDX-License-Identifier: GPL-3.0-or-later
// Controller side of the binding: state, parameter answers, units and
// programs, and the base operations that report to the host.
#include "vst3/IEffectVST3.h"

#include "vst3/IEffectParameter.h"
#include "vst3/IEffectVST3View.h"
#include "vst3/IPresetParameter.h"
#include "vst3/WideText.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

using namespace Steinberg;
using namespace Steinberg::Vst;

tresult PLUGIN_API IEffectVST3::getParamStringByValue(ParamID id, ParamValue normalized, String128 text)
{
    TellHostOfProgramChange();
    const bool named = id < static_cast<ParamID>(GetParamCount()) ||
                       (id == kPresetParamId && GetPresetCount() > 0);
    if (!named || text == nullptr)
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
    TellHostOfProgramChange();
    if (id == kBypassParamId)
        return mBypassShown;
    if (id == kPresetParamId && GetPresetCount() > 0)
        return IPresetParameter::NormalizedFor(GetCurrentPreset(), GetPresetCount());
    Parameter* shown = FollowProcessor(id);
    return shown != nullptr ? shown->getNormalized() : 0.0;
}

tresult PLUGIN_API IEffectVST3::setParamNormalized(ParamID id, ParamValue value)
{
    TellHostOfProgramChange();
    if (id == kBypassParamId) {
        // A host restoring its own view of the bypass reads back what it
        // set; the processor hears of it through the next process queue.
        if (std::isnan(value))
            return kResultFalse;
        mBypassShown = std::clamp(value, 0.0, 1.0);
        return kResultOk;
    }
    Parameter* shown = FollowProcessor(id);
    if (shown == nullptr || std::isnan(value))
        return kResultFalse;
    // The controller's own copy: the processor hears of the value through
    // the process queues alone, so what it saves is what it sounds like.
    shown->setNormalized(GetParam(static_cast<int>(id))->SnappedNormalized(value));
    // The open panel shows what the host set, so the next drag starts from
    // there. Controls only take the value and mark themselves dirty; the
    // redraw tick paints them, once, however many values a host sets.
    if (IEditorContext* editor = GetEditor()) {
        std::lock_guard<std::recursive_mutex> hold(GetLock());
        editor->SetParameterFromPlugin(static_cast<int>(id), shown->getNormalized(), true);
    }
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
    // The presets belong to the whole plug-in, as the preset parameter does.
    info.programListId = index == 0 && GetPresetCount() > 0 ? static_cast<ProgramListID>(kPresetParamId)
                                                            : kNoProgramListId;
    return kResultOk;
}

int32 PLUGIN_API IEffectVST3::getProgramListCount()
{
    return GetPresetCount() > 0 ? 1 : 0;
}

tresult PLUGIN_API IEffectVST3::getProgramListInfo(int32 index, ProgramListInfo& info)
{
    if (index != 0 || GetPresetCount() < 1)
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

void IEffectVST3::ReportProgramChange() noexcept
{
    mProgramChanged.store(true, std::memory_order_release);
}

void IEffectVST3::TellHostOfProgramChange()
{
    if (!mProgramChanged.load(std::memory_order_acquire))
        return;
    ShowProcessorValues();
    if (componentHandler != nullptr && mProgramChanged.exchange(false, std::memory_order_acq_rel))
        componentHandler->restartComponent(kParamValuesChanged);
}

void IEffectVST3::ShowProcessorValues()
{
    for (int i = 0; i < GetParamCount(); ++i) {
        mSeenProcessorValues[static_cast<size_t>(i)] = -1.0;
        FollowProcessor(static_cast<ParamID>(i));
    }
}

Parameter* IEffectVST3::FollowProcessor(ParamID id)
{
    Parameter* shown = id < static_cast<ParamID>(GetParamCount()) ? getParameterObject(id) : nullptr;
    if (shown == nullptr)
        return nullptr;
    // A value the processor took since the last look (automation, a
    // restore, a preset) is what the controller shows from now on; a value
    // the host set here stays until then.
    const double now = GetParam(static_cast<int>(id))->GetNormalized();
    double& seen = mSeenProcessorValues[id];
    if (now != seen) {
        seen = now;
        shown->setNormalized(now);
    }
    return shown;
}

void IEffectVST3::OnEditorIdle()
{
    TellHostOfProgramChange();
}

void IEffectVST3::BeginParamGesture(int paramIdx)
{
    beginEdit(static_cast<ParamID>(paramIdx));
}

void IEffectVST3::ReportParamChange(int paramIdx, double normalized)
{
    FollowProcessor(static_cast<ParamID>(paramIdx));
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
    TellHostOfProgramChange();
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
