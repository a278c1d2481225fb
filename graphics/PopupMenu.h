// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/PopupMenuItem.h"

#include <memory>
#include <string>
#include <vector>

/// A popup menu: ordered items it owns, a numbering prefix mode and, after
/// the window host ran it, the index of the chosen item. [ui]
class PopupMenu {
public:
    /// How item texts are numbered when shown: 0 none, 1 "%1d: ", 2 "%02d: ", 3 "%03d: ".
    explicit PopupMenu(int prefixMode = 0) noexcept : mPrefixMode(prefixMode) {}
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    /// Appends a plain item; returns it.
    PopupMenuItem& AddItem(std::string text, int flags = 0);
    /// Appends an item that opens `submenu`; the menu takes ownership.
    PopupMenuItem& AddSubmenu(std::string text, std::unique_ptr<PopupMenu> submenu, int flags = 0);

    int ItemCount() const noexcept { return int(mItems.size()); }
    /// Item `index`, or null when out of range.
    PopupMenuItem* Item(int index) const noexcept;

    int PrefixMode() const noexcept { return mPrefixMode; }
    /// −1 until a choice was made.
    int ChosenIndex() const noexcept { return mChosenIndex; }
    void SetChosenIndex(int index) noexcept { mChosenIndex = index; }

private:
    int mPrefixMode = 0;
    int mChosenIndex = -1;
    std::vector<std::unique_ptr<PopupMenuItem>> mItems;
};
