// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pix {

/// [ui] True when the module runs under Wine, whose system text drawing the
/// fonts then avoid for all but very large lines. Probed on the first call
/// and remembered for the life of the process.
bool RunsUnderWine() noexcept;

}  // namespace pix
