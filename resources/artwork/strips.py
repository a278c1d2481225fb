# SPDX-License-Identifier: GPL-3.0-or-later
"""Frame strips: the rendered panel cut to a control's rectangle, with the
control's moving part drawn over it, one frame below the other."""

import base64

import knob
import layout as L
import switches
from svg import document


def _panel_image(panel_png):
    with open(panel_png, "rb") as f:
        data = base64.b64encode(f.read()).decode("ascii")
    return (f'<image id="panel" x="{L.PAINT_LEFT}" y="0" width="{L.PAINT_W}" '
            f'height="{L.PANEL_H}" xlink:href="data:image/png;base64,{data}"/>')


def _strip(panel_png, left, top, width, height, overlays, defs=""):
    """One frame per overlay (panel-pixel SVG), cut to (left, top, width, height)."""
    frames = []
    for index, overlay in enumerate(overlays):
        frames.append(
            f'<g transform="translate(0 {index * height})"><g clip-path="url(#frame)">'
            f'<g transform="translate({-left} {-top})"><use xlink:href="#panel"/>\n'
            f"{overlay}\n</g></g></g>")
    body = (f'<defs>{_panel_image(panel_png)}\n{defs}\n'
            f'<clipPath id="frame"><rect width="{width}" height="{height}"/></clipPath>'
            "</defs>\n" + "\n".join(frames))
    return document(width, height * len(overlays), body)


def background(panel_png):
    return _strip(panel_png, 0, 0, L.PANEL_W, L.PANEL_H, [""])


def knob_strip(name, panel_png):
    left, top = L.KNOBS[name][:2]
    overlays = [knob.knob(name, L.knob_angle(k)) for k in range(L.KNOB_FRAMES)]
    return _strip(panel_png, left, top, L.KNOB_W, L.KNOB_H, overlays, knob.DEFS)


def switch_strip(panel_png):
    # Frame 0 is Bypass off: the effect is in, so the toggle is up and the lamp lit.
    overlays = [switches.toggle(engaged) + "\n" + switches.lamp(engaged)
                for engaged in (True, False)]
    return _strip(panel_png, L.SWITCH_LEFT, L.SWITCH_TOP, L.SWITCH_W, L.SWITCH_H,
                  overlays, switches.DEFS)


def legend_strip(panel_png):
    overlays = [switches.legend(on) for on in (False, True)]
    return _strip(panel_png, L.LEGEND_LEFT, L.LEGEND_TOP, L.LEGEND_W, L.LEGEND_H,
                  overlays, switches.DEFS)
