// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse and key routing of IGraphics: which control receives an event, and
// the gestures a press and its release send to the plug-in.
#include "graphics/IGraphics.h"

#include "framework/IEffectBase.h"
#include "graphics/IValueReadout.h"

int IGraphics::FindControl(int x, int y, bool honourCapture, bool pointerOver) const
{
    if (honourCapture && mCapturedIndex >= 0) return mCapturedIndex;
    // Back to front: the frontmost control wins, the background (index 0)
    // takes what nothing else takes.
    for (int i = ControlCount() - 1; i >= 0; --i) {
        const IControl& c = *mControls[size_t(i)];
        if (c.IsHidden()) continue;
        if (c.IsGreyed() && !(pointerOver && c.HoverWhenGreyed())) continue;
        if (c.HitTest(x, y)) return i;
    }
    return -1;
}

void IGraphics::EndOpenGesture()
{
    if (mGestureParam < 0) return;
    const int paramIdx = mGestureParam;
    mGestureParam = -1;
    if (mPlug) mPlug->EndParamGesture(paramIdx);
}

void IGraphics::HandleMouseDown(int x, int y, const MouseMods& mods)
{
    // A press whose release never arrived (the pointer was taken away) ends
    // its gesture here, and a turning wheel its own, so the host never sees
    // two edits open at once.
    EndOpenGesture();
    EndWheelGesture();
    ReleaseCapture();
    const int i = FindControl(x, y, false, false);
    if (i < 0) return;
    mCapturedIndex = i;
    mLastX = x;
    mLastY = y;
    IControl* control = mControls[size_t(i)].get();
    const int paramIdx = control->ParamIdx();
    if (mPlug && paramIdx >= 0) {
        if (mods.right && mPlug->GetApiId() == IEffectBase::kApiVst3) {
            // The host owns the right button on a parameter: its own menu
            // (automation, MIDI learn ...) instead of a press.
            ReleaseCapture();
            mPlug->PopupHostContextMenu(paramIdx, x, y);
            return;
        }
        mPlug->BeginParamGesture(paramIdx);
        mGestureParam = paramIdx;
    }
    if (mReadout) mReadout->NotePress(i);
    control->OnPress(x, y, mods);
}

void IGraphics::HandleMouseUp(int x, int y, const MouseMods& mods)
{
    const int i = FindControl(x, y, true, false);
    ReleaseCapture();
    if (i >= 0) mControls[size_t(i)]->OnRelease(x, y, mods);
    if (mReadout) mReadout->NoteRelease();
    // The gesture that the press began ends, whatever lies under the pointer
    // now; a release whose press began none (the right button went to the
    // host's menu) ends nothing, so the host never sees an end without a begin.
    EndOpenGesture();
}

void IGraphics::HandleMouseDrag(int x, int y, const MouseMods& mods)
{
    if (mCapturedIndex < 0 || (x == mLastX && y == mLastY)) return;
    const int dX = x - mLastX;
    const int dY = y - mLastY;
    mLastX = x;
    mLastY = y;
    mControls[size_t(mCapturedIndex)]->OnDrag(x, y, dX, dY, mods);
}

void IGraphics::HandleDoubleClick(int x, int y, const MouseMods& mods)
{
    ReleaseCapture();
    const int i = FindControl(x, y, false, false);
    if (i < 0) return;
    IControl* control = mControls[size_t(i)].get();
    // No gesture either way: a double click is a single, complete edit.
    if (control->DblClickAsPress()) {
        mCapturedIndex = i;
        mLastX = x;
        mLastY = y;
        control->OnPress(x, y, mods);
    } else {
        control->OnDoubleClick(x, y, mods);
    }
}

void IGraphics::HandleMouseWheel(int x, int y, const MouseMods& mods, int steps)
{
    const int i = FindControl(x, y, true, false);
    if (i < 0) return;
    IControl* control = mControls[size_t(i)].get();
    const int paramIdx = control->ParamIdx();
    // Every edit is a gesture for the host (undo steps, automation
    // recording). A turn during a press on the same parameter joins the
    // press's gesture. Otherwise the notches of one turn make one gesture,
    // held open while the wheel keeps turning: touch automation records only
    // while a gesture is open, and a gesture per notch would be over before
    // anything was recorded.
    if (paramIdx < 0 || paramIdx != mGestureParam) {
        if (i != mWheelGestureIndex) EndWheelGesture();
        if (mPlug && paramIdx >= 0 && mWheelGestureParam < 0) {
            mPlug->BeginParamGesture(paramIdx);
            mWheelGestureParam = paramIdx;
            mWheelGestureIndex = i;
        }
        mWheelRestedTicks = 0;
    }
    control->OnWheelTurn(x, y, mods, steps);
    if (mReadout) mReadout->NoteWheel(i);
}

void IGraphics::TickWheelGesture()
{
    if (mWheelGestureParam >= 0 && ++mWheelRestedTicks >= WheelRestTicks()) EndWheelGesture();
}

void IGraphics::EndWheelGesture()
{
    const int paramIdx = mWheelGestureParam;
    mWheelGestureParam = -1;
    mWheelGestureIndex = -1;
    mWheelRestedTicks = 0;
    if (paramIdx >= 0 && mPlug) mPlug->EndParamGesture(paramIdx);
}

int IGraphics::WheelRestTicks() const noexcept
{
    // Counted in ticks rather than read from a clock: the gesture ends on
    // the editor's own tick, half a second after the last notch.
    const int ticks = (mFps + 1) / 2;
    return ticks >= 1 ? ticks : 1;
}

void IGraphics::HandleWheelDelta(int x, int y, const MouseMods& mods, int delta)
{
    // Touchpads and fine wheels send parts of a notch. They add up until they
    // make a whole step, so a slow two-finger scroll still turns a knob; a
    // turn the other way starts afresh, so no old remainder pulls against it.
    if ((delta < 0 && mWheelRemainder > 0) || (delta > 0 && mWheelRemainder < 0)) mWheelRemainder = 0;
    mWheelRemainder += delta;
    const int steps = mWheelRemainder / kWheelNotch;
    mWheelRemainder -= steps * kWheelNotch;
    if (steps != 0) HandleMouseWheel(x, y, mods, steps);
}

bool IGraphics::HandlePointerOver(int x, int y, const MouseMods& mods)
{
    // Moving off the turned control ends the turn, whether hover is tracked or not.
    if (mWheelGestureIndex >= 0 && FindControl(x, y, false, false) != mWheelGestureIndex)
        EndWheelGesture();
    if (!mTrackHover) return false;
    const int i = FindControl(x, y, true, true);
    if (mReadout && mCapturedIndex < 0) mReadout->NotePointerOver(i);
    if (i < 0) return true;
    mLastX = x;
    mLastY = y;
    mControls[size_t(i)]->OnPointerOver(x, y, mods);
    if (mHoverIndex >= 0 && mHoverIndex != i) {
        if (IControl* previous = Control(mHoverIndex)) previous->OnPointerOut();
    }
    mHoverIndex = i;
    return true;
}

void IGraphics::HandlePointerOut()
{
    EndWheelGesture();
    for (const auto& control : mControls) control->OnPointerOut();
    if (mReadout) mReadout->NotePointerOut();
    mHoverIndex = -1;
}

bool IGraphics::HandleKeyDown(int x, int y, int key)
{
    const int i = FindControl(x, y, true, false);
    IControl* target = i > 0 ? mControls[size_t(i)].get() : mKeyCatcher.get();
    return target ? target->OnKeyPress(x, y, key) : false;
}
