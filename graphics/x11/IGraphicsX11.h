// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/IPlatformGraphics.h"
#include "graphics/TextEntrySession.h"

#include <memory>

/// The Linux window host: the editor as an X11 child window of the window id
/// a host gives to OpenEditorWindow (XEmbed, mapped), on a display connection
/// of its own. X events and the redraw tick come through the host's run
/// loop (IEditorRunLoop), registered while the window is open; without a
/// loop the window is painted once and shows that image. Presses grab the
/// pointer (the capture), the panel at the content scale (PresentationOf) is
/// copied to the window with XPutImage; text entry, tooltips and popup
/// menus are small windows of its own; dialogs, the browser, folders and the
/// clipboard are the Linux desktop services. [ui] only.
class IGraphicsX11 final : public IPlatformGraphics {
public:
    IGraphicsX11(IEffectBase* plug, int width, int height, int fps);
    /// Closes the window.
    ~IGraphicsX11() override;

    // ---- IPlatformGraphics ------------------------------------------------------

    void SetRunLoop(IEditorRunLoop* loop) override;
    void SetContentScale(double scale) override;
    double ContentScale() const override;
    int WindowWidth() const override;
    int WindowHeight() const override;

    // ---- IGraphics ----------------------------------------------------------------

    /// Copies `rect` (editor pixels) of the draw surface to the window.
    bool PresentArea(const PixelRect& rect) override;
    void CancelValueEntry() override;
    /// The base behaviour, then an open window takes the new size (times the
    /// content scale) and is repainted whole. Nothing for the current size.
    void Resize(int width, int height) override;
    const char* GraphicsApiName() const override;
    int ShowMessage(const char* text, const char* caption, int type) override;
    PopupMenu* RunPopupMenu(PopupMenu& menu, const PixelRect& rect) override;
    void OpenTextEntry(IControl* control, const TextStyle& style, const PixelRect& rect,
                       const char* initialText, IParamRecord* param) override;
    std::string HostFolder() override;
    std::string PluginFolder() override;
    std::string DesktopFolder() override;
    std::string AppDataFolder(bool system) override;
    std::string UserAppDataFolder() override;
    void ChooseFile(std::string& path, int action, std::string& folder,
                    const char* extensions) override;
    bool ChooseColour(ArgbColor& colour, const char* prompt) override;
    bool OpenWebPage(const char* url, const char* title, const char* confirmText,
                     const char* failureText) override;
    /// `parent` is the X window id of the host's window. An open window is
    /// closed first (the new one keeps its position). Returns the editor
    /// window's id, or null when it could not be made.
    void* OpenEditorWindow(void* parent) override;
    void CloseEditorWindow() override;
    void* NativeWindow() const override;
    bool ReadClipboardText(std::string& text) override;
    /// Hides the pointer over the editor, remembering where it is.
    void ConcealCursor() override;
    /// Shows the pointer again where it was hidden.
    void RestoreCursor() override;
    std::unique_ptr<PIX_IBitmap> LoadImageResource(int resourceId, const char* name) override;

    // ---- what the run loop calls (public for hosts that drive it by hand) ----

    /// Handles every event waiting on the display connection.
    void ProcessPendingEvents();
    /// One redraw tick.
    void Tick();

    /// The value entry in progress (state 0 and closed when none).
    const TextEntrySession& Entry() const noexcept;
    /// The entry box's window id, 0 when none is open.
    unsigned long EntryBoxWindow() const noexcept;

private:
    struct Impl;
    std::unique_ptr<Impl> mImpl;
};
