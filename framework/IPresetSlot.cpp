// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/IPresetSlot.h"

#include "framework/CopyText.h"

IPresetSlot::IPresetSlot() noexcept
{
    CopyText(mName, "empty");
}

void IPresetSlot::SetName(const char* name) noexcept
{
    CopyText(mName, name);
}
