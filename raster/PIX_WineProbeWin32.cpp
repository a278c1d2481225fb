// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_WineProbe.h"

#include <windows.h>

namespace pix {
namespace {
// -1 not yet probed, 0 no, 1 yes. [ui] only, like the fonts that ask.
int gUnderWine = -1;
}  // namespace

bool RunsUnderWine() noexcept
{
    if (gUnderWine < 0) {
        // Wine keeps its own settings under this key; Windows has none.
        HKEY key = nullptr;
        gUnderWine = RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Wine", &key) == ERROR_SUCCESS ? 1 : 0;
        if (key) RegCloseKey(key);
    }
    return gUnderWine == 1;
}

}  // namespace pix
