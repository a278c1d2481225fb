// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/IParamRecord.h"

#include "framework/CopyText.h"
#include "framework/DecimalText.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kMaxDisplayPrecision = 6;

// Truncation toward zero that stays defined for values an int cannot hold.
int TruncateToInt(double value) noexcept
{
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (value <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

}  // namespace

void IParamRecord::DefineContinuous(const char* name, double defaultValue, double minValue,
                                    double maxValue, double step, const char* label,
                                    const char* group, double shape)
{
    if (mKind == kKindUnset) {
        mKind = kKindContinuous;
    }
    CopyText(mName, name);
    CopyText(mLabel, label);
    CopyText(mGroup, group);
    mValue = defaultValue;
    mMin = minValue;
    mStep = step;
    mDefault = defaultValue;
    // A range is never narrower than one step, so normalising never divides by zero.
    mMax = std::max(maxValue, minValue + step);

    mDisplayPrecision = 0;
    for (double s = step; s != std::floor(s) && mDisplayPrecision < kMaxDisplayPrecision; s *= 10.0) {
        ++mDisplayPrecision;
    }
    if (shape != 0.0) {
        mShape = shape;
    }
}

void IParamRecord::AddDisplayText(int value, const char* text)
{
    DisplayText entry;
    entry.value = value;
    CopyText(entry.text, text);
    mDisplayTexts.push_back(entry);
}

double IParamRecord::NormalizedToPlain(double normalized) const noexcept
{
    return mMin + std::pow(normalized, mShape) * (mMax - mMin);
}

double IParamRecord::PlainToNormalized(double plain) const noexcept
{
    const double x = std::clamp(plain, mMin, mMax);
    return std::pow((x - mMin) / (mMax - mMin), 1.0 / mShape);
}

double IParamRecord::SnapToStep(double plain) const noexcept
{
    return IsStepped() ? std::floor(plain / mStep + 0.5) * mStep : plain;
}

void IParamRecord::SetFromNormalized(double normalized) noexcept
{
    // One NaN from a host would otherwise stay in the parameter for good.
    if (std::isnan(normalized)) {
        return;
    }
    mValue = std::min(SnapToStep(NormalizedToPlain(std::clamp(normalized, 0.0, 1.0))), mMax);
}

double IParamRecord::SnappedNormalized(double normalized) const noexcept
{
    if (std::isnan(normalized)) {
        return normalized;
    }
    return PlainToNormalized(std::min(SnapToStep(NormalizedToPlain(std::clamp(normalized, 0.0, 1.0))), mMax));
}

void IParamRecord::SetPlain(double plain) noexcept
{
    if (!std::isfinite(plain)) {
        return;
    }
    // A restored state may hold a switch at 0.37: stepped values land on
    // their step here as they do on the normalised path.
    mValue = std::min(SnapToStep(std::clamp(plain, mMin, mMax)), mMax);
}

const char* IParamRecord::DisplayTextFor(int value) const noexcept
{
    for (const DisplayText& entry : mDisplayTexts) {
        if (entry.value == value) {
            return entry.text;
        }
    }
    return "";
}

void IParamRecord::FormatForHost(double plain, char* text, std::size_t capacity) const noexcept
{
    if (capacity == 0) {
        return;
    }
    if (mTextUnits != nullptr) {
        mTextUnits->Format(*this, plain, text, capacity);
        return;
    }
    const char* displayText = DisplayTextFor(TruncateToInt(plain));
    if (displayText[0] != '\0') {
        std::snprintf(text, capacity, "%s", displayText);
        return;
    }
    const double shown = mNegateDisplay ? -plain : plain;
    if (mDisplayPrecision > 0) {
        std::snprintf(text, capacity, "%.*f", mDisplayPrecision, shown);
    } else {
        std::snprintf(text, capacity, "%d", TruncateToInt(shown));
    }
}

bool IParamRecord::ParseFromHost(std::string_view text, double& plain) const noexcept
{
    return mTextUnits != nullptr ? mTextUnits->Parse(*this, text, plain) : ReadDecimal(text, plain);
}

const char* IParamRecord::LabelForHost() const noexcept
{
    return DisplayTextFor(TruncateToInt(Value()))[0] != '\0' ? "" : mLabel;
}
