// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "host/HostObject.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <mutex>
#include <vector>

/// What a plug-in reported to its host through the component handler.
struct HostEdit {
    enum class Kind { Begin, Perform, End, Restart };
    Kind kind = Kind::Perform;
    Steinberg::Vst::ParamID id = 0;
    double value = 0.0; ///< normalised value (Perform) or restart flags (Restart)
};

/// The host's component handler: records every gesture, edit and restart
/// request in order so that callers can inspect them.
class HostComponentHandler : public HostObject<Steinberg::Vst::IComponentHandler> {
public:
    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                              Steinberg::Vst::ParamValue value) override;
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;

    /// [any] A copy of everything recorded so far.
    std::vector<HostEdit> Edits() const;
    /// [any] Forgets everything recorded.
    void Clear();

private:
    void Record(const HostEdit& edit);

    mutable std::mutex mMutex;
    std::vector<HostEdit> mEdits;
};
