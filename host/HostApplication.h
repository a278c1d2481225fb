// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "host/HostObject.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

#include <string>

/// The host context given to a plug-in's initialize: it names the host.
class HostApplication : public HostObject<Steinberg::Vst::IHostApplication> {
public:
    /// [any] `name` is reported by getName (8-bit text, widened unit by unit).
    explicit HostApplication(std::string name = "keldra-host");

    /// [ui] Writes the host name as UTF-16 (at most 127 units and a zero).
    Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override;
    /// [ui] This host creates no messages or attribute lists: kResultFalse.
    Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID cid, Steinberg::TUID iid,
                                                 void** obj) override;

private:
    std::string mName;
};
