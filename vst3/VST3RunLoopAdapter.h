// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/IEditorRunLoop.h"

#include "base/source/fobject.h"
#include "pluginterfaces/gui/iplugview.h"

#include <map>

/// The host's Linux run loop seen as the editor's run loop: every file
/// descriptor handler and timer the window host registers becomes a handler
/// object registered with the host, and is unregistered from it again.
///
/// Owned by the editor view for one attachment; the host's run loop is
/// borrowed (referenced while the adapter lives). Destroying the adapter
/// unregisters whatever is still registered. [ui]
class VST3RunLoopAdapter : public IEditorRunLoop {
public:
    explicit VST3RunLoopAdapter(Steinberg::Linux::IRunLoop& hostLoop);
    ~VST3RunLoopAdapter() override;
    VST3RunLoopAdapter(const VST3RunLoopAdapter&) = delete;
    VST3RunLoopAdapter& operator=(const VST3RunLoopAdapter&) = delete;

    int RegisterFdHandler(int fd, Callback onReadable) override;
    int RegisterTimer(int periodMs, Callback onTick) override;
    void Unregister(int id) override;

private:
    class Handler;
    struct Registration {
        Steinberg::IPtr<Handler> handler;
        bool isTimer = false;
    };

    void UnregisterFromHost(Registration& registration);

    Steinberg::IPtr<Steinberg::Linux::IRunLoop> mHostLoop;
    std::map<int, Registration> mRegistrations;
    int mNextId = 1;
};
