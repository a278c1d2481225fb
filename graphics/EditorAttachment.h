// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class IEditorRunLoop;
class IEffectBase;
class IGraphics;
class IPlatformGraphics;

/// How a format's editor shows the plug-in's editor in a host's window: the
/// one attach and detach sequence and the one content-scale entry that the
/// VST3 view, the CLAP gui and the LV2 UI all call, whether the window host
/// is X11's or Win32's. One per view, gui or UI; the plug-in (and its
/// graphics context, which outlives any number of attachments) is borrowed.
/// [ui] only.
class EditorAttachment {
public:
    explicit EditorAttachment(IEffectBase& plug) noexcept : mPlug(plug) {}
    /// Detaches (touching the plug-in only while attached).
    ~EditorAttachment();
    EditorAttachment(const EditorAttachment&) = delete;
    EditorAttachment& operator=(const EditorAttachment&) = delete;

    /// The plug-in's graphics context, or null when it has none.
    IGraphics* Graphics() const noexcept;
    /// The graphics context when it has a real window (always in this program).
    IPlatformGraphics* PlatformGraphics() const noexcept;

    /// Opens the editor window inside `parent` (an X window id or an HWND),
    /// with events and the redraw tick on `loop` (borrowed until Detach; null
    /// when the host offers none), then tells the plug-in (OnEditorOpened).
    /// A window this attachment holds is detached first. False, with
    /// nothing left open or registered, without a graphics context or parent
    /// or when the window cannot be made.
    bool Attach(void* parent, IEditorRunLoop* loop);
    /// Tells the plug-in (OnEditorClosed), closes the window and forgets
    /// the loop, when this attachment opened the editor's window and none
    /// opened it since (a window the host destroyed with its own counts as
    /// still held, so that what it held is released). The loop may go
    /// once this returns. Nothing when not attached.
    void Detach();
    /// The window this attachment opened, or null.
    void* Window() const noexcept { return mWindow; }

    /// Window pixels per editor pixel, as a host asks for it: below 1 or not
    /// finite counts as 1; an open window is resized and repainted. True
    /// when the scale in effect changed; false, too, without a graphics
    /// context that has a window.
    bool SetContentScale(double scale);
    /// The scale in effect: 1 until a host sets one.
    double ContentScale() const noexcept;
    /// The window's size in window pixels (the editor size times the content
    /// scale), also before attaching; 0 without a graphics context.
    int WindowWidth() const noexcept;
    int WindowHeight() const noexcept;

private:
    IEffectBase& mPlug;
    void* mWindow = nullptr;
};
