# SPDX-License-Identifier: GPL-3.0-or-later
"""The IN toggle with its lamp, and the oversampling legend in the bottom band."""

import layout as L
from svg import (SANS_CONDENSED, circle, element, linear_gradient, polar, radial_gradient,
                 text)

DEFS = "\n".join([
    '<filter id="soft" x="-0.5" y="-0.5" width="2" height="2">'
    '<feGaussianBlur stdDeviation="1.6"/></filter>',
    '<filter id="glow" x="-1" y="-1" width="3" height="3">'
    '<feGaussianBlur stdDeviation="3.5"/></filter>',
    # Small enough that the LED's glow stays on the legend's plate.
    '<filter id="ledglow" x="-1" y="-1" width="3" height="3">'
    '<feGaussianBlur stdDeviation="1.8"/></filter>',
    linear_gradient("chrome", [(0, "#7a7d7e"), (0.3, "#f4f5f3"), (0.55, "#a4a7a7"),
                               (1, "#4e5152")], x1=0, y1=0, x2=1, y2=0),
    radial_gradient("nut", [(0, "#eceeed"), (0.6, "#a2a5a5"), (1, "#5a5d5e")],
                    cx=0.4, cy=0.35, r=0.8),
    radial_gradient("lensoff", [(0, "#7a2a14"), (0.7, "#3e1309"), (1, "#1a0703")],
                    cx=0.45, cy=0.4, r=0.6),
    radial_gradient("lenson", [(0, "#fffbe0"), (0.35, "#ffc24a"), (0.8, "#e0620f"),
                               (1, "#8a2c05")], cx=0.45, cy=0.42, r=0.6),
    radial_gradient("ledoff", [(0, "#5a3a14"), (1, "#1c1207")], r=0.6),
    radial_gradient("ledon", [(0, "#fff4c8"), (0.4, "#ffb43a"), (1, "#a55a08")], r=0.6),
])


def _hexagon(cx, cy, r):
    return " ".join("%.2f,%.2f" % polar(cx, cy, r, 30 + 60 * k) for k in range(6))


def toggle(engaged):
    """Bat-handle toggle: up when the effect is in, down when bypassed."""
    cx, cy = L.TOGGLE_CX, L.TOGGLE_CY
    reach = -24 if engaged else 24
    tip = cy + reach
    handle = (f"M {cx - 3.4} {cy} L {cx - 2.1} {tip} L {cx + 2.1} {tip} "
              f"L {cx + 3.4} {cy} Z")
    return "\n".join([
        element("polygon", points=_hexagon(cx + 1, cy + 1.6, 13), fill="#000", opacity=0.45,
                filter="url(#soft)"),
        element("polygon", points=_hexagon(cx, cy, 12.5), fill="url(#nut)",
                stroke="#3d4041", stroke_width=0.7),
        circle(cx, cy, 8.2, "#8d9091", stroke="#4a4d4e", stroke_width=0.7),
        circle(cx, cy, 5.6, "#2c2e2f"),
        element("path", d=handle, fill="#000", opacity=0.45, filter="url(#soft)",
                transform="translate(3 4)"),
        element("path", d=handle, fill="url(#chrome)", stroke="#3e4142", stroke_width=0.6),
        circle(cx + 2.5, tip + 3.5, 4.6, "#000", opacity=0.4, filter="url(#soft)"),
        circle(cx, tip, 4.6, "url(#nut)", stroke="#3e4142", stroke_width=0.6),
    ])


def lamp(lit):
    cx, cy = L.LAMP_CX, L.LAMP_CY
    parts = [
        circle(cx + 1, cy + 1.6, 10.5, "#000", opacity=0.45, filter="url(#soft)"),
        circle(cx, cy, 10.2, "url(#nut)", stroke="#3d4041", stroke_width=0.7),
        circle(cx, cy, 7.4, "#1b1b1b"),
        circle(cx, cy, 6.8, "url(#lenson)" if lit else "url(#lensoff)"),
    ]
    if lit:
        parts.append(circle(cx, cy, 9, "#ff9a30", opacity=0.35, filter="url(#glow)"))
    parts.append(element("ellipse", cx=cx - 2.3, cy=cy - 2.6, rx=2.2, ry=1.4,
                         fill="#fff", opacity=0.7 if lit else 0.35))
    return "\n".join(parts)


def legend(on):
    """The oversampling legend: a dark push-button plate with an LED."""
    top = L.LEGEND_TOP
    led_x, led_y = L.LEGEND_LEFT + 15, top + 12.5
    word = "ON" if on else "OFF"
    return "\n".join([
        element("rect", x=3.5, y=top + 3.5, width=143.0, height=18.0, rx=3.0,
                fill="#18191a", stroke="#34373a", stroke_width=1.0),
        circle(led_x, led_y, 4.6, "#000"),
        circle(led_x, led_y, 3.6, "url(#ledon)" if on else "url(#ledoff)"),
        circle(led_x, led_y, 4, "#ffb43a", opacity=0.5, filter="url(#ledglow)") if on else "",
        text(27, top + 16.5, "OVERSAMPLE", 10.5, L.INK, family=SANS_CONDENSED,
             anchor="start", spacing=0.8),
        text(112, top + 16.5, word, 10.5, "#ffc45a" if on else L.INK,
             family=SANS_CONDENSED, anchor="start", spacing=0.8),
    ])
