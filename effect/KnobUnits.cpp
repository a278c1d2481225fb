// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/KnobUnits.h"

#include "effect/AnalogResponse.h"
#include "framework/DecimalText.h"

#include <cmath>
#include <cstdio>

namespace {


bool IsBlank(char c) noexcept
{
    return c == ' ' || c == '\t';
}

char Lower(char c) noexcept
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

std::string_view Trimmed(std::string_view text) noexcept
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool SameLetters(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// Removes `suffix` (any case) from the end of `text`; true when it was there.
bool DropSuffix(std::string_view& text, std::string_view suffix) noexcept
{
    if (text.size() < suffix.size() || !SameLetters(text.substr(text.size() - suffix.size()), suffix))
        return false;
    text.remove_suffix(suffix.size());
    text = Trimmed(text);
    return true;
}

// What a figure's number is measured in, and so how it is written and read.
enum class Figure {
    kDecibels,      // one decimal, signed
    kFineDecibels,  // two decimals, signed
    kHertz,         // three significant digits, Hz below 1 kHz, kHz above
};

void FormatDecibels(double db, int decimals, char* text, std::size_t capacity) noexcept
{
    const double unit = std::pow(10.0, -decimals);
    // What rounds to zero is flat: no sign on it.
    if (std::fabs(db) < 0.5 * unit)
        std::snprintf(text, capacity, "%.*f dB", decimals, 0.0);
    else
        std::snprintf(text, capacity, "%+.*f dB", decimals, db);
}

void FormatHertz(double hz, char* text, std::size_t capacity) noexcept
{
    // Rounded to three significant digits first, so that 999.7 Hz reads 1 kHz.
    const double magnitude = std::pow(10.0, std::floor(std::log10(hz)) - 2.0);
    const double rounded = std::round(hz / magnitude) * magnitude;
    const bool kilo = rounded >= 1000.0;
    const double shown = kilo ? rounded / 1000.0 : rounded;
    const int decimals = shown >= 100.0 ? 0 : shown >= 10.0 ? 1 : 2;
    char number[16];
    std::snprintf(number, sizeof number, "%.*f", decimals, shown);
    // Trailing zeros say nothing: "3.10 kHz" reads "3.1 kHz", "20.0 Hz" "20 Hz".
    std::string_view digits(number);
    if (digits.find('.') != std::string_view::npos) {
        while (digits.back() == '0') digits.remove_suffix(1);
        if (digits.back() == '.') digits.remove_suffix(1);
    }
    std::snprintf(text, capacity, "%.*s %s", int(digits.size()), digits.data(), kilo ? "kHz" : "Hz");
}

void FormatFigure(Figure figure, double value, char* text, std::size_t capacity) noexcept
{
    switch (figure) {
    case Figure::kDecibels: FormatDecibels(value, 1, text, capacity); break;
    case Figure::kFineDecibels: FormatDecibels(value, 2, text, capacity); break;
    case Figure::kHertz: FormatHertz(value, text, capacity); break;
    }
}

// The figure typed in `text`, the unit optional: "-3.5", "-3.5 dB", "3.1k",
// "3.1 kHz", "3100 Hz". False for anything else.
bool ReadFigure(Figure figure, std::string_view text, double& value) noexcept
{
    text = Trimmed(text);
    double scale = 1.0;
    if (figure == Figure::kHertz) {
        DropSuffix(text, "hz");
        if (DropSuffix(text, "k")) scale = 1000.0;
    } else {
        DropSuffix(text, "db");
    }
    double number = 0.0;
    if (!ReadWholeDecimal(text, number)) return false;
    // Frequencies are compared on a log scale; no corner is at or below 0 Hz.
    if (figure == Figure::kHertz && !(number > 0.0)) return false;
    value = number * scale;
    return true;
}

// A knob whose plain value (a position, or OUT's dB) is shown as a figure
// that `measure` gives; `measure` is monotonic over the range.
class MeasuredKnob final : public IParamRecord::TextUnits {
public:
    constexpr MeasuredKnob(Figure figure, double (*measure)(double plain)) noexcept
        : mFigure(figure), mMeasure(measure)
    {
    }

    void Format(const IParamRecord&, double plain, char* text, std::size_t capacity) const noexcept override
    {
        FormatFigure(mFigure, mMeasure(plain), text, capacity);
    }

    bool Parse(const IParamRecord& param, std::string_view text, double& plain) const noexcept override
    {
        double wanted = 0.0;
        if (!ReadFigure(mFigure, text, wanted)) return false;
        // The step grid holds at most a few thousand positions; the one whose
        // figure lies nearest is the position that gives it (the figures are
        // monotonic, so there is one, and beyond an end it is that end).
        const long steps = std::lround((param.Max() - param.Min()) / param.Step());
        double best = param.Min();
        double bestDistance = INFINITY;
        for (long k = 0; k <= steps; ++k) {
            const double candidate = std::fmin(param.Min() + double(k) * param.Step(), param.Max());
            const double distance = Distance(mMeasure(candidate), wanted);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = candidate;
            }
        }
        plain = best;
        return true;
    }

private:
    double Distance(double figure, double wanted) const noexcept
    {
        return mFigure == Figure::kHertz ? std::fabs(std::log(figure / wanted)) : std::fabs(figure - wanted);
    }

    Figure mFigure;
    double (*mMeasure)(double);
};

// A two-position switch read as words: each position's own text, or one of
// a few other spellings a user may type.
class SwitchWords final : public IParamRecord::TextUnits {
public:
    struct Position {
        const char* shown;
        const char* alsoRead[3];
    };

    constexpr SwitchWords(Position off, Position on) noexcept : mPositions{off, on} {}

    void Format(const IParamRecord&, double plain, char* text, std::size_t capacity) const noexcept override
    {
        std::snprintf(text, capacity, "%s", mPositions[plain >= 0.5 ? 1 : 0].shown);
    }

    bool Parse(const IParamRecord&, std::string_view text, double& plain) const noexcept override
    {
        text = Trimmed(text);
        for (int i = 0; i < 2; ++i) {
            bool match = SameLetters(text, mPositions[i].shown);
            for (const char* spelling : mPositions[i].alsoRead)
                match = match || (spelling != nullptr && SameLetters(text, spelling));
            if (match) {
                plain = i;
                return true;
            }
        }
        return false;
    }

private:
    Position mPositions[2];
};

double OutputDecibels(double plain)
{
    return plain;
}

double HighShelf(double plain)
{
    return AnalogResponse::HighShelfGainDb(plain);
}

double MidBell(double plain)
{
    return AnalogResponse::MidBellGainDb(plain);
}

double LowShelf(double plain)
{
    return AnalogResponse::LowShelfGainDb(plain);
}

double HighPass(double plain)
{
    return AnalogResponse::HighPassCornerHz(plain);
}

double LowPass(double plain)
{
    return AnalogResponse::LowPassCornerHz(plain);
}

constexpr MeasuredKnob kOut(Figure::kFineDecibels, OutputDecibels);
constexpr MeasuredKnob kHighPassCorner(Figure::kHertz, HighPass);
constexpr MeasuredKnob kLowPassCorner(Figure::kHertz, LowPass);
constexpr MeasuredKnob kHighShelfGain(Figure::kDecibels, HighShelf);
constexpr MeasuredKnob kMidBellGain(Figure::kDecibels, MidBell);
constexpr MeasuredKnob kLowShelfGain(Figure::kDecibels, LowShelf);
// A typed "×" from a host that narrows UTF-16 to bytes arrives as 0xD7.
constexpr SwitchWords kBypassWords({"Effect in", {"in", nullptr, nullptr}},
                                   {"Bypassed", {"bypass", nullptr, nullptr}});
constexpr SwitchWords kOversamplingWords({"4\xC3\x97", {"4", "4x", "4\xD7"}},
                                         {"16\xC3\x97", {"16", "16x", "16\xD7"}});

}  // namespace

namespace KnobUnits {

const IParamRecord::TextUnits& For(KeldraParamId id) noexcept
{
    switch (id) {
    case KeldraParamId::kOut: return kOut;
    case KeldraParamId::kHighPass: return kHighPassCorner;
    case KeldraParamId::kLowPass: return kLowPassCorner;
    case KeldraParamId::kGainHigh: return kHighShelfGain;
    case KeldraParamId::kGainMid: return kMidBellGain;
    case KeldraParamId::kGainLow: return kLowShelfGain;
    case KeldraParamId::kBypass: return kBypassWords;
    case KeldraParamId::kOversampling: break;
    }
    return kOversamplingWords;
}

}  // namespace KnobUnits
