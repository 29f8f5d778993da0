#!/usr/bin/env python3
"""Draws the pictures of the example branding kit (a fictional builder, Northwind Systems):

    examples/branding/oemlogo.bmp   120 x 120, 32 bits per pixel: a compass badge on white
    examples/branding/support.ico   16, 32, 48 px with alpha: a lifebuoy, for the support links

    python3 tools/assets/make_branding_kit.py [OUTPUT-FOLDER]
"""

import math
import os
import sys

import raster

NAVY = raster.hex_colour("1B365D")
WHITE = raster.hex_colour("FFFFFF")
STEEL = raster.hex_colour("C9D6E3")
TEAL = raster.hex_colour("2EC4B6")
TEAL_SHADE = raster.hex_colour("1E9E93")
RED = raster.hex_colour("E03A3E")


def compass_star(cx, cy, long_r, short_r, start_deg):
    """Four points; each split along its axis into a lit and a shaded half. Returns the
    triangles as (shape, is_north, is_lit)."""
    parts = []
    for k in range(4):
        tip_angle = math.radians(start_deg + 90 * k)
        tip = (cx + long_r * math.sin(tip_angle), cy - long_r * math.cos(tip_angle))
        for side in (-1, 1):
            shoulder_angle = tip_angle + side * math.radians(45)
            shoulder = (cx + short_r * math.sin(shoulder_angle),
                        cy - short_r * math.cos(shoulder_angle))
            parts.append((raster.polygon([(cx, cy), tip, shoulder]), k == 0, side < 0))
    return parts


def logo_layers():
    c = 60.0
    layers = [
        (raster.circle(c, c, 56), NAVY),
        (raster.ring(c, c, 49, 51), WHITE),
    ]
    # Small ticks between the points, like a dial.
    for k in range(4):
        angle = math.radians(45 + 90 * k)
        layers.append((raster.circle(c + 42 * math.sin(angle), c - 42 * math.cos(angle), 2.5),
                       STEEL))
    for shape, north, lit in compass_star(c, c, 44, 11, 0):
        if north:
            colour = TEAL if lit else TEAL_SHADE
        else:
            colour = WHITE if lit else STEEL
        layers.append((shape, colour))
    layers.append((raster.circle(c, c, 3.5), NAVY))
    return layers


def lifebuoy_layers(size):
    s = size / 16.0
    c = size / 2.0
    edge = max(1.0, round(s * 0.75))
    # A smaller hole at 16 px leaves the band wide enough to show its colours.
    outer, inner = 7.5 * s, (2.5 if size == 16 else 3.5) * s
    band = raster.ring(c, c, inner + edge, outer - edge)
    layers = [
        (raster.ring(c, c, inner, outer), NAVY),
        (band, WHITE),
    ]
    for k in range(4):
        start = 45 + 90 * k - 22.5
        layers.append((raster.both(band, raster.sector(c, c, start, start + 45)), RED))
    return layers


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "examples",
                                                             "branding")
    # Older System Properties pages ignore alpha: the logo is opaque on white.
    raster.write_bmp(os.path.join(out, "oemlogo.bmp"),
                     raster.render(120, 120, logo_layers(), background=WHITE))
    raster.write_ico(os.path.join(out, "support.ico"),
                     [raster.render(size, size, lifebuoy_layers(size)) for size in (16, 32, 48)])
    print("wrote oemlogo.bmp and support.ico in", os.path.normpath(out))


if __name__ == "__main__":
    main()
