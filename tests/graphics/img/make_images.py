#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the small PNG images the graphics tests embed (run from this folder).
import struct
import zlib


def write_png(path, width, rows):
    """rows: list of rows, each a list of (r, g, b, a) tuples."""
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, len(rows), 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


# Background: 16 x 16, one opaque colour.
write_png("bg.png", 16, [[(10, 20, 30, 255)] * 16 for _ in range(16)])
# Strip: 4 x 12, three 4 x 4 frames stacked top to bottom: red, green, blue.
frames = [(200, 0, 0, 255), (0, 200, 0, 255), (0, 0, 200, 255)]
write_png("strip.png", 4, [[frames[y // 4]] * 4 for y in range(12)])
# The same two drawn at scale 2 (ids plus 1000): 2 x 2 checkers that a 1x
# picture enlarged by repeating pixels can never show.
checker = [(40, 50, 60, 255), (10, 20, 30, 255)]
write_png("bg@2x.png", 32, [[checker[(x + y) % 2] for x in range(32)] for y in range(32)])
grey = (100, 100, 100, 255)
write_png("strip@2x.png", 8, [[frames[y // 8] if (x + y) % 2 else grey for x in range(8)]
                              for y in range(24)])
