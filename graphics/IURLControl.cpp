// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/IURLControl.h"

#include "framework/CopyText.h"
#include "graphics/IGraphics.h"

IURLControl::IURLControl(IEffectBase* plug, const PixelRect& rect, const char* url,
                         const char* backupUrl, const char* errorText)
    : IControl(plug, rect, -1, BlendSpec::kBlendNone)
{
    CopyText(mUrl, url);
    CopyText(mBackupUrl, backupUrl);
    CopyText(mErrorText, errorText);
}

void IURLControl::OnPress(int, int, const MouseMods&)
{
    IGraphics* graphics = Graphics();
    if (!graphics) return;
    bool opened = false;
    if (mUrl[0]) opened = graphics->OpenWebPage(mUrl, mErrorText, nullptr, nullptr);
    if (!opened && mBackupUrl[0]) graphics->OpenWebPage(mBackupUrl, mErrorText, nullptr, nullptr);
}

bool IURLControl::Draw(IGraphics&) { return true; }
