// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

/// Which control's tooltip a window host follows and whether it shows: the
/// pointer resting on a control for the hover time shows its tooltip; moving
/// to another control, pressing a button or leaving the editor hides it.
/// Times are milliseconds on any steady clock. [ui]
class TooltipTracker {
public:
    /// How long the pointer must rest before a tooltip shows.
    static constexpr int64_t kHoverTimeMs = 400;

    /// The pointer moved without a button and the context reported
    /// `hoverIndex` under it (tooltips on). A changed control hides a showing
    /// tooltip and, for a control (>= 0), starts the hover time anew.
    /// Returns true when a showing tooltip must be hidden.
    bool OnPointerMoved(int hoverIndex, int64_t nowMs) noexcept;
    /// True once when the hover time of the tracked control has passed:
    /// its tooltip must show now.
    bool HoverDue(int64_t nowMs) noexcept;
    /// Hides the tooltip (a press or the pointer leaving); true when one
    /// was showing. Leaving also forgets the control.
    bool Hide() noexcept;
    void OnPointerLeft() noexcept;
    /// Back to the state of a new window.
    void Reset() noexcept;

    int TrackedIndex() const noexcept { return mIndex; }
    bool IsShown() const noexcept { return mShown; }

private:
    int mIndex = -1;
    bool mShown = false;
    bool mArmed = false;
    int64_t mArmedAt = 0;
};
