# SPDX-License-Identifier: GPL-3.0-or-later
"""KELDRA's icon: the HF knob and its scale, cut square from the painted
panel, on a tile with rounded corners; and the .ico file that carries it."""

import struct

import knob
import layout as L
import panel
from svg import document, element

KNOB = "GainH"
FRAME = 20  # the pointer at 50 degrees: boosted, so the knob reads as turned
HALF = 41.0  # half the tile's side in panel pixels: the scale and its end labels
CORNER = 9.0


def icon_document():
    cx, cy = L.knob_centre(KNOB)
    left, top, side = cx - HALF, cy - HALF, 2 * HALF
    tile = dict(x=left + 0.5, y=top + 0.5, width=side - 1, height=side - 1, rx=CORNER)
    body = (f"<defs>{knob.DEFS}\n"
            f'<clipPath id="tile">{element("rect", **tile)}</clipPath></defs>\n'
            f'<g clip-path="url(#tile)">\n{panel.panel_body()}\n'
            f"{knob.knob(KNOB, L.knob_angle(FRAME))}\n</g>\n"
            + element("rect", **tile, fill="none", stroke="#1c2227", stroke_width=1.0))
    # In panel pixels: rsvg-convert draws it at each icon size.
    return document(side, side, body, view_left=left, view_top=top)


def ico(png_files):
    """An .ico holding the given PNG images, one entry per size (Windows
    Vista and later read PNG entries at every size)."""
    images = []
    for path in png_files:
        with open(path, "rb") as f:
            data = f.read()
        width, height = struct.unpack(">II", data[16:24])  # the IHDR chunk
        images.append((width, height, data))
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, payload = b"", b""
    for width, height, data in images:
        # 256 is written as 0 in the one-byte size fields.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32,
                               len(data), offset + len(payload))
        payload += data
    return header + entries + payload
