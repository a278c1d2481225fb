// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clap/ClapAbi.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "public.sdk/source/common/pluginview.h"

#include <memory>

class ClapEffectAdapter;
class ClapHostLoop;

/// The editor view of a CLAP plug-in as the host library's VST3 side asks
/// for it: attached / removed / getSize / content scale become the plug-in's
/// gui calls (create, set_parent, show, destroy, get_size, set_scale). On
/// Linux the frame's run loop serves the plug-in's timers and file
/// descriptors while the view is attached. Created by
/// ClapEffectAdapter::createView; owned by the host through reference
/// counting, holding one reference to the adapter. [ui]
class ClapPlugView : public Steinberg::CPluginView, public Steinberg::IPlugViewContentScaleSupport {
public:
    ClapPlugView(ClapEffectAdapter& adapter, const clap_plugin_gui_t& gui);
    ~ClapPlugView() override;

    Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API removed() SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) SMTG_OVERRIDE;
    /// The gui's can_resize, and its resize hints (which a plug-in that
    /// cannot resize must still give) with adjust_size for a proposed size.
    Steinberg::tresult PLUGIN_API canResize() SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API checkSizeConstraint(Steinberg::ViewRect* rect) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) SMTG_OVERRIDE;

    /// [ui] The plug-in asks for a new size (window pixels): the frame is
    /// asked to resize the view.
    bool RequestResize(uint32_t width, uint32_t height);
    /// [ui] The run loop lent to the plug-in while attached (Linux), or null.
    ClapHostLoop* Loop() const { return mLoop.get(); }

    OBJ_METHODS(ClapPlugView, CPluginView)
    DEFINE_INTERFACES
        DEF_INTERFACE(Steinberg::IPlugViewContentScaleSupport)
    END_DEFINE_INTERFACES(CPluginView)
    REFCOUNT_METHODS(CPluginView)

private:
    ClapEffectAdapter& mAdapter;
    const clap_plugin_gui_t& mGui;
    bool mCreated = false;
    std::unique_ptr<ClapHostLoop> mLoop;
};
