// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/TextEntrySession.h"
#include "graphics/TooltipTracker.h"
#include "graphics/win32/IGraphicsWin.h"

#include <windows.h>

#include <memory>
#include <string>

/// The window state of an IGraphicsWin and its two window procedures. Only
/// the window host's own files see it. [ui]
struct IGraphicsWin::Impl {
    explicit Impl(IGraphicsWin& owner);

    IGraphicsWin& self;
    HINSTANCE hInstance = nullptr;
    double scale = 1.0;

    HWND editorWnd = nullptr;
    HWND parentWnd = nullptr;
    HWND hostMainWnd = nullptr;
    std::string hostMainWndClass;
    DWORD processId = 0;
    /// This context counts as a holder of the window class (its window may
    /// already be gone, destroyed with the host's).
    bool holdsClass = false;
    int lastX = 0; ///< last pointer position, editor pixels
    int lastY = 0;

    TextEntrySession entry;
    HWND entryBoxWnd = nullptr;
    WNDPROC entryBoxProc = nullptr;
    HFONT entryFont = nullptr;

    HWND tipWnd = nullptr;
    TooltipTracker tips;

    std::unique_ptr<COLORREF[]> customColours;
    bool cursorHidden = false;
    POINT hiddenCursorPos{-1, -1};

    /// The frame rate handed to the next editor window created (its
    /// WM_CREATE starts the timer). Process-wide.
    static int newWindowFps;

    static LRESULT CALLBACK EditorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK EntryProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleEditorMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleEntryMessage(UINT message, WPARAM wParam, LPARAM lParam);

    /// The editor's size in window pixels.
    int WindowWidth() const;
    int WindowHeight() const;
    /// Invalidates the window pixels that show `editorArea` (no erase).
    void Invalidate(const PixelRect& editorArea);
    MouseMods Mods(WPARAM keyFlags) const;
    void OnButtonDown(WPARAM wParam, LPARAM lParam);
    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    /// Paints what of `area` (window pixels) lies beyond the panel.
    void PaintSurround(const PixelRect& area);
    void ForwardKeyToHost(UINT message, WPARAM wParam, LPARAM lParam);

    void Tick();
    void CloseEntryBox();
    /// Closes the box and forgets the entry, committing nothing.
    void DiscardEntry();
    /// What closing the window, or its destruction by the host, leaves: no
    /// entry, no tooltip, no press in progress.
    void ForgetWindow();
    void ReleaseClass();

    void CreateTooltip();
    void SetTooltipText(const char* text);
    void HideTooltip();

    HWND HostMainWindow();
};
