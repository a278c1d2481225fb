// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/win32/Win32WindowClass.h"

namespace Win32WindowClass {
namespace {
int gHolders = 0;
} // namespace

bool Acquire(HINSTANCE instance, WNDPROC procedure)
{
    if (gHolders == 0) {
        WNDCLASSA windowClass{};
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.lpszClassName = kName;
        if (!RegisterClassA(&windowClass)) return false;
    }
    ++gHolders;
    return true;
}

void Release(HINSTANCE instance)
{
    if (gHolders <= 0) return;
    if (--gHolders == 0) UnregisterClassA(kName, instance);
}

} // namespace Win32WindowClass
