// SPDX-License-Identifier: GPL-3.0-or-later
// The built module's editor opened in a real window (under Wine and Xvfb on
// the build machine), as a Windows host opens it: a top-level window of the
// test is the parent, input is posted to the editor window as the system
// would deliver it, and the test's message loop dispatches it.
#include "PanelPixels.h"
#include "Win32MessagePump.h"
#include "host/HostApplication.h"
#include "host/HostComponentHandler.h"
#include "host/HostPlugFrame.h"
#include "host/PluginInstance.h"
#include "host/PluginModule.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/PIX_PngLoader.h"
#include "tools/PanelSnapshot.h"
#include "tools/PngWriter.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <tuple>

using namespace Steinberg;

namespace {

constexpr char kHostClass[] = "KeldraTestHostFrame";
constexpr char kEditorClass[] = "IEditorWndClass";
constexpr char kProductPage[] = "https://www.brackenfold.com/product/keldra/";
constexpr char kUrlCommandKey[] = "Software\\Classes\\https\\shell\\open\\command";

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

void Pump(int milliseconds = 120)
{
    PumpMessagesUntil([] { return false; }, milliseconds);
}

/// A web browser that only writes down the addresses it is given: the
/// https protocol's open command points at the command interpreter, which
/// appends its argument to a file. The previous command comes back at the end.
class FakeBrowser {
public:
    FakeBrowser()
    {
        char folder[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, folder);
        mLog = std::string(folder) + "keldra-opened-" + std::to_string(GetCurrentProcessId()) + ".txt";
        DeleteFileA(mLog.c_str());
        char shell[MAX_PATH] = {};
        GetSystemDirectoryA(shell, MAX_PATH);
        const std::string command = "\"" + std::string(shell) + "\\cmd.exe\" /c echo %1>>\"" + mLog + "\"";
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUrlCommandKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                            &mKey, nullptr) != ERROR_SUCCESS)
            return;
        char previous[1024] = {};
        DWORD size = sizeof previous;
        mHadPrevious = RegQueryValueExA(mKey, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(previous),
                                        &size) == ERROR_SUCCESS;
        mPrevious = previous;
        mReady = RegSetValueExA(mKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                DWORD(command.size() + 1)) == ERROR_SUCCESS;
    }
    ~FakeBrowser()
    {
        if (mKey) {
            if (mHadPrevious)
                RegSetValueExA(mKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(mPrevious.c_str()),
                               DWORD(mPrevious.size() + 1));
            else
                RegDeleteValueA(mKey, nullptr);
            RegCloseKey(mKey);
        }
        DeleteFileA(mLog.c_str());
    }
    bool Ready() const { return mReady; }
    /// Addresses opened so far, one a line (waits up to `milliseconds` for the first line).
    std::string Opened(int milliseconds) const
    {
        std::string text;
        PumpMessagesUntil(
            [&] {
                std::ifstream log(mLog);
                text.assign(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
                // A whole line: the interpreter may still be writing.
                return !text.empty() && text.back() == '\n';
            },
            milliseconds);
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        return text;
    }

private:
    HKEY mKey = nullptr;
    bool mHadPrevious = false;
    bool mReady = false;
    std::string mPrevious;
    std::string mLog;
};

class EditorWindowWin32 : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA host{};
        host.lpfnWndProc = DefWindowProcA;
        host.hInstance = GetModuleHandleA(nullptr);
        host.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        host.lpszClassName = kHostClass;
        RegisterClassA(&host);
    }

    void SetUp() override
    {
        std::string message;
        module = PluginModule::Load(KELDRA_BUNDLE_PATH, message);
        ASSERT_TRUE(module) << message;
        plugin = PluginInstance::Create(*module, app, handler, message);
        ASSERT_TRUE(plugin) << message;
        ASSERT_TRUE(plugin->Setup(ProcessSettings{}, message)) << message;
        parent = MakeHostWindow(300, 570);
        ASSERT_NE(parent, nullptr);
        view = plugin->Controller()->createView("editor");
        ASSERT_NE(view, nullptr);
    }

    void TearDown() override
    {
        if (view) {
            view->removed();
            view->release();
        }
        if (parent) DestroyWindow(parent);
        Pump(20);
        plugin.reset();
        module.reset();
    }

    static HWND MakeHostWindow(int width, int height)
    {
        return CreateWindowExA(0, kHostClass, "host", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    }

    void Attach()
    {
        ASSERT_EQ(view->setFrame(&frame), kResultOk);
        ASSERT_EQ(view->attached(parent, kPlatformTypeHWND), kResultOk);
        Pump(200);
    }

    /// The editor window: the parent's child of the editor's class, or null.
    HWND Editor() const { return FindWindowExA(parent, nullptr, kEditorClass, nullptr); }

    void Click(int x, int y)
    {
        PostMessageA(Editor(), WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
        PostMessageA(Editor(), WM_LBUTTONUP, 0, At(x, y));
        Pump();
    }

    /// The window's pixels as 0xRRGGBB, row by row, read from its device context.
    static std::vector<uint32_t> WindowPixels(HWND window, int width, int height)
    {
        std::vector<uint32_t> pixels;
        HDC screen = GetDC(window);
        HDC copy = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(copy, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap && bits) {
            HGDIOBJ old = SelectObject(copy, bitmap);
            BitBlt(copy, 0, 0, width, height, screen, 0, 0, SRCCOPY);
            GdiFlush();
            const auto* words = static_cast<const uint32_t*>(bits);
            for (int i = 0; i < width * height; ++i) pixels.push_back(words[i] & 0xFFFFFF);
            SelectObject(copy, old);
            DeleteObject(bitmap);
        }
        DeleteDC(copy);
        ReleaseDC(window, screen);
        return pixels;
    }

    /// The panel drawn off-screen for the plug-in's current state.
    std::vector<uint32_t> OffscreenPanel() { return OffscreenPanelPixels(*plugin); }
    static long FirstDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
    {
        return FirstDifferentPixel(a, b);
    }

    static bool ClassRegistered(HINSTANCE module)
    {
        WNDCLASSA info{};
        return GetClassInfoA(module, kEditorClass, &info) != FALSE;
    }

    double Normalized(Vst::ParamID id) { return plugin->Controller()->getParamNormalized(id); }

    HostApplication app{"editor-test"};
    HostComponentHandler handler;
    std::unique_ptr<PluginModule> module;
    std::unique_ptr<PluginInstance> plugin;
    HWND parent = nullptr;
    IPlugView* view = nullptr;
    HostPlugFrame frame;
};

}  // namespace

TEST_F(EditorWindowWin32, ShowsThePanelAsTheOffscreenRenderDrawsIt)
{
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultTrue);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultFalse);
    Attach();
    HWND editor = Editor();
    ASSERT_NE(editor, nullptr);
    RECT client{};
    GetClientRect(editor, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 570);
    const std::vector<uint32_t> shown = WindowPixels(editor, 300, 570);
    EXPECT_EQ(FirstDifference(shown, OffscreenPanel()), -1);

    // The README's picture of the Windows panel is this window, saved on request.
    if (const char* capture = std::getenv("KELDRA_PANEL_CAPTURE")) {
        PIX_MemBitmap image;
        ASSERT_TRUE(image.Resize(300, 570));
        ASSERT_EQ(shown.size(), 300u * 570u);
        for (int y = 0; y < 570; ++y)
            for (int x = 0; x < 300; ++x) image.Pixels()[y * image.RowStride() + x] = 0xFF000000u | shown[y * 300 + x];
        std::string error;
        EXPECT_TRUE(WritePng(image, capture, error)) << error;
    }
}

TEST_F(EditorWindowWin32, ADragOnAKnobIsReportedToTheHostAsOneEdit)
{
    Attach();
    handler.Clear();
    HWND editor = Editor();
    PostMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(223, 102));  // GainH
    for (int step = 1; step <= 4; ++step) PostMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, At(223, 102 - 10 * step));
    PostMessageA(editor, WM_LBUTTONUP, 0, At(223, 62));
    Pump();

    const std::vector<HostEdit> edits = handler.Edits();
    ASSERT_GE(edits.size(), 3u);
    EXPECT_EQ(edits.front().kind, HostEdit::Kind::Begin);
    EXPECT_EQ(edits.back().kind, HostEdit::Kind::End);
    for (const HostEdit& edit : edits) EXPECT_EQ(edit.id, 3u);
    for (size_t i = 1; i + 1 < edits.size(); ++i) EXPECT_EQ(edits[i].kind, HostEdit::Kind::Perform);
    // 40 pixels up of the 324 that sweep the whole range.
    EXPECT_NEAR(Normalized(3), 0.5 + 40.0 / 324.0, 1e-9);
}

TEST_F(EditorWindowWin32, WheelNotchesAndTheirPartsTurnAKnobFromTheHostsValueAsOneGestureAndTheInSwitchTogglesBypass)
{
    Attach();
    ASSERT_EQ(plugin->Controller()->setParamNormalized(0, 0.7), kResultOk);  // OUT, from the host
    Pump();  // a CLAP host's value reaches the panel on the editor's tick
    handler.Clear();
    POINT screen{73, 349};  // OUT
    ClientToScreen(Editor(), &screen);
    PostMessageA(Editor(), WM_MOUSEWHEEL, WPARAM(WHEEL_DELTA) << 16, At(screen.x, screen.y));
    Pump();
    // A touchpad's parts of a notch: three fortieths make one step, in the
    // same turn, whose gesture ends about half a second after it.
    for (int part = 0; part < 3; ++part)
        PostMessageA(Editor(), WM_MOUSEWHEEL, WPARAM(WHEEL_DELTA / 3) << 16, At(screen.x, screen.y));
    Pump();
    std::vector<HostEdit> edits = handler.Edits();
    ASSERT_EQ(edits.size(), 3u);
    EXPECT_EQ(edits[0].kind, HostEdit::Kind::Begin);
    EXPECT_EQ(edits[1].kind, HostEdit::Kind::Perform);
    EXPECT_EQ(edits[2].kind, HostEdit::Kind::Perform);
    EXPECT_NEAR(edits[1].value, 0.71, 1e-12);
    EXPECT_NEAR(edits[2].value, 0.72, 1e-12);
    Pump(700);
    edits = handler.Edits();
    ASSERT_EQ(edits.size(), 4u);
    EXPECT_EQ(edits[3].kind, HostEdit::Kind::End);
    for (const HostEdit& edit : edits) EXPECT_EQ(edit.id, 0u);

    handler.Clear();
    Click(50, 500);
    EXPECT_EQ(Normalized(6), 1.0);
    edits = handler.Edits();
    ASSERT_EQ(edits.size(), 3u);
    EXPECT_EQ(edits[1].id, 6u);
    EXPECT_EQ(edits[1].value, 1.0);
    Click(50, 500);
    EXPECT_EQ(Normalized(6), 0.0);
}

TEST_F(EditorWindowWin32, OnlyTheLogoOpensTheProductPage)
{
    FakeBrowser browser;
    ASSERT_TRUE(browser.Ready());
    Attach();
    Click(250, 530);  // just above the logo
    EXPECT_EQ(browser.Opened(1500), "");
    Click(250, 560);
    EXPECT_EQ(browser.Opened(5000), std::string(kProductPage) + "\n");
}

TEST_F(EditorWindowWin32, AttachRemoveAttachLeavesNothingBehindAndRepaintsEverything)
{
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    Attach();
    HWND first = Editor();
    ASSERT_NE(first, nullptr);
    const auto dll = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(first, GWLP_HINSTANCE));
    EXPECT_TRUE(ClassRegistered(dll));
    for (int cycle = 0; cycle < 3; ++cycle) {
        ASSERT_EQ(view->removed(), kResultOk);
        Pump(60);
        EXPECT_EQ(Editor(), nullptr);
        EXPECT_FALSE(ClassRegistered(dll));
        ASSERT_EQ(view->attached(parent, kPlatformTypeHWND), kResultOk);
        Pump(60);
    }
    ASSERT_EQ(view->removed(), kResultOk);
    Pump(60);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_FALSE(ClassRegistered(dll));
    // The system's own count, where it keeps one (Wine reports 0 throughout).
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore);

    // Something else paints the parent meanwhile.
    HDC dc = GetDC(parent);
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    const RECT all{0, 0, 300, 570};
    FillRect(dc, &all, magenta);
    DeleteObject(magenta);
    ReleaseDC(parent, dc);

    ASSERT_EQ(view->attached(parent, kPlatformTypeHWND), kResultOk);
    Pump(200);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(FirstDifference(WindowPixels(Editor(), 300, 570), OffscreenPanel()), -1);
}

TEST_F(EditorWindowWin32, AHostThatNeverCallsRemovedLosesNothingButTheWindow)
{
    // The host closes its window and drops the view without removed.
    Attach();
    HWND editor = Editor();
    ASSERT_NE(editor, nullptr);
    const auto dll = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(editor, GWLP_HINSTANCE));
    DestroyWindow(parent);
    parent = nullptr;
    Pump(60);
    view->release();
    view = nullptr;
    EXPECT_FALSE(ClassRegistered(dll));

    // The plug-in goes on, and its editor opens again.
    parent = MakeHostWindow(300, 570);
    view = plugin->Controller()->createView("editor");
    ASSERT_NE(view, nullptr);
    Attach();
    EXPECT_NE(Editor(), nullptr);
    view->release();
    view = nullptr;
    EXPECT_EQ(Editor(), nullptr);
}

TEST_F(EditorWindowWin32, ContentScalesTwoAndOneAndAHalfShowThePanelAtTheWindowsPixelSize)
{
    IPlugViewContentScaleSupport* scaling = nullptr;
    ASSERT_EQ(view->queryInterface(IPlugViewContentScaleSupport::iid, reinterpret_cast<void**>(&scaling)), kResultOk);
    EXPECT_EQ(scaling->setContentScaleFactor(2.0f), kResultOk);
    ViewRect size;
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.getWidth(), 600);
    EXPECT_EQ(size.getHeight(), 1140);

    SetWindowPos(parent, nullptr, 0, 0, 600, 1140, SWP_NOZORDER | SWP_NOACTIVATE);
    Attach();
    HWND editor = Editor();
    ASSERT_NE(editor, nullptr);
    // The panel composed from the 2x artwork, then reduced to 450 x 855
    // (the part on the screen is compared).
    for (const auto& [scale, width, height] : {std::tuple{2.0, 600, 1140}, std::tuple{1.5, 450, 855}}) {
        EXPECT_EQ(scaling->setContentScaleFactor(float(scale)), kResultOk);
        Pump(200);
        RECT client{};
        GetClientRect(editor, &client);
        EXPECT_EQ(client.right, width);
        EXPECT_EQ(client.bottom, height);
        const std::vector<uint32_t> panel = OffscreenPanelPixels(*plugin, scale);
        ASSERT_EQ(panel.size(), size_t(width) * size_t(height));
        const int shown = std::min(height, GetSystemMetrics(SM_CYSCREEN));
        const std::vector<uint32_t> window = WindowPixels(editor, width, shown);
        ASSERT_EQ(window.size(), size_t(width) * size_t(shown));
        EXPECT_EQ(FirstDifferentPixel(window, std::vector<uint32_t>(panel.begin(), panel.begin() + window.size())), -1)
            << "at " << scale;
    }
    scaling->release();
}

// The knob's value readout, as on Linux: while the pointer rests on the
// knob, during a drag and a second after a drag or a wheel turn, drawn as
// the off-screen panel draws it.
TEST_F(EditorWindowWin32, AKnobShowsItsValueWhileTouchedAndASecondAfter)
{
    Attach();
    HWND editor = Editor();
    const auto shows = [&](const char* readout, int milliseconds = 0) {
        Pump(milliseconds);
        return FirstDifference(WindowPixels(editor, 300, 570), OffscreenPanelPixels(*plugin, 1.0, readout));
    };
    // The system's pointer goes there too, or the editor hears it left.
    const auto moveTo = [&](int x, int y, WPARAM buttons) {
        POINT screen{x, y};
        ClientToScreen(editor, &screen);
        SetCursorPos(screen.x, screen.y);
        PostMessageA(editor, WM_MOUSEMOVE, buttons, At(x, y));
        Pump();
    };
    moveTo(223, 102, 0);  // GainH, resting
    EXPECT_EQ(shows("GainH"), -1);
    PostMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(223, 102));
    moveTo(223, 80, MK_LBUTTON);
    EXPECT_EQ(shows("GainH"), -1);  // during the drag, with the new value
    PostMessageA(editor, WM_LBUTTONUP, 0, At(223, 80));
    moveTo(150, 20, 0);  // off every knob: the readout stays a while
    EXPECT_EQ(shows("GainH"), -1);
    EXPECT_EQ(shows("", 1100), -1);

    moveTo(73, 349, 0);  // OUT, turned by the wheel, then left
    POINT screen{};
    GetCursorPos(&screen);
    PostMessageA(editor, WM_MOUSEWHEEL, WPARAM(WHEEL_DELTA) << 16, At(screen.x, screen.y));
    Pump();
    moveTo(150, 20, 0);
    EXPECT_EQ(shows("OUT"), -1);
    EXPECT_EQ(shows("", 1100), -1);
}
