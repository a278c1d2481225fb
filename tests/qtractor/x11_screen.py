"""The pieces of a private X server a test drives a real program's windows
through: its windows by title, their pixels, pointer and keys (xdotool), and
PNG pixels to hold them against."""
import re
import struct
import subprocess
import time
import zlib

_TREE_LINE = re.compile(r'^\s*(0x[0-9a-f]+) "(.*)": (?:\("[^"]*" "([^"]*)"\))?.*\s(\d+)x(\d+)\+-?\d+\+-?\d+'
                        r'\s+\+(-?\d+)\+(-?\d+)\s*$')


class Window:
    def __init__(self, ident, title, window_class, width, height, x, y):
        self.id, self.title, self.window_class = ident, title, window_class
        self.width, self.height, self.x, self.y = width, height, x, y


class Screen:
    def __init__(self, display):
        # Titles come back in UTF-8 only in a UTF-8 locale.
        self.env = {"DISPLAY": display, "LC_ALL": "C.UTF-8"}

    def _run(self, *command):
        return subprocess.run(command, env=self.env, capture_output=True, text=True, encoding="utf-8",
                              errors="replace", check=False).stdout

    def windows(self):
        """Every named window, with its position on the screen."""
        found = []
        for line in self._run("xwininfo", "-root", "-tree").splitlines():
            match = _TREE_LINE.match(line)
            if match:
                ident, title, window_class, width, height, x, y = match.groups()
                found.append(Window(int(ident, 16), title, window_class or "", int(width), int(height), int(x),
                                    int(y)))
        return found

    def await_window(self, pattern, timeout=30, window_class=None):
        """The first window whose title matches pattern (and whose WM_CLASS class is window_class, when
        given), or None after timeout seconds."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for window in self.windows():
                if re.search(pattern, window.title) and window_class in (None, window.window_class):
                    return window
            time.sleep(0.25)
        return None

    def pixels(self, window):
        """The window's content as RGB bytes, row by row (xwd's 32-bit ZPixmap on a 24-bit screen)."""
        data = subprocess.run(["xwd", "-id", str(window.id), "-silent"], env=self.env,
                              capture_output=True, check=True).stdout
        header = struct.unpack(">25I", data[:100])
        width, height, line_bytes, colours = header[4], header[5], header[12], header[19]
        start = header[0] + colours * 12
        rgb = bytearray()
        for y in range(height):
            row = data[start + y * line_bytes: start + y * line_bytes + width * 4]
            for x in range(width):
                blue, green, red = row[4 * x: 4 * x + 3]
                rgb += bytes((red, green, blue))
        return bytes(rgb)

    def dump(self, window, path):
        """Writes the window's content to an XWD file, to look at when a check fails."""
        subprocess.run(["xwd", "-id", str(window.id), "-silent", "-out", path], env=self.env, check=False)

    def click(self, x, y, count=1):
        self._run("xdotool", "mousemove", str(x), str(y), "sleep", "0.3",
                  "click", "--repeat", str(count), "--delay", "80", "1")

    def drag(self, x, y, dy, steps=4):
        """Presses at (x, y) and moves the pointer by dy in steps, then releases."""
        self._run("xdotool", "mousemove", str(x), str(y), "sleep", "0.2", "mousedown", "1")
        for step in range(1, steps + 1):
            time.sleep(0.1)
            self._run("xdotool", "mousemove", str(x), str(y + dy * step // steps))
        self._run("xdotool", "mouseup", "1")

    def key(self, x, y, keys):
        """Points at (x, y), which gives its window the keyboard, and presses keys."""
        self._run("xdotool", "mousemove", str(x), str(y), "sleep", "0.3", "key", keys)


def png_rgb(path):
    """An 8-bit RGB or RGBA PNG's pixels as RGB bytes, and its size."""
    data = open(path, "rb").read()
    width, height, depth, colour = struct.unpack(">IIBB", data[16:26])
    assert depth == 8 and colour in (2, 6), "only 8-bit RGB(A) PNGs are read here"
    channels = 4 if colour == 6 else 3
    at, compressed = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IDAT":
            compressed += data[at + 8: at + 8 + length]
        at += 12 + length
    raw = zlib.decompress(compressed)
    stride = width * channels
    previous = bytearray(stride)
    rgb = bytearray()
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1: (y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                guess = left + up - corner
                nearest = min((abs(guess - left), 0, left), (abs(guess - up), 1, up),
                              (abs(guess - corner), 2, corner))[2]
                line[i] = (line[i] + nearest) & 255
        previous = line
        for x in range(width):
            rgb += line[x * channels: x * channels + 3]
    return bytes(rgb), width, height


def first_difference(actual, expected, width):
    """(x, y) of the first pixel that differs, or None when the two are the same."""
    if len(actual) != len(expected):
        return (-1, -1)
    for at in range(0, len(actual), 3):
        if actual[at:at + 3] != expected[at:at + 3]:
            return ((at // 3) % width, (at // 3) // width)
    return None
