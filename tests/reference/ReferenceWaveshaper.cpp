// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceWaveshaper.h"

#include "effect/WaveshaperTable.h"

#include <climits>
#include <cmath>

namespace {

struct Tables {
    float positive[200];
    float negative[200];
    Tables()
    {
        for (int i = 0; i < 200; ++i) {
            positive[i] = WaveshaperTable::kPositive[i];
            negative[i] = -WaveshaperTable::kPositive[i];
        }
    }
};

const Tables kTables;

} // namespace

double ReferenceWaveshaper::shape(double w)
{
    const float scale = WaveshaperTable::kScale;
    const int count = 200;
    const double t = std::fabs(w) * static_cast<double>(scale);
    // Truncation toward zero; what does not fit (NaN included) is INT_MIN.
    const int i = (t >= -2147483648.0 && t < 2147483648.0) ? static_cast<int>(t) : INT_MIN;
    const float* table = std::signbit(w) ? kTables.negative : kTables.positive;
    double r;
    if (i < 0)
        r = table[0];
    else if (i >= count - 1)
        r = table[count - 1];
    else
        r = table[i] * (1 - (t - i)) + table[i + 1] * (t - i);
    return std::copysign(r, w);
}
