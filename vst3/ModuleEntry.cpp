// SPDX-License-Identifier: GPL-3.0-or-later
// Module entry points on Linux. Linux hosts call ModuleEntry/ModuleExit around their
// use of the module; InitDll/ExitDll are kept for loaders that call those.
// The artwork is built into the module, so no handle is needed to find it.
#include "vst3/ModuleExport.h"

KELDRA_EXPORT bool ModuleEntry(void*)
{
    return true;
}

KELDRA_EXPORT bool ModuleExit()
{
    return true;
}

KELDRA_EXPORT bool InitDll()
{
    return true;
}

KELDRA_EXPORT bool ExitDll()
{
    return true;
}
