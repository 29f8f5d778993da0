"""A tiny anti-aliased rasteriser and writers for .ico and .bmp, standard library only.

Shapes are point tests in pixel coordinates; each pixel is sampled on a grid and the layers are
composited in order, so an image is a list of (shape, colour) pairs drawn back to front.
"""

import math
import struct

SAMPLES = 8  # per axis and pixel: 64 samples give smooth edges at 16 px


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 < r * r


def ring(cx, cy, r_inner, r_outer):
    return lambda x, y: r_inner ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 < r_outer ** 2


def polygon(points):
    """Even-odd point-in-polygon test."""
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            xa, ya = points[i]
            xb, yb = points[(i + 1) % n]
            if (ya > y) != (yb > y) and x < xa + (y - ya) * (xb - xa) / (yb - ya):
                hit = not hit
        return hit
    return inside


def sector(cx, cy, start_deg, end_deg):
    """Angles clockwise from north, as on a compass dial; may wrap past 360."""
    def inside(x, y):
        angle = math.degrees(math.atan2(x - cx, cy - y)) % 360.0
        if start_deg <= end_deg:
            return start_deg <= angle < end_deg
        return angle >= start_deg or angle < end_deg
    return inside


def both(a, b):
    return lambda x, y: a(x, y) and b(x, y)


def hex_colour(text, alpha=255):
    text = text.lstrip("#")
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


def render(width, height, layers, background=(0, 0, 0, 0)):
    """Rows top to bottom of (r, g, b, a) tuples, colour not premultiplied."""
    offsets = [(i + 0.5) / SAMPLES for i in range(SAMPLES)]
    total = SAMPLES * SAMPLES
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            r, g, b, a = (c / 255.0 for c in background)
            r, g, b = r * a, g * a, b * a  # premultiplied while compositing
            for shape, colour in layers:
                hits = sum(1 for oy in offsets for ox in offsets if shape(px + ox, py + oy))
                if not hits:
                    continue
                la = colour[3] / 255.0 * hits / total
                r = colour[0] / 255.0 * la + r * (1 - la)
                g = colour[1] / 255.0 * la + g * (1 - la)
                b = colour[2] / 255.0 * la + b * (1 - la)
                a = la + a * (1 - la)
            if a > 0:
                pixel = (round(r / a * 255), round(g / a * 255), round(b / a * 255), round(a * 255))
            else:
                pixel = (0, 0, 0, 0)
            row.append(pixel)
        rows.append(row)
    return rows


def _dib_pixels(rows):
    """32-bit BGRA, bottom-up, as in a DIB."""
    out = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            out += bytes((b, g, r, a))
    return bytes(out)


def _and_mask(rows):
    """1 bit per pixel, set where the pixel is transparent; rows padded to 32 bits. Systems
    without alpha-blended icons (Windows 2000) draw through this mask."""
    out = bytearray()
    for row in reversed(rows):
        bits = bytearray((len(row) + 31) // 32 * 4)
        for x, pixel in enumerate(row):
            if pixel[3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def write_ico(path, images):
    """images: list of row lists, each square and at most 255 px."""
    entries = []
    for rows in images:
        size = len(rows)
        # Transparent pixels carry black so that the XOR pass leaves the screen unchanged.
        rows = [[p if p[3] else (0, 0, 0, 0) for p in row] for row in rows]
        pixels = _dib_pixels(rows)
        mask = _and_mask(rows)
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                             len(pixels) + len(mask), 0, 0, 0, 0)
        entries.append((size, header + pixels + mask))
    directory = struct.pack("<HHH", 0, 1, len(entries))
    offset = len(directory) + 16 * len(entries)
    blobs = b""
    for size, data in entries:
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        blobs += data
    with open(path, "wb") as f:
        f.write(directory + blobs)


def write_bmp(path, rows):
    """A 32 bits per pixel BI_RGB bitmap, bottom-up."""
    height = len(rows)
    width = len(rows[0])
    pixels = _dib_pixels(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(file_header + info + pixels)
