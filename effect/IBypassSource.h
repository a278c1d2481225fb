// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Where the signal chain reads the effect's own Bypass position. It is read
/// afresh for every sample, because a host may store a new value while a
/// block runs.
class IBypassSource {
public:
    /// [audio] Current Bypass value (0 = in, 1 = bypassed); must not block.
    virtual double BypassValue() const noexcept = 0;

protected:
    ~IBypassSource() = default;
};
