// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/EditorTick.h"

#include "framework/IEffectBase.h"
#include "graphics/IGraphics.h"

EditorTickOutcome RunEditorTick(IGraphics& graphics, TextEntrySession& entry,
                                const std::string& boxText)
{
    EditorTickOutcome outcome;
    // The plug-in's own idle work on the user-interface thread (telling the
    // host of a program change the audio thread made), then the values that
    // changed since the last tick reach the controls.
    if (IEffectBase* plug = graphics.Plug()) {
        plug->OnEditorIdle();
        plug->FollowParamsInEditor();
    }
    graphics.TickWheelGesture();
    graphics.TickValueReadout();
    switch (entry.Tick(boxText)) {
    case TextEntrySession::TickResult::kEditing:
    case TextEntrySession::TickResult::kSettled:
        return outcome;
    case TextEntrySession::TickResult::kClosed:
        outcome.closeEntryBox = true;
        return outcome;
    case TextEntrySession::TickResult::kIdle:
        break;
    }
    outcome.redraw = graphics.CollectDirtyArea(outcome.area);
    if (outcome.redraw && entry.IsOpen()) entry.OnRedrawn();
    return outcome;
}

int EditorTickPeriodMs(int fps) noexcept
{
    if (fps <= 0) return 1000;
    const int period = int(1000.0 / double(fps));
    return period >= 1 ? period : 1;
}
