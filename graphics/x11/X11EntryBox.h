// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/TextStyle.h"
#include "graphics/x11/X11SmallWindow.h"

#include <string>

class IParamRecord;
class PIX_CachedFont;

/// The value text-entry box: a child window of the editor showing one line
/// of text in the control's entry colours, with all of it selected at first
/// (typing replaces it). Keys that are not editing (Return, Escape) are left
/// to the caller; characters a parameter does not take never enter. [ui]
class X11EntryBox {
public:
    /// What a key press meant.
    enum class KeyResult { kEdited, kIgnored, kReturn, kEscape };

    /// Over editor `rect` of `editorWindow`, showing `text` in `style`,
    /// drawn with `font` (may be null: no text is drawn). Typing stops at
    /// `maxLength` characters (no limit for 0 or less); `param` (may be
    /// null) filters the characters.
    X11EntryBox(Display* display, Window editorWindow, int left, int top, int width, int height,
                double scale, const TextStyle& style, PIX_CachedFont* font, const char* text,
                int maxLength, const IParamRecord* param);

    Window Id() const noexcept { return mWindow.Id(); }
    const std::string& Text() const noexcept { return mText; }

    /// Handles a key press on the box.
    KeyResult HandleKey(XKeyEvent& event);
    /// Paints the box and shows it.
    void Redraw();

private:
    /// Number of characters (UTF-8 sequences) in mText.
    size_t Length() const noexcept;

    X11SmallWindow mWindow;
    TextStyle mStyle;
    PIX_CachedFont* mFont;
    std::string mText;
    bool mAllSelected = true;
    size_t mMaxLength;
    const IParamRecord* mParam;
};
