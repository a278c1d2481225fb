// SPDX-License-Identifier: GPL-3.0-or-later
// What the binding reports to the host outside the process call: gestures,
// edits and the host's context menu.
#include "ProbeEffect.h"

#include "host/HostComponentHandler.h"
#include "host/HostMemoryStream.h"
#include "host/HostObject.h"
#include "host/HostParameterChanges.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

/// A context menu that records where it was popped up.
class RecordingMenu : public HostObject<IContextMenu> {
public:
    int32 PLUGIN_API getItemCount() override { return 0; }
    tresult PLUGIN_API getItem(int32, Item&, IContextMenuTarget**) override { return kResultFalse; }
    tresult PLUGIN_API addItem(const Item&, IContextMenuTarget*) override { return kResultOk; }
    tresult PLUGIN_API removeItem(const Item&, IContextMenuTarget*) override { return kResultOk; }
    tresult PLUGIN_API popup(UCoord x, UCoord y) override
    {
        poppedAt = {x, y};
        return kResultOk;
    }
    std::pair<UCoord, UCoord> poppedAt{-1, -1};
};

/// A component handler that also offers context menus, recording the view
/// and parameter each menu is asked for.
class MenuHandler : public HostObject<IComponentHandler, IComponentHandler3> {
public:
    tresult PLUGIN_API beginEdit(ParamID) override { return kResultOk; }
    tresult PLUGIN_API performEdit(ParamID, ParamValue) override { return kResultOk; }
    tresult PLUGIN_API endEdit(ParamID) override { return kResultOk; }
    tresult PLUGIN_API restartComponent(int32) override { return kResultOk; }
    IContextMenu* PLUGIN_API createContextMenu(IPlugView* view, const ParamID* id) override
    {
        views.push_back(view);
        ids.push_back(id != nullptr ? static_cast<int64>(*id) : -1);
        menu.addRef();
        return &menu;
    }
    RecordingMenu menu;
    std::vector<IPlugView*> views;
    std::vector<int64> ids;
};

} // namespace

TEST(IEffectVST3Controller, EditorGesturesReachTheHostInOrder)
{
    ProbeHost host;
    HostComponentHandler handler;
    host.effect->setComponentHandler(&handler);
    host.effect->BeginParamGesture(2);
    host.effect->SetParamFromEditor(2, 0.75);
    host.effect->EndParamGesture(2);
    const auto edits = handler.Edits();
    ASSERT_EQ(edits.size(), 3u);
    EXPECT_EQ(edits[0].kind, HostEdit::Kind::Begin);
    EXPECT_EQ(edits[1].kind, HostEdit::Kind::Perform);
    EXPECT_EQ(edits[1].id, 2u);
    EXPECT_EQ(edits[1].value, 0.75);
    EXPECT_EQ(edits[2].kind, HostEdit::Kind::End);
    EXPECT_DOUBLE_EQ(host.effect->GetParam(2)->Value(), 0.75);
    EXPECT_EQ(host.effect->changed, std::vector<int>({2}));
    host.effect->setComponentHandler(nullptr);
}

// The controller keeps its own copy: the processor hears of a value through
// the process queues alone, so a project saves what it sounded like.
TEST(IEffectVST3Controller, HostParameterChangesStayInTheControllersCopy)
{
    ProbeHost host;
    HostComponentHandler handler;
    host.effect->setComponentHandler(&handler);
    EXPECT_EQ(host.effect->setParamNormalized(1, 0.5), kResultOk);
    EXPECT_EQ(host.effect->setParamNormalized(1, std::nan("")), kResultFalse);
    EXPECT_EQ(host.effect->getParamNormalized(1), 1.0);  // on its step, as the processor would store it
    EXPECT_EQ(host.effect->GetParam(1)->Value(), 0.0);
    EXPECT_TRUE(host.effect->changed.empty());
    EXPECT_TRUE(handler.Edits().empty());
    host.effect->setComponentHandler(nullptr);
}

TEST(IEffectVST3Controller, BypassReadsBackWhatTheHostSetWhileTheProcessorFollowsItsQueues)
{
    ProbeHost host;
    const ParamID bypass = IEffectVST3::kBypassParamId;
    EXPECT_EQ(host.effect->setParamNormalized(bypass, 1.0), kResultOk);
    EXPECT_EQ(host.effect->getParamNormalized(bypass), 1.0);
    EXPECT_FALSE(host.effect->IsBypassed());  // the processor hears it from the queue
    Buffers32 processed(8);
    host.effect->process(processed.data);
    EXPECT_FLOAT_EQ(processed.out[0][3], 2.0f * processed.in[0][3]);

    HostParameterChanges changes;
    changes.Add(bypass, 0.0);
    Buffers32 b(8);
    b.data.inputParameterChanges = &changes;
    host.effect->process(b.data);
    EXPECT_EQ(host.effect->getParamNormalized(bypass), 0.0);

    EXPECT_EQ(host.effect->setParamNormalized(bypass, 0.0), kResultOk);
    const std::vector<uint8_t> bypassedState = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
    HostMemoryStream state(bypassedState);
    EXPECT_EQ(host.effect->setControllerState(&state), kResultOk);
    EXPECT_EQ(host.effect->getParamNormalized(bypass), 1.0);
    EXPECT_TRUE(host.effect->IsBypassed());

    EXPECT_EQ(host.effect->setParamNormalized(bypass, std::nan("")), kResultFalse);
    EXPECT_EQ(host.effect->getParamNormalized(bypass), 1.0);
}

TEST(IEffectVST3Controller, ContextMenuOpensOnTheFirstListedViewOnlyWhenTheHostOffersOne)
{
    ProbeHost host;
    MenuHandler handler;
    host.effect->setComponentHandler(&handler);
    host.effect->PopupHostContextMenu(1, 10, 20);  // no view open yet

    IPlugView* first = host.effect->createView("editor");
    IPlugView* second = host.effect->createView("editor");
    host.effect->PopupHostContextMenu(1, 10, 20);
    // A destroyed view takes only itself off the plug-in's list.
    first->release();
    host.effect->PopupHostContextMenu(2, 30, 40);
    second->release();
    host.effect->PopupHostContextMenu(1, 10, 20);  // no view left

    EXPECT_EQ(handler.views, std::vector<IPlugView*>({first, second}));
    EXPECT_EQ(handler.ids, std::vector<int64>({1, 2}));
    EXPECT_EQ(handler.menu.poppedAt, std::make_pair(UCoord(30), UCoord(40)));
    EXPECT_EQ(handler.menu.References(), 0u);  // released after each popup

    HostComponentHandler plain;  // a handler without context menus
    host.effect->setComponentHandler(&plain);
    IPlugView* view = host.effect->createView("editor");
    host.effect->PopupHostContextMenu(1, 10, 20);
    view->release();
    host.effect->setComponentHandler(nullptr);
}

TEST(IEffectVST3Controller, ProcessBeforeInitializeWritesSilence)
{
    auto* effect = new ProbeEffect();
    Buffers32 b(32, 3.0f);
    EXPECT_EQ(effect->process(b.data), kResultOk);
    EXPECT_EQ(b.out, std::vector<std::vector<float>>(2, std::vector<float>(32, 0.0f)));
    effect->release();
}
