// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RelaxedAtomic.h"

#include <cstddef>
#include <string_view>
#include <vector>

/// One automatable value of the plug-in: its kind, plain value, range, step,
/// normalisation shape, default, display precision, texts and flags.
///
/// Owned by IEffectBase (one per parameter index). The effect defines it at
/// construction; afterwards only the value changes. The value is read on the
/// audio thread while the host's user-interface thread may write it without
/// the plug-in lock, so it is held in a relaxed atomic; everything else is
/// written only during construction.
class IParamRecord {
public:
    static constexpr int kTextSize = 32;  ///< bytes of name, label, group and display texts

    /// Kind codes. Every kind other than kKindContinuous is stepped.
    static constexpr int kKindUnset = 0;
    static constexpr int kKindEnum = 1;  ///< list kind: typed text is looked up among the display texts
    static constexpr int kKindInteger = 2;
    static constexpr int kKindList = 3;  ///< list kind, as kKindEnum
    static constexpr int kKindContinuous = 4;

    /// A text shown instead of the number for one integer value.
    struct DisplayText {
        int value = 0;
        char text[kTextSize] = {};
    };

    /// How a parameter reads in its own units ("+3.2 dB", "3.1 kHz"):
    /// replaces the plain number in every display and text-entry path. The
    /// effect sets one per parameter at construction; it lives as long as
    /// the module (the record only borrows it). [any] Must not allocate.
    class TextUnits {
    public:
        /// Text of plain value `plain` of `param`; always NUL-terminates.
        virtual void Format(const IParamRecord& param, double plain, char* text,
                            std::size_t capacity) const noexcept = 0;
        /// The plain value of `param` that `text` stands for, on the step
        /// grid; false (with `plain` untouched) when the text is not a value.
        virtual bool Parse(const IParamRecord& param, std::string_view text,
                           double& plain) const noexcept = 0;

    protected:
        ~TextUnits() = default;
    };

    IParamRecord() = default;
    IParamRecord(const IParamRecord&) = delete;
    IParamRecord& operator=(const IParamRecord&) = delete;

    // ---- definition [ui, construction] ----------------------------------

    /// Defines the parameter: kind becomes continuous unless a kind was set
    /// before; value = default; max is widened to at least min + step; the
    /// display precision follows from the step (0..6 decimals); a shape of
    /// 0.0 keeps the current shape. Texts longer than 31 characters are cut.
    void DefineContinuous(const char* name, double defaultValue, double minValue, double maxValue,
                          double step, const char* label = "", const char* group = "",
                          double shape = 1.0);
    /// Exponent of the normalisation curve (>1 favours the low end).
    void SetShape(double shape) noexcept { mShape = shape; }
    void SetKind(int kind) noexcept { mKind = kind; }
    void SetNegateDisplay(bool negate) noexcept { mNegateDisplay = negate; }
    /// Adds a text shown instead of the number `value` (allocates).
    void AddDisplayText(int value, const char* text);
    /// Shows and reads the parameter in `units` (null: plain numbers).
    void SetTextUnits(const TextUnits* units) noexcept { mTextUnits = units; }

    // ---- value [any] -------------------------------------------------------

    /// Current plain value.
    double Value() const noexcept { return mValue; }
    /// min + n^shape * (max - min); no clamping, no step rounding.
    double NormalizedToPlain(double normalized) const noexcept;
    /// ((x - min) / (max - min))^(1/shape) with x = plain clamped to [min, max].
    double PlainToNormalized(double plain) const noexcept;
    /// PlainToNormalized(Value()).
    double GetNormalized() const noexcept { return PlainToNormalized(Value()); }
    /// Stores the plain value of a normalised one. The normalised value is
    /// clamped to 0..1 and NaN is ignored; stepped kinds round half up to a
    /// multiple of the step (counted from zero); the result is capped at max.
    void SetFromNormalized(double normalized) noexcept;
    /// The normalised value SetFromNormalized(normalized) would store (NaN
    /// stays NaN), for a copy of the value kept elsewhere.
    double SnappedNormalized(double normalized) const noexcept;
    /// Stores a plain value clamped to [min, max]; stepped kinds then round
    /// half up to a multiple of the step (capped at max). A non-finite value
    /// is ignored.
    void SetPlain(double plain) noexcept;

    // ---- display [any] -----------------------------------------------------

    /// Text of the first display-text entry for `value`, or "" if none.
    const char* DisplayTextFor(int value) const noexcept;
    /// Display text of a plain value: in the parameter's units when it has
    /// them; else its display text if one exists, else the (optionally
    /// negated) number with the display precision, or truncated toward zero
    /// with precision 0. Always NUL-terminates.
    void FormatForHost(double plain, char* text, std::size_t capacity) const noexcept;
    /// Plain value of text typed by a user or sent by a host: in the
    /// parameter's units when it has them, else the leading decimal number
    /// ("3.5 dB" reads 3.5). False, with `plain` untouched, when the text is
    /// not a value.
    bool ParseFromHost(std::string_view text, double& plain) const noexcept;
    bool HasTextUnits() const noexcept { return mTextUnits != nullptr; }
    /// "" when the current value shows a display text, else the label.
    const char* LabelForHost() const noexcept;

    // ---- accessors [any] ---------------------------------------------------

    int Kind() const noexcept { return mKind; }
    bool IsStepped() const noexcept { return mKind != kKindContinuous; }
    double Min() const noexcept { return mMin; }
    double Max() const noexcept { return mMax; }
    double Step() const noexcept { return mStep; }
    double Shape() const noexcept { return mShape; }
    double Default() const noexcept { return mDefault; }
    int DisplayPrecision() const noexcept { return mDisplayPrecision; }
    const char* Name() const noexcept { return mName; }
    const char* Label() const noexcept { return mLabel; }
    const char* Group() const noexcept { return mGroup; }
    bool NegateDisplay() const noexcept { return mNegateDisplay; }
    bool CanAutomate() const noexcept { return mCanAutomate; }
    const std::vector<DisplayText>& DisplayTexts() const noexcept { return mDisplayTexts; }

private:
    /// Stepped kinds: the nearest multiple of the step (half up, counted from zero).
    double SnapToStep(double plain) const noexcept;

    int mKind = kKindUnset;
    RelaxedAtomic<double> mValue = 0.0;
    double mMin = 0.0;
    double mMax = 1.0;
    double mStep = 1.0;
    double mShape = 1.0;
    double mDefault = 0.0;
    int mDisplayPrecision = 0;
    char mName[kTextSize] = {};
    char mLabel[kTextSize] = {};
    char mGroup[kTextSize] = {};
    bool mNegateDisplay = false;
    bool mCanAutomate = true;
    std::vector<DisplayText> mDisplayTexts;
    const TextUnits* mTextUnits = nullptr;
};
