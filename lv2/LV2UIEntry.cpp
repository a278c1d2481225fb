// SPDX-License-Identifier: GPL-3.0-or-later
// The module's LV2 UI entry point: the editor as an X11 UI in the host's
// window (or shown in its own through ui:showInterface), reaching the effect
// through instance-access.
#include "lv2/LV2EditorUI.h"
#include "lv2/LV2Entry.h"

#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>

#include <cstdio>
#include <cstring>

namespace {

void* FindFeature(const LV2_Feature* const* features, const char* uri)
{
    for (int i = 0; features != nullptr && features[i] != nullptr; ++i)
        if (std::strcmp(features[i]->URI, uri) == 0)
            return features[i]->data;
    return nullptr;
}

LV2UI_Handle Instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                         const LV2_Feature* const* features)
{
    if (pluginUri == nullptr || std::strcmp(pluginUri, kLV2PluginUri) != 0 || write == nullptr || widget == nullptr)
        return nullptr;
    void* instance = FindFeature(features, LV2_INSTANCE_ACCESS_URI);
    if (instance == nullptr) {
        // The editor is the effect's own: without the instance there is nothing to show.
        std::fprintf(stderr, "KELDRA: the editor needs the host's instance-access\n");
        return nullptr;
    }
    auto* ui = new LV2EditorUI(EffectOfInstance(instance), write, controller,
                               static_cast<const LV2UI_Touch*>(FindFeature(features, LV2_UI__touch)));
    // Without ui:parent the host shows the UI through ui:showInterface later.
    void* parent = FindFeature(features, LV2_UI__parent);
    *widget = nullptr;
    if (parent == nullptr)
        return ui;
    if (!ui->Open(reinterpret_cast<std::uintptr_t>(parent))) {
        delete ui;
        return nullptr;
    }
    if (const auto* resize = static_cast<const LV2UI_Resize*>(FindFeature(features, LV2_UI__resize)))
        resize->ui_resize(resize->handle, ui->Width(), ui->Height());
    *widget = ui->Widget();
    return ui;
}

void Cleanup(LV2UI_Handle handle)
{
    delete static_cast<LV2EditorUI*>(handle);
}

void PortEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format, const void* buffer)
{
    if (format == 0 && size == sizeof(float) && buffer != nullptr)
        static_cast<LV2EditorUI*>(handle)->PortEvent(port, *static_cast<const float*>(buffer));
}

int Idle(LV2UI_Handle handle)
{
    static_cast<LV2EditorUI*>(handle)->Idle();
    return 0;
}

int Show(LV2UI_Handle handle)
{
    auto* ui = static_cast<LV2EditorUI*>(handle);
    return ui->IsOpen() || ui->Open(0) ? 0 : 1;
}

int Hide(LV2UI_Handle handle)
{
    static_cast<LV2EditorUI*>(handle)->Close();
    return 0;
}

const void* ExtensionData(const char* uri)
{
    static const LV2UI_Idle_Interface idle = {Idle};
    static const LV2UI_Show_Interface show = {Show, Hide};
    if (std::strcmp(uri, LV2_UI__idleInterface) == 0)
        return &idle;
    if (std::strcmp(uri, LV2_UI__showInterface) == 0)
        return &show;
    return nullptr;
}

} // namespace

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index)
{
    static const LV2UI_Descriptor descriptor = {kLV2EditorUri, Instantiate, Cleanup, PortEvent, ExtensionData};
    return index == 0 ? &descriptor : nullptr;
}
