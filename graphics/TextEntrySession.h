// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class IControl;
class IParamRecord;

/// The value text entry of a window host, without the window: which control
/// and parameter it edits, and its state, which the box's events and the
/// redraw tick move on. The window host owns one and translates its native
/// events into the calls below. [ui]
///
/// States: 0 none, 1 editing (the box has the focus), 2 update (the editor
/// was redrawn while the box is open), 3 cancel, 4 commit. The next tick
/// applies 4, discards 3 (both close the entry) and resets 2 to 0; while the
/// state is 1 no tick runs.
class TextEntrySession {
public:
    enum State : int { kNone = 0, kEditing = 1, kUpdate = 2, kCancel = 3, kCommit = 4 };

    /// Longest text the tick reads from the box (its 32-byte buffer).
    static constexpr size_t kMaxTextLength = 31;

    /// What the entry part of a tick decided.
    enum class TickResult {
        kEditing,  ///< the user is typing: the tick does nothing else
        kSettled,  ///< state 2 went back to 0: nothing else this tick
        kClosed,   ///< committed or discarded: the box must be destroyed
        kIdle      ///< no entry pending: the tick goes on to redraw
    };

    /// Starts an entry for `control` (`param` null for plain text); false
    /// (and nothing changes) without a control or while one is open.
    bool Open(IControl* control, IParamRecord* param);
    bool IsOpen() const noexcept { return mControl != nullptr; }
    State GetState() const noexcept { return mState; }
    IControl* Control() const noexcept { return mControl; }
    IParamRecord* Param() const noexcept { return mParam; }

    // ---- events of the box ------------------------------------------------------

    void OnFocusGained() noexcept { Set(kEditing); }
    void OnFocusLost() noexcept { Set(kCommit); }
    void OnReturn() noexcept { Set(kCommit); }
    void OnEscape() noexcept { Set(kCancel); }

    // ---- events of the editor while the box is open ---------------------------

    /// A mouse button went down in the editor. While editing, the left or
    /// right button cancels (the middle one does nothing); otherwise any
    /// button commits.
    void OnEditorButtonPress(bool leftOrRight) noexcept
    {
        if (mState != kEditing)
            Set(kCommit);
        else if (leftOrRight)
            Set(kCancel);
    }
    /// A wheel turn over the editor cancels.
    void OnEditorWheel() noexcept { Set(kCancel); }
    /// The editor's cancel operation.
    void Cancel() noexcept { Set(kCancel); }
    /// The tick redrew the editor under the open box.
    void OnRedrawn() noexcept { Set(kUpdate); }

    /// The entry part of a redraw tick. On commit `boxText` (cut to 31
    /// characters) reaches the control: as a parameter value (one edit the
    /// host records: begin, perform, end), or as text when there is no
    /// parameter.
    TickResult Tick(const std::string& boxText);

    /// Forgets the entry without applying it (the window closed).
    void Reset() noexcept;

    /// Plain value that `text` stands for in `param`: for list kinds the
    /// value of the display text equal to it (case-sensitive); in the
    /// parameter's units when it has them; for others the leading decimal
    /// number (ReadDecimal), negated when the display is negated. False, with `value` untouched, when the text names no entry
    /// or is not a finite number: the parameter then keeps its value.
    static bool ValueFromText(const IParamRecord& param, const std::string& text, double& value);

    /// Whether typed character `c` may enter a box editing `param` (null:
    /// plain text, everything passes). Backspace always passes, and every
    /// character to a parameter shown in units; stepped kinds take only "+",
    /// "-" and digits, continuous ones "." as well.
    static bool AcceptsChar(const IParamRecord* param, char32_t c) noexcept;

private:
    /// State changes only matter while a box is open.
    void Set(State state) noexcept
    {
        if (IsOpen()) mState = state;
    }
    void Apply(const std::string& text);

    IControl* mControl = nullptr;
    IParamRecord* mParam = nullptr;
    State mState = kNone;
};
