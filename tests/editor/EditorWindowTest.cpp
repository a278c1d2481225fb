// SPDX-License-Identifier: GPL-3.0-or-later
// The built bundle's editor opened on a real X server (Xvfb under ./test.sh),
// as a Linux host opens it: a parent window, a frame with a run loop the test
// drives, and pointer input from the XTest extension.
#include "PanelPixels.h"
#include "host/HostApplication.h"
#include "host/HostComponentHandler.h"
#include "host/HostPlugFrame.h"
#include "host/HostRunLoop.h"
#include "host/PluginInstance.h"
#include "host/PluginModule.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/PIX_PngLoader.h"
#include "tools/PanelSnapshot.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

// After every other header: Xlib defines short macro names (None, Bool, Status).
#include "X11TestWindows.h"
#include <X11/extensions/XTest.h>

using namespace Steinberg;

namespace {

class EditorWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display";
        display = SharedDisplay();
        ASSERT_NE(display, nullptr);
        int event = 0, error = 0, major = 0, minor = 0;
        ASSERT_TRUE(XTestQueryExtension(display, &event, &error, &major, &minor));

        std::string message;
        module = PluginModule::Load(KELDRA_BUNDLE_PATH, message);
        ASSERT_TRUE(module) << message;
        plugin = PluginInstance::Create(*module, app, handler, message);
        ASSERT_TRUE(plugin) << message;
        ASSERT_TRUE(plugin->Setup(ProcessSettings{}, message)) << message;

        parent = CreateParentWindow(display);
        view = plugin->Controller()->createView("editor");
        ASSERT_NE(view, nullptr);
    }

    void TearDown() override
    {
        if (view) {
            view->removed();
            view->release();
        }
        if (display && parent) {
            XDestroyWindow(display, parent);
            XSync(display, False);
        }
        plugin.reset();
        module.reset();
    }

    void Attach(HostPlugFrame& withFrame)
    {
        ASSERT_EQ(view->setFrame(&withFrame), kResultOk);
        ASSERT_EQ(view->attached(reinterpret_cast<void*>(uintptr_t(parent)), kPlatformTypeX11EmbedWindowID), kResultOk);
        Settle(200);
    }

    /// Lets the editor handle what the server sent it and tick a few times.
    void Settle(int milliseconds = 60)
    {
        XSync(display, False);
        loop.Pump(milliseconds);
    }

    /// The editor's window: the parent's only child, or 0.
    Window Editor() { return OnlyChildWindow(display, parent); }

    void MoveTo(int x, int y)
    {
        XTestFakeMotionEvent(display, -1, parentX + x, parentY + y, CurrentTime);
        Settle(20);
    }
    void Button(unsigned button, bool down)
    {
        XTestFakeButtonEvent(display, button, down ? True : False, CurrentTime);
        Settle(20);
    }
    void Click(int x, int y)
    {
        MoveTo(x, y);
        Button(1, true);
        Button(1, false);
        // Beyond the double-click time, so that clicks stay single.
        Settle(450);
    }

    /// The panel drawn off-screen for the plug-in's current state.
    std::vector<uint32_t> OffscreenPanel() { return OffscreenPanelPixels(*plugin); }
    static long FirstDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
    {
        return FirstDifferentPixel(a, b);
    }

    double Normalized(Vst::ParamID id) { return plugin->Controller()->getParamNormalized(id); }

    void SetContentScale(float factor)
    {
        IPlugViewContentScaleSupport* scaling = nullptr;
        ASSERT_EQ(view->queryInterface(IPlugViewContentScaleSupport::iid, reinterpret_cast<void**>(&scaling)),
                  kResultOk);
        EXPECT_EQ(scaling->setContentScaleFactor(factor), kResultOk);
        scaling->release();
    }

    void PlaceParent(int x, int y, int width, int height)
    {
        parentX = x;
        parentY = y;
        XMoveResizeWindow(display, parent, x, y, unsigned(width), unsigned(height));
    }

    /// The part of `editor` on the screen shows the off-screen panel at `scale`.
    void ExpectWindowShowsTheOffscreenPanel(Window editor, double scale)
    {
        EXPECT_EQ(FirstDifferenceOnScreen(display, editor, parentX, parentY, OffscreenPanelPixels(*plugin, scale), scale),
                  -1);
    }

    Display* display = nullptr;
    Window parent = 0;
    int parentX = kParentX;  ///< screen position of the parent window
    int parentY = kParentY;
    HostApplication app{"editor-test"};
    HostComponentHandler handler;
    std::unique_ptr<PluginModule> module;
    std::unique_ptr<PluginInstance> plugin;
    IPlugView* view = nullptr;
    HostRunLoop loop;
    HostPlugFrame frame{&loop};
};

/// A browser launcher that only writes down the address it was given.
class FakeBrowser {
public:
    FakeBrowser()
    {
        char folder[] = "/tmp/keldra-browser-XXXXXX";
        if (mkdtemp(folder) == nullptr) return;
        mFolder = folder;
        mLog = mFolder + "/opened.txt";
        std::ofstream script(mFolder + "/xdg-open");
        script << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << mLog << "'\n";
        script.close();
        ::chmod((mFolder + "/xdg-open").c_str(), 0755);
        const char* path = std::getenv("PATH");
        mOldPath = path ? path : "";
        ::setenv("PATH", (mFolder + ":" + mOldPath).c_str(), 1);
    }
    ~FakeBrowser()
    {
        ::setenv("PATH", mOldPath.c_str(), 1);
        std::system(("rm -rf '" + mFolder + "'").c_str());
    }
    /// Addresses opened so far (waits briefly for the launcher to run).
    std::string Opened() const
    {
        for (int i = 0; i < 40; ++i) {
            std::ifstream log(mLog);
            std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
            if (!text.empty() || i == 39) return text;
            ::usleep(25000);
        }
        return {};
    }

private:
    std::string mFolder;
    std::string mLog;
    std::string mOldPath;
};

}  // namespace

TEST_F(EditorWindow, ShowsThePanelAsTheOffscreenRenderDrawsItAtItsOneSize)
{
    Attach(frame);
    const Window editor = Editor();
    ASSERT_NE(editor, 0u);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, editor, &attributes);
    EXPECT_EQ(attributes.width, 300);
    EXPECT_EQ(attributes.height, 570);
    EXPECT_EQ(attributes.map_state, IsViewable);
    EXPECT_EQ(FirstDifference(WindowPixels(display, editor, 300, 570), OffscreenPanel()), -1);
    // The size contract: not resizable, and any proposed size comes back as the one size.
    EXPECT_EQ(view->canResize(), kResultFalse);
    ViewRect proposed(0, 0, 392, 700);
    EXPECT_EQ(view->checkSizeConstraint(&proposed), kResultTrue);
    EXPECT_EQ(proposed.getWidth(), 300);
    EXPECT_EQ(proposed.getHeight(), 570);
}

TEST_F(EditorWindow, ADragOnAKnobIsReportedToTheHostAsOneEdit)
{
    Attach(frame);
    handler.Clear();
    MoveTo(223, 102);  // GainH
    Button(1, true);
    for (int step = 1; step <= 4; ++step) MoveTo(223, 102 - 10 * step);
    Button(1, false);
    Settle();

    const std::vector<HostEdit> edits = handler.Edits();
    ASSERT_GE(edits.size(), 3u);
    EXPECT_EQ(edits.front().kind, HostEdit::Kind::Begin);
    EXPECT_EQ(edits.back().kind, HostEdit::Kind::End);
    for (const HostEdit& edit : edits) EXPECT_EQ(edit.id, 3u);
    for (size_t i = 1; i + 1 < edits.size(); ++i) EXPECT_EQ(edits[i].kind, HostEdit::Kind::Perform);
    // 40 pixels up of the 324 that sweep the whole range.
    EXPECT_NEAR(edits[edits.size() - 2].value, 0.5 + 40.0 / 324.0, 1e-9);
    EXPECT_NEAR(Normalized(3), 0.5 + 40.0 / 324.0, 1e-9);
}

// A turn of the wheel is one gesture, held while the wheel turns, so that a
// host's touch automation records it; it ends about half a second after the
// last notch.
TEST_F(EditorWindow, TheHostsValueMovesTheKnobAndAWheelTurnsItOnePercentANotchFromThereAsOneGesture)
{
    Attach(frame);
    const std::vector<uint32_t> before = WindowPixels(display, Editor(), 300, 570);
    ASSERT_EQ(plugin->Controller()->setParamNormalized(0, 0.7), kResultOk);  // OUT, from the host
    Settle();
    EXPECT_NE(WindowPixels(display, Editor(), 300, 570), before);  // the knob moved
    handler.Clear();
    MoveTo(73, 349);  // OUT
    for (int notch = 0; notch < 2; ++notch) {
        Button(4, true);
        Button(4, false);
    }
    Settle(100);
    std::vector<HostEdit> edits = handler.Edits();
    ASSERT_EQ(edits.size(), 3u);
    EXPECT_EQ(edits[0].kind, HostEdit::Kind::Begin);
    EXPECT_EQ(edits[1].kind, HostEdit::Kind::Perform);
    EXPECT_EQ(edits[2].kind, HostEdit::Kind::Perform);
    EXPECT_NEAR(edits[1].value, 0.71, 1e-12);
    EXPECT_NEAR(edits[2].value, 0.72, 1e-12);
    Settle(700);
    edits = handler.Edits();
    ASSERT_EQ(edits.size(), 4u);
    EXPECT_EQ(edits[3].kind, HostEdit::Kind::End);
    for (const HostEdit& edit : edits) EXPECT_EQ(edit.id, 0u);
}

TEST_F(EditorWindow, ClickingTheInSwitchTogglesBypass)
{
    Attach(frame);
    handler.Clear();
    Click(50, 500);
    EXPECT_EQ(Normalized(6), 1.0);
    const std::vector<HostEdit> edits = handler.Edits();
    ASSERT_EQ(edits.size(), 3u);
    EXPECT_EQ(edits[1].id, 6u);
    EXPECT_EQ(edits[1].value, 1.0);
    Click(50, 500);
    EXPECT_EQ(Normalized(6), 0.0);
}

TEST_F(EditorWindow, OnlyTheLogoOpensTheProductPage)
{
    FakeBrowser browser;
    Attach(frame);
    Click(250, 530);
    Click(250, 560);
    const std::string opened = browser.Opened();
    if (opened.empty()) GTEST_SKIP() << "the machine reports no network connection; nothing is opened";
    EXPECT_EQ(opened, "https://www.brackenfold.com/product/keldra/\n");
}

TEST_F(EditorWindow, AttachRemoveAttachRepaintsEverythingAndLeavesNoStaleHandlers)
{
    Attach(frame);
    EXPECT_EQ(loop.EventHandlerCount(), 1);
    EXPECT_EQ(loop.TimerCount(), 1);
    ASSERT_EQ(view->removed(), kResultOk);
    Settle();
    EXPECT_EQ(loop.EventHandlerCount(), 0);
    EXPECT_EQ(loop.TimerCount(), 0);
    EXPECT_EQ(Editor(), 0u);

    // Something else paints the parent meanwhile.
    GC gc = XCreateGC(display, parent, 0, nullptr);
    XSetForeground(display, gc, 0xFF00FF);
    XFillRectangle(display, parent, gc, 0, 0, 300, 570);
    XFreeGC(display, gc);

    Attach(frame);
    EXPECT_EQ(loop.EventHandlerCount(), 1);
    EXPECT_EQ(loop.TimerCount(), 1);
    const Window editor = Editor();
    ASSERT_NE(editor, 0u);
    EXPECT_EQ(FirstDifference(WindowPixels(display, editor, 300, 570), OffscreenPanel()), -1);
}

TEST_F(EditorWindow, AHostWithoutARunLoopGetsThePanelPaintedOnce)
{
    HostPlugFrame plain;
    Attach(plain);
    XSync(display, False);
    ::usleep(100000);
    const Window editor = Editor();
    ASSERT_NE(editor, 0u);
    EXPECT_EQ(FirstDifference(WindowPixels(display, editor, 300, 570), OffscreenPanel()), -1);
}

// At a content scale the window holds the panel at its real pixel size,
// drawn from the larger artwork, while the controls keep editor pixels: a
// drag of 20 editor pixels on GainH moves it as at 1, and the IN switch's
// editor point toggles it.
TEST_F(EditorWindow, AtContentScalesTwoAndOneAndAHalfThePanelIsSharpAndControlsActAsAtOne)
{
    for (const float scale : {2.0f, 1.5f}) {
        SCOPED_TRACE(scale);
        const auto at = [scale](double editorPixels) { return static_cast<int>(editorPixels * scale); };
        SetContentScale(scale);
        ViewRect size;
        ASSERT_EQ(view->getSize(&size), kResultOk);
        EXPECT_EQ(size.getWidth(), at(300));
        EXPECT_EQ(size.getHeight(), at(570));

        // Placed so that the knobs used below are on the screen.
        PlaceParent(640, 0, at(300), at(570));
        Attach(frame);
        const Window editor = Editor();
        ASSERT_NE(editor, 0u);
        XWindowAttributes attributes{};
        XGetWindowAttributes(display, editor, &attributes);
        EXPECT_EQ(attributes.width, at(300));
        EXPECT_EQ(attributes.height, at(570));
        ExpectWindowShowsTheOffscreenPanel(editor, scale);

        // GainH's editor point (223, 102), dragged 20 editor pixels up.
        ASSERT_EQ(plugin->Controller()->setParamNormalized(3, 0.5), kResultOk);
        handler.Clear();
        MoveTo(at(223), at(102));
        Button(1, true);
        MoveTo(at(223), at(92));
        MoveTo(at(223), at(82));
        Button(1, false);
        Settle();
        EXPECT_NEAR(Normalized(3), 0.5 + 20.0 / 324.0, 1e-9);
        ASSERT_FALSE(handler.Edits().empty());
        EXPECT_EQ(handler.Edits().front().kind, HostEdit::Kind::Begin);

        Click(at(50), at(500));
        EXPECT_EQ(Normalized(6), 1.0);
        Click(at(50), at(500));
        EXPECT_EQ(Normalized(6), 0.0);
        ASSERT_EQ(view->removed(), kResultOk);
    }
}

// A knob's value in its units shows below it while the pointer rests on it,
// during a drag and for about a second after a drag or a wheel turn, drawn
// as the off-screen panel draws it; a click on it types a value in the same
// units as one edit for the host.
TEST_F(EditorWindow, AKnobShowsItsValueWhileTouchedAndASecondAfterAndTakesATypedValue)
{
    Attach(frame);
    const auto shows = [this](const char* readout, int milliseconds = 100) {
        Settle(milliseconds);
        return FirstDifference(WindowPixels(display, Editor(), 300, 570), OffscreenPanelPixels(*plugin, 1.0, readout));
    };
    MoveTo(223, 102);  // GainH, resting
    EXPECT_EQ(shows("GainH"), -1);
    Button(1, true);
    MoveTo(223, 80);
    EXPECT_EQ(shows("GainH"), -1);  // during the drag, with the new value
    Button(1, false);
    MoveTo(150, 20);  // off every knob: the readout stays a while
    EXPECT_EQ(shows("GainH"), -1);
    EXPECT_EQ(shows("", 1100), -1);

    MoveTo(73, 349);  // OUT, turned by the wheel, then left
    Button(4, true);
    Button(4, false);
    MoveTo(150, 20);
    EXPECT_EQ(shows("OUT"), -1);
    EXPECT_EQ(shows("", 1100), -1);

    MoveTo(223, 102);
    Settle(100);
    handler.Clear();
    Click(223, 155);  // on the readout below GainH
    for (KeySym key : {XK_6, XK_space, XK_d, XK_b, XK_Return}) {  // "6 db"
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), True, CurrentTime);
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), False, CurrentTime);
        Settle(20);
    }
    Settle(200);
    const std::vector<HostEdit> edits = handler.Edits();
    ASSERT_EQ(edits.size(), 3u);
    EXPECT_TRUE(edits[0].kind == HostEdit::Kind::Begin && edits[1].kind == HostEdit::Kind::Perform &&
                edits[2].kind == HostEdit::Kind::End);
    for (const HostEdit& edit : edits) EXPECT_EQ(edit.id, 3u);
    const std::string text = plugin->ValueText(3, Normalized(3));
    EXPECT_NEAR(std::atof(text.c_str()), 6.0, 0.2) << text;
}
