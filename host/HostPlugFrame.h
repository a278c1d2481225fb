// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "host/HostObject.h"

#include "pluginterfaces/gui/iplugview.h"

#if SMTG_OS_LINUX
#include "host/HostRunLoop.h"
#else
// Only Linux editors ask their frame for a run loop; elsewhere a frame has none.
class HostRunLoop;
#endif

#include <vector>

/// The frame a host gives an editor view (setFrame): it grants resize
/// requests at once by answering with the view's onSize, and, when it was
/// given a run loop, offers it to the plug-in as the frame's
/// Linux::IRunLoop. The run loop is borrowed and must outlive the frame. [ui]
class HostPlugFrame : public HostObject<Steinberg::IPlugFrame> {
public:
    /// `runLoop` null: a host without a run loop.
    explicit HostPlugFrame(HostRunLoop* runLoop = nullptr) : mRunLoop(runLoop) {}

    /// Also answers Linux::IRunLoop with the run loop, when there is one.
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    /// Records the request and calls `view`'s onSize with it. kResultOk.
    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view, Steinberg::ViewRect* newSize) override;

    /// Sizes asked for by resizeView, oldest first.
    const std::vector<Steinberg::ViewRect>& ResizeRequests() const noexcept { return mResizes; }

private:
    HostRunLoop* mRunLoop;
    std::vector<Steinberg::ViewRect> mResizes;
};
