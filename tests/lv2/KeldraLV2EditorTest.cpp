// SPDX-License-Identifier: GPL-3.0-or-later
// The LV2 editor opened on a real X server (Xvfb under ./test.sh) as an LV2
// host opens an X11 UI: a parent window, instance-access, idle calls, port
// events, and pointer input from the XTest extension.
#include "LV2Instance.h"
#include "PanelPixels.h"
#include "TemporaryFolder.h"

#include "host/HostApplication.h"
#include "host/HostComponentHandler.h"
#include "host/PluginInstance.h"
#include "host/PluginModule.h"

#include <lv2/atom/atom.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/options/options.h>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <string>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

// After every other header: Xlib defines short macro names (None, Bool, Status).
#include "X11TestWindows.h"
#include <X11/extensions/XTest.h>

namespace {

constexpr std::uint32_t kGainHighPort = 7;

// What the host heard from the editor, in order.
struct HostEvent {
    enum class Kind { Grab, Write, Release } kind;
    std::uint32_t port;
    float value;
};

void Write(LV2UI_Controller controller, std::uint32_t port, std::uint32_t size, std::uint32_t format,
           const void* buffer)
{
    ASSERT_EQ(format, 0u);
    ASSERT_EQ(size, sizeof(float));
    static_cast<std::vector<HostEvent>*>(controller)->push_back(
        {HostEvent::Kind::Write, port, *static_cast<const float*>(buffer)});
}

void Touch(LV2UI_Feature_Handle handle, std::uint32_t port, bool grabbed)
{
    static_cast<std::vector<HostEvent>*>(handle)->push_back(
        {grabbed ? HostEvent::Kind::Grab : HostEvent::Kind::Release, port, 0.0f});
}

// A program the test starts and stops (SIGTERM, then SIGKILL).
class ChildProgram {
public:
    explicit ChildProgram(std::vector<std::string> argv)
    {
        std::vector<char*> args;
        for (std::string& arg : argv)
            args.push_back(arg.data());
        args.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&mPid, args[0], &actions, nullptr, args.data(), environ) != 0)
            mPid = 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ChildProgram()
    {
        if (mPid == 0)
            return;
        ::kill(mPid, SIGTERM);
        for (int i = 0; i < 20 && waitpid(mPid, nullptr, WNOHANG) == 0; ++i)
            ::usleep(50000);
        if (waitpid(mPid, nullptr, WNOHANG) == 0) {
            ::kill(mPid, SIGKILL);
            waitpid(mPid, nullptr, 0);
        }
    }
    bool Started() const { return mPid != 0; }

private:
    pid_t mPid = 0;
};

// Windows of another program may go away while the test looks at them.
int IgnoreXError(Display*, XErrorEvent*)
{
    return 0;
}

// The first window of KELDRA's class ("keldra", "KELDRA") at or below
// `window`, or 0: the host's own windows may carry the plug-in's name.
Window FindEditorWindow(Display* display, Window window)
{
    XClassHint hint{};
    if (XGetClassHint(display, window, &hint) != 0) {
        const bool found = hint.res_name != nullptr && hint.res_class != nullptr
                           && std::strcmp(hint.res_name, "keldra") == 0 && std::strcmp(hint.res_class, "KELDRA") == 0;
        XFree(hint.res_name);
        XFree(hint.res_class);
        if (found)
            return window;
    }
    for (const Window child : ChildWindows(display, window))
        if (const Window found = FindEditorWindow(display, child))
            return found;
    return 0;
}

class KeldraLV2Editor : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display";
        display = SharedDisplay();
        ASSERT_NE(display, nullptr);
        ASSERT_NE(module.UiDescriptor(), nullptr);
        ASSERT_NE(plugin.Handle(), nullptr);
        parent = CreateParentWindow(display);
    }

    void TearDown() override
    {
        Close();
        if (display != nullptr && parent != 0) {
            XDestroyWindow(display, parent);
            XSync(display, False);
        }
    }

    // Instantiates the UI with the given features on, and the host's
    // ui:scaleFactor when `scale` is above 0; the handle or nullptr.
    LV2UI_Handle Open(bool withInstance = true, bool withParent = true, float scale = 0.0f)
    {
        LV2_Feature instance{LV2_INSTANCE_ACCESS_URI, plugin.Handle()};
        LV2_Feature window{LV2_UI__parent, reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent))};
        LV2_Feature touch{LV2_UI__touch, &touchFeature};
        LV2_Feature map{LV2_URID__map, urids.Feature()};
        LV2_Feature resize{LV2_UI__resize, &resizeFeature};
        const std::vector<LV2_Options_Option> scaleOption = ScaleOption(scale);
        LV2_Feature options{LV2_OPTIONS__options, const_cast<LV2_Options_Option*>(scaleOption.data())};
        std::vector<const LV2_Feature*> features{&touch, &map, &resize};
        if (scale > 0.0f)
            features.push_back(&options);
        if (withInstance)
            features.push_back(&instance);
        if (withParent)
            features.push_back(&window);
        features.push_back(nullptr);
        LV2UI_Widget widget = nullptr;
        const LV2UI_Descriptor* descriptor = module.UiDescriptor();
        ui = descriptor->instantiate(descriptor, "urn:brackenfold:keldra", module.Bundle().c_str(), Write, &events,
                                     &widget, features.data());
        if (ui != nullptr) {
            const auto* idle = static_cast<const LV2UI_Idle_Interface*>(
                descriptor->extension_data(LV2_UI__idleInterface));
            EXPECT_NE(idle, nullptr);
            idleInterface = idle;
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(widget), Editor());
        }
        return ui;
    }

    // ui:scaleFactor `scale` as a host's options list (ended by a zeroed
    // option), pointing at `scale`.
    std::vector<LV2_Options_Option> ScaleOption(const float& scale)
    {
        return {{LV2_OPTIONS_INSTANCE, 0, urids.Map(LV2_UI__scaleFactor), sizeof(float), urids.Map(LV2_ATOM__Float),
                 &scale},
                {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
    }

    static int Resized(LV2UI_Feature_Handle handle, int width, int height)
    {
        *static_cast<std::pair<int, int>*>(handle) = {width, height};
        return 0;
    }

    void Close()
    {
        if (ui != nullptr)
            module.UiDescriptor()->cleanup(ui);
        ui = nullptr;
    }

    // The host's idle calls for a while, as a host's 25-30 Hz idle timer.
    void Idle(int milliseconds = 200)
    {
        for (int elapsed = 0; elapsed <= milliseconds; elapsed += 10) {
            XSync(display, False);
            ASSERT_EQ(idleInterface->idle(ui), 0);
            ::usleep(10000);
        }
    }

    std::uintptr_t Editor() { return OnlyChildWindow(display, parent); }

    std::size_t TopLevelWindows() { return ChildWindows(display, DefaultRootWindow(display)).size(); }

    // The settings as an LV2 instance saves them.
    std::vector<std::uint8_t> ChunkOf(const std::vector<std::pair<int, float>>& settings)
    {
        LV2Instance reference(module);
        for (const auto& setting : settings)
            reference.Control(setting.first) = setting.second;
        reference.Run(std::vector<float>(1), std::vector<float>(1), 1);
        std::string type;
        return reference.SaveState(type);
    }

    // The panel keldra-render draws at `scale` for the VST3 build restored
    // from `chunk`, with knob `readout`'s value shown (empty: none).
    std::vector<std::uint32_t> Vst3Panel(const std::vector<std::uint8_t>& chunk, double scale = 1.0,
                                         const std::string& readout = {})
    {
        std::string error;
        auto vst3Module = PluginModule::Load(KELDRA_BUNDLE_PATH, error);
        EXPECT_NE(vst3Module, nullptr) << error;
        HostApplication app{"KELDRA LV2 editor test"};
        HostComponentHandler handler;
        auto vst3 = PluginInstance::Create(*vst3Module, app, handler, error);
        EXPECT_NE(vst3, nullptr) << error;
        if (vst3 == nullptr)
            return {};
        EXPECT_EQ(vst3->LoadState(chunk), Steinberg::kResultOk);
        return OffscreenPanelPixels(*vst3, scale, readout);
    }

    void MoveTo(int x, int y)
    {
        XTestFakeMotionEvent(display, -1, kParentX + x, kParentY + y, CurrentTime);
        Idle(20);
    }

    void Button(bool down)
    {
        XTestFakeButtonEvent(display, 1, down ? True : False, CurrentTime);
        Idle(20);
    }

    Display* display = nullptr;
    Window parent = 0;
    LV2Module module{KELDRA_LV2_BUNDLE_PATH};
    LV2Instance plugin{module};
    std::vector<HostEvent> events;
    LV2UI_Touch touchFeature{&events, Touch};
    UridTable urids;
    std::pair<int, int> resized;
    LV2UI_Resize resizeFeature{&resized, Resized};
    LV2UI_Handle ui = nullptr;
    const LV2UI_Idle_Interface* idleInterface = nullptr;
};

TEST_F(KeldraLV2Editor, ADragAndAWheelTurnAreEachOneTouchedGestureWrittenToTheHost)
{
    ASSERT_NE(Open(), nullptr);
    Idle(100);
    MoveTo(223, 102); // GainH
    Button(true);
    for (int step = 1; step <= 4; ++step)
        MoveTo(223, 102 - 10 * step);
    Button(false);

    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front().kind, HostEvent::Kind::Grab);
    EXPECT_EQ(events.back().kind, HostEvent::Kind::Release);
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].port, kGainHighPort);
        if (i > 0 && i + 1 < events.size()) {
            EXPECT_EQ(events[i].kind, HostEvent::Kind::Write);
        }
    }
    // 40 pixels up on a knob geared 4 x 81 pixels per turn.
    const float expected = static_cast<float>(0.5 + 40.0 / 324.0);
    EXPECT_NEAR(events[events.size() - 2].value, expected, 1e-6);

    // The host writes the value to the port: the instance keeps the edit.
    plugin.Control(3) = events[events.size() - 2].value;
    plugin.Run(std::vector<float>(1), std::vector<float>(1), 1);
    std::string type;
    const std::vector<std::uint8_t> chunk = plugin.SaveState(type);
    double gainHigh = 0.0;
    ASSERT_EQ(chunk.size(), 68u);
    std::memcpy(&gainHigh, chunk.data() + 3 * sizeof(double), sizeof(double));
    EXPECT_NEAR(gainHigh, 0.5 + 40.0 / 324.0, 1e-9);
    EXPECT_NE(gainHigh, static_cast<double>(expected)) << "the editor's double-precision value stands";

    // A wheel turn is touched as one gesture too, released once the wheel rests.
    events.clear();
    for (int notch = 0; notch < 2; ++notch) {
        XTestFakeButtonEvent(display, 4, True, CurrentTime);
        XTestFakeButtonEvent(display, 4, False, CurrentTime);
        Idle(20);
    }
    Idle(100);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, HostEvent::Kind::Grab);
    EXPECT_EQ(events[1].kind, HostEvent::Kind::Write);
    EXPECT_EQ(events[2].kind, HostEvent::Kind::Write);
    Idle(700);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[3].kind, HostEvent::Kind::Release);
    EXPECT_EQ(events[3].port, kGainHighPort);
}

TEST_F(KeldraLV2Editor, ClosesWithoutTraceReopensShowsAndRefusesHostsWithoutInstanceAccess)
{
    ASSERT_NE(Open(), nullptr);
    Idle(100);
    Close();
    XSync(display, False);
    EXPECT_EQ(Editor(), 0u);
    // The effect keeps running without the editor.
    plugin.Run(std::vector<float>(64, 0.5f), std::vector<float>(64, 0.5f), 64);

    ASSERT_NE(Open(), nullptr);
    EXPECT_NE(Editor(), 0u);
    Close();
    XSync(display, False);
    EXPECT_EQ(Editor(), 0u);

    // Without a parent the host shows and hides the UI in a window of its own.
    const std::size_t before = TopLevelWindows();
    ASSERT_NE(Open(true, false), nullptr);
    EXPECT_EQ(TopLevelWindows(), before);
    const auto* show =
        static_cast<const LV2UI_Show_Interface*>(module.UiDescriptor()->extension_data(LV2_UI__showInterface));
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(show->show(ui), 0);
    Idle(100);
    EXPECT_EQ(TopLevelWindows(), before + 1);
    EXPECT_EQ(show->hide(ui), 0);
    EXPECT_EQ(show->show(ui), 0);
    Close();
    XSync(display, False);
    EXPECT_EQ(TopLevelWindows(), before);

    EXPECT_EQ(Open(false, true), nullptr);
    XSync(display, False);
    EXPECT_EQ(Editor(), 0u);
}

// Ardour hands its interface scale to LV2 UIs as ui:scaleFactor: the window
// shows the panel keldra-render draws at that scale, and a new scale through
// the options interface resizes the window and tells the host.
TEST_F(KeldraLV2Editor, TheHostsScaleFactorShowsThePanelAtThatScale)
{
    XMoveResizeWindow(display, parent, 0, 0, 600, 1140);
    const std::vector<std::uint8_t> defaults = ChunkOf({});
    for (const float scale : {1.5f, 2.0f}) {
        SCOPED_TRACE(scale);
        ASSERT_NE(Open(true, true, scale), nullptr);
        const std::pair<int, int> size{static_cast<int>(std::ceil(300 * scale)), static_cast<int>(std::ceil(570 * scale))};
        EXPECT_EQ(resized, size);
        Idle(150);
        EXPECT_EQ(FirstDifferenceOnScreen(display, Editor(), 0, 0, Vst3Panel(defaults, scale), scale), -1);
        Close();
    }

    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(resized, (std::pair<int, int>{300, 570}));
    const auto* options =
        static_cast<const LV2_Options_Interface*>(module.UiDescriptor()->extension_data(LV2_OPTIONS__interface));
    ASSERT_NE(options, nullptr);
    const float two = 2.0f;
    const std::vector<LV2_Options_Option> twice = ScaleOption(two);
    EXPECT_EQ(options->set(ui, twice.data()), 0u);
    EXPECT_EQ(resized, (std::pair<int, int>{600, 1140}));
    Idle(150);
    EXPECT_EQ(FirstDifferenceOnScreen(display, Editor(), 0, 0, Vst3Panel(defaults, 2.0), 2.0), -1);
}

TEST_F(KeldraLV2Editor, InJalvTheEmbeddedWindowShowsThePanelAndFollowsADrag)
{
    // jalv.gtk3 on a JACK server of the test's own with a dummy driver,
    // finding the bundle alone on its LV2_PATH.
    const std::string server = "keldra-lv2-test-" + std::to_string(::getpid());
    ::setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
    ::setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
    const TemporaryFolder folder("keldra-lv2-path-");
    ASSERT_FALSE(folder.Path().empty());
    ASSERT_EQ(::symlink(KELDRA_LV2_BUNDLE_PATH, folder.Path("keldra.lv2").c_str()), 0);
    ::setenv("LV2_PATH", folder.Path().c_str(), 1);
    XSetErrorHandler(IgnoreXError);
    ChildProgram jack({"jackd", "-n", server, "-d", "dummy", "-r", "48000", "-p", "512"});
    ASSERT_TRUE(jack.Started());
    ::usleep(500000);
    ChildProgram jalv({"jalv.gtk3", "-c", "out_gain=6", "-c", "hpf=0.25", "-c", "gain_h=0.75", "-c",
                       "oversampling=1", "urn:brackenfold:keldra"});
    ASSERT_TRUE(jalv.Started());

    // The panel of these settings, once jalv has shown them (it tells its
    // UI every control's value through port events).
    const std::vector<std::uint32_t> expected =
        Vst3Panel(ChunkOf({{0, 6.0f}, {1, 0.25f}, {3, 0.75f}, {7, 1.0f}}));
    ASSERT_FALSE(expected.empty());
    Window editor = 0;
    long difference = 0;
    for (int attempt = 0; attempt < 200 && difference != -1; ++attempt) {
        ::usleep(50000);
        editor = FindEditorWindow(display, DefaultRootWindow(display));
        if (editor != 0)
            difference = FirstDifferentPixel(WindowPixels(display, editor, 300, 570), expected);
    }
    ASSERT_NE(editor, 0u) << "jalv.gtk3 showed no editor";
    EXPECT_EQ(difference, -1);

    // A drag on GainH in jalv's window: jalv's idle calls run the editor's
    // events and redraw, and the panel shows the knob turned, and its value
    // while the pointer rests on it.
    Window child = 0;
    int x = 0, y = 0;
    XTranslateCoordinates(display, editor, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    XTestFakeMotionEvent(display, -1, x + 223, y + 102, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    for (int step = 1; step <= 4; ++step) {
        XSync(display, False);
        ::usleep(100000);
        XTestFakeMotionEvent(display, -1, x + 223, y + 102 - 10 * step, CurrentTime);
    }
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
    const std::vector<std::uint32_t> turned =
        Vst3Panel(ChunkOf({{0, 6.0f}, {1, 0.25f}, {3, static_cast<float>(0.75 + 40.0 / 324.0)}, {7, 1.0f}}), 1.0,
                  "GainH");
    difference = 0;
    for (int attempt = 0; attempt < 100 && difference != -1; ++attempt) {
        ::usleep(50000);
        difference = FirstDifferentPixel(WindowPixels(display, editor, 300, 570), turned);
    }
    EXPECT_EQ(difference, -1);
}

} // namespace
