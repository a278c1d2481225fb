// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/IBypassSource.h"
#include "framework/IParamRecord.h"

/// Lets the signal chain read the effect's Bypass parameter for every sample.
/// Borrows the record, which the plug-in base owns for the effect's lifetime.
class ParamBypassSource final : public IBypassSource {
public:
    /// [ui] Built with the effect, over its Bypass record.
    explicit ParamBypassSource(const IParamRecord& record) noexcept : mRecord(record) {}

    /// [audio] The parameter's current plain value (a relaxed atomic load).
    double BypassValue() const noexcept override { return mRecord.Value(); }

private:
    const IParamRecord& mRecord;
};
