// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class PopupMenu;

/// Command numbers of a popup menu tree, as a native menu shows it: from 0,
/// all items of a menu get consecutive numbers first, then each submenu, in
/// item order, numbers its own items the same way. Borrows the tree, which
/// must not change while the numbering is used. [ui]
class PopupMenuNumbering {
public:
    explicit PopupMenuNumbering(PopupMenu& top);

    /// Number of the first item of `menu`, or −1 when it is not in the tree.
    int FirstId(const PopupMenu& menu) const noexcept;
    /// Number of item `index` of `menu`, or −1.
    int IdOf(const PopupMenu& menu, int index) const noexcept;
    /// Marks the item with number `id` as chosen in its menu and returns that
    /// menu; null (nothing marked) for a number no item has.
    PopupMenu* Choose(int id) const noexcept;

    /// The text an item shows: `text`, after its 1-based `position` as
    /// "%1d: ", "%02d: " or "%03d: " for prefix modes 1, 2 and 3.
    static std::string Label(int prefixMode, int position, const std::string& text);

private:
    struct Range {
        PopupMenu* menu;
        int first;
        int count;
    };
    void Number(PopupMenu& menu);

    std::vector<Range> mRanges; ///< numbering order; the top menu first
    int mNext = 0;
};
