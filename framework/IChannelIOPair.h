// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// One legal channel configuration: this many inputs with this many outputs.
struct IChannelIOPair {
    int inputs = 0;
    int outputs = 0;
};
