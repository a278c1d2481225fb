// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// [any] Records the handle (HMODULE) Windows passed to the module's DllMain;
/// called once on process attach, before any other code of the module runs.
void RememberThisModule(void* module) noexcept;

/// [any] The handle (HMODULE) of the module this code is linked into: the one
/// DllMain recorded, or, in a program without one, the module holding this code.
void* ThisModule() noexcept;
