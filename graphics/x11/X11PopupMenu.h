// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/x11/X11SmallWindow.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class PopupMenu;
class PopupMenuNumbering;
class PIX_CachedFont;

/// A popup menu shown in windows of the editor's own, modal: Run returns
/// when an item was chosen with the left button, a button was pressed
/// outside the menu or Escape was typed. Submenus open when the pointer
/// rests on their item. While it runs, the editor's redraw tick keeps
/// running, button events go to the menu alone and other events are passed
/// on. [ui]
class X11PopupMenu {
public:
    /// `otherEvent` handles events of the connection that belong to no menu
    /// window; `tick` is the editor's redraw tick, run every `tickMs`.
    X11PopupMenu(Display* display, double scale, PIX_CachedFont* font,
                 std::function<void(XEvent&)> otherEvent, std::function<void()> tick, int tickMs);
    ~X11PopupMenu();
    X11PopupMenu(const X11PopupMenu&) = delete;
    X11PopupMenu& operator=(const X11PopupMenu&) = delete;

    /// Shows `menu` with its top-left corner at screen position (rootX,
    /// rootY); the chosen command number of `numbering`, or −1.
    int Run(PopupMenu& menu, const PopupMenuNumbering& numbering, int rootX, int rootY);

    /// Layout in editor pixels.
    static constexpr int kItemHeight = 20;
    static constexpr int kSeparatorHeight = 9;
    static constexpr int kMarkColumn = 20;

private:
    struct Level;

    void OpenLevel(PopupMenu& menu, int rootX, int rootY);
    void CloseLevelsFrom(size_t first);
    void Draw(Level& level);
    /// Level and item under screen position (x, y); false when none.
    bool Find(int rootX, int rootY, size_t& level, int& item) const;
    void OnMotion(int rootX, int rootY);
    void OnRelease(int rootX, int rootY);
    bool Dispatch(XEvent& event);

    Display* mDisplay;
    double mScale;
    PIX_CachedFont* mFont;
    std::function<void(XEvent&)> mOtherEvent;
    std::function<void()> mTick;
    int mTickMs;
    const PopupMenuNumbering* mNumbering = nullptr;
    std::vector<std::unique_ptr<Level>> mLevels;
    bool mDone = false;
    int mChosen = -1;
};
