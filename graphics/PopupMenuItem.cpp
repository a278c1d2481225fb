// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/PopupMenuItem.h"

#include "graphics/PopupMenu.h"

PopupMenuItem::PopupMenuItem(std::string text, int flags, std::unique_ptr<PopupMenu> submenu)
    : mText(std::move(text)), mFlags(flags), mSubmenu(std::move(submenu))
{
}

// Out of line: PopupMenu is only complete here.
PopupMenuItem::~PopupMenuItem() = default;
