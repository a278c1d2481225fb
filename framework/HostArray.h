// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// [audio] A host array advanced to the part of a block that starts `offset`
/// frames in; a null array (an unconnected channel) stays null.
template <typename Sample>
Sample* AdvancedHostArray(Sample* array, int offset) noexcept
{
    return array != nullptr ? array + offset : nullptr;
}
