# SPDX-License-Identifier: GPL-3.0-or-later
"""Small helpers for writing SVG text by hand."""

import math
from xml.sax.saxutils import escape

SANS = "DejaVu Sans"
SANS_CONDENSED = "DejaVu Sans Condensed"
SERIF = "DejaVu Serif"
SERIF_CONDENSED = "DejaVu Serif Condensed"


def document(width, height, body, view_left=0, view_top=0):
    """A whole SVG document of width x height pixels, one unit per pixel."""
    return (
        '<svg xmlns="http://www.w3.org/2000/svg" '
        'xmlns:xlink="http://www.w3.org/1999/xlink" '
        f'width="{width}" height="{height}" '
        f'viewBox="{view_left} {view_top} {width} {height}">\n{body}\n</svg>\n'
    )


def polar(cx, cy, radius, degrees):
    """Point at `radius` from (cx, cy), `degrees` clockwise from straight up."""
    a = math.radians(degrees)
    return cx + radius * math.sin(a), cy - radius * math.cos(a)


def num(value):
    """Coordinates rounded to what a renderer can tell apart."""
    text = f"{value:.2f}".rstrip("0").rstrip(".")
    return "0" if text == "-0" else text


def attrs(**kw):
    """Keyword arguments as SVG attributes; underscores become dashes."""
    parts = []
    for key, value in kw.items():
        if value is None:
            continue
        if isinstance(value, float):
            value = num(value)
        parts.append(f'{key.rstrip("_").replace("_", "-")}="{value}"')
    return " ".join(parts)


def element(tag, content=None, **kw):
    if content is None:
        return f"<{tag} {attrs(**kw)}/>"
    return f"<{tag} {attrs(**kw)}>{content}</{tag}>"


def text(x, y, string, size, fill, family=SANS_CONDENSED, weight="bold",
         anchor="middle", spacing=None, style=None, opacity=None):
    return element(
        "text", escape(string), x=float(x), y=float(y), font_family=family,
        font_size=float(size), font_weight=weight, font_style=style,
        text_anchor=anchor, letter_spacing=spacing, fill=fill, opacity=opacity)


def printed(x, y, string, size, ink, shade, **kw):
    """Screen-printed lettering: ink with a faint shadow where it sits proud."""
    return (text(x + 0.5, y + 0.7, string, size, shade, opacity=0.55, **kw) + "\n"
            + text(x, y, string, size, ink, **kw))


def line(x1, y1, x2, y2, stroke, width, cap="round", opacity=None):
    return element("line", x1=float(x1), y1=float(y1), x2=float(x2), y2=float(y2),
                   stroke=stroke, stroke_width=float(width), stroke_linecap=cap,
                   opacity=opacity)


def circle(cx, cy, r, fill, **kw):
    return element("circle", cx=float(cx), cy=float(cy), r=float(r), fill=fill, **kw)


def group(content, **kw):
    return f"<g {attrs(**kw)}>\n{content}\n</g>" if kw else f"<g>\n{content}\n</g>"


def gradient_stops(stops):
    """Stops as (offset, colour) or (offset, colour, opacity)."""
    out = []
    for offset, colour, *opacity in stops:
        fade = f' stop-opacity="{num(opacity[0])}"' if opacity else ""
        out.append(f'<stop offset="{num(offset)}" stop-color="{colour}"{fade}/>')
    return "".join(out)


def linear_gradient(ident, stops, x1=0, y1=0, x2=0, y2=1):
    return (f'<linearGradient id="{ident}" x1="{num(x1)}" y1="{num(y1)}" '
            f'x2="{num(x2)}" y2="{num(y2)}">{gradient_stops(stops)}</linearGradient>')


def radial_gradient(ident, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None):
    focus = f' fx="{num(fx)}" fy="{num(fy)}"' if fx is not None else ""
    return (f'<radialGradient id="{ident}" cx="{num(cx)}" cy="{num(cy)}" r="{num(r)}"'
            f'{focus}>{gradient_stops(stops)}</radialGradient>')
