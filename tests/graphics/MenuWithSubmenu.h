// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/PopupMenu.h"

#include <memory>

/// Items "A", "B" and "C" (checked), the second opening a submenu of "x" and
/// "y": the smallest menu with a submenu between plain items.
struct MenuWithSubmenu {
    PopupMenu top;
    PopupMenu* sub = nullptr;

    explicit MenuWithSubmenu(int prefixMode = 0) : top(prefixMode)
    {
        top.AddItem("A");
        auto submenu = std::make_unique<PopupMenu>();
        submenu->AddItem("x");
        submenu->AddItem("y");
        sub = submenu.get();
        top.AddSubmenu("B", std::move(submenu));
        top.AddItem("C", PopupMenuItem::kChecked);
    }
};
