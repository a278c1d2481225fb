// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "public.sdk/source/common/pluginview.h"

#include "graphics/EditorAttachment.h"

#include <memory>

class IEffectVST3;
class IEditorRunLoop;

/// The editor view a VST3 host asks for: it opens and closes the window of
/// the plug-in's graphics context inside the host's window and reports its
/// size. The graphics context outlives any number of views.
///
/// Created by IEffectVST3::createView and owned by the host through
/// reference counting; the view holds one reference to its plug-in for its
/// whole life and is listed in the plug-in's views until destroyed.
///
/// HiDPI: the host's content scale enlarges the window and the presented
/// image; layout, hit testing and drawing stay in editor pixels.
///
/// Every operation is called on the host's user-interface thread [ui].
class IEffectVST3View : public Steinberg::CPluginView, public Steinberg::IPlugViewContentScaleSupport {
public:
    /// The window system type of this platform ("X11EmbedWindowID" on Linux,
    /// "HWND" on Windows).
    static const char* const kPlatformType;

    /// References `plug` and appends the view to its view list.
    explicit IEffectVST3View(IEffectVST3& plug);
    /// Removes only this view from the plug-in's list, then releases the plug-in.
    ~IEffectVST3View() override;

    // ---- IPlugView -----------------------------------------------------------
    /// kResultTrue only for kPlatformType, and only with a graphics context.
    Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) SMTG_OVERRIDE;
    /// Opens the editor window inside `parent` (events and the redraw tick
    /// come through the frame's run loop, when it offers one), then
    /// OnEditorOpened. kResultFalse for another type, without a graphics
    /// context, or when the window could not be opened.
    Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) SMTG_OVERRIDE;
    /// OnEditorClosed, closes the window and forgets the run loop, when this
    /// view opened the editor's window and no other view has opened it
    /// since. kResultOk.
    Steinberg::tresult PLUGIN_API removed() SMTG_OVERRIDE;
    /// (0, 0, width, height) of the editor times the content scale, also
    /// before attaching. kResultFalse without a graphics context.
    Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) SMTG_OVERRIDE;
    /// Stores the host's rectangle; answers a resize this view asked for by
    /// calling the plug-in's OnEditorResized. kResultTrue.
    Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) SMTG_OVERRIDE;
    /// kResultFalse: the panel has one size (a larger frame shows the
    /// window's surround beyond it).
    Steinberg::tresult PLUGIN_API canResize() SMTG_OVERRIDE;
    /// Sets `rect` to the one size, at its place; kResultTrue.
    /// kResultFalse without a graphics context or a rectangle.
    Steinberg::tresult PLUGIN_API checkSizeConstraint(Steinberg::ViewRect* rect) SMTG_OVERRIDE;

    // ---- IPlugViewContentScaleSupport -----------------------------------------
    /// Window pixels per editor pixel; factors below 1 or not finite count
    /// as 1. An attached view asks its frame for the new size. kResultFalse
    /// when the graphics context has no window that could scale.
    Steinberg::tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) SMTG_OVERRIDE;

    /// Asks the host frame to resize this view to `width` x `height` editor
    /// pixels (times the content scale); the host answers with onSize.
    /// False without a frame or when the host refuses.
    bool RequestResize(int width, int height);

    OBJ_METHODS(IEffectVST3View, CPluginView)
    DEFINE_INTERFACES
        DEF_INTERFACE(Steinberg::IPlugViewContentScaleSupport)
    END_DEFINE_INTERFACES(CPluginView)
    REFCOUNT_METHODS(CPluginView)

private:
    IEffectVST3* mPlug;
    bool mExpectingNewSize = false;
    /// The frame's run loop as the window host sees it, for one attachment.
    std::unique_ptr<IEditorRunLoop> mRunLoop;
    EditorAttachment mAttachment;
};
