// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

class PopupMenu;

/// One entry of a popup menu: a text, flags and optionally a submenu it owns. [ui]
class PopupMenuItem {
public:
    enum Flags : int { kGreyed = 1, kDisabled = 2, kChecked = 4, kSeparator = 8 };

    PopupMenuItem(std::string text, int flags, std::unique_ptr<PopupMenu> submenu = nullptr);
    ~PopupMenuItem();
    PopupMenuItem(const PopupMenuItem&) = delete;
    PopupMenuItem& operator=(const PopupMenuItem&) = delete;

    const std::string& Text() const noexcept { return mText; }
    int Flags() const noexcept { return mFlags; }
    bool IsChecked() const noexcept { return (mFlags & kChecked) != 0; }
    /// The submenu this entry opens, or null for a plain entry.
    PopupMenu* Submenu() const noexcept { return mSubmenu.get(); }

private:
    std::string mText;
    int mFlags = 0;
    std::unique_ptr<PopupMenu> mSubmenu;
};
