// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeWindowGraphics.h"

#include "framework/FourCharCode.h"
#include "host/HostPlugFrame.h"
#include "host/HostRunLoop.h"
#include "vst3/IEffectVST3.h"
#include "vst3/IEffectVST3View.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

using namespace Steinberg;

namespace {

/// A two-parameter effect on the binding with a fake window host attached
/// (or none), counting the editor hooks the view calls.
class ViewEffect : public IEffectVST3 {
public:
    explicit ViewEffect(bool withEditor = true)
        : IEffectVST3(2, "1-1 2-2", 1, "ViewProbe", "", "Tester", 0x10000, MakeFourCharCode("Vpr1"),
                      MakeFourCharCode("Tstr"))
    {
        GetParam(0)->DefineContinuous("A", 0.5, 0.0, 1.0, 0.01);
        GetParam(1)->DefineContinuous("B", 0.0, 0.0, 1.0, 0.01);
        if (withEditor) {
            auto editor = std::make_unique<FakeWindowGraphics>(this, 300, 570);
            graphics = editor.get();
            AttachEditor(std::move(editor));
        }
        InitDefaultPresets("-");
    }
    void OnEditorOpened() override { ++opened; }
    void OnEditorClosed() override { ++closed; }
    void OnEditorResized() override { ++resized; }

    FakeWindowGraphics* graphics = nullptr;
    int opened = 0;
    int closed = 0;
    int resized = 0;
};

void* const kParent = reinterpret_cast<void*>(0x4242);

class EditorView : public ::testing::Test {
protected:
    ~EditorView() override
    {
        if (view) view->release();
        effect->release();
    }
    void MakeView()
    {
        view = effect->createView("editor");
        ASSERT_NE(view, nullptr);
    }
    ViewRect Size()
    {
        ViewRect rect;
        EXPECT_EQ(view->getSize(&rect), kResultOk);
        return rect;
    }
    IPtr<IPlugViewContentScaleSupport> Scaling()
    {
        IPlugViewContentScaleSupport* scaling = nullptr;
        EXPECT_EQ(view->queryInterface(IPlugViewContentScaleSupport::iid, reinterpret_cast<void**>(&scaling)),
                  kResultOk);
        return owned(scaling);
    }

    ViewEffect* effect = new ViewEffect();
    IPlugView* view = nullptr;
    HostRunLoop loop;
    HostPlugFrame frame{&loop};
};

}  // namespace

TEST_F(EditorView, OnlyTheExactNameEditorCreatesAView)
{
    for (const char* name : {"Editor", "EDITOR", "editor ", "edit", "editorx", ""})
        EXPECT_EQ(effect->createView(name), nullptr) << '"' << name << '"';
    EXPECT_EQ(effect->createView(nullptr), nullptr);

    const uint32 before = effect->addRef() - 1;
    effect->release();
    MakeView();
    // The view holds the plug-in, and lets it go with its last reference.
    EXPECT_EQ(effect->addRef() - 1, before + 1);
    effect->release();
    view->release();
    view = nullptr;
    EXPECT_EQ(effect->addRef() - 1, before);
    effect->release();
}

TEST_F(EditorView, OnlyThisPlatformsWindowTypeIsSupported)
{
    MakeView();
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
    for (FIDString other : {kPlatformTypeHWND, kPlatformTypeHIView, kPlatformTypeNSView, kPlatformTypeUIView,
                            "X11EmbedWindowId", "X11EmbedWindowIDx", ""})
        EXPECT_EQ(view->isPlatformTypeSupported(other), kResultFalse) << other;
    EXPECT_EQ(view->isPlatformTypeSupported(nullptr), kResultFalse);
}

TEST_F(EditorView, ReportsTheEditorSizeBeforeAttachingAndCannotBeResizedByTheHost)
{
    MakeView();
    const ViewRect size = Size();
    EXPECT_EQ(size.left, 0);
    EXPECT_EQ(size.top, 0);
    EXPECT_EQ(size.getWidth(), 300);
    EXPECT_EQ(size.getHeight(), 570);
    EXPECT_EQ(view->canResize(), kResultFalse);
    EXPECT_EQ(view->checkSizeConstraint(nullptr), kResultFalse);
    // Any size a host proposes comes back as the one size, at the content scale.
    const auto corners = [](const ViewRect& r) { return std::array<int32, 4>{r.left, r.top, r.right, r.bottom}; };
    ViewRect proposed(10, 20, 402, 720);
    EXPECT_EQ(view->checkSizeConstraint(&proposed), kResultTrue);
    EXPECT_EQ(corners(proposed), (std::array<int32, 4>{10, 20, 310, 590}));
    ASSERT_EQ(Scaling()->setContentScaleFactor(2.0f), kResultOk);
    EXPECT_EQ(view->checkSizeConstraint(&proposed), kResultTrue);
    EXPECT_EQ(corners(proposed), (std::array<int32, 4>{10, 20, 610, 1160}));
    EXPECT_EQ(view->onWheel(1.0f), kResultFalse);
    EXPECT_EQ(view->onFocus(true), kResultFalse);
}

TEST_F(EditorView, AttachRunsTheWindowOnTheFramesRunLoopAndRemoveLeavesNothingRegistered)
{
    MakeView();
    ASSERT_EQ(view->setFrame(&frame), kResultOk);
    ASSERT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);
    EXPECT_EQ(effect->graphics->lastParent, kParent);
    EXPECT_EQ(effect->opened, 1);
    ASSERT_NE(effect->graphics->RunLoop(), nullptr);
    EXPECT_EQ(loop.EventHandlerCount(), 1);
    EXPECT_EQ(loop.TimerCount(), 1);

    effect->graphics->SendEvent();
    loop.Pump(100);
    EXPECT_EQ(effect->graphics->events, 1);
    EXPECT_GE(effect->graphics->ticks, 1);

    ASSERT_EQ(view->removed(), kResultOk);
    EXPECT_EQ(effect->closed, 1);
    EXPECT_EQ(effect->graphics->closes, 1);
    EXPECT_EQ(effect->graphics->RunLoop(), nullptr);
    EXPECT_EQ(loop.EventHandlerCount(), 0);
    EXPECT_EQ(loop.TimerCount(), 0);
    const int ticks = effect->graphics->ticks;
    effect->graphics->SendEvent();
    loop.Pump(60);
    EXPECT_EQ(effect->graphics->ticks, ticks);
    EXPECT_EQ(effect->graphics->events, 1);

    // Attaching again registers afresh; the old registrations stay gone.
    ASSERT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);
    EXPECT_EQ(loop.EventHandlerCount(), 1);
    EXPECT_EQ(loop.TimerCount(), 1);
    loop.Pump(60);
    EXPECT_EQ(effect->graphics->events, 2);  // the byte written while closed
    EXPECT_GT(effect->graphics->ticks, ticks);
    EXPECT_EQ(effect->graphics->opens, 2);
}

TEST_F(EditorView, AHostWithoutARunLoopStillGetsTheWindow)
{
    HostPlugFrame plainFrame;
    MakeView();
    view->setFrame(&plainFrame);
    ASSERT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);
    EXPECT_EQ(effect->graphics->opens, 1);
    EXPECT_EQ(effect->graphics->RunLoop(), nullptr);
    EXPECT_EQ(view->removed(), kResultOk);
    EXPECT_EQ(effect->graphics->closes, 1);
}

TEST_F(EditorView, AttachingWithAnotherTypeOrAFailedWindowIsReportedAsFailure)
{
    MakeView();
    view->setFrame(&frame);
    EXPECT_EQ(view->attached(kParent, kPlatformTypeHWND), kResultFalse);
    EXPECT_EQ(view->attached(nullptr, kPlatformTypeX11EmbedWindowID), kResultFalse);
    effect->graphics->failOpen = true;
    EXPECT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultFalse);
    EXPECT_EQ(effect->opened, 0);
    EXPECT_EQ(effect->graphics->opens, 0);
    EXPECT_EQ(effect->graphics->RunLoop(), nullptr);

    effect->graphics->failOpen = false;
    EXPECT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);
    EXPECT_EQ(effect->opened, 1);
}

TEST_F(EditorView, ContentScaleEnlargesTheWindowAndAnAttachedViewAsksTheFrameForIt)
{
    MakeView();
    view->setFrame(&frame);
    EXPECT_EQ(Scaling()->setContentScaleFactor(2.0f), kResultOk);
    EXPECT_EQ(Size().getWidth(), 600);
    EXPECT_EQ(Size().getHeight(), 1140);
    EXPECT_TRUE(frame.ResizeRequests().empty());  // not attached: the host asks getSize itself

    ASSERT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);
    EXPECT_EQ(Scaling()->setContentScaleFactor(1.5f), kResultOk);
    ASSERT_EQ(frame.ResizeRequests().size(), 1u);
    EXPECT_EQ(frame.ResizeRequests()[0].getWidth(), 450);
    EXPECT_EQ(frame.ResizeRequests()[0].getHeight(), 855);
    // The frame answered with onSize: the request is settled.
    EXPECT_EQ(effect->resized, 1);

    // The same factor again changes nothing; unusable factors mean 1.
    Scaling()->setContentScaleFactor(1.5f);
    EXPECT_EQ(frame.ResizeRequests().size(), 1u);
    Scaling()->setContentScaleFactor(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(Size().getWidth(), 300);
    ASSERT_EQ(frame.ResizeRequests().size(), 2u);
    EXPECT_EQ(frame.ResizeRequests()[1].getHeight(), 570);
    Scaling()->setContentScaleFactor(0.5f);
    EXPECT_EQ(Size().getHeight(), 570);
    EXPECT_EQ(frame.ResizeRequests().size(), 2u);
    EXPECT_EQ(effect->resized, 2);
    // A host's own onSize is stored but is not taken as an answer to us.
    ViewRect hostRect(0, 0, 310, 580);
    EXPECT_EQ(view->onSize(&hostRect), kResultTrue);
    EXPECT_EQ(effect->resized, 2);
}

TEST_F(EditorView, DestroyingAnAttachedViewClosesItsWindow)
{
    MakeView();
    view->setFrame(&frame);
    ASSERT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);
    view->release();
    view = nullptr;
    EXPECT_EQ(effect->graphics->closes, 1);
    EXPECT_EQ(loop.EventHandlerCount() + loop.TimerCount(), 0);
}

TEST(EditorViewWithoutEditor, AnswersFalseToEverySizeAndAttachQuery)
{
    auto* effect = new ViewEffect(false);
    IPlugView* view = effect->createView("editor");
    ASSERT_NE(view, nullptr);
    ViewRect rect;
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultFalse);
    EXPECT_EQ(view->getSize(&rect), kResultFalse);
    EXPECT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultFalse);
    EXPECT_EQ(view->removed(), kResultOk);
    EXPECT_EQ(effect->opened + effect->closed, 0);
    view->release();
    effect->release();
}

TEST_F(EditorView, APluginResizeGoesThroughTheFirstViewsFrameAtTheContentScale)
{
    EXPECT_FALSE(effect->ResizeEditor(320, 600));  // no view yet

    MakeView();
    IPlugView* second = effect->createView("editor");
    HostRunLoop otherLoop;
    HostPlugFrame otherFrame{&otherLoop};
    second->setFrame(&otherFrame);
    EXPECT_FALSE(effect->ResizeEditor(320, 600));  // the first view has no frame
    view->setFrame(&frame);
    Scaling()->setContentScaleFactor(1.5f);

    EXPECT_TRUE(effect->ResizeEditor(320, 600));
    ASSERT_EQ(frame.ResizeRequests().size(), 1u);
    EXPECT_EQ(frame.ResizeRequests()[0].getWidth(), 480);
    EXPECT_EQ(frame.ResizeRequests()[0].getHeight(), 900);
    EXPECT_TRUE(otherFrame.ResizeRequests().empty());
    EXPECT_EQ(effect->resized, 1);
    second->release();
}

TEST_F(EditorView, ASecondViewTakesTheWindowAndTheFirstOnesRemovalLeavesItOpen)
{
    MakeView();
    view->setFrame(&frame);
    ASSERT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);

    IPlugView* second = effect->createView("editor");
    HostRunLoop otherLoop;
    HostPlugFrame otherFrame{&otherLoop};
    second->setFrame(&otherFrame);
    void* const otherParent = reinterpret_cast<void*>(0x4343);
    ASSERT_EQ(second->attached(otherParent, kPlatformTypeX11EmbedWindowID), kResultOk);
    EXPECT_EQ(effect->graphics->lastParent, otherParent);
    EXPECT_EQ(loop.EventHandlerCount() + loop.TimerCount(), 0);
    EXPECT_EQ(otherLoop.EventHandlerCount() + otherLoop.TimerCount(), 2);

    EXPECT_EQ(view->removed(), kResultOk);
    EXPECT_EQ(effect->graphics->closes, 1);  // only the move closed a window
    EXPECT_NE(effect->graphics->NativeWindow(), nullptr);
    EXPECT_NE(effect->graphics->RunLoop(), nullptr);  // the second view's loop stays
    otherLoop.Pump(60);
    EXPECT_GE(effect->graphics->ticks, 1);  // the second view's window still runs

    // A view that never opened the window does not close it either.
    IPlugView* bystander = effect->createView("editor");
    EXPECT_EQ(bystander->removed(), kResultOk);
    bystander->release();
    EXPECT_EQ(effect->graphics->closes, 1);
    EXPECT_EQ(effect->closed, 0);
    EXPECT_NE(effect->graphics->NativeWindow(), nullptr);

    EXPECT_EQ(second->removed(), kResultOk);
    EXPECT_EQ(effect->graphics->closes, 2);
    EXPECT_EQ(otherLoop.EventHandlerCount() + otherLoop.TimerCount(), 0);
    second->release();
}
