// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/IControl.h"

/// An invisible clickable area that opens a web page, falling back to a
/// second address when the first cannot be opened. Unbound. [ui]
class IURLControl : public IControl {
public:
    static constexpr int kUrlSize = 256;
    static constexpr int kErrorTextSize = 1024;

    /// Null texts stay empty; longer texts are cut to fit their buffers.
    IURLControl(IEffectBase* plug, const PixelRect& rect, const char* url,
                const char* backupUrl = nullptr, const char* errorText = nullptr);

    /// Any button opens the page (the error text is the title of any message).
    void OnPress(int x, int y, const MouseMods& mods) override;
    /// Nothing to draw: the picture belongs to the background.
    bool Draw(IGraphics& graphics) override;

    const char* Url() const noexcept { return mUrl; }
    const char* BackupUrl() const noexcept { return mBackupUrl; }
    const char* ErrorText() const noexcept { return mErrorText; }

private:
    char mUrl[kUrlSize] = {};
    char mBackupUrl[kUrlSize] = {};
    char mErrorText[kErrorTextSize] = {};
};
