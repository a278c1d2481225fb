// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clap/ClapAbi.h"
#include "graphics/EditorAttachment.h"

#include <memory>

class ClapRunLoopAdapter;
class IEffectCLAP;

/// The gui extension of the CLAP binding: the editor's window embedded in
/// the host's window (X11 on Linux, Win32 on Windows; never floating). On
/// Linux the editor's redraw tick and X connection run on the host's
/// timer-support and posix-fd-support. The editor keeps its fixed size.
/// Owned by the binding; every call comes on the host's main thread. [main]
class ClapEditorGui {
public:
    explicit ClapEditorGui(IEffectCLAP& plug);
    ~ClapEditorGui();

    /// This system's window api, embedded, and only with an editor.
    bool IsApiSupported(const char* api, bool isFloating) const;
    bool PreferredApi(const char** api, bool* isFloating) const;
    bool Create(const char* api, bool isFloating);
    /// Closes the editor window if this gui opened it.
    void Destroy();
    /// Window pixels per editor pixel (below 1 counts as 1); false without
    /// an editor or for a factor that is not a number.
    bool SetScale(double scale);
    /// The window's size in pixels, also before it opens.
    bool GetSize(uint32_t& width, uint32_t& height) const;
    /// The panel has one size: the hints say neither side resizes (true
    /// with an editor, so that a host asking for them gets an answer).
    bool GetResizeHints(clap_gui_resize_hints_t& hints) const;
    /// The fixed size is the only size: true when the host proposes it.
    bool AdjustSize(uint32_t& width, uint32_t& height) const;
    bool SetSize(uint32_t width, uint32_t height) const;
    /// Opens the editor window inside `window`, then OnEditorOpened.
    bool SetParent(const clap_window_t& window);
    /// The window is shown when it opens and stays while the host shows it.
    bool Show() const { return mAttachment.Window() != nullptr; }
    bool Hide() const { return mAttachment.Window() != nullptr; }
    /// The host's timer and descriptor calls, passed to the editor's loop.
    void OnTimer(clap_id timerId);
    void OnFd(int fd);
    /// [ui] Asks the host for a window of `width` x `height` editor pixels.
    bool RequestResize(int width, int height) const;

private:
    IEffectCLAP& mPlug;
    bool mCreated = false;
    std::unique_ptr<ClapRunLoopAdapter> mRunLoop;
    EditorAttachment mAttachment;
};
