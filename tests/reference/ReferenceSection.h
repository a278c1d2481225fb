// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Plain scalar model of one filter section of one channel, written to be
/// read against the circuit description rather than to be fast: the analog
/// coefficients are evaluated term by term (zero terms included), mapped by
/// the bilinear formulas and applied in direct form I with a division by a0.
/// Test and benchmark code only.
class ReferenceSection {
public:
    /// Coefficient setters, one per section kind; fs in Hz.
    void setHighShelf(double p, double fs);
    void setHighPass(double u, double v, double fs);
    void setLowPass(double u, double v, double fs);
    void setMidBell(double p, double fs);
    void setLowShelf(double p, double fs);

    /// Runs one sample. A result that is not finite clears the histories and
    /// gives 0.
    double run(double x);
    /// Clears the histories.
    void clear();
    /// The largest magnitude among the histories.
    double largestHistory() const;

    /// Analog coefficients evaluated at the positions; index i multiplies s^i.
    struct Analog {
        int order;
        double alpha[4];
        double beta[4];
    };

private:
    void bilinear(const Analog& analog, double k);

    int mOrder = 2;
    double mA[4] = {};
    double mB[4] = {};
    double mX[3] = {}; ///< x1, x2, x3
    double mY[3] = {}; ///< y1, y2, y3
};
