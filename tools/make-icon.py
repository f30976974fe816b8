#!/usr/bin/env python3
"""Draws the installer's product icon and writes it as a one-image .ico (64 x 64, 32-bit BGRA with mask).

The picture: a rounded square with a blue diagonal gradient, a white "V" of two rounded strokes and a
small white node at its foot, a link to the proxy client's network theme. Edges are anti-aliased by
supersampling. Usage: make-icon.py OUTPUT.ico
"""
import math
import struct
import sys

SIZE = 64
SUPERSAMPLE = 6

TOP_LEFT = (0x3A, 0x8D, 0xFF)
BOTTOM_RIGHT = (0x15, 0x3E, 0xB8)
WHITE = (0xFF, 0xFF, 0xFF)


def rounded_square_distance(x, y, left, top, right, bottom, radius):
    """Signed distance to a rounded rectangle: negative inside."""
    cx = (left + right) / 2
    cy = (top + bottom) / 2
    hx = (right - left) / 2 - radius
    hy = (bottom - top) / 2 - radius
    qx = abs(x - cx) - hx
    qy = abs(y - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    inside = min(max(qx, qy), 0.0)
    return outside + inside - radius


def segment_distance(x, y, ax, ay, bx, by):
    """Distance from (x, y) to the segment a-b."""
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def sample(x, y):
    """Colour and coverage of one sample point: ((r, g, b), alpha 0..1)."""
    if rounded_square_distance(x, y, 2, 2, 62, 62, 14) > 0:
        return (0, 0, 0), 0.0
    t = min(max((x + y - 4) / 116, 0.0), 1.0)
    colour = tuple(a + (b - a) * t for a, b in zip(TOP_LEFT, BOTTOM_RIGHT))
    # A soft light band along the top edge gives the tile some depth.
    if y < 24:
        shine = 0.10 * (1 - y / 24)
        colour = tuple(c + (255 - c) * shine for c in colour)
    stroke = min(segment_distance(x, y, 17, 16, 32, 39), segment_distance(x, y, 47, 16, 32, 39))
    node = math.hypot(x - 32, y - 51) - 4.5
    if stroke <= 4.6 or node <= 0:
        colour = WHITE
    return colour, 1.0


def render():
    """Rows of (b, g, r, a) tuples, top row first, alpha not premultiplied."""
    rows = []
    step = 1.0 / SUPERSAMPLE
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            acc = [0.0, 0.0, 0.0]
            cover = 0.0
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    colour, alpha = sample(px + (sx + 0.5) * step, py + (sy + 0.5) * step)
                    cover += alpha
                    for i in range(3):
                        acc[i] += colour[i] * alpha
            n = SUPERSAMPLE * SUPERSAMPLE
            a = cover / n
            if cover > 0:
                r, g, b = (round(acc[i] / cover) for i in range(3))
            else:
                r = g = b = 0
            row.append((b, g, r, round(a * 255)))
        rows.append(row)
    return rows


def ico_bytes(rows):
    """A .ico file with one 32-bit image: header, directory entry, BITMAPINFOHEADER, pixels, AND mask."""
    pixels = bytearray()
    for row in reversed(rows):  # DIB rows run bottom-up
        for b, g, r, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((SIZE + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = header + pixels + mask
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: make-icon.py OUTPUT.ico')
    with open(sys.argv[1], 'wb') as out:
        out.write(ico_bytes(render()))


if __name__ == '__main__':
    main()
