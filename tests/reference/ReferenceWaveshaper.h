// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Plain scalar model of the table waveshaper with its two tables (positive
/// and exactly negated). Test and benchmark code only.
class ReferenceWaveshaper {
public:
    static double shape(double w);
};
