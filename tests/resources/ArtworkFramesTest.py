#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks that the frame strips fit the background they are drawn over.

The editor copies a knob's or switch's frame over the background, surroundings
included, so any pixel of a frame outside the moving part must be exactly the
background's pixel at that place, or the control shows a seam.

    python3 ArtworkFramesTest.py <resources/img folder>
"""

import math
import os
import struct
import sys
import unittest
import zlib

IMAGES = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(__file__), "..", "..", "resources", "img")

KNOBS = {"GainH": (182, 62), "GainM": (182, 185), "GainL": (182, 310),
         "OUT": (32, 309), "HPF": (32, 185), "LPF": (34, 61)}
KNOB_W, KNOB_H = 83, 81


class Image:
    """An 8-bit RGB or RGBA PNG, decoded to (r, g, b) rows."""

    def __init__(self, name):
        with open(os.path.join(IMAGES, name), "rb") as f:
            data = f.read()
        assert data[:8] == b"\x89PNG\r\n\x1a\n", name
        pos, idat = 8, b""
        while pos < len(data):
            length, kind = struct.unpack(">I4s", data[pos:pos + 8])
            body = data[pos + 8:pos + 8 + length]
            if kind == b"IHDR":
                self.width, self.height, depth, colour, _, _, interlace = struct.unpack(
                    ">IIBBBBB", body)
                assert depth == 8 and colour in (2, 6) and interlace == 0, name
                channels = 3 if colour == 2 else 4
            elif kind == b"IDAT":
                idat += body
            pos += 12 + length
        raw = zlib.decompress(idat)
        stride = self.width * channels
        previous = bytearray(stride)
        self.rows = []
        for y in range(self.height):
            start = y * (stride + 1)
            row = self._unfilter(raw[start], bytearray(raw[start + 1:start + 1 + stride]),
                                 previous, channels)
            self.rows.append([tuple(row[x:x + 3]) for x in range(0, stride, channels)])
            previous = row

    @staticmethod
    def _unfilter(kind, row, above, bpp):
        for i in range(len(row)):
            left = row[i - bpp] if i >= bpp else 0
            up = above[i]
            corner = above[i - bpp] if i >= bpp else 0
            if kind == 1:
                row[i] = (row[i] + left) & 0xFF
            elif kind == 2:
                row[i] = (row[i] + up) & 0xFF
            elif kind == 3:
                row[i] = (row[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                guess = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                row[i] = (row[i] + guess) & 0xFF
        return row

    def pixel(self, x, y):
        return self.rows[y][x]


def brightness(rgb):
    return sum(rgb) / 3


BACKGROUND = Image("bg.png")


class KnobStrips(unittest.TestCase):
    def test_every_frame_carries_the_background_around_the_knob(self):
        for name, (left, top) in KNOBS.items():
            strip = Image(name + ".png")
            cx, cy = KNOB_W / 2, KNOB_H / 2
            for frame in range(31):
                for y in range(KNOB_H):
                    for x in range(KNOB_W):
                        if math.hypot(x + 0.5 - cx, y + 0.5 - cy) < 38:
                            continue
                        self.assertEqual(strip.pixel(x, frame * KNOB_H + y),
                                         BACKGROUND.pixel(left + x, top + y),
                                         f"{name} frame {frame} at {x},{y}")

    def test_the_pointer_turns_ten_degrees_per_frame_from_minus_150(self):
        # The pointer is the one light mark on the black skirt; find it on a
        # ring just inside the skirt's knurled edge.
        for name in KNOBS:
            strip = Image(name + ".png")
            cx, cy = KNOB_W / 2, KNOB_H / 2
            for frame in range(31):
                best_angle, best_light = None, -1
                for tenth in range(3600):
                    angle = tenth / 10
                    a = math.radians(angle)
                    x = int(cx + 21 * math.sin(a))
                    y = int(cy - 21 * math.cos(a))
                    light = brightness(strip.pixel(x, frame * KNOB_H + y))
                    if light > best_light:
                        best_angle, best_light = angle, light
                expected = (-150 + 10 * frame) % 360
                error = abs((best_angle - expected + 180) % 360 - 180)
                self.assertLess(error, 4, f"{name} frame {frame}: pointer at {best_angle}")
                self.assertGreater(best_light, 150, f"{name} frame {frame}")


class Switches(unittest.TestCase):
    def assert_matches_background_outside(self, strip, frame, left, top, width, height,
                                          moving):
        """Every pixel on the panel and outside the `moving` circles is the background's."""
        for y in range(height):
            for x in range(width):
                px, py = left + x, top + y
                if px < 0 or any(math.hypot(px + 0.5 - mx, py + 0.5 - my) < r
                                 for mx, my, r in moving):
                    continue
                self.assertEqual(strip.pixel(x, frame * height + y), BACKGROUND.pixel(px, py),
                                 f"frame {frame} at panel {px},{py}")

    def test_the_in_switch_frames_fit_the_panel_and_show_the_toggle_up_then_down(self):
        strip = Image("by.png")
        self.assertEqual((strip.width, strip.height), (151, 228))
        toggle_x, toggle_y, lamp_x, lamp_y = 52, 490, 104, 490
        moving = [(toggle_x, toggle_y, 36), (lamp_x, lamp_y, 22)]
        for frame in (0, 1):
            self.assert_matches_background_outside(strip, frame, -2, 430, 151, 114, moving)
        # The toggle's ball sits 24 pixels above its nut in frame 0 and below it in 1;
        # the lamp is lit only in frame 0 (effect in).
        def at(frame, x, y):
            return brightness(strip.pixel(x + 2, frame * 114 + y - 430))
        self.assertGreater(at(0, toggle_x, toggle_y - 24), at(1, toggle_x, toggle_y - 24) + 40)
        self.assertGreater(at(1, toggle_x, toggle_y + 24), at(0, toggle_x, toggle_y + 24) + 40)
        self.assertGreater(at(0, lamp_x, lamp_y), at(1, lamp_x, lamp_y) + 60)

    def test_the_oversampling_legend_sits_in_the_band_and_lights_only_when_on(self):
        strip = Image("OVER.png")
        self.assertEqual((strip.width, strip.height), (150, 50))
        for frame in (0, 1):
            for y in (0, 1, 2, 23, 24):
                for x in range(150):
                    self.assertEqual(strip.pixel(x, frame * 25 + y),
                                     BACKGROUND.pixel(x, 543 + y), f"frame {frame} {x},{y}")
        led_off, led_on = strip.pixel(15, 12), strip.pixel(15, 25 + 12)
        self.assertGreater(brightness(led_on), brightness(led_off) + 80)
        self.assertNotEqual(strip.rows[:25], strip.rows[25:])


class Background(unittest.TestCase):
    def test_the_bottom_band_is_black_beside_the_legend_and_the_logo_is_light(self):
        self.assertEqual((BACKGROUND.width, BACKGROUND.height), (300, 570))
        for y in range(545, 570):
            for x in range(152, 200):
                self.assertLess(brightness(BACKGROUND.pixel(x, y)), 30, f"{x},{y}")
        logo = [brightness(BACKGROUND.pixel(x, y)) for y in range(545, 566)
                for x in range(210, 295)]
        self.assertGreater(sum(logo) / len(logo), 120)


if __name__ == "__main__":
    unittest.main(verbosity=2)
