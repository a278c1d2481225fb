// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <functional>

/// [ui] Dispatches the calling thread's window messages until `done` holds or
/// `milliseconds` have passed; whether `done` held.
inline bool PumpMessagesUntil(const std::function<bool()>& done, int milliseconds = 3000)
{
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done())
            return true;
        Sleep(5);
    } while (static_cast<int>(deadline - GetTickCount()) > 0);
    return false;
}
