// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/IGraphics.h"

#include <string>
#include <vector>

/// A graphics context without a window: it draws into its surface like any
/// editor, but presenting only records the area, and every menu, dialog,
/// message and text entry answers "cancelled". Images come from the
/// resources built into the module. Used by tests and by tools that snapshot
/// the panel. [ui]
class IGraphicsOffscreen : public IGraphics {
public:
    IGraphicsOffscreen(IEffectBase* plug, int width, int height, int fps);

    /// Records `rect` as presented; true.
    bool PresentArea(const PixelRect& rect) override;
    void CancelValueEntry() override;
    const char* GraphicsApiName() const override;
    /// kMessageCancel.
    int ShowMessage(const char* text, const char* caption, int type) override;
    /// Nothing chosen.
    PopupMenu* RunPopupMenu(PopupMenu& menu, const PixelRect& rect) override;
    /// Cancelled at once: no value reaches the control.
    void OpenTextEntry(IControl* control, const TextStyle& style, const PixelRect& rect,
                       const char* initialText, IParamRecord* param) override;
    /// Folder of the running program.
    std::string HostFolder() override;
    /// Folder of the module this code is linked into.
    std::string PluginFolder() override;
    /// Empty: there is no desktop for an off-screen editor.
    std::string DesktopFolder() override;
    std::string AppDataFolder(bool system) override;
    std::string UserAppDataFolder() override;
    /// Cancelled: `path` becomes empty, `folder` is unchanged.
    void ChooseFile(std::string& path, int action, std::string& folder,
                    const char* extensions) override;
    bool ChooseColour(ArgbColor& colour, const char* prompt) override;
    /// Records `url` as requested; false, since nothing can be shown.
    bool OpenWebPage(const char* url, const char* title, const char* confirmText,
                     const char* failureText) override;
    /// Null: there is no window to open.
    void* OpenEditorWindow(void* parent) override;
    void CloseEditorWindow() override;
    void* NativeWindow() const override;
    bool ReadClipboardText(std::string& text) override;
    /// The "PNG" resource `resourceId` of the module, decoded.
    std::unique_ptr<PIX_IBitmap> LoadImageResource(int resourceId, const char* name) override;

    /// Areas passed to PresentArea, oldest first.
    const std::vector<PixelRect>& PresentedAreas() const noexcept { return mPresented; }
    /// Addresses passed to OpenWebPage, oldest first.
    const std::vector<std::string>& RequestedPages() const noexcept { return mRequestedPages; }

private:
    std::vector<PixelRect> mPresented;
    std::vector<std::string> mRequestedPages;
};
