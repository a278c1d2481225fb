// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// The cross-fade between the effect's output and its input when a bypass
/// switches (the effect's own or the host's): a step from one to the other
/// while music plays is a click. At either end the output is exactly one of
/// the two, bit for bit.
class BypassFade {
public:
    /// Length of a fade; short enough to follow a switch at once.
    static constexpr double kSeconds = 0.005;

    /// What a part of a block does.
    enum class Stage {
        kEffect,  ///< the effect's output alone
        kInput,   ///< the input alone
        kFading,  ///< a mix on its way from one to the other
    };

    /// [ui, not while processing, or audio] The next part starts where it
    /// is asked to be, without a fade (a fresh start, an activation).
    void SnapAtNextPart() noexcept { mSnap = true; }

    /// [audio] Starts a part whose bypass should be `bypassed`, at `sampleRate` Hz.
    Stage Begin(bool bypassed, double sampleRate) noexcept;

    /// [audio] One channel of a fading part: out = wet + (dry - wet) × w,
    /// w moving from where the part began; `dry` may be null (silence) and
    /// may be `out` or `wet`.
    void Mix(const double* wet, const double* dry, double* out, int frames) const noexcept;

    /// [audio] Ends a fading part of `frames` frames.
    void Advance(int frames) noexcept;

private:
    /// Frames along the fade, `frame` frames into the part.
    long FramesAlong(int frame) const noexcept;

    long mLength = 1;    ///< frames of a whole fade at the rate of the last snap
    long mAlong = 0;     ///< 0: the effect, mLength: the input
    int mDirection = 0;  ///< +1 towards the input, -1 towards the effect
    bool mSnap = true;
};
