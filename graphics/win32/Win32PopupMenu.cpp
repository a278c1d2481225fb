// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/win32/Win32PopupMenu.h"

#include "graphics/PopupMenu.h"
#include "graphics/PopupMenuNumbering.h"

namespace Win32PopupMenu {

HMENU Build(const PopupMenu& menu, const PopupMenuNumbering& numbering)
{
    HMENU native = CreatePopupMenu();
    if (!native) return nullptr;
    for (int i = 0; i < menu.ItemCount(); ++i) {
        const PopupMenuItem& item = *menu.Item(i);
        if (item.Flags() & PopupMenuItem::kSeparator) {
            AppendMenuA(native, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const std::string label = PopupMenuNumbering::Label(menu.PrefixMode(), i + 1, item.Text());
        if (PopupMenu* sub = item.Submenu()) {
            HMENU nativeSub = Build(*sub, numbering);
            if (nativeSub)
                AppendMenuA(native, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(nativeSub),
                            label.c_str());
            continue;
        }
        UINT flags = MF_STRING;
        if (item.Flags() & PopupMenuItem::kGreyed) flags |= MF_GRAYED;
        if (item.Flags() & PopupMenuItem::kDisabled) flags |= MF_DISABLED;
        if (item.Flags() & PopupMenuItem::kChecked) flags |= MF_CHECKED;
        AppendMenuA(native, flags, UINT_PTR(numbering.IdOf(menu, i)), label.c_str());
    }
    return native;
}

int Track(HMENU native, HWND owner, int x, int y)
{
    TrackPopupMenu(native, TPM_LEFTBUTTON, x, y, 0, owner, nullptr);
    // The choice arrives as a posted WM_COMMAND; a notification code other
    // than 0 is not a menu choice.
    MSG message{};
    if (!PeekMessageA(&message, owner, WM_COMMAND, WM_COMMAND, PM_REMOVE)) return -1;
    if (HIWORD(message.wParam) != 0) return -1;
    return int(LOWORD(message.wParam));
}

} // namespace Win32PopupMenu
