# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes one SVG document of the front-panel artwork to standard output
(or, for "ico" and "bmp", the binary file made from rendered PNGs).

    python3 artwork panel                  the painted panel (x from -2)
    python3 artwork background PANEL.png   bg.png
    python3 artwork knob NAME PANEL.png    a 31-frame knob strip
    python3 artwork switch PANEL.png       the two-frame IN switch
    python3 artwork legend PANEL.png       the two-frame oversampling legend
    python3 artwork icon                   KELDRA's icon (a square)
    python3 artwork ico PNG...             an .ico of the rendered icon sizes
    python3 artwork wizard                 the installer's welcome picture
    python3 artwork bmp PNG                a rendered picture as a .bmp

Images other than the panel are drawn over the rendered panel, so the pixels
around a knob or switch are exactly the background's.
"""

import sys

import icon
import panel
import strips
import wizard


def main(argv):
    command, args = argv[1], argv[2:]
    if command == "panel":
        sys.stdout.write(panel.panel_document())
    elif command == "background":
        sys.stdout.write(strips.background(args[0]))
    elif command == "knob":
        sys.stdout.write(strips.knob_strip(args[0], args[1]))
    elif command == "switch":
        sys.stdout.write(strips.switch_strip(args[0]))
    elif command == "legend":
        sys.stdout.write(strips.legend_strip(args[0]))
    elif command == "icon":
        sys.stdout.write(icon.icon_document())
    elif command == "ico":
        sys.stdout.buffer.write(icon.ico(args))
    elif command == "wizard":
        sys.stdout.write(wizard.wizard_document())
    elif command == "bmp":
        sys.stdout.buffer.write(wizard.bmp(args[0]))
    else:
        sys.exit(f"unknown image: {command}")


main(sys.argv)
