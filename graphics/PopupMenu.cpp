// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/PopupMenu.h"

PopupMenuItem& PopupMenu::AddItem(std::string text, int flags)
{
    mItems.push_back(std::make_unique<PopupMenuItem>(std::move(text), flags));
    return *mItems.back();
}

PopupMenuItem& PopupMenu::AddSubmenu(std::string text, std::unique_ptr<PopupMenu> submenu, int flags)
{
    mItems.push_back(std::make_unique<PopupMenuItem>(std::move(text), flags, std::move(submenu)));
    return *mItems.back();
}

PopupMenuItem* PopupMenu::Item(int index) const noexcept
{
    return index >= 0 && index < ItemCount() ? mItems[size_t(index)].get() : nullptr;
}
