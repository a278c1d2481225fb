// SPDX-License-Identifier: GPL-3.0-or-later
// The X11 window host on a real X server (the test suite runs under Xvfb):
// events are sent to the editor's windows from a second connection and the
// window's pixels are read back from the server.
// GoogleTest first: the X headers define macros (None, Bool) that clash with it.
#include <gtest/gtest.h>

#include "../GraphicsTestSupport.h"
#include "../MenuWithSubmenu.h"

#include "graphics/IEditorRunLoop.h"
#include "graphics/MakePlatformGraphics.h"
#include "graphics/x11/IGraphicsX11.h"
#include "raster/PIX_SysBitmap.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>


#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <thread>

namespace {

/// A run loop driven by the test: it records registrations and calls them on Pump.
class FakeRunLoop : public IEditorRunLoop {
public:
    struct Entry {
        bool timer;
        int value; ///< descriptor or period
        Callback callback;
    };

    int RegisterFdHandler(int fd, Callback onReadable) override
    {
        entries[++lastId] = {false, fd, std::move(onReadable)};
        return lastId;
    }
    int RegisterTimer(int periodMs, Callback onTick) override
    {
        entries[++lastId] = {true, periodMs, std::move(onTick)};
        return lastId;
    }
    void Unregister(int id) override
    {
        entries.erase(id);
        unregistered.push_back(id);
    }
    /// Runs the descriptor handlers, then the timers.
    void Pump()
    {
        for (bool timers : {false, true}) {
            for (auto& [id, entry] : std::map<int, Entry>(entries))
                if (entry.timer == timers && entries.count(id)) entry.callback();
        }
    }
    int Count(bool timer) const
    {
        return int(std::count_if(entries.begin(), entries.end(),
                                 [&](const auto& e) { return e.second.timer == timer; }));
    }

    std::map<int, Entry> entries;
    std::vector<int> unregistered;
    int lastId = 0;
};

/// Paints every pixel of its rectangle in a colour made from its position.
class PatternControl : public IControl {
public:
    PatternControl(IEffectBase* plug, const PixelRect& rect, uint32_t base)
        : IControl(plug, rect, -1), mBase(base) {}

    static uint32_t Colour(uint32_t base, int x, int y)
    {
        return 0xFF000000u | base | (uint32_t(x & 0xFF) << 8) | uint32_t(y & 0xFF);
    }

    bool Draw(IGraphics& graphics) override
    {
        PIX_SysBitmap* surface = graphics.DrawSurface();
        const PixelRect r = Rect().Intersection(graphics.DrawAreaRect());
        for (int y = r.T; y < r.B; ++y)
            for (int x = r.L; x < r.R; ++x)
                surface->Pixels()[size_t(y) * size_t(surface->RowStride()) + size_t(x)] =
                    Colour(mBase, x, y);
        return true;
    }

private:
    uint32_t mBase;
};

/// Sends a pointer event (ButtonPress, ButtonRelease or MotionNotify) to `w`
/// as the server delivers one: (x, y) in `w`, (rootX, rootY) on the screen.
void SendPointer(Display* d, Window w, int type, unsigned button, int x, int y, unsigned state,
                 Time time = 0, int rootX = 0, int rootY = 0)
{
    XEvent e{};
    // A motion event has the same fields up to `state`.
    XButtonEvent& b = e.xbutton;
    b.type = type;
    b.display = d;
    b.window = w;
    b.root = DefaultRootWindow(d);
    b.time = time;
    b.x = x;
    b.y = y;
    b.x_root = rootX;
    b.y_root = rootY;
    b.state = state;
    long mask = PointerMotionMask;
    if (type == MotionNotify) {
        e.xmotion.is_hint = NotifyNormal;
        e.xmotion.same_screen = True;
    } else {
        b.button = button;
        b.same_screen = True;
        mask = type == ButtonPress ? ButtonPressMask : ButtonReleaseMask;
    }
    XSendEvent(d, w, False, mask, &e);
}

struct IGraphicsX11Test : ::testing::Test {
    static constexpr PixelRect kEntryRect{120, 130, 160, 146};

    Display* d = nullptr;
    Window parent = 0;
    TestPlug plug;
    std::vector<std::string> events;
    std::unique_ptr<IGraphicsX11> g;
    ProbeControl* knob = nullptr;
    FakeRunLoop loop;

    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display (the test suite runs under xvfb-run)";
        // A server that lost its last client resets and refuses connections briefly.
        for (int attempt = 0; attempt < 200 && !d; ++attempt) {
            d = XOpenDisplay(nullptr);
            if (!d) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_NE(d, nullptr);
        parent = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 700, 1200, 0, 0, 0);
        XSelectInput(d, parent, KeyPressMask | KeyReleaseMask);
        XMapWindow(d, parent);
        XSync(d, False);

        g = std::make_unique<IGraphicsX11>(&plug, 300, 570, 25);
        g->AppendControl(std::make_unique<PatternControl>(&plug, PixelRect{0, 0, 300, 570}, 0x400000));
        auto probe = std::make_unique<ProbeControl>(&plug, PixelRect{100, 100, 183, 181}, kParamLevel,
                                                    events, "knob");
        knob = probe.get();
        g->AppendControl(std::move(probe));
        g->PrepareDrawSurface();
        g->SetRunLoop(&loop);
    }

    void TearDown() override
    {
        g.reset();
        if (d) XCloseDisplay(d);
    }

    Window Editor() const { return Window(reinterpret_cast<uintptr_t>(g->NativeWindow())); }

    /// Opens the editor on the test's parent window.
    void* Open() { return g->OpenEditorWindow(reinterpret_cast<void*>(parent)); }

    /// Opens a value entry for the knob's parameter showing `text` and waits
    /// until the box has the focus; false when it never gets it.
    bool StartTyping(const char* text)
    {
        g->OpenTextEntry(knob, TextStyle{}, kEntryRect, text, plug.GetParam(kParamLevel));
        return PumpUntil([&] { return g->Entry().GetState() == TextEntrySession::kEditing; });
    }

    /// Types `keys` into the open box, then `end`; false when the entry
    /// does not close.
    bool TypeAndEnd(std::initializer_list<KeySym> keys, KeySym end = XK_Return)
    {
        const Window box = g->EntryBoxWindow();
        for (KeySym k : keys) SendKey(box, k);
        SendKey(box, end);
        return PumpUntil([&] { return !g->Entry().IsOpen(); });
    }

    /// Pumps the editor's events and ticks until `done` holds (up to 3 s).
    bool PumpUntil(const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (std::chrono::steady_clock::now() < deadline) {
            XSync(d, False);
            loop.Pump();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    /// Waits until the editor window has the given size: the editor's
    /// connection is not ordered with the test's own.
    bool WindowSizeBecomes(int width, int height)
    {
        return PumpUntil([&] {
            XWindowAttributes info{};
            return XGetWindowAttributes(d, Editor(), &info) && info.width == width
                   && info.height == height;
        });
    }

    bool Logged(const std::string& text) const
    {
        return std::find(events.begin(), events.end(), text) != events.end();
    }

    void SendKey(Window w, KeySym keysym, int type = KeyPress)
    {
        XEvent e{};
        e.xkey.type = type;
        e.xkey.display = d;
        e.xkey.window = w;
        e.xkey.root = DefaultRootWindow(d);
        e.xkey.keycode = XKeysymToKeycode(d, keysym);
        e.xkey.same_screen = True;
        XSendEvent(d, w, False, type == KeyPress ? KeyPressMask : KeyReleaseMask, &e);
    }

    void Click(Window w, int x, int y, Time time)
    {
        SendPointer(d, w, ButtonPress, Button1, x, y, 0, time);
        SendPointer(d, w, ButtonRelease, Button1, x, y, Button1Mask, time + 1);
    }
};

TEST_F(IGraphicsX11Test, OpensAMappedXEmbedChildOfTheEditorSize)
{
    ASSERT_NE(Open(), nullptr);
    EXPECT_TRUE(g->IsWindowOpen());
    XWindowAttributes info{};
    ASSERT_TRUE(XGetWindowAttributes(d, Editor(), &info));
    EXPECT_EQ(info.width, 300);
    EXPECT_EQ(info.height, 570);
    EXPECT_EQ(info.map_state, IsViewable);
    Window root = 0, up = 0;
    Window* children = nullptr;
    unsigned count = 0;
    ASSERT_TRUE(XQueryTree(d, Editor(), &root, &up, &children, &count));
    if (children) XFree(children);
    EXPECT_EQ(up, parent);

    const Atom xembed = XInternAtom(d, "_XEMBED_INFO", False);
    Atom type = None;
    int format = 0;
    unsigned long n = 0, left = 0;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(d, Editor(), xembed, 0, 2, False, xembed, &type, &format, &n, &left,
                                 &data),
              Success);
    ASSERT_EQ(n, 2u);
    const auto* values = reinterpret_cast<const unsigned long*>(data);
    EXPECT_EQ(values[0], 0u); // protocol version
    EXPECT_EQ(values[1] & 1u, 1u); // mapped
    XFree(data);

    // Named for window managers, for hosts that show it as a window of its own.
    char* name = nullptr;
    ASSERT_TRUE(XFetchName(d, Editor(), &name));
    EXPECT_STREQ(name, "KELDRA");
    XFree(name);
    XClassHint hint{};
    ASSERT_TRUE(XGetClassHint(d, Editor(), &hint));
    EXPECT_STREQ(hint.res_name, "keldra");
    EXPECT_STREQ(hint.res_class, "KELDRA");
    XFree(hint.res_name);
    XFree(hint.res_class);
}

TEST_F(IGraphicsX11Test, RunLoopRegistrationsLiveExactlyAsLongAsTheWindow)
{
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(loop.Count(false), 1);
    ASSERT_EQ(loop.Count(true), 1);
    for (const auto& [id, entry] : loop.entries) {
        if (entry.timer) {
            EXPECT_EQ(entry.value, 40);
        }
    }
    g->CloseEditorWindow();
    EXPECT_TRUE(loop.entries.empty());
    EXPECT_EQ(loop.unregistered.size(), 2u);
    EXPECT_FALSE(g->IsWindowOpen());

    // Taking the loop away while the window is open still unregisters from it.
    ASSERT_NE(Open(), nullptr);
    g->SetRunLoop(nullptr);
    g->CloseEditorWindow();
    EXPECT_TRUE(loop.entries.empty());
    g->SetRunLoop(&loop);

    // Attach, remove, attach: one live pair, nothing stale.
    ASSERT_NE(Open(), nullptr);
    ASSERT_NE(Open(), nullptr); // reopen while open
    EXPECT_EQ(loop.entries.size(), 2u);
    g.reset();
    EXPECT_TRUE(loop.entries.empty());
}

TEST_F(IGraphicsX11Test, WindowShowsTheDrawSurface)
{
    ASSERT_NE(Open(), nullptr);
    // The first tick paints every control.
    ASSERT_TRUE(PumpUntil([&] { return Logged("knob draw"); }));
    XSync(d, False);
    XImage* image = XGetImage(d, Editor(), 0, 0, 300, 570, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    const PIX_SysBitmap& surface = *g->DrawSurface();
    int mismatches = 0;
    for (int y = 0; y < 570; ++y)
        for (int x = 0; x < 300; ++x)
            if ((XGetPixel(image, x, y) & 0xFFFFFF)
                != (surface.Pixels()[size_t(y) * size_t(surface.RowStride()) + size_t(x)] & 0xFFFFFF))
                ++mismatches;
    XDestroyImage(image);
    EXPECT_EQ(mismatches, 0);
}

TEST_F(IGraphicsX11Test, WithoutARunLoopThePanelIsPaintedOnce)
{
    g->SetRunLoop(nullptr);
    ASSERT_NE(Open(), nullptr);
    EXPECT_TRUE(loop.entries.empty());
    // Nothing pumps the editor's connection: the server shows the image alone.
    const auto shows = [&](int x, int y) {
        XImage* image = XGetImage(d, Editor(), x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return false;
        const bool same = (XGetPixel(image, 0, 0) & 0xFFFFFF)
                          == (PatternControl::Colour(0x400000, x, y) & 0xFFFFFF);
        XDestroyImage(image);
        return same;
    };
    EXPECT_TRUE(PumpUntil([&] { return shows(7, 9); }));
    EXPECT_TRUE(shows(299, 569));
    // Covered and uncovered again, it still shows the panel.
    const Window cover = XCreateSimpleWindow(d, parent, 0, 0, 300, 570, 0, 0, 0);
    XMapWindow(d, cover);
    XDestroyWindow(d, cover);
    XSync(d, False);
    EXPECT_TRUE(PumpUntil([&] { return shows(150, 300); }));
}

// A host may make the window larger than the panel (Ardour makes it as wide
// as its toolbar): the panel stays at its place and every other pixel shows
// the panel's bottom-right colour, with a run loop and without one.
TEST_F(IGraphicsX11Test, AWindowLargerThanThePanelIsPaintedEverywhere)
{
    const uint32_t surround = PatternControl::Colour(0x400000, 299, 569) & 0xFFFFFF;
    const auto paintedEverywhere = [&] {
        XImage* image = XGetImage(d, Editor(), 0, 0, 392, 700, AllPlanes, ZPixmap);
        if (!image) return false;
        long wrong = 0;
        for (int y = 0; y < 700; ++y)
            for (int x = 0; x < 392; ++x) {
                const uint32_t expected = x < 300 && y < 570
                                              ? PatternControl::Colour(0x400000, x, y) & 0xFFFFFF
                                              : surround;
                wrong += (XGetPixel(image, x, y) & 0xFFFFFF) != expected;
            }
        XDestroyImage(image);
        return wrong == 0;
    };
    for (IEditorRunLoop* withLoop : {static_cast<IEditorRunLoop*>(&loop), static_cast<IEditorRunLoop*>(nullptr)}) {
        SCOPED_TRACE(withLoop ? "with a run loop" : "without a run loop");
        g->SetRunLoop(withLoop);
        ASSERT_NE(Open(), nullptr);
        XResizeWindow(d, Editor(), 392, 700);
        EXPECT_TRUE(PumpUntil(paintedEverywhere));
        g->CloseEditorWindow();
    }
}

TEST_F(IGraphicsX11Test, ContentScaleScalesTheWindowImageAndPointer)
{
    g->SetContentScale(2.0);
    ASSERT_NE(Open(), nullptr);
    XWindowAttributes info{};
    ASSERT_TRUE(XGetWindowAttributes(d, Editor(), &info));
    EXPECT_EQ(info.width, 600);
    EXPECT_EQ(info.height, 1140);
    ASSERT_TRUE(PumpUntil([&] { return Logged("knob draw"); }));
    XSync(d, False);
    // Read back only what fits on a 1024-line screen.
    XImage* image = XGetImage(d, Editor(), 0, 0, 600, 1000, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{57, 33}, std::pair{299, 499}}) {
        const uint32_t expected = PatternControl::Colour(0x400000, x, y) & 0xFFFFFF;
        EXPECT_EQ(XGetPixel(image, 2 * x, 2 * y) & 0xFFFFFF, expected);
        EXPECT_EQ(XGetPixel(image, 2 * x + 1, 2 * y + 1) & 0xFFFFFF, expected);
    }
    XDestroyImage(image);

    // Pointer positions arrive in editor pixels.
    Click(Editor(), 241, 301, 1000);
    ASSERT_TRUE(PumpUntil([&] { return Logged("knob press 120,150"); }));

    g->SetContentScale(1.5);
    EXPECT_TRUE(WindowSizeBecomes(450, 855));
    g->SetContentScale(0.5); // below 1 is taken as 1
    EXPECT_EQ(g->WindowWidth(), 300);
}

TEST_F(IGraphicsX11Test, PressDragReleaseMakeOneGesture)
{
    ASSERT_NE(Open(), nullptr);
    SendPointer(d, Editor(), ButtonPress, Button1, 120, 150, 0, 1000);
    SendPointer(d, Editor(), MotionNotify, 0, 120, 140, Button1Mask);
    SendPointer(d, Editor(), ButtonRelease, Button1, 120, 140, Button1Mask, 1100);
    ASSERT_TRUE(PumpUntil([&] { return Logged("knob release 120,140"); }));
    EXPECT_TRUE(Logged("knob press 120,150"));
    EXPECT_TRUE(Logged("knob drag 120,140 by 0,-10"));
    EXPECT_EQ(plug.log.front(), "begin 0");
    EXPECT_EQ(plug.log.back(), "end 0");
}

TEST_F(IGraphicsX11Test, WheelButtonsTurnOneStepEachOneGestureATurnAndSecondQuickClickIsADoubleClick)
{
    using Log = std::vector<std::string>;
    ASSERT_NE(Open(), nullptr);
    SendPointer(d, Editor(), ButtonPress, Button4, 120, 150, 0);
    SendPointer(d, Editor(), ButtonPress, Button5, 120, 150, 0);
    ASSERT_TRUE(PumpUntil([&] { return Logged("knob wheel -1"); }));
    EXPECT_TRUE(Logged("knob wheel 1"));
    // The turn's gesture stays open until the wheel has rested for the
    // ticks of about half a second.
    for (int tick = 2; tick < g->WheelRestTicks(); ++tick) loop.Pump();
    EXPECT_EQ(plug.log, Log{"begin 0"});
    ASSERT_TRUE(PumpUntil([&] { return plug.log.size() == 2; }));
    EXPECT_EQ(plug.log, (Log{"begin 0", "end 0"}));
    // Closing the window ends it at once.
    SendPointer(d, Editor(), ButtonPress, Button4, 120, 150, 0);
    ASSERT_TRUE(PumpUntil([&] { return plug.log.size() == 3; }));
    g->CloseEditorWindow();
    EXPECT_EQ(plug.log, (Log{"begin 0", "end 0", "begin 0", "end 0"}));
    ASSERT_NE(Open(), nullptr);

    Click(Editor(), 120, 150, 5000);
    Click(Editor(), 121, 150, 5200);
    ASSERT_TRUE(PumpUntil([&] { return Logged("knob double"); }));
    EXPECT_EQ(std::count(events.begin(), events.end(), "knob press 120,150"), 1);
}

TEST_F(IGraphicsX11Test, TypedValueIsFilteredAndCommittedByReturn)
{
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(StartTyping("0.25"));
    ASSERT_TRUE(TypeAndEnd({XK_0, XK_a, XK_period, XK_x, XK_5}));
    EXPECT_EQ(g->EntryBoxWindow(), 0u);
    EXPECT_DOUBLE_EQ(knob->Value(), 0.5);
}

TEST_F(IGraphicsX11Test, TheLengthLimitHoldsBackTypingOnly)
{
    ASSERT_NE(Open(), nullptr);
    knob->SetEntryMaxLength(5);
    // "0.9", backspace, then "1234": only "0.123" fits in five characters.
    ASSERT_TRUE(StartTyping("0.25"));
    ASSERT_TRUE(TypeAndEnd({XK_0, XK_period, XK_9, XK_BackSpace, XK_1, XK_2, XK_3, XK_4}, XK_KP_Enter));
    EXPECT_DOUBLE_EQ(knob->Value(), 0.123);
    // A longer initial text is committed whole...
    knob->SetEntryMaxLength(3);
    ASSERT_TRUE(StartTyping("0.625"));
    ASSERT_TRUE(TypeAndEnd({}));
    EXPECT_DOUBLE_EQ(knob->Value(), 0.625);
    // ...and a limit of 0 sets none.
    knob->SetEntryMaxLength(0);
    ASSERT_TRUE(StartTyping(""));
    ASSERT_TRUE(TypeAndEnd({XK_0, XK_period, XK_1, XK_2, XK_5}));
    EXPECT_DOUBLE_EQ(knob->Value(), 0.125);
}

TEST_F(IGraphicsX11Test, KeysNoControlTakesReachTheHostOnlyWhenNobodyTypes)
{
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(StartTyping("0.25"));
    SendKey(Editor(), XK_a, KeyRelease);
    SendKey(Editor(), XK_a);
    SendKey(g->EntryBoxWindow(), XK_Escape);
    SendKey(Editor(), XK_b);
    ASSERT_TRUE(PumpUntil([&] { return XPending(d) > 0; }));
    // The first key to arrive is the one pressed after the entry: keys no
    // control takes go to the host's top-level window.
    XEvent e{};
    XNextEvent(d, &e);
    EXPECT_EQ(e.type, KeyPress);
    EXPECT_EQ(e.xkey.window, parent);
    EXPECT_EQ(XLookupKeysym(&e.xkey, 0), XK_b);
}

TEST_F(IGraphicsX11Test, ClickOnTheEditorWhileTypingCancels)
{
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(StartTyping("0.25"));
    SendKey(g->EntryBoxWindow(), XK_9);
    SendPointer(d, Editor(), ButtonPress, Button1, 10, 10, 0, 100);
    ASSERT_TRUE(PumpUntil([&] { return !g->Entry().IsOpen(); }));
    EXPECT_EQ(knob->Value(), 0.0);
    EXPECT_FALSE(Logged("knob press 10,10"));
}

TEST_F(IGraphicsX11Test, ClosingWithAnOpenEntryDiscardsItSoALaterOneOpens)
{
    ASSERT_NE(Open(), nullptr);
    g->OpenTextEntry(knob, TextStyle{}, kEntryRect, "0.25", plug.GetParam(kParamLevel));
    ASSERT_TRUE(g->Entry().IsOpen());
    g->CloseEditorWindow();
    EXPECT_FALSE(g->Entry().IsOpen());
    EXPECT_EQ(g->Entry().GetState(), TextEntrySession::kNone);
    EXPECT_EQ(knob->Value(), 0.0);
    ASSERT_NE(Open(), nullptr);
    g->OpenTextEntry(knob, TextStyle{}, kEntryRect, "0.25", plug.GetParam(kParamLevel));
    EXPECT_TRUE(g->Entry().IsOpen());
    EXPECT_NE(g->EntryBoxWindow(), 0u);
}

TEST_F(IGraphicsX11Test, ABadParentIdFailsWithoutHarm)
{
    EXPECT_EQ(g->OpenEditorWindow(reinterpret_cast<void*>(uintptr_t(0x3FFFFFF))), nullptr);
    EXPECT_EQ(g->OpenEditorWindow(nullptr), nullptr);
    EXPECT_FALSE(g->IsWindowOpen());
    EXPECT_TRUE(loop.entries.empty());
    // Reopening on no parent closes the old window like any reopen.
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(g->OpenEditorWindow(nullptr), nullptr);
    EXPECT_FALSE(g->IsWindowOpen());
    EXPECT_TRUE(loop.entries.empty());
    // The host destroying its window first must not hurt either.
    ASSERT_NE(Open(), nullptr);
    XDestroyWindow(d, parent);
    XSync(d, False);
    parent = 0;
    g->CloseEditorWindow();
    EXPECT_FALSE(g->IsWindowOpen());
}

/// Plays the user of popup menus from a second thread and connection: waits
/// for a menu window to appear and sends it pointer events.
class MenuUser {
public:
    MenuUser() : mDisplay(XOpenDisplay(nullptr)) {}
    ~MenuUser()
    {
        if (mThread.joinable()) mThread.join();
        if (mDisplay) XCloseDisplay(mDisplay);
    }

    /// Runs `script` on the user's thread.
    void Start(std::function<void(MenuUser&)> script)
    {
        mThread = std::thread([this, script] { script(*this); });
    }

    /// The next mapped popup window not seen before, with its screen position.
    Window WaitForMenu(int& x, int& y)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (std::chrono::steady_clock::now() < deadline) {
            Window root = 0, up = 0;
            Window* children = nullptr;
            unsigned count = 0;
            XQueryTree(mDisplay, DefaultRootWindow(mDisplay), &root, &up, &children, &count);
            for (unsigned i = 0; i < count; ++i) {
                XWindowAttributes info{};
                if (mSeen.count(children[i]) || !XGetWindowAttributes(mDisplay, children[i], &info))
                    continue;
                if (info.override_redirect && info.map_state == IsViewable) {
                    mSeen.insert(children[i]);
                    x = info.x;
                    y = info.y;
                    const Window found = children[i];
                    XFree(children);
                    return found;
                }
            }
            if (children) XFree(children);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return 0;
    }

    void Send(Window w, int type, int rootX, int rootY, unsigned button = Button1)
    {
        SendPointer(mDisplay, w, type, button, 0, 0, 0, 0, rootX, rootY);
        XSync(mDisplay, False);
    }

private:
    Display* mDisplay;
    std::thread mThread;
    std::set<Window> mSeen;
};

/// Centre of item `index` of a menu window: items are 20 pixels high below a
/// 1-pixel border.
int ItemCentre(int index) { return 1 + 20 * index + 10; }

TEST_F(IGraphicsX11Test, PopupMenuReturnsTheSubmenuOfTheChosenItem)
{
    ASSERT_NE(Open(), nullptr);
    MenuWithSubmenu menu(2);
    MenuUser user;
    std::atomic<bool> sawBoth{false};
    user.Start([&](MenuUser& u) {
        int x = 0, y = 0, subX = 0, subY = 0;
        const Window first = u.WaitForMenu(x, y);
        if (!first) return;
        u.Send(first, MotionNotify, x + 10, y + ItemCentre(1)); // rest on "B"
        const Window second = u.WaitForMenu(subX, subY);
        if (!second) return;
        sawBoth = true;
        u.Send(second, MotionNotify, subX + 10, subY + ItemCentre(1));
        u.Send(second, ButtonRelease, subX + 10, subY + ItemCentre(1)); // choose "y"
    });
    PopupMenu* chosen = g->RunPopupMenu(menu.top, {120, 130, 160, 146});
    EXPECT_TRUE(sawBoth);
    ASSERT_EQ(chosen, menu.sub);
    EXPECT_EQ(menu.sub->ChosenIndex(), 1);
    EXPECT_EQ(menu.top.ChosenIndex(), -1);
}

TEST_F(IGraphicsX11Test, PressOutsideAPopupMenuChoosesNothingAndRepaintsTheEditor)
{
    ASSERT_NE(Open(), nullptr);
    PixelRect dirty;
    ASSERT_TRUE(PumpUntil([&] { return !g->CollectDirtyArea(dirty); }));
    MenuWithSubmenu menu(2);
    MenuUser user;
    user.Start([&](MenuUser& u) {
        int x = 0, y = 0;
        const Window first = u.WaitForMenu(x, y);
        if (!first) return;
        // A release over a submenu's item, of another button or of the wheel
        // chooses nothing; a press outside ends the menu.
        u.Send(first, ButtonRelease, x + 10, y + ItemCentre(1));
        u.Send(first, ButtonRelease, x + 10, y + ItemCentre(0), Button3);
        u.Send(first, ButtonPress, x + 10, y + ItemCentre(0), Button4);
        u.Send(first, ButtonRelease, x + 10, y + ItemCentre(0), Button4);
        u.Send(first, ButtonPress, x - 40, y - 40);
    });
    EXPECT_EQ(g->RunPopupMenu(menu.top, {120, 130, 160, 146}), nullptr);
    EXPECT_EQ(menu.top.ChosenIndex(), -1);
    ASSERT_TRUE(g->CollectDirtyArea(dirty));
    EXPECT_EQ(dirty, (PixelRect{0, 0, 300, 570}));
}

TEST_F(IGraphicsX11Test, ClipboardTextArrivesAsUtf8AndAnythingElseGivesNothing)
{
    std::string text = "old";
    EXPECT_FALSE(g->ReadClipboardText(text)); // no window
    EXPECT_EQ(text, "");
    ASSERT_NE(Open(), nullptr);
    XSetSelectionOwner(d, XInternAtom(d, "CLIPBOARD", False), None, CurrentTime);
    XSync(d, False);
    text = "old";
    EXPECT_FALSE(g->ReadClipboardText(text)); // no owner
    EXPECT_EQ(text, "");

    for (const bool offerText : {true, false}) {
        std::atomic<bool> owning{false};
        std::thread owner([&] {
            Display* o = XOpenDisplay(nullptr);
            const Window w = XCreateSimpleWindow(o, DefaultRootWindow(o), 0, 0, 1, 1, 0, 0, 0);
            const Atom clipboard = XInternAtom(o, "CLIPBOARD", False);
            const Atom utf8 = XInternAtom(o, "UTF8_STRING", False);
            XSetSelectionOwner(o, clipboard, w, CurrentTime);
            XSync(o, False);
            owning = true;
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
            while (std::chrono::steady_clock::now() < deadline) {
                if (!XPending(o)) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    continue;
                }
                XEvent e;
                XNextEvent(o, &e);
                if (e.type != SelectionRequest) continue;
                const XSelectionRequestEvent& r = e.xselectionrequest;
                XEvent reply{};
                reply.xselection.type = SelectionNotify;
                reply.xselection.requestor = r.requestor;
                reply.xselection.selection = r.selection;
                reply.xselection.target = r.target;
                reply.xselection.time = r.time;
                reply.xselection.property = None;
                if (offerText && r.target == utf8) {
                    const char text[] = "Gr\xC3\xBC\xC3\x9F""e 15 dB";
                    XChangeProperty(o, r.requestor, r.property, utf8, 8, PropModeReplace,
                                    reinterpret_cast<const unsigned char*>(text), sizeof text - 1);
                    reply.xselection.property = r.property;
                }
                XSendEvent(o, r.requestor, False, NoEventMask, &reply);
                XSync(o, False);
                break;
            }
            XCloseDisplay(o);
        });
        while (!owning) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::string text = "old";
        const bool read = g->ReadClipboardText(text);
        owner.join();
        if (offerText) {
            EXPECT_TRUE(read);
            EXPECT_EQ(text, "Gr\xC3\xBC\xC3\x9F""e 15 dB");
        } else {
            EXPECT_FALSE(read);
            EXPECT_EQ(text, "");
        }
    }
}

TEST_F(IGraphicsX11Test, ReopeningKeepsThePositionAndResizeResizesTheWindow)
{
    ASSERT_NE(Open(), nullptr);
    XMoveWindow(d, Editor(), 5, 7);
    XSync(d, False);
    ASSERT_NE(Open(), nullptr);
    XWindowAttributes info{};
    ASSERT_TRUE(XGetWindowAttributes(d, Editor(), &info));
    EXPECT_EQ(info.x, 5);
    EXPECT_EQ(info.y, 7);
    EXPECT_EQ(loop.entries.size(), 2u);

    g->SetContentScale(2.0);
    g->Resize(200, 100);
    EXPECT_TRUE(WindowSizeBecomes(400, 200));
    EXPECT_EQ(g->ControlCount(), 0);
    EXPECT_EQ(plug.log.back(), "resize 200 100");
}

TEST_F(IGraphicsX11Test, RestoringTheCursorPutsThePointerBackWhereItWasConcealed)
{
    ASSERT_NE(Open(), nullptr);
    const Window root = DefaultRootWindow(d);
    XWarpPointer(d, None, root, 0, 0, 0, 0, 40, 50);
    XSync(d, False);
    g->ConcealCursor();
    g->ConcealCursor(); // a second call keeps the first position
    XWarpPointer(d, None, root, 0, 0, 0, 0, 200, 300);
    XSync(d, False);
    g->RestoreCursor();
    const auto pointerAt = [&](int x, int y) {
        Window r = 0, c = 0;
        int rx = 0, ry = 0, wx = 0, wy = 0;
        unsigned mask = 0;
        XQueryPointer(d, root, &r, &c, &rx, &ry, &wx, &wy, &mask);
        return rx == x && ry == y;
    };
    EXPECT_TRUE(PumpUntil([&] { return pointerAt(40, 50); }));
    XWarpPointer(d, None, root, 0, 0, 0, 0, 10, 10);
    XSync(d, False);
    g->RestoreCursor(); // not concealed: nothing moves
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(pointerAt(10, 10));
}

TEST_F(IGraphicsX11Test, FactoryMakesTheX11Host)
{
    std::unique_ptr<IPlatformGraphics> made = MakePlatformGraphics(plug, 300, 570, 25);
    ASSERT_NE(made, nullptr);
    EXPECT_STREQ(made->GraphicsApiName(), "X11");
    EXPECT_EQ(made->WindowWidth(), 300);
    EXPECT_EQ(made->WindowHeight(), 570);
}

} // namespace
