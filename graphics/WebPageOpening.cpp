// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/WebPageOpening.h"

#include "graphics/IGraphics.h"

namespace {
constexpr int kMessageOkType = 0;
constexpr int kMessageYesNoType = 4;
} // namespace

bool OpenWebPageSteps(const char* url, const char* title, const char* confirmText,
                      const char* failureText, const WebPageServices& services)
{
    if (!url || !*url) return false;
    if (confirmText
        && services.showMessage(confirmText, title, kMessageYesNoType) != IGraphics::kMessageYes)
        return false;
    if (services.isConnected() && services.launch(url)) return true;
    if (failureText) services.showMessage(failureText, title, kMessageOkType);
    return false;
}
