// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/PanelSnapshot.h"

#include "effect/KELDRA.h"
#include "effect/KeldraEditorLayout.h"
#include "graphics/IGraphicsOffscreen.h"
#include "graphics/IValueReadout.h"
#include "host/HostMemoryStream.h"
#include "host/HostParameterChanges.h"
#include "raster/PIX_SysBitmap.h"
#include "tools/PngWriter.h"

#include "base/source/fobject.h"

#include <memory>

using namespace Steinberg;

namespace {

// The control of the knob whose parameter is titled `name` or has index
// `name`, or −1.
int KnobControlOf(const IGraphics& panel, const IEffectBase& effect, const std::string& name)
{
    for (int i = 0; i < panel.ControlCount(); ++i) {
        const int param = panel.Control(i)->ParamIdx();
        if (param >= 0 && (name == effect.GetParam(param)->Name() || name == std::to_string(param)))
            return i;
    }
    return -1;
}

}  // namespace

bool WritePanelSnapshot(PluginInstance& plugin, const std::vector<ResolvedSetting>& settings,
                        const std::string& path, std::string& error, double scale, const std::string& readout)
{
    if (!settings.empty()) {
        HostParameterChanges changes;
        for (const ResolvedSetting& setting : settings) changes.Add(setting.id, setting.normalized);
        float silence[2][1] = {{0.0f}, {0.0f}};
        float* channels[2] = {silence[0], silence[1]};
        plugin.Process32(channels, channels, 0, &changes);
    }
    std::vector<uint8_t> state = plugin.SaveState();
    if (state.empty()) {
        error = "the plug-in gave no state to show";
        return false;
    }

    // The bundle's editor lives in its own window; the same editor is built
    // here over an off-screen surface and shown the bundle's state.
    IPtr<KELDRA> effect = owned(new KELDRA());
    auto editor = std::make_unique<IGraphicsOffscreen>(effect.get(), KeldraEditorLayout::kWidth,
                                                       KeldraEditorLayout::kHeight, KeldraEditorLayout::kFps);
    IGraphicsOffscreen* panel = editor.get();
    KeldraEditorLayout::Build(*panel);
    effect->AttachEditor(std::move(editor));

    HostMemoryStream stream(std::move(state));
    if (effect->setControllerState(&stream) != kResultOk) {
        error = "the plug-in's state could not be restored for the panel";
        return false;
    }
    if (!readout.empty()) {
        const int knob = KnobControlOf(*panel, *effect, readout);
        panel->ValueReadout()->NotePointerOver(knob);
        if (panel->ValueReadout()->ShownIndex() < 0) {
            error = "--readout " + readout + " names no knob";
            return false;
        }
    }
    panel->SetPanelScale(scale);
    const PixelRect whole{0, 0, panel->Width(), panel->Height()};
    panel->DrawArea(whole);
    return WritePng(*panel->PresentationOf(whole).surface, path, error);
}
