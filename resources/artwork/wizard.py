# SPDX-License-Identifier: GPL-3.0-or-later
"""The picture beside the Windows installer's welcome and finish pages: the
whole front panel at its default settings, on the bottom band's black; and
the 24-bit .bmp the installer takes, made from the rendered PNG."""

import struct
import zlib

import knob
import layout as L
import panel
import switches
from svg import document, element

WIDTH, HEIGHT = 164, 314  # the installer's picture, in pixels
# Each knob's frame at its default: HPF at its lowest, LPF fully open, the
# rest at the middle of their travel.
DEFAULT_FRAMES = {"LPF": 30, "HPF": 0, "OUT": 15, "GainH": 15, "GainM": 15, "GainL": 15}


def wizard_document():
    height = L.PANEL_W * HEIGHT / WIDTH
    parts = [element("rect", x=0.0, y=0.0, width=float(L.PANEL_W), height=height, fill=L.BAND),
             panel.panel_body()]
    parts += [knob.knob(name, L.knob_angle(frame)) for name, frame in DEFAULT_FRAMES.items()]
    parts += [switches.toggle(True), switches.lamp(True), switches.legend(False)]
    body = f"<defs>{knob.DEFS}\n{switches.DEFS}</defs>\n" + "\n".join(parts)
    # Cut at the panel's left edge: the paint past it is only for the IN switch.
    return document(L.PANEL_W, height, body)


def _png_pixels(data):
    """Rows of red, green, blue (and alpha) bytes from an 8-bit RGB or RGBA
    PNG, as rsvg-convert writes them, and the bytes a pixel."""
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", data[16:29])
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError("not an 8-bit RGB or RGBA PNG without interlacing")
    size = 3 if colour == 2 else 4
    compressed, at = b"", 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IDAT":
            compressed += data[at + 8:at + 8 + length]
        at += 12 + length
    raw, stride, rows, previous = zlib.decompress(compressed), size * width, [], bytes(size * width)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - size] if i >= size else 0
            up, up_left = previous[i], previous[i - size] if i >= size else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                guess = left + up - up_left
                near = min((abs(guess - left), 0, left), (abs(guess - up), 1, up),
                           (abs(guess - up_left), 2, up_left))[2]
                line[i] = (line[i] + near) & 0xFF
        rows.append(bytes(line))
        previous = line
    return width, height, rows, size


def bmp(png_path):
    """The PNG as a 24-bit bottom-up BMP (transparent parts on black)."""
    with open(png_path, "rb") as f:
        width, height, rows, size = _png_pixels(f.read())
    padding = b"\0" * (-3 * width % 4)
    pixels = b"".join(
        bytes(c * (row[x + 3] if size == 4 else 255) // 255
              for x in range(0, size * width, size) for c in (row[x + 2], row[x + 1], row[x]))
        + padding for row in reversed(rows))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header)) + header + pixels
