# SPDX-License-Identifier: GPL-3.0-or-later
"""xwd-to-png.py IN.xwd OUT.png: a 24-bit window dump as a PNG, cut to the
part that differs from the dump's top-left pixel (the desktop around a
dialog)."""

import struct
import sys
import zlib


def read_xwd(path):
    data = open(path, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    depth, byte_order, bits_per_pixel, bytes_per_line, colours = (
        fields[3], fields[7], fields[11], fields[12], fields[19])
    if depth != 24 or bits_per_pixel not in (24, 32):
        sys.exit("only 24-bit colour is read")
    stride = bits_per_pixel // 8
    start = header_size + 12 * colours
    rows = []
    for y in range(height):
        line = data[start + y * bytes_per_line:start + (y + 1) * bytes_per_line]
        # LSBFirst: blue, green, red (then unused); MSBFirst the other way round.
        order = (2, 1, 0) if byte_order == 0 else (stride - 3, stride - 2, stride - 1)
        rows.append([tuple(line[stride * x + i] for i in order) for x in range(width)])
    return rows


def crop(rows):
    background = rows[0][0]
    ys = [y for y, row in enumerate(rows) if any(p != background for p in row)]
    xs = [x for x in range(len(rows[0])) if any(rows[y][x] != background for y in ys)]
    return [row[xs[0]:xs[-1] + 1] for row in rows[ys[0]:ys[-1] + 1]]


def write_png(path, rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in rows)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


write_png(sys.argv[2], crop(read_xwd(sys.argv[1])))
