// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/EditorAttachment.h"

#include "framework/IEffectBase.h"
#include "graphics/IPlatformGraphics.h"

EditorAttachment::~EditorAttachment()
{
    Detach();
}

IGraphics* EditorAttachment::Graphics() const noexcept
{
    return dynamic_cast<IGraphics*>(mPlug.GetEditor());
}

IPlatformGraphics* EditorAttachment::PlatformGraphics() const noexcept
{
    return dynamic_cast<IPlatformGraphics*>(mPlug.GetEditor());
}

bool EditorAttachment::Attach(void* parent, IEditorRunLoop* loop)
{
    Detach();
    IGraphics* graphics = Graphics();
    if (graphics == nullptr || parent == nullptr)
        return false;
    IPlatformGraphics* platform = PlatformGraphics();
    if (platform != nullptr)
        platform->SetRunLoop(loop);
    mWindow = graphics->OpenEditorWindow(parent);
    if (mWindow == nullptr) {
        // Nothing may keep the loop a failed attachment was given.
        if (platform != nullptr)
            platform->SetRunLoop(nullptr);
        return false;
    }
    mPlug.OnEditorOpened();
    return true;
}

void EditorAttachment::Detach()
{
    // Not attached: the plug-in is not touched (it may be gone already).
    if (mWindow == nullptr)
        return;
    IGraphics* graphics = Graphics();
    // The editor has one window: only the attachment that opened it, and
    // still holds it, closes it. One whose window another attachment has
    // opened since leaves that window alone.
    void* const open = graphics != nullptr ? graphics->NativeWindow() : nullptr;
    if (graphics != nullptr && (open == mWindow || open == nullptr)) {
        mPlug.OnEditorClosed();
        graphics->CloseEditorWindow();
        if (IPlatformGraphics* platform = PlatformGraphics())
            platform->SetRunLoop(nullptr);
    }
    mWindow = nullptr;
}

bool EditorAttachment::SetContentScale(double scale)
{
    IPlatformGraphics* platform = PlatformGraphics();
    if (platform == nullptr)
        return false;
    const double before = platform->ContentScale();
    platform->SetContentScale(scale);
    return platform->ContentScale() != before;
}

double EditorAttachment::ContentScale() const noexcept
{
    const IPlatformGraphics* platform = PlatformGraphics();
    return platform != nullptr ? platform->ContentScale() : 1.0;
}

int EditorAttachment::WindowWidth() const noexcept
{
    if (const IPlatformGraphics* platform = PlatformGraphics())
        return platform->WindowWidth();
    const IGraphics* graphics = Graphics();
    return graphics != nullptr ? graphics->Width() : 0;
}

int EditorAttachment::WindowHeight() const noexcept
{
    if (const IPlatformGraphics* platform = PlatformGraphics())
        return platform->WindowHeight();
    const IGraphics* graphics = Graphics();
    return graphics != nullptr ? graphics->Height() : 0;
}
