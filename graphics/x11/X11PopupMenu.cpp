// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/x11/X11PopupMenu.h"

#include "graphics/PopupMenu.h"
#include "graphics/PopupMenuNumbering.h"
#include "raster/PIX_CachedFont.h"
#include "raster/PIX_Compose.h"
#include "raster/PIX_ComposeMode.h"
#include "raster/PIX_TextFormat.h"

#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>

namespace {

constexpr long kMenuEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask
                             | KeyPressMask;
constexpr uint32_t kBackground = 0xFFF2F2F2u;
constexpr uint32_t kBorder = 0xFF808080u;
constexpr uint32_t kHighlight = 0xFF3070C0u;
constexpr uint32_t kText = 0xFF000000u;
constexpr uint32_t kHighlightText = 0xFFFFFFFFu;
constexpr uint32_t kGreyText = 0xFF909090u;
constexpr int kMinWidth = 80;

int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool Choosable(const PopupMenuItem& item)
{
    const int blocked = PopupMenuItem::kGreyed | PopupMenuItem::kDisabled | PopupMenuItem::kSeparator;
    return !(item.Flags() & blocked) && !item.Submenu();
}

} // namespace

struct X11PopupMenu::Level {
    PopupMenu* menu = nullptr;
    std::unique_ptr<X11SmallWindow> window;
    int rootX = 0;
    int rootY = 0;
    std::vector<int> tops; ///< top of each item, editor pixels
    std::vector<std::string> labels;
    int highlighted = -1;
};

X11PopupMenu::X11PopupMenu(Display* display, double scale, PIX_CachedFont* font,
                           std::function<void(XEvent&)> otherEvent, std::function<void()> tick,
                           int tickMs)
    : mDisplay(display), mScale(scale), mFont(font), mOtherEvent(std::move(otherEvent)),
      mTick(std::move(tick)), mTickMs(tickMs > 0 ? tickMs : 40)
{
}

X11PopupMenu::~X11PopupMenu() { CloseLevelsFrom(0); }

void X11PopupMenu::OpenLevel(PopupMenu& menu, int rootX, int rootY)
{
    auto level = std::make_unique<Level>();
    level->menu = &menu;
    int width = kMinWidth;
    int y = 1;
    for (int i = 0; i < menu.ItemCount(); ++i) {
        const PopupMenuItem& item = *menu.Item(i);
        level->tops.push_back(y);
        level->labels.push_back(PopupMenuNumbering::Label(menu.PrefixMode(), i + 1, item.Text()));
        if (item.Flags() & PopupMenuItem::kSeparator) {
            y += kSeparatorHeight;
            continue;
        }
        if (mFont) {
            PIX_Rect box{0, 0, 0, 0};
            const std::string& label = level->labels.back();
            mFont->DrawString(nullptr, label.c_str(), int32_t(label.size()), box,
                              DT_CALCRECT | DT_SINGLELINE);
            width = std::max(width, box.right + 2 * kMarkColumn + 4);
        }
        y += kItemHeight;
    }
    level->tops.push_back(y);
    // A menu near the screen's right or bottom edge moves inside it.
    const int screen = DefaultScreen(mDisplay);
    const int shownWidth = int(std::ceil(width * mScale));
    const int shownHeight = int(std::ceil((y + 1) * mScale));
    rootX = std::max(0, std::min(rootX, DisplayWidth(mDisplay, screen) - shownWidth));
    rootY = std::max(0, std::min(rootY, DisplayHeight(mDisplay, screen) - shownHeight));
    level->rootX = rootX;
    level->rootY = rootY;
    level->window = std::make_unique<X11SmallWindow>(mDisplay, DefaultRootWindow(mDisplay), true,
                                                     rootX, rootY, width, y + 1, mScale, kMenuEvents);
    level->window->Show();
    Draw(*level);
    mLevels.push_back(std::move(level));
}

void X11PopupMenu::CloseLevelsFrom(size_t first)
{
    while (mLevels.size() > first) mLevels.pop_back();
}

void X11PopupMenu::Draw(Level& level)
{
    X11SmallWindow& window = *level.window;
    PIX_SysBitmap& canvas = window.Canvas();
    const int w = window.Width();
    const int h = window.Height();
    PIX_Fill(&canvas, 0, 0, w, h, kBorder, 1.0f, kComposeCopy);
    PIX_Fill(&canvas, 1, 1, w - 2, h - 2, kBackground, 1.0f, kComposeCopy);
    for (int i = 0; i < level.menu->ItemCount(); ++i) {
        const PopupMenuItem& item = *level.menu->Item(i);
        const int top = level.tops[size_t(i)];
        const int bottom = level.tops[size_t(i) + 1];
        if (item.Flags() & PopupMenuItem::kSeparator) {
            PIX_Fill(&canvas, 4, (top + bottom) / 2, w - 8, 1, kBorder, 1.0f, kComposeCopy);
            continue;
        }
        uint32_t colour = (item.Flags() & PopupMenuItem::kGreyed) ? kGreyText : kText;
        if (i == level.highlighted && !(item.Flags() & PopupMenuItem::kGreyed)) {
            PIX_Fill(&canvas, 1, top, w - 2, bottom - top, kHighlight, 1.0f, kComposeCopy);
            colour = kHighlightText;
        }
        if (item.IsChecked())
            window.DrawText(mFont, "\xE2\x9C\x93", colour, 0, top, kMarkColumn, bottom, DT_CENTER);
        window.DrawText(mFont, level.labels[size_t(i)].c_str(), colour, kMarkColumn, top,
                        w - kMarkColumn, bottom, 0);
        if (item.Submenu())
            window.DrawText(mFont, "\xE2\x96\xB8", colour, w - kMarkColumn, top, w, bottom, DT_CENTER);
    }
    window.Present();
}

bool X11PopupMenu::Find(int rootX, int rootY, size_t& level, int& item) const
{
    // Deeper levels lie on top of their parents.
    for (size_t l = mLevels.size(); l-- > 0;) {
        const Level& candidate = *mLevels[l];
        const int x = int(std::floor((rootX - candidate.rootX) / mScale));
        const int y = int(std::floor((rootY - candidate.rootY) / mScale));
        if (x < 0 || y < 0 || x >= candidate.window->Width() || y >= candidate.window->Height())
            continue;
        level = l;
        item = -1;
        for (int i = 0; i < candidate.menu->ItemCount(); ++i)
            if (y >= candidate.tops[size_t(i)] && y < candidate.tops[size_t(i) + 1]) item = i;
        return true;
    }
    return false;
}

void X11PopupMenu::OnMotion(int rootX, int rootY)
{
    size_t l = 0;
    int item = -1;
    if (!Find(rootX, rootY, l, item)) return;
    Level& level = *mLevels[l];
    if (item == level.highlighted) return;
    CloseLevelsFrom(l + 1);
    level.highlighted = item;
    Draw(level);
    if (item < 0) return;
    if (PopupMenu* sub = level.menu->Item(item)->Submenu()) {
        if (level.menu->Item(item)->Flags() & (PopupMenuItem::kGreyed | PopupMenuItem::kDisabled))
            return;
        const int x = level.rootX + int(std::lround(level.window->Width() * mScale)) - 2;
        const int y = level.rootY + int(std::lround(level.tops[size_t(item)] * mScale));
        OpenLevel(*sub, x, y);
    }
}

void X11PopupMenu::OnRelease(int rootX, int rootY)
{
    size_t l = 0;
    int item = -1;
    if (!Find(rootX, rootY, l, item) || item < 0) return;
    const Level& level = *mLevels[l];
    if (!Choosable(*level.menu->Item(item))) return;
    mChosen = mNumbering->IdOf(*level.menu, item);
    mDone = true;
}

bool X11PopupMenu::Dispatch(XEvent& event)
{
    const Window target = event.xany.window;
    const bool ours = std::any_of(mLevels.begin(), mLevels.end(), [&](const auto& level) {
        return level->window->Id() == target;
    });
    switch (event.type) {
    case MotionNotify:
        if (!ours) break;
        OnMotion(event.xmotion.x_root, event.xmotion.y_root);
        return true;
    case ButtonPress: {
        // A press of a pointer button anywhere but on a menu ends the menu;
        // while it is up no press reaches the editor.
        const unsigned button = event.xbutton.button;
        size_t l = 0;
        int item = -1;
        if (button >= Button1 && button <= Button3
            && (!ours || !Find(event.xbutton.x_root, event.xbutton.y_root, l, item)))
            mDone = true;
        return true;
    }
    case ButtonRelease:
        // Only the left button chooses: neither the release of the press
        // that opened the menu nor a wheel turn does.
        if (ours && event.xbutton.button == Button1)
            OnRelease(event.xbutton.x_root, event.xbutton.y_root);
        return true;
    case KeyPress:
        if (!ours) break;
        if (XLookupKeysym(&event.xkey, 0) == XK_Escape) mDone = true;
        return true;
    case Expose:
        for (auto& level : mLevels)
            if (level->window->Id() == target && event.xexpose.count == 0) level->window->Present();
        if (ours) return true;
        break;
    default:
        break;
    }
    return false;
}

int X11PopupMenu::Run(PopupMenu& menu, const PopupMenuNumbering& numbering, int rootX, int rootY)
{
    mNumbering = &numbering;
    mDone = false;
    mChosen = -1;
    if (menu.ItemCount() == 0) return -1;
    OpenLevel(menu, rootX, rootY);
    const Window grabWindow = mLevels.front()->window->Id();
    XSync(mDisplay, False);
    // With owner events, presses on any menu window reach it; presses
    // anywhere else reach the first menu and end the menu.
    XGrabPointer(mDisplay, grabWindow, True,
                 ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                 GrabModeAsync, None, None, CurrentTime);
    XGrabKeyboard(mDisplay, grabWindow, True, GrabModeAsync, GrabModeAsync, CurrentTime);

    const int fd = ConnectionNumber(mDisplay);
    int64_t nextTick = NowMs() + mTickMs;
    while (!mDone) {
        while (!mDone && XPending(mDisplay) > 0) {
            XEvent event;
            XNextEvent(mDisplay, &event);
            if (!Dispatch(event) && mOtherEvent) mOtherEvent(event);
        }
        if (mDone) break;
        pollfd watch{fd, POLLIN, 0};
        const int64_t wait = std::max<int64_t>(0, nextTick - NowMs());
        if (poll(&watch, 1, int(wait)) < 0 && errno != EINTR) break;
        if (watch.revents & (POLLERR | POLLHUP)) break;
        if (NowMs() >= nextTick) {
            if (mTick) mTick();
            nextTick = NowMs() + mTickMs;
        }
    }
    XUngrabKeyboard(mDisplay, CurrentTime);
    XUngrabPointer(mDisplay, CurrentTime);
    CloseLevelsFrom(0);
    XFlush(mDisplay);
    return mChosen;
}
