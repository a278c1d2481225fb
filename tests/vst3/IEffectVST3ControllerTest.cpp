// SPDX-License-Identifier: GPL-3.0-or-later
// What the binding reports to the host outside the process call: gestures,
// edits and the host's context menu.
#include "ProbeEffect.h"

#include "host/HostComponentHandler.h"
#include "host/HostObject.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "public.sdk/source/common/pluginview.h"

#include <gtest/gtest.h>

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

/// A component handler that also offers context menus.
class MenuHandler : public HostObject<IComponentHandler, IComponentHandler3> {
public:
    tresult PLUGIN_API beginEdit(ParamID) override { return kResultOk; }
    tresult PLUGIN_API performEdit(ParamID, ParamValue) override { return kResultOk; }
    tresult PLUGIN_API endEdit(ParamID) override { return kResultOk; }
    tresult PLUGIN_API restartComponent(int32) override { return kResultOk; }
    IContextMenu* PLUGIN_API createContextMenu(IPlugView* view, const ParamID* id) override
    {
        askedView = view;
        askedId = id != nullptr ? static_cast<int64>(*id) : -1;
        menu.addRef();
        return &menu;
    }
    RecordingMenu menu;
    IPlugView* askedView = nullptr;
    int64 askedId = -2;
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

TEST(IEffectVST3Controller, HostParameterChangesOnlyStoreTheValue)
{
    ProbeHost host;
    HostComponentHandler handler;
    host.effect->setComponentHandler(&handler);
    EXPECT_EQ(host.effect->setParamNormalized(1, 0.5), kResultOk);
    EXPECT_EQ(host.effect->GetParam(1)->Value(), 1.0);
    EXPECT_TRUE(host.effect->changed.empty());
    EXPECT_TRUE(handler.Edits().empty());
    host.effect->setComponentHandler(nullptr);
}

TEST(IEffectVST3Controller, ContextMenuOpensOnTheFirstViewOnlyWhenTheHostOffersOne)
{
    ProbeHost host;
    MenuHandler handler;
    host.effect->setComponentHandler(&handler);
    host.effect->PopupHostContextMenu(1, 10, 20);  // no view open yet
    EXPECT_EQ(handler.askedId, -2);

    auto* view = new CPluginView(nullptr);
    host.effect->AddView(view);
    host.effect->PopupHostContextMenu(1, 10, 20);
    EXPECT_EQ(handler.askedView, view);
    EXPECT_EQ(handler.askedId, 1);
    EXPECT_EQ(handler.menu.poppedAt, std::make_pair(UCoord(10), UCoord(20)));
    EXPECT_EQ(handler.menu.References(), 0u);  // released after the popup
    host.effect->ClearViews();
    view->release();

    HostComponentHandler plain;  // a handler without context menus
    host.effect->setComponentHandler(&plain);
    auto* second = new CPluginView(nullptr);
    host.effect->AddView(second);
    host.effect->PopupHostContextMenu(1, 10, 20);
    EXPECT_TRUE(plain.Edits().empty());
    host.effect->ClearViews();
    second->release();
    host.effect->setComponentHandler(nullptr);
}

TEST(IEffectVST3Controller, ProcessBeforeInitializeWritesNoHostOutput)
{
    auto* effect = new ProbeEffect();
    std::vector<float> in(32, 0.5f), out(32, 3.0f);
    float* inPtr[2] = {in.data(), in.data()};
    float* outPtr[2] = {out.data(), out.data()};
    AudioBusBuffers inBus, outBus;
    inBus.numChannels = outBus.numChannels = 2;
    inBus.channelBuffers32 = inPtr;
    outBus.channelBuffers32 = outPtr;
    ProcessData data;
    data.numSamples = 32;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    EXPECT_EQ(effect->process(data), kResultOk);
    EXPECT_EQ(out, std::vector<float>(32, 3.0f));
    effect->release();
}
