// SPDX-License-Identifier: GPL-3.0-or-later
// The module's LV2 UI entry point: the editor as an X11 UI in the host's
// window (or shown in its own through ui:showInterface), reaching the effect
// through instance-access, at the host's ui:scaleFactor.
#include "lv2/LV2EditorUI.h"
#include "lv2/LV2Entry.h"

#include <lv2/atom/atom.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

/// The URIDs a ui:scaleFactor option carries (0 when the host maps none).
struct ScaleUrids {
    LV2_URID key = 0;
    LV2_URID floatType = 0;
};

/// One instantiated UI: the editor and what its options are read with.
struct UIHandle {
    std::unique_ptr<LV2EditorUI> editor;
    ScaleUrids scaleUrids;
};

LV2EditorUI& EditorOf(LV2UI_Handle handle)
{
    return *static_cast<UIHandle*>(handle)->editor;
}

ScaleUrids MapScaleUrids(const LV2_URID_Map* map)
{
    if (map == nullptr)
        return {};
    return {map->map(map->handle, LV2_UI__scaleFactor), map->map(map->handle, LV2_ATOM__Float)};
}

/// The ui:scaleFactor among `options` (ended by an option with key 0), if any.
std::optional<double> ScaleFactorIn(const LV2_Options_Option* options, const ScaleUrids& urids)
{
    if (urids.key == 0)
        return std::nullopt;
    for (; options != nullptr && options->key != 0; ++options)
        if (options->key == urids.key && options->type == urids.floatType && options->size == sizeof(float)
            && options->value != nullptr)
            return *static_cast<const float*>(options->value);
    return std::nullopt;
}

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
    // A host that names no scale shows the panel at 1: neither Ardour nor
    // jalv reads the X server's resolution for its plug-ins' UIs either.
    const ScaleUrids scaleUrids = MapScaleUrids(static_cast<const LV2_URID_Map*>(FindFeature(features, LV2_URID__map)));
    const double scale =
        ScaleFactorIn(static_cast<const LV2_Options_Option*>(FindFeature(features, LV2_OPTIONS__options)), scaleUrids)
            .value_or(1.0);
    const auto* resize = static_cast<const LV2UI_Resize*>(FindFeature(features, LV2_UI__resize));
    auto handle = std::make_unique<UIHandle>();
    handle->scaleUrids = scaleUrids;
    handle->editor = std::make_unique<LV2EditorUI>(EffectOfInstance(instance), write, controller,
                                                   static_cast<const LV2UI_Touch*>(FindFeature(features, LV2_UI__touch)),
                                                   resize, scale);
    LV2EditorUI& ui = *handle->editor;
    // Without ui:parent the host shows the UI through ui:showInterface later.
    void* parent = FindFeature(features, LV2_UI__parent);
    *widget = nullptr;
    if (parent == nullptr)
        return handle.release();
    if (!ui.Open(reinterpret_cast<std::uintptr_t>(parent)))
        return nullptr;
    if (resize != nullptr)
        resize->ui_resize(resize->handle, ui.Width(), ui.Height());
    *widget = ui.Widget();
    return handle.release();
}

void Cleanup(LV2UI_Handle handle)
{
    delete static_cast<UIHandle*>(handle);
}

void PortEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format, const void* buffer)
{
    if (format == 0 && size == sizeof(float) && buffer != nullptr)
        EditorOf(handle).PortEvent(port, *static_cast<const float*>(buffer));
}

int Idle(LV2UI_Handle handle)
{
    EditorOf(handle).Idle();
    return 0;
}

int Show(LV2UI_Handle handle)
{
    LV2EditorUI& ui = EditorOf(handle);
    return ui.IsOpen() || ui.Open(0) ? 0 : 1;
}

int Hide(LV2UI_Handle handle)
{
    EditorOf(handle).Close();
    return 0;
}

uint32_t GetOptions(LV2UI_Handle, LV2_Options_Option*)
{
    return LV2_OPTIONS_ERR_BAD_KEY;
}

uint32_t SetOptions(LV2UI_Handle handle, const LV2_Options_Option* options)
{
    auto& ui = *static_cast<UIHandle*>(handle);
    if (const std::optional<double> scale = ScaleFactorIn(options, ui.scaleUrids))
        ui.editor->SetScale(*scale);
    return LV2_OPTIONS_SUCCESS;
}

const void* ExtensionData(const char* uri)
{
    static const LV2UI_Idle_Interface idle = {Idle};
    static const LV2UI_Show_Interface show = {Show, Hide};
    static const LV2_Options_Interface options = {GetOptions, SetOptions};
    if (std::strcmp(uri, LV2_UI__idleInterface) == 0)
        return &idle;
    if (std::strcmp(uri, LV2_UI__showInterface) == 0)
        return &show;
    if (std::strcmp(uri, LV2_OPTIONS__interface) == 0)
        return &options;
    return nullptr;
}

} // namespace

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index)
{
    static const LV2UI_Descriptor descriptor = {kLV2EditorUri, Instantiate, Cleanup, PortEvent, ExtensionData};
    return index == 0 ? &descriptor : nullptr;
}
