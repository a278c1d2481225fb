// SPDX-License-Identifier: GPL-3.0-or-later
// Windows calls DllMain when the module is loaded; the handle it passes
// finds the module's resources (the artwork) and file name.
#include "platform/win32/ThisModule.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        RememberThisModule(instance);
    return TRUE;
}
