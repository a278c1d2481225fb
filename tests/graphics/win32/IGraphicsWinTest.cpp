// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows window host in a real window (under Wine on the build machine):
// a top-level window of the test is the host's window, messages are posted
// to the editor and its entry box and dispatched by the test's message loop.
#include "../GraphicsTestSupport.h"
#include "../MenuWithSubmenu.h"

#include "Win32MessagePump.h"
#include "graphics/win32/IGraphicsWin.h"
#include "raster/PIX_Compose.h"
#include "raster/PIX_ComposeMode.h"
#include "raster/PIX_SysBitmap.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>

namespace {

constexpr char kParentClass[] = "KeldraTestHostWindow";
constexpr char kEditorClass[] = "IEditorWndClass";
constexpr PixelRect kKnobRect{100, 100, 183, 181};
constexpr PixelRect kEntryRect{120, 130, 160, 146};

/// Keys the host window received from the editor.
std::vector<WPARAM> gHostKeys;

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN) gHostKeys.push_back(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

bool EditorClassRegistered()
{
    WNDCLASSA info{};
    return GetClassInfoA(GetModuleHandleA(nullptr), kEditorClass, &info) != FALSE;
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

/// A WM_MOUSEWHEEL wParam turning by `delta` (120 a notch).
WPARAM Wheel(int delta) { return WPARAM(WORD(short(delta))) << 16; }

struct IGraphicsWinTest : ::testing::Test {
    HWND parent = nullptr;
    TestPlug plug;
    std::vector<std::string> events;
    std::unique_ptr<IGraphicsWin> g;
    ProbeControl* knob = nullptr;

    static void SetUpTestSuite()
    {
        WNDCLASSA host{};
        host.lpfnWndProc = HostWindowProc;
        host.hInstance = GetModuleHandleA(nullptr);
        host.lpszClassName = kParentClass;
        RegisterClassA(&host);
    }

    void SetUp() override
    {
        gHostKeys.clear();
        parent = CreateWindowExA(0, kParentClass, "host", WS_POPUP | WS_VISIBLE, 0, 0, 700, 700, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(parent, nullptr);
        g = MakeEditor(events, knob);
    }

    void TearDown() override
    {
        g.reset();
        if (parent) DestroyWindow(parent);
        Pump(10);
    }

    std::unique_ptr<IGraphicsWin> MakeEditor(std::vector<std::string>& log, ProbeControl*& probe)
    {
        auto editor = std::make_unique<IGraphicsWin>(&plug, 300, 570, 25);
        probe = Attach<ProbeControl>(*editor, &plug, kKnobRect, kParamLevel, log, "knob");
        editor->PrepareDrawSurface();
        return editor;
    }

    HWND Editor() const { return static_cast<HWND>(g->NativeWindow()); }
    HWND Box() const { return static_cast<HWND>(g->EntryBoxWindow()); }
    HWND Open() { return static_cast<HWND>(g->OpenEditorWindow(parent)); }

    /// Dispatches the thread's messages for `milliseconds`.
    static void Pump(int milliseconds)
    {
        PumpMessagesUntil([] { return false; }, milliseconds);
    }

    bool Logged(const std::string& text) const
    {
        return std::find(events.begin(), events.end(), text) != events.end();
    }

    /// Opens a value entry for the knob showing `text`, and gives the box the
    /// focus as a click into it would: then the user is typing.
    bool StartTyping(const char* text)
    {
        g->OpenTextEntry(knob, TextStyle{}, kEntryRect, text, plug.GetParam(kParamLevel));
        if (!Box()) return false;
        SetFocus(Editor());
        SetFocus(Box());
        return PumpMessagesUntil([&] { return g->Entry().GetState() == TextEntrySession::kEditing; });
    }

    /// Types `text` into the box, then presses `end`; false when the entry
    /// does not close.
    bool TypeAndEnd(const std::string& text, WPARAM end = VK_RETURN)
    {
        HWND box = Box();
        for (char c : text) PostMessageA(box, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 0);
        PostMessageA(box, WM_KEYDOWN, end, 0);
        return PumpMessagesUntil([&] { return !g->Entry().IsOpen(); });
    }
};

TEST_F(IGraphicsWinTest, TheEditorIsAChildOfItsClassAndTheClassGoesWithTheLastWindow)
{
    ASSERT_FALSE(EditorClassRegistered());
    HWND editor = Open();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(GetParent(editor), parent);
    char name[64] = {};
    GetClassNameA(editor, name, sizeof name);
    EXPECT_STREQ(name, kEditorClass);
    GetWindowTextA(editor, name, sizeof name);
    EXPECT_STREQ(name, "IEditor");
    EXPECT_EQ(GetWindowLongA(editor, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
    RECT client{};
    GetClientRect(editor, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 570);

    std::vector<std::string> otherEvents;
    ProbeControl* otherKnob = nullptr;
    auto other = MakeEditor(otherEvents, otherKnob);
    ASSERT_NE(other->OpenEditorWindow(parent), nullptr);
    g->CloseEditorWindow();
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_TRUE(EditorClassRegistered());
    other->CloseEditorWindow();
    EXPECT_FALSE(EditorClassRegistered());

    // Reopening an open editor puts the new window where the old one was.
    ASSERT_NE(Open(), nullptr);
    SetWindowPos(Editor(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND before = Editor();
    ASSERT_NE(Open(), nullptr);
    EXPECT_FALSE(IsWindow(before));
    RECT frame{}, host{};
    GetWindowRect(Editor(), &frame);
    GetWindowRect(parent, &host);
    EXPECT_EQ(frame.left - host.left, 40);
    EXPECT_EQ(frame.top - host.top, 30);
    g->CloseEditorWindow();
    EXPECT_FALSE(EditorClassRegistered());
}

// A host may make the window larger than the panel: the panel stays at its
// place and every other pixel shows the panel's bottom-right colour.
TEST_F(IGraphicsWinTest, AWindowLargerThanThePanelIsPaintedEverywhere)
{
    PIX_Fill(g->DrawSurface(), 0, 0, 300, 570, 0xFF336699u, 1.0f, kComposeCopy);
    PIX_Fill(g->DrawSurface(), 299, 569, 1, 1, 0xFFCC8844u, 1.0f, kComposeCopy);
    ASSERT_NE(Open(), nullptr);
    SetWindowPos(Editor(), nullptr, 0, 0, 392, 700, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(Editor(), nullptr, FALSE);
    Pump(200);
    HDC dc = GetDC(Editor());
    for (auto [x, y] : {std::pair{0, 0}, std::pair{150, 300}, std::pair{298, 569}})
        EXPECT_EQ(GetPixel(dc, x, y), RGB(0x33, 0x66, 0x99)) << x << "," << y;
    for (auto [x, y] : {std::pair{300, 0}, std::pair{391, 300}, std::pair{0, 570}, std::pair{299, 699},
                        std::pair{391, 699}})
        EXPECT_EQ(GetPixel(dc, x, y), RGB(0xCC, 0x88, 0x44)) << x << "," << y;
    ReleaseDC(Editor(), dc);
}

TEST_F(IGraphicsWinTest, ButtonsDragAndWheelReachTheControlUnderThePointer)
{
    ASSERT_NE(Open(), nullptr);
    PostMessageA(Editor(), WM_LBUTTONDOWN, MK_LBUTTON, At(120, 150));
    PostMessageA(Editor(), WM_MOUSEMOVE, MK_LBUTTON, At(120, 140));
    PostMessageA(Editor(), WM_MOUSEMOVE, MK_LBUTTON, At(120, 140));
    PostMessageA(Editor(), WM_LBUTTONUP, 0, At(120, 130));
    ASSERT_TRUE(PumpMessagesUntil([&] { return Logged("knob release 120,130"); }));
    EXPECT_EQ(plug.log, (std::vector<std::string>{"begin 0", "end 0"}));
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const std::string& e) { return e.rfind("knob drag", 0) == 0; }),
              1);
    EXPECT_EQ(GetCapture(), nullptr);

    // A middle press is dispatched without a left or right flag, and its
    // release ends the capture.
    PostMessageA(Editor(), WM_MBUTTONDOWN, MK_MBUTTON, At(110, 110));
    ASSERT_TRUE(PumpMessagesUntil([&] { return GetCapture() == Editor(); }));
    PostMessageA(Editor(), WM_MBUTTONUP, 0, At(110, 110));
    ASSERT_TRUE(PumpMessagesUntil([&] { return GetCapture() == nullptr; }));
    EXPECT_EQ(plug.log.size(), 4u);

    // The wheel's position is on the screen; a notch is one step, a finer
    // delta adds up until it makes one (the half notch turns nothing on its
    // own but joins the next two notches: still two steps, half left over).
    POINT screen{130, 160};
    ClientToScreen(Editor(), &screen);
    events.clear();
    plug.log.clear();
    const auto turns = [&] {
        std::vector<std::string> wheel;
        std::copy_if(events.begin(), events.end(), std::back_inserter(wheel),
                     [](const std::string& e) { return e.rfind("knob wheel", 0) == 0; });
        return wheel;
    };
    PostMessageA(Editor(), WM_MOUSEWHEEL, Wheel(WHEEL_DELTA), At(screen.x, screen.y));
    PostMessageA(Editor(), WM_MOUSEWHEEL, Wheel(-60), At(screen.x, screen.y));
    PostMessageA(Editor(), WM_MOUSEWHEEL, Wheel(-2 * WHEEL_DELTA), At(screen.x, screen.y));
    Pump(100);
    EXPECT_EQ(turns(), (std::vector<std::string>{"knob wheel 1", "knob wheel -2"}));
    PostMessageA(Editor(), WM_MOUSEWHEEL, Wheel(-60), At(screen.x, screen.y));
    Pump(100);
    EXPECT_EQ(turns().back(), "knob wheel -1");
    // The test's pointer is not over the window: the system reports it
    // gone, which ends each turn's gesture without waiting for the rest.
    // The system says so when it next looks, later on a busy machine.
    EXPECT_TRUE(PumpMessagesUntil([&] { return Logged("knob out"); }));
    ASSERT_FALSE(plug.log.empty());
    EXPECT_EQ(plug.log.front(), "begin 0");
    EXPECT_EQ(plug.log.back(), "end 0");
    EXPECT_EQ(std::count(plug.log.begin(), plug.log.end(), "begin 0"),
              std::count(plug.log.begin(), plug.log.end(), "end 0"));
}

TEST_F(IGraphicsWinTest, KeysNoControlTakesGoToTheHostWindow)
{
    ASSERT_NE(Open(), nullptr);
    PostMessageA(Editor(), WM_KEYDOWN, 'B', 0);
    PostMessageA(Editor(), WM_KEYDOWN, VK_F5, 0);
    ASSERT_TRUE(PumpMessagesUntil([&] { return gHostKeys.size() == 2; }));
    EXPECT_EQ(gHostKeys, (std::vector<WPARAM>{'B', VK_F5}));
}

TEST_F(IGraphicsWinTest, TypedValueIsFilteredAndCommittedByReturn)
{
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(StartTyping("0.25"));
    char className[16] = {};
    GetClassNameA(Box(), className, sizeof className);
    EXPECT_STREQ(className, "Edit");
    EXPECT_EQ(GetDlgCtrlID(Box()), 99);
    ASSERT_TRUE(TypeAndEnd("0a.x5"));
    EXPECT_EQ(Box(), nullptr);
    EXPECT_DOUBLE_EQ(knob->Value(), 0.5);
}

TEST_F(IGraphicsWinTest, EscapeOrAClickOnTheEditorCancelsAndTheLengthLimitHoldsBackTyping)
{
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(StartTyping("0.25"));
    ASSERT_TRUE(TypeAndEnd("0.9", VK_ESCAPE));
    EXPECT_EQ(knob->Value(), 0.0);

    ASSERT_TRUE(StartTyping("0.25"));
    PostMessageA(Box(), WM_CHAR, '9', 0);
    PostMessageA(Editor(), WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
    ASSERT_TRUE(PumpMessagesUntil([&] { return !g->Entry().IsOpen(); }));
    EXPECT_EQ(knob->Value(), 0.0);
    EXPECT_TRUE(plug.log.empty());

    knob->SetEntryMaxLength(5);
    ASSERT_TRUE(StartTyping(""));
    // "0.9", backspace, then "1234": only "0.123" fits in five characters.
    ASSERT_TRUE(TypeAndEnd("0.9\b1234"));
    EXPECT_DOUBLE_EQ(knob->Value(), 0.123);
}

TEST_F(IGraphicsWinTest, ClosingWithAnOpenEntryLeavesNoBoxAndALaterEntryOpens)
{
    ASSERT_NE(Open(), nullptr);
    g->OpenTextEntry(knob, TextStyle{}, kEntryRect, "0.25", plug.GetParam(kParamLevel));
    HWND box = Box();
    ASSERT_NE(box, nullptr);
    g->CloseEditorWindow();
    EXPECT_FALSE(IsWindow(box));
    EXPECT_FALSE(g->Entry().IsOpen());
    ASSERT_NE(Open(), nullptr);
    g->OpenTextEntry(knob, TextStyle{}, kEntryRect, "0.25", plug.GetParam(kParamLevel));
    EXPECT_NE(Box(), nullptr);
}

TEST_F(IGraphicsWinTest, AWindowDestroyedWithTheHostsIsForgottenAndTheClassReleased)
{
    HWND editor = Open();
    ASSERT_NE(editor, nullptr);
    PostMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(120, 150));
    ASSERT_TRUE(PumpMessagesUntil([&] { return Logged("knob press 120,150"); }));
    DestroyWindow(parent);
    parent = nullptr;
    EXPECT_EQ(g->NativeWindow(), nullptr);
    // The press it held ends its gesture.
    EXPECT_EQ(plug.log, (std::vector<std::string>{"begin 0", "end 0"}));
    g->CloseEditorWindow();
    EXPECT_FALSE(EditorClassRegistered());
}

TEST_F(IGraphicsWinTest, PopupMenuReturnsTheSubmenuOfTheChosenItemAndRepaintsTheEditor)
{
    ASSERT_NE(Open(), nullptr);
    // The keyboard walks the menu: "B", into its submenu, "y", chosen.
    MenuWithSubmenu menu(2);
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN})
        PostMessageA(Editor(), WM_KEYDOWN, key, 0);
    ASSERT_EQ(g->RunPopupMenu(menu.top, kEntryRect), menu.sub);
    EXPECT_EQ(menu.sub->ChosenIndex(), 1);
    EXPECT_EQ(menu.top.ChosenIndex(), -1);

    Pump(100);
    MenuWithSubmenu cancelled;
    PostMessageA(Editor(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(g->RunPopupMenu(cancelled.top, kEntryRect), nullptr);
    EXPECT_EQ(cancelled.top.ChosenIndex(), -1);
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(Editor(), &update, FALSE));
    EXPECT_EQ(update.right - update.left, 300);
    EXPECT_EQ(update.bottom - update.top, 570);
}

TEST_F(IGraphicsWinTest, TheHoveredControlsTooltipShowsUntilThePointerLeaves)
{
    g->SetTrackHover(true);
    g->SetTooltipsEnabled(true);
    knob->SetTooltip("Level");
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(g->TooltipsEnabled());
    // The system gives a popup the child's top-level window as its owner.
    HWND tip = FindWindowExA(nullptr, nullptr, "tooltips_class32", nullptr);
    while (tip && GetWindow(tip, GW_OWNER) != parent) tip = FindWindowExA(nullptr, tip, "tooltips_class32", nullptr);
    ASSERT_NE(tip, nullptr);
    const auto tipText = [&] {
        char text[64] = {};
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = Editor();
        tool.uId = reinterpret_cast<UINT_PTR>(Editor());
        tool.lpszText = text;
        SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        return std::string(text);
    };
    PostMessageA(Editor(), WM_MOUSEMOVE, 0, At(120, 150));
    PostMessageA(Editor(), WM_MOUSEHOVER, 0, At(120, 150));
    Pump(100);
    EXPECT_EQ(tipText(), "Level");
    PostMessageA(Editor(), WM_MOUSELEAVE, 0, 0);
    Pump(100);
    EXPECT_EQ(tipText(), "");
    EXPECT_TRUE(Logged("knob out"));
}

TEST_F(IGraphicsWinTest, ClipboardTextArrivesAsUtf8AndFoldersEndInABackslash)
{
    ASSERT_NE(Open(), nullptr);
    const auto putOnClipboard = [&](UINT format, const void* data, size_t bytes) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        std::memcpy(GlobalLock(memory), data, bytes);
        GlobalUnlock(memory);
        ASSERT_TRUE(OpenClipboard(parent));
        EmptyClipboard();
        SetClipboardData(format, memory);
        CloseClipboard();
    };
    const wchar_t greeting[] = L"Gr\u00fc\u00dfe";
    putOnClipboard(CF_UNICODETEXT, greeting, sizeof greeting);
    std::string text;
    EXPECT_TRUE(g->ReadClipboardText(text));
    EXPECT_EQ(text, "Gr\xc3\xbc\xc3\x9f" "e");

    const UINT custom = RegisterClipboardFormatA("KeldraTestData");
    putOnClipboard(custom, "abc", 4);
    EXPECT_FALSE(g->ReadClipboardText(text));
    EXPECT_EQ(text, "");

    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    const std::string folder = g->HostFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(std::string(program).rfind(folder, 0), 0u);
    // The window host is linked into this program: its module is the program.
    EXPECT_EQ(g->PluginFolder(), folder);
}

} // namespace
