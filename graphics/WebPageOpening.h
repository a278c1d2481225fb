// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

/// What opening a web page needs of the platform.
struct WebPageServices {
    /// Shows a message (MessageBox types: 0 OK, 4 yes/no) and returns the
    /// answer (IGraphics::MessageResult).
    std::function<int(const char* text, const char* caption, int type)> showMessage;
    /// Whether the machine reports a network connection.
    std::function<bool()> isConnected;
    /// Hands `url` to the system's browser launcher; true when it was accepted.
    std::function<bool(const char* url)> launch;
};

/// [ui] The steps of opening a page: with `confirmText`, ask yes/no under
/// `title` and stop (false) unless the answer is yes; then, when connected,
/// launch the page (true when accepted); otherwise show `failureText` (if
/// given) and return false. An empty or null url opens nothing.
bool OpenWebPageSteps(const char* url, const char* title, const char* confirmText,
                      const char* failureText, const WebPageServices& services);
