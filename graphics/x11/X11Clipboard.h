// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <X11/Xlib.h>

#include <string>

/// Reading the CLIPBOARD selection as UTF-8 text. [ui]
namespace X11Clipboard {

/// Asks the clipboard's owner for its text as UTF8_STRING on behalf of
/// `requestor` and waits up to `timeoutMs` for the answer. True with the
/// text when the owner gave text; false with "" when there is no owner, it
/// offers no text, it answers too late or the text comes in increments.
/// Other events of the connection stay queued.
bool ReadText(Display* display, Window requestor, std::string& text, int timeoutMs = 1000);

} // namespace X11Clipboard
