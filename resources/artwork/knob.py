# SPDX-License-Identifier: GPL-3.0-or-later
"""A skirted bakelite knob with a coloured cap, turned to a given angle."""

import layout as L
from svg import circle, element, line, linear_gradient, polar, radial_gradient

DEFS = "\n".join([
    '<filter id="knobshadow" x="-0.3" y="-0.3" width="1.6" height="1.6">'
    '<feGaussianBlur stdDeviation="2.2"/></filter>',
    linear_gradient("skirt", [(0, "#4a4a48"), (0.5, "#1e1e1d"), (1, "#0a0a0a")],
                    x1=0.2, y1=0, x2=0.8, y2=1),
    linear_gradient("skirtface", [(0, "#2e2e2d"), (1, "#111")], x1=0.2, y1=0, x2=0.8, y2=1),
    # Light from the upper left, fixed while the knob turns.
    radial_gradient("caplight", [(0, "#fff", 0.55), (0.45, "#fff", 0.12), (1, "#000", 0.35)],
                    cx=0.5, cy=0.5, r=0.6, fx=0.32, fy=0.25),
])

NOTCHES = 45  # not a divisor of 360/10, so the knurling visibly turns


def knob(name, angle):
    """Knob `name` at `angle` degrees (clockwise from up), in panel pixels."""
    cx, cy = L.knob_centre(name)
    cap_colour = L.KNOBS[name][4]
    parts = [
        circle(cx + 1.6, cy + 2.6, 27, "#000", opacity=0.55, filter="url(#knobshadow)"),
        circle(cx, cy, 26.5, "url(#skirt)", stroke="#050505", stroke_width=0.8),
    ]
    for i in range(NOTCHES):
        a = angle + i * 360 / NOTCHES
        parts.append(line(*polar(cx, cy, 23.3, a), *polar(cx, cy, 26.1, a),
                          "#5b5b58", 1.1, cap="butt", opacity=0.8))
    parts += [
        circle(cx, cy, 22.5, "url(#skirtface)", stroke="#3c3c3a", stroke_width=0.6),
        line(*polar(cx, cy, 17.5, angle), *polar(cx, cy, 25.6, angle), L.INK, 2.6),
        circle(cx, cy, 16, "#000", opacity=0.6),
        circle(cx, cy, 15.2, cap_colour),
        circle(cx, cy, 15.2, "url(#caplight)"),
        line(*polar(cx, cy, 5, angle), *polar(cx, cy, 13.6, angle), "#f7f3e6", 1.8),
        element("circle", cx=cx, cy=cy, r=15.2, fill="none", stroke="#000",
                stroke_width=0.7, opacity=0.5),
    ]
    return "\n".join(parts)
