// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clap/ClapAbi.h"
#include "public.sdk/source/vst/vstparameters.h"

/// One CLAP parameter published to the host library's VST3 side: the plain
/// range maps linearly onto 0..1, and texts come from the plug-in's
/// value_to_text and text_to_value. Borrows the plug-in and its params
/// extension, which outlive the parameter.
class ClapParameter : public Steinberg::Vst::Parameter {
public:
    ClapParameter(const clap_param_info_t& info, const clap_plugin_t& plugin, const clap_plugin_params_t& params);

    /// [ui] The plug-in's text for the plain value of `normalized`.
    void toString(Steinberg::Vst::ParamValue normalized, Steinberg::Vst::String128 text) const SMTG_OVERRIDE;
    /// [ui] False when the plug-in refuses the text.
    bool fromString(const Steinberg::Vst::TChar* text, Steinberg::Vst::ParamValue& normalized) const SMTG_OVERRIDE;
    Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue normalized) const SMTG_OVERRIDE;
    Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue plain) const SMTG_OVERRIDE;

private:
    const clap_plugin_t& mPlugin;
    const clap_plugin_params_t& mParams;
    double mMin;
    double mMax;
};
