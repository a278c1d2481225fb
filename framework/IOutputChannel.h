// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

/// One output channel of the plug-in base. `slot` points at this channel's
/// entry in the base's output data (where the effect writes). In 32-bit
/// processing the effect writes into `scratch` and the base converts it into
/// `destination32` (the host's array, borrowed for one block). Owned by IEffectBase.
struct IOutputChannel {
    bool connected = false;
    double** slot = nullptr;
    float* destination32 = nullptr;
    std::vector<double> scratch;  ///< block-size doubles, sized before processing
};
