// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// The editor's key codes, which every window host maps its system's keys
/// onto: space 0, up 1, down 2, left 3, right 4, "0".."9" 5..14, letters
/// "A".."Z" 15..40. [any]
namespace EditorKey {

constexpr int kNone = -1;
constexpr int kSpace = 0;
constexpr int kUp = 1;
constexpr int kDown = 2;
constexpr int kLeft = 3;
constexpr int kRight = 4;

/// The code of decimal digit `digit` (0..9).
constexpr int Digit(int digit) noexcept { return 5 + digit; }
/// The code of the letter `index` places after "A" (0..25).
constexpr int Letter(int index) noexcept { return 15 + index; }

} // namespace EditorKey
