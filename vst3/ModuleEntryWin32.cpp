// SPDX-License-Identifier: GPL-3.0-or-later
// Module entry points on Windows. Windows calls DllMain when the module is
// loaded; the handle it passes finds the module's resources and file name.
// Hosts call InitDll after loading and ExitDll before unloading.
#include "platform/win32/ThisModule.h"
#include "vst3/ModuleExport.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        RememberThisModule(instance);
    return TRUE;
}

KELDRA_EXPORT bool InitDll()
{
    return true;
}

KELDRA_EXPORT bool ExitDll()
{
    return true;
}
