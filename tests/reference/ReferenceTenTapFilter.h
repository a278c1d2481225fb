// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Plain scalar model of one oversampling filter (one channel, up or down)
/// and of its design. Histories are shifted by copying, as the description
/// reads. Test and benchmark code only.
class ReferenceTenTapFilter {
public:
    /// Designs g and c1 … c10 (c[0] … c[9]) for oversampling factor n.
    static void design(int n, double& g, double c[10]);

    /// y = g·x + c10·y10 + … + c1·y1 (summed from the oldest output to the
    /// newest); outputs that are not finite or below 2^−54 become 0.
    double step(double g, const double c[10], double x);

    void clear();

private:
    double mY[10] = {}; ///< y1 … y10
};
