#!/usr/bin/env python3
"""Draws the program's icon, a swallow-tailed flag on a pole, into src/app/vexilla.ico.

    python3 tools/assets/make_app_icon.py [OUTPUT.ico]

Each size has its own whole-pixel pole and flag edges, so that 16 px stays crisp instead of
being a blurred copy of 48 px.
"""

import os
import sys

import raster

POLE = raster.hex_colour("475A6E")     # slate, still visible on a dark taskbar
FINIAL = raster.hex_colour("F2B705")   # gold
FLAG = raster.hex_colour("D62839")     # signal red
FLAG_SHADE = raster.hex_colour("A51D2D")


def layers(size):
    s = size / 16.0
    pole_w = {16: 2, 32: 3, 48: 4}[size]
    pole_x = round(3 * s)
    pole_r = pole_x + pole_w
    top, bottom, right, notch = 3 * s, 10 * s, 14.5 * s, 11.5 * s
    flag = raster.polygon([(pole_r, top), (right, top), (notch, (top + bottom) / 2),
                           (right, bottom), (pole_r, bottom)])
    shapes = [
        (raster.rect(pole_x, 2 * s, pole_r, 15 * s), POLE),
        (raster.rect(pole_x - pole_w, 15 * s - max(1, round(s)), pole_r + pole_w, 15 * s), POLE),
        (raster.circle(pole_x + pole_w / 2, 2 * s, pole_w * 0.8), FINIAL),
        (flag, FLAG),
    ]
    if size >= 32:
        # A darker lower band gives the cloth some depth where there are pixels to spare.
        band = raster.rect(pole_r, (top + bottom) / 2 + s, right, bottom)
        shapes.append((raster.both(flag, band), FLAG_SHADE))
    return shapes


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "src", "app",
                                                             "vexilla.ico")
    images = [raster.render(size, size, layers(size)) for size in (16, 32, 48)]
    raster.write_ico(out, images)
    print("wrote", os.path.normpath(out))


if __name__ == "__main__":
    main()
