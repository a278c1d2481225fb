// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/IPlatformGraphics.h"
#include "graphics/TextEntrySession.h"

#include <memory>

/// The Windows window host: the editor as a Win32 child window (class
/// "IEditorWndClass", title "IEditor") of the window a host gives to
/// OpenEditorWindow. Its window procedure turns messages into the graphics
/// context's handlers, its timer (identifier 2, 1000 / fps ms) runs the
/// redraw tick and the text entry, and WM_PAINT copies the invalid area of
/// the panel at the content scale (PresentationOf) to the window. The text
/// entry is an "EDIT" child (identifier 99) with a replaced window
/// procedure; tooltips are a "tooltips_class32" window; menus, the web
/// page, dialogs, folders and the clipboard are the Windows shell services.
/// Messages come through the host's own message loop, so no run loop is
/// needed. [ui] only: the thread that owns the host's window.
class IGraphicsWin final : public IPlatformGraphics {
public:
    IGraphicsWin(IEffectBase* plug, int width, int height, int fps);
    /// Closes the window.
    ~IGraphicsWin() override;

    // ---- IPlatformGraphics ------------------------------------------------------

    /// Ignored: the window's messages and timer come through the thread's
    /// message loop.
    void SetRunLoop(IEditorRunLoop* loop) override;
    void SetContentScale(double scale) override;
    double ContentScale() const override;
    int WindowWidth() const override;
    int WindowHeight() const override;

    // ---- IGraphics ----------------------------------------------------------------

    /// Copies `rect` (editor pixels) of the draw surface to the window,
    /// inside BeginPaint/EndPaint.
    bool PresentArea(const PixelRect& rect) override;
    /// The next tick discards the open entry.
    void CancelValueEntry() override;
    /// The base behaviour, then an open window takes the new size (times the
    /// content scale) and is invalidated whole. Nothing for the current size.
    void Resize(int width, int height) override;
    /// "Windows GDI".
    const char* GraphicsApiName() const override;
    /// MessageBoxA owned by the host's top-level window.
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
    /// `parent` is the host's HWND. An open window is closed first and the
    /// new one takes its place and size. Returns the editor's HWND, or null
    /// when it could not be made.
    void* OpenEditorWindow(void* parent) override;
    /// Destroys the window (its timer with it) and, with the last editor
    /// window of the process, unregisters the window class.
    void CloseEditorWindow() override;
    void* NativeWindow() const override;
    bool ReadClipboardText(std::string& text) override;
    void ConcealCursor() override;
    void RestoreCursor() override;
    std::unique_ptr<PIX_IBitmap> LoadImageResource(int resourceId, const char* name) override;

    /// The value entry in progress (state 0 and closed when none).
    const TextEntrySession& Entry() const noexcept;
    /// The entry box's HWND, null when none is open.
    void* EntryBoxWindow() const noexcept;

private:
    struct Impl;
    std::unique_ptr<Impl> mImpl;
};
