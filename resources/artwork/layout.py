# SPDX-License-Identifier: GPL-3.0-or-later
"""Where everything sits on the 300 x 570 front panel, and the palette.

The positions are those the editor places its controls at; the artwork is
drawn around them, so they must not drift from the editor's layout.
"""

PANEL_W, PANEL_H = 300, 570
# The IN switch starts two pixels left of the panel, so the panel is painted
# from x = -2 to give its image something to carry in those columns.
PAINT_LEFT = -2
PAINT_W = PANEL_W - PAINT_LEFT

KNOB_W, KNOB_H, KNOB_FRAMES = 83, 81, 31
# Frame k shows the pointer at -150 + 10 k degrees, clockwise from straight up.
KNOB_FIRST_ANGLE, KNOB_STEP_ANGLE = -150.0, 10.0

# name: (left, top, scale kind, legend under the knob, cap colour)
KNOBS = {
    "LPF": (34, 61, "lopass", "LO-PASS", "#7d858c"),
    "HPF": (32, 185, "hipass", "HI-PASS", "#7d858c"),
    "OUT": (32, 309, "gain", "OUT", "#2a2a2a"),
    "GainH": (182, 62, "gain", "HF", "#a3302a"),
    "GainM": (182, 185, "gain", "MF", "#2f6b55"),
    "GainL": (182, 310, "gain", "LF", "#2e5088"),
}

SWITCH_LEFT, SWITCH_TOP, SWITCH_W, SWITCH_H = -2, 430, 151, 114
TOGGLE_CX, TOGGLE_CY = 52, 490
LAMP_CX, LAMP_CY = 104, 490

LEGEND_LEFT, LEGEND_TOP, LEGEND_W, LEGEND_H = 0, 543, 150, 25
BAND_TOP = 543
# The maker badge fills the clickable logo area, x 203..300, y 540..569.
LOGO_LEFT, LOGO_TOP = 203, 540

SCREWS = ((14, 14), (286, 14), (14, 527), (286, 527))

PAINT = "#647582"
PAINT_LIGHT = "#74858f"
PAINT_DARK = "#53626d"
INK = "#efe8d3"
SHADOW = "#1c2227"
BAND = "#0d0d0e"


def knob_centre(name):
    """Centre of a knob's frame in panel pixels."""
    left, top = KNOBS[name][:2]
    return left + KNOB_W / 2, top + KNOB_H / 2


def knob_angle(frame):
    return KNOB_FIRST_ANGLE + KNOB_STEP_ANGLE * frame
