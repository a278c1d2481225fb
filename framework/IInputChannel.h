// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

/// One input channel of the plug-in base. `slot` points at this channel's
/// entry in the base's input data (the array the effect reads); it holds the
/// host's array, or `scratch` when the channel is disconnected or converted
/// from single precision. Owned by IEffectBase.
struct IInputChannel {
    bool connected = false;
    double** slot = nullptr;
    std::vector<double> scratch;  ///< block-size doubles, sized before processing
};
