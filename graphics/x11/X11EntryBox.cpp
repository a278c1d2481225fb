// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/x11/X11EntryBox.h"

#include "graphics/TextEntrySession.h"
#include "raster/PIX_ComposeMode.h"
#include "raster/PIX_Compose.h"
#include "raster/PIX_TextFormat.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdint>

namespace {

constexpr long kBoxEvents = KeyPressMask | ExposureMask | FocusChangeMask | ButtonPressMask;
constexpr uint32_t kSelectionColour = 0xFF3399FFu;
constexpr uint32_t kSelectedTextColour = 0xFFFFFFFFu;

/// Appends Latin-1 character `c` as UTF-8.
void AppendLatin1(std::string& text, unsigned char c)
{
    if (c < 0x80) {
        text += char(c);
    } else {
        text += char(0xC0 | (c >> 6));
        text += char(0x80 | (c & 0x3F));
    }
}

/// Removes the last UTF-8 character.
void PopCharacter(std::string& text)
{
    while (!text.empty()) {
        const unsigned char c = static_cast<unsigned char>(text.back());
        text.pop_back();
        if ((c & 0xC0) != 0x80) break;
    }
}

} // namespace

X11EntryBox::X11EntryBox(Display* display, Window editorWindow, int left, int top, int width,
                         int height, double scale, const TextStyle& style, PIX_CachedFont* font,
                         const char* text, int maxLength, const IParamRecord* param)
    : mWindow(display, editorWindow, false, int(left * scale), int(top * scale), width, height,
              scale, kBoxEvents),
      mStyle(style), mFont(font), mText(text ? text : ""),
      // A limit of 0 or less sets none, as with a native edit box.
      mMaxLength(maxLength > 0 ? size_t(maxLength) : SIZE_MAX), mParam(param)
{
    // The limit holds back typing only: cutting the initial text would
    // change the value that Return without an edit commits.
    mWindow.Show();
}

size_t X11EntryBox::Length() const noexcept
{
    size_t count = 0;
    for (const char c : mText)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

X11EntryBox::KeyResult X11EntryBox::HandleKey(XKeyEvent& event)
{
    char buffer[8] = {};
    KeySym keysym = 0;
    const int n = XLookupString(&event, buffer, sizeof buffer, &keysym, nullptr);
    switch (keysym) {
    case XK_Return:
    case XK_KP_Enter:
        return KeyResult::kReturn;
    case XK_Escape:
        return KeyResult::kEscape;
    case XK_BackSpace:
        if (mAllSelected)
            mText.clear();
        else
            PopCharacter(mText);
        mAllSelected = false;
        Redraw();
        return KeyResult::kEdited;
    case XK_Delete:
        if (!mAllSelected) return KeyResult::kIgnored;
        mText.clear();
        mAllSelected = false;
        Redraw();
        return KeyResult::kEdited;
    default:
        break;
    }
    if (n != 1) return KeyResult::kIgnored;
    const auto c = static_cast<unsigned char>(buffer[0]);
    if (c < 0x20 || c == 0x7F || !TextEntrySession::AcceptsChar(mParam, c))
        return KeyResult::kIgnored;
    if (mAllSelected) mText.clear();
    mAllSelected = false;
    if (Length() < mMaxLength) AppendLatin1(mText, c);
    Redraw();
    return KeyResult::kEdited;
}

void X11EntryBox::Redraw()
{
    PIX_SysBitmap& canvas = mWindow.Canvas();
    const int w = mWindow.Width();
    const int h = mWindow.Height();
    PIX_Fill(&canvas, 0, 0, w, h, mStyle.entryBackground.Packed(), 1.0f, kComposeCopy);
    uint32_t align = 0;
    if (mStyle.align == TextStyle::kAlignCenter) align = DT_CENTER;
    if (mStyle.align == TextStyle::kAlignFar) align = DT_RIGHT;
    uint32_t textColour = mStyle.entryForeground.Packed();
    if (mAllSelected && !mText.empty()) {
        PIX_Fill(&canvas, 1, 1, w - 2, h - 2, kSelectionColour, 1.0f, kComposeCopy);
        textColour = kSelectedTextColour;
    }
    // The caret: a one-pixel bar after the text is enough for a short number.
    const std::string shown = mAllSelected ? mText : mText + "|";
    mWindow.DrawText(mFont, shown.c_str(), textColour, 2, 0, w - 2, h, align);
    mWindow.Present();
}
