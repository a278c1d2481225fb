// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/HostComponentHandler.h"

using Steinberg::kResultOk;
using Steinberg::tresult;
using Steinberg::Vst::ParamID;

// Plug-ins may report edits from any thread, so the record is guarded.
void HostComponentHandler::Record(const HostEdit& edit)
{
    std::lock_guard<std::mutex> hold(mMutex);
    mEdits.push_back(edit);
}

tresult PLUGIN_API HostComponentHandler::beginEdit(ParamID id)
{
    Record({HostEdit::Kind::Begin, id, 0.0});
    return kResultOk;
}

tresult PLUGIN_API HostComponentHandler::performEdit(ParamID id, Steinberg::Vst::ParamValue value)
{
    Record({HostEdit::Kind::Perform, id, value});
    return kResultOk;
}

tresult PLUGIN_API HostComponentHandler::endEdit(ParamID id)
{
    Record({HostEdit::Kind::End, id, 0.0});
    return kResultOk;
}

tresult PLUGIN_API HostComponentHandler::restartComponent(Steinberg::int32 flags)
{
    Record({HostEdit::Kind::Restart, 0, static_cast<double>(flags)});
    return kResultOk;
}

std::vector<HostEdit> HostComponentHandler::Edits() const
{
    std::lock_guard<std::mutex> hold(mMutex);
    return mEdits;
}

void HostComponentHandler::Clear()
{
    std::lock_guard<std::mutex> hold(mMutex);
    mEdits.clear();
}
