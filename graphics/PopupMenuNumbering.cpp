// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/PopupMenuNumbering.h"

#include "graphics/PopupMenu.h"

#include <cstdio>

PopupMenuNumbering::PopupMenuNumbering(PopupMenu& top) { Number(top); }

void PopupMenuNumbering::Number(PopupMenu& menu)
{
    mRanges.push_back({&menu, mNext, menu.ItemCount()});
    mNext += menu.ItemCount();
    for (int i = 0; i < menu.ItemCount(); ++i) {
        if (PopupMenu* sub = menu.Item(i)->Submenu()) Number(*sub);
    }
}

int PopupMenuNumbering::FirstId(const PopupMenu& menu) const noexcept
{
    for (const Range& range : mRanges)
        if (range.menu == &menu) return range.first;
    return -1;
}

int PopupMenuNumbering::IdOf(const PopupMenu& menu, int index) const noexcept
{
    const int first = FirstId(menu);
    if (first < 0 || index < 0 || index >= menu.ItemCount()) return -1;
    return first + index;
}

PopupMenu* PopupMenuNumbering::Choose(int id) const noexcept
{
    for (const Range& range : mRanges) {
        if (id >= range.first && id < range.first + range.count) {
            range.menu->SetChosenIndex(id - range.first);
            return range.menu;
        }
    }
    return nullptr;
}

std::string PopupMenuNumbering::Label(int prefixMode, int position, const std::string& text)
{
    static const char* const kFormats[] = {"%1d: ", "%02d: ", "%03d: "};
    if (prefixMode < 1 || prefixMode > 3) return text;
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, kFormats[prefixMode - 1], position);
    return prefix + text;
}
