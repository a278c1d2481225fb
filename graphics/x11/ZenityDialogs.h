// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/ArgbColor.h"
#include "graphics/FileDialogFilter.h"

#include <string>
#include <vector>

/// Command lines for the `zenity` dialog program and the reading of its
/// answers. Pure functions; ChildProcess runs them. Message types are the
/// MessageBox values (low 4 bits: 0 OK, 1 OK/cancel, 3 yes/no/cancel,
/// 4 yes/no, 5 retry/cancel; icon 0x10 error, 0x30 warning); answers are
/// IGraphics::MessageResult values (and 4 for retry). [any]
namespace ZenityDialogs {

/// Arguments that keep a dialog above the X window `owner` (modal to it);
/// none for 0.
std::vector<std::string> OwnerArgs(unsigned long owner);

/// Arguments (after the program name) of a message box.
std::vector<std::string> MessageArgs(const char* text, const char* caption, int type);
/// The answer of a message box from zenity's exit code and output.
int MessageAnswer(int type, int exitCode, const std::string& output);
/// The answer when no dialog could be shown: the declining one (no,
/// cancel), or OK when that is the only button.
int CancelledAnswer(int type) noexcept;

/// Arguments of a colour chooser starting at `colour`.
std::vector<std::string> ColourArgs(const ArgbColor& colour, const char* prompt);
/// Reads "rgb(r,g,b)", "rgba(r,g,b,a)" or "#rrggbb" into red, green and
/// blue of `colour` (alpha kept); false (nothing changed) otherwise.
bool ParseColour(const std::string& output, ArgbColor& colour);

/// Arguments of a file chooser: `save` asks before overwriting; it starts at
/// `folder` + `path`, offering `filter`.
std::vector<std::string> FileArgs(bool save, const std::string& folder, const std::string& path,
                                  const FileDialogFilter& filter);
/// The chosen file from the output (its first line); empty when none.
std::string ChosenFile(const std::string& output);

} // namespace ZenityDialogs
