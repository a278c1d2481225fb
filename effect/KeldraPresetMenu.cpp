// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/KeldraPresetMenu.h"

#include "effect/KeldraPresets.h"
#include "framework/IEffectBase.h"
#include "graphics/IGraphics.h"
#include "graphics/PopupMenu.h"

#include <array>

namespace {

std::array<double, kKeldraParamCount> ValuesOf(int index)
{
    std::array<double, kKeldraParamCount> values{};
    for (int i = 0; i < kKeldraParamCount; ++i)
        values[static_cast<std::size_t>(i)] = KeldraPresets::ValueOf(KeldraPresets::kPresets[index], i);
    return values;
}

} // namespace

KeldraPresetMenu::KeldraPresetMenu(IEffectBase* plug, const PixelRect& rect) : IControl(plug, rect) {}

int KeldraPresetMenu::CurrentPreset() const
{
    for (int p = 0; Plug() != nullptr && p < KeldraPresets::kCount; ++p)
        if (Plug()->StateEquals(ValuesOf(p).data(), 0))
            return p;
    return -1;
}

void KeldraPresetMenu::OnPress(int, int, const MouseMods&)
{
    IGraphics* graphics = Graphics();
    if (graphics == nullptr || Plug() == nullptr)
        return;
    const int current = CurrentPreset();
    PopupMenu menu;
    for (int p = 0; p < KeldraPresets::kCount; ++p)
        menu.AddItem(KeldraPresets::kPresets[p].name, p == current ? PopupMenuItem::kChecked : 0);
    PopupMenu* chosen = graphics->RunPopupMenu(menu, Rect());
    if (chosen == &menu && chosen->ChosenIndex() >= 0)
        Apply(chosen->ChosenIndex());
}

void KeldraPresetMenu::Apply(int index)
{
    IEffectBase& plug = *Plug();
    const auto values = ValuesOf(index);
    // All gestures open before the first change and close after the last, so
    // a host records the whole preset as one step to undo.
    for (int i = 0; i < kKeldraParamCount; ++i)
        plug.BeginParamGesture(i);
    for (int i = 0; i < kKeldraParamCount; ++i)
        plug.SetParamFromEditor(i, plug.GetParam(i)->PlainToNormalized(values[static_cast<std::size_t>(i)]));
    for (int i = 0; i < kKeldraParamCount; ++i)
        plug.EndParamGesture(i);
    plug.RefreshEditorControls();
}

bool KeldraPresetMenu::Draw(IGraphics&)
{
    return true;
}
