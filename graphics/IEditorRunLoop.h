// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

/// The host's event loop as an editor window sees it. The editor has no
/// threads of its own: the window host asks the loop to watch its display
/// connection and to run its redraw tick, and the format binding adapts the
/// host's own run loop to this interface. Implemented by the binding (and by
/// tests); borrowed by the window host, which unregisters everything it
/// registered before its window closes. [ui] only; callbacks run on the [ui]
/// thread.
class IEditorRunLoop {
public:
    using Callback = std::function<void()>;

    virtual ~IEditorRunLoop() = default;

    /// Calls `onReadable` whenever file descriptor `fd` has data to read.
    /// Returns a registration id above 0, or 0 when the loop refuses.
    virtual int RegisterFdHandler(int fd, Callback onReadable) = 0;
    /// Calls `onTick` every `periodMs` milliseconds. Returns a registration
    /// id above 0, or 0 when the loop refuses.
    virtual int RegisterTimer(int periodMs, Callback onTick) = 0;
    /// Ends registration `id` (from either call); unknown ids are ignored.
    /// The callback is not called again after this returns.
    virtual void Unregister(int id) = 0;
};
