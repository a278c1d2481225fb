# SPDX-License-Identifier: GPL-3.0-or-later
"""The painted front panel: everything that never moves."""

import random

import layout as L
from svg import (SANS, SERIF, SERIF_CONDENSED, circle, document, element, group, line,
                 linear_gradient, polar, printed, radial_gradient, text)

# Fixed seed: redrawing must give the same screw slots every time.
_rng = random.Random(1973)

DEFS = "\n".join([
    linear_gradient("paint", [(0, L.PAINT_LIGHT), (0.55, L.PAINT), (1, L.PAINT_DARK)],
                    x1=0, y1=0, x2=0.35, y2=1),
    # Fine grain of the paint and a faint horizontal brushing of the metal below.
    '<filter id="grain" x="0" y="0" width="1" height="1" color-interpolation-filters="sRGB">'
    '<feTurbulence type="fractalNoise" baseFrequency="0.9" numOctaves="2" seed="4"/>'
    '<feColorMatrix type="matrix" values="0 0 0 0 0  0 0 0 0 0  0 0 0 0 0  1.6 0 0 0 -0.72"/>'
    "</filter>",
    '<filter id="speck" x="0" y="0" width="1" height="1" color-interpolation-filters="sRGB">'
    '<feTurbulence type="fractalNoise" baseFrequency="0.75" numOctaves="1" seed="11"/>'
    '<feColorMatrix type="matrix" values="0 0 0 0 1  0 0 0 0 1  0 0 0 0 1  0 1.8 0 0 -0.95"/>'
    "</filter>",
    '<filter id="brush" x="0" y="0" width="1" height="1" color-interpolation-filters="sRGB">'
    '<feTurbulence type="fractalNoise" baseFrequency="0.003 0.55" numOctaves="2" seed="2"/>'
    '<feColorMatrix type="matrix" values="0 0 0 0 1  0 0 0 0 1  0 0 0 0 1  1.4 0 0 0 -0.55"/>'
    "</filter>",
    radial_gradient("screwhead", [(0, "#e9e9e6"), (0.55, "#a9aaa7"), (1, "#5d5f5f")],
                    cx=0.4, cy=0.35, r=0.75),
    linear_gradient("plate", [(0, "#26292c"), (1, "#121415")]),
    linear_gradient("lettering", [(0, "#f4f1e8"), (0.5, "#bfc2c2"), (1, "#e6e4dc")]),
    linear_gradient("badge", [(0, "#e4e5e2"), (0.45, "#b4b7b6"), (0.55, "#c6c8c6"),
                              (1, "#8d908f")]),
])


def _paint():
    x, w, h = L.PAINT_LEFT, L.PAINT_W, L.PANEL_H
    rect = f'x="{x}" y="0" width="{w}" height="{h}"'
    return "\n".join([
        f'<rect {rect} fill="url(#paint)"/>',
        f'<rect {rect} filter="url(#brush)" opacity="0.10"/>',
        f'<rect {rect} filter="url(#grain)" opacity="0.25"/>',
        f'<rect {rect} filter="url(#speck)" opacity="0.18"/>',
        # The plate's bevel: lit along the top and left, in shade along the right.
        line(0.5, 0.5, L.PANEL_W - 0.5, 0.5, "#a3b0b8", 1, cap="butt", opacity=0.8),
        line(0.5, 0.5, 0.5, L.BAND_TOP, "#93a1aa", 1, cap="butt", opacity=0.7),
        line(L.PANEL_W - 0.5, 0.5, L.PANEL_W - 0.5, L.BAND_TOP, "#2b3439", 1,
             cap="butt", opacity=0.8),
    ])


def _screw(cx, cy):
    slot = _rng.uniform(0, 180)
    x1, y1 = polar(cx, cy, 5.2, slot)
    x2, y2 = polar(cx, cy, 5.2, slot + 180)
    return "\n".join([
        circle(cx + 0.6, cy + 0.9, 7.2, "#000", opacity=0.35),
        circle(cx, cy, 7, "#3d4649"),
        circle(cx, cy, 6.3, "url(#screwhead)"),
        line(x1, y1, x2, y2, "#2f3232", 1.8, cap="butt"),
        line(x1 + 0.4, y1 + 0.5, x2 + 0.4, y2 + 0.5, "#f2f2ee", 0.5, cap="butt", opacity=0.6),
    ])


def _label(x, y, string, size=10.0, **kw):
    return printed(x, y, string, size, L.INK, L.SHADOW, **kw)


def _rule(x1, y1, x2, y2):
    """A printed line with the same faint shadow as the lettering."""
    return "\n".join([line(x1 + 0.5, y1 + 0.7, x2 + 0.5, y2 + 0.7, L.SHADOW, 1.2, opacity=0.5),
                      line(x1, y1, x2, y2, L.INK, 1.2)])


def _section_title(cx, y, title, half_width, left, right):
    """Title with a bracket rule running out to both sides of its column."""
    rule_y = y - 4
    return "\n".join([
        _label(cx, y, title, 11, spacing=1.2),
        _rule(left, rule_y + 7, left, rule_y),
        _rule(left, rule_y, cx - half_width, rule_y),
        _rule(cx + half_width, rule_y, right, rule_y),
        _rule(right, rule_y, right, rule_y + 7),
    ])


SCALE_ENDS = {
    "gain": ("15", "15"),
    "hipass": ("20", "600"),
    "lopass": ("500", "20K"),
}


def _scale(name):
    left, top, kind, legend, _ = L.KNOBS[name]
    cx, cy = L.knob_centre(name)
    parts = []
    for step in range(21):
        angle = -150 + 15 * step
        if step % 2:
            parts.append(_rule(*polar(cx, cy, 31.5, angle), *polar(cx, cy, 33, angle)))
        else:
            outer = 36.5 if step in (0, 10, 20) else 35
            parts.append(_rule(*polar(cx, cy, 30.5, angle), *polar(cx, cy, outer, angle)))
    low, high = SCALE_ENDS[kind]
    for angle, string in ((-150, low), (150, high)):
        x, y = polar(cx, cy, 44, angle)
        parts.append(_label(x, y + 3.5, string, 9))
    if kind == "gain":
        parts.append(_label(cx, cy - 40.5, "0", 9))
        for angle, sign in ((-112, "\u2212"), (112, "+")):
            x, y = polar(cx, cy, 41, angle)
            parts.append(_label(x, y + 4, sign, 11, family=SANS))
    else:
        parts.append(_label(cx, cy - 40.5, "Hz", 8))
    parts.append(_label(cx, cy + 54, legend, 10.5, spacing=0.8))
    return "\n".join(parts)


def _columns():
    engraved_x = L.PANEL_W / 2
    return "\n".join([
        _section_title(75, 40, "SWEEP FILTER", 43, 12, 138),
        _section_title(223.5, 40, "3-EQ", 18, 162, 286),
        line(engraved_x - 0.5, 30, engraved_x - 0.5, 418, "#2a3338", 1, opacity=0.8),
        line(engraved_x + 0.5, 30, engraved_x + 0.5, 418, "#9aa8b0", 1, opacity=0.6),
        # The output stage sits apart from the filters.
        _rule(12, 293, 138, 293),
    ])


def _in_switch_legend():
    cx, cy = L.TOGGLE_CX, L.TOGGLE_CY
    return "\n".join([
        _label(cx, cy - 33, "IN", 12, spacing=1),
        _label(L.LAMP_CX, L.LAMP_CY + 26, "ACTIVE", 7.5, spacing=0.6),
    ])


def _nameplate():
    x, y, w, h = 166, 438, 118, 62
    return "\n".join([
        element("rect", x=float(x + 1), y=float(y + 1.5), width=float(w), height=float(h),
                rx=3.0, fill="#000", opacity=0.4),
        element("rect", x=float(x), y=float(y), width=float(w), height=float(h), rx=3.0,
                fill="url(#plate)", stroke="#3b4145", stroke_width=1.0),
        text(x + w / 2 + 1, y + 33, "KELDRA", 19, "url(#lettering)", family=SERIF,
             spacing=2.2),
        text(x + w / 2, y + 50, "STEREO EQUALISER", 7.5, "#a9aca9", spacing=1.4),
        "\n".join(circle(sx, sy, 2.2, "url(#screwhead)", stroke="#000", stroke_width=0.4)
                  for sx in (x + 6, x + w - 6) for sy in (y + 6, y + h - 6)),
    ])


def _band_and_logo():
    top = L.BAND_TOP
    bx, by, bw, bh = L.LOGO_LEFT + 3, L.LOGO_TOP + 3, 92, 25
    leaf_x, leaf_y = bx + 9, by + bh / 2
    fronds = []
    for i in range(5):
        y = leaf_y + 6 - i * 3
        spread = 4.2 - i * 0.7
        fronds.append(line(leaf_x, y, leaf_x - spread, y - 2.2, "#243026", 1.0))
        fronds.append(line(leaf_x, y, leaf_x + spread, y - 2.2, "#243026", 1.0))
    return "\n".join([
        element("rect", x=float(L.PAINT_LEFT), y=float(top), width=float(L.PAINT_W),
                height=float(L.PANEL_H - top), fill=L.BAND),
        line(0, top - 0.5, L.PANEL_W, top - 0.5, "#2a2f33", 1, cap="butt"),
        line(0, top + 0.5, L.PANEL_W, top + 0.5, "#2b2b2d", 1, cap="butt"),
        element("rect", x=float(bx + 0.8), y=float(by + 1.2), width=float(bw), height=float(bh),
                rx=2.5, fill="#000", opacity=0.8),
        element("rect", x=float(bx), y=float(by), width=float(bw), height=float(bh), rx=2.5,
                fill="url(#badge)", stroke="#5c605f", stroke_width=0.8),
        line(leaf_x, leaf_y + 8, leaf_x, leaf_y - 8, "#243026", 1.2),
        "\n".join(fronds),
        text(bx + 17, by + 16.5, "Brackenfold", 11, "#1d2320", family=SERIF_CONDENSED,
             style="italic", anchor="start"),
    ])


def panel_body():
    """The panel's SVG elements in panel pixel coordinates (no document)."""
    parts = [_paint(), _columns()]
    parts += [_scale(name) for name in L.KNOBS]
    parts += [_in_switch_legend(), _nameplate()]
    parts += [_screw(x, y) for x, y in L.SCREWS]
    parts.append(_band_and_logo())
    return f"<defs>{DEFS}</defs>\n" + group("\n".join(parts))


def panel_document():
    """The panel from x = PAINT_LEFT, so the IN switch's image can extend past it."""
    return document(L.PAINT_W, L.PANEL_H, panel_body(), view_left=L.PAINT_LEFT)
