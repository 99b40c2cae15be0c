#!/usr/bin/env python3
"""Draws the monitor's icon: a printer with a sheet coming out of its top and
a magnifying glass over its front.

Writes one .ico with nine images, 48, 32 and 16 pixels square at 4, 8 and 24
bits per pixel each, as classic BMP entries (bottom-up XOR bitmap, palette for
4 and 8 bits, 1-bit AND mask). The 24-bit images are smoothed; the palette
images take the most common colour of each pixel's samples.

usage: make_icon.py OUTPUT.ico
"""

import struct
import sys

SIZES = (48, 32, 16)
DEPTHS = (4, 8, 24)
SAMPLES = 4  # per pixel and axis

OUTLINE = (32, 36, 44)
BODY = (150, 160, 172)
BODY_TOP = (196, 204, 212)
SLOT = (48, 52, 60)
PAPER = (255, 255, 255)
TEXT = (120, 128, 140)
LED = (0, 200, 64)
RIM = (24, 64, 160)
GLASS = (176, 224, 248)
HANDLE = (112, 64, 24)


def rect(x0, y0, x1, y1, r=0.0):
    """Rounded rectangle in unit coordinates."""

    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r + 1e-12

    return inside


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def bar(ax, ay, bx, by, half):
    """Thick line segment from (ax, ay) to (bx, by)."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx - x, ay + t * dy - y
        return px * px + py * py <= half * half

    return inside


def shapes(size):
    """Back-to-front list of (test, colour); outlines are about one pixel wide."""
    w = max(1.0 / size, 0.03)
    lens_x, lens_y, lens_r = 0.64, 0.64, 0.22
    layers = [
        # the sheet, above and behind the printer
        (rect(0.24, 0.04, 0.76, 0.50), OUTLINE),
        (rect(0.24 + w, 0.04 + w, 0.76 - w, 0.50), PAPER),
    ]
    if size >= 32:
        for i in range(3):
            y = 0.13 + i * 0.08
            layers.append((rect(0.32, y, 0.68 - 0.08 * (i == 2), y + 0.03), TEXT))
    layers += [
        # the body, its lighter top, the output slot and the power light
        (rect(0.04, 0.36, 0.96, 0.82, 0.08), OUTLINE),
        (rect(0.04 + w, 0.36 + w, 0.96 - w, 0.82 - w, 0.08 - w), BODY),
        (rect(0.04 + w, 0.36 + w, 0.96 - w, 0.48, 0.08 - w), BODY_TOP),
        (rect(0.16, 0.58, 0.84, 0.58 + max(w, 0.05)), SLOT),
        (disc(0.16, 0.45, max(0.045, 0.7 / size)), LED),
        # the magnifier: handle, rim, glass
        (bar(lens_x + 0.14, lens_y + 0.14, 0.93, 0.93, 0.065), OUTLINE),
        (bar(lens_x + 0.14, lens_y + 0.14, 0.93, 0.93, 0.065 - w), HANDLE),
        (disc(lens_x, lens_y, lens_r), OUTLINE),
        (disc(lens_x, lens_y, lens_r - w), RIM),
        (disc(lens_x, lens_y, lens_r - w - max(w, 0.05)), GLASS),
    ]
    return layers


def render(size, smooth):
    """Returns rows (top first) of colour tuples, None where transparent."""
    layers = shapes(size)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = []
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    colour = None
                    for test, c in reversed(layers):
                        if test(x, y):
                            colour = c
                            break
                    hits.append(colour)
            solid = [c for c in hits if c is not None]
            if 2 * len(solid) < len(hits):
                row.append(None)
            elif smooth:
                row.append(tuple(round(sum(c[i] for c in solid) / len(solid)) for i in range(3)))
            else:
                row.append(max(set(solid), key=lambda c: (solid.count(c), c)))
        rows.append(row)
    return rows


def palette16():
    """The sixteen colours of the classic 4-bit display."""
    dark = [(r, g, b) for b in (0, 128) for g in (0, 128) for r in (0, 128)]
    light = [(r, g, b) for b in (0, 255) for g in (0, 255) for r in (0, 255)]
    return dark[:7] + [(192, 192, 192), (128, 128, 128)] + light[1:]


def palette256():
    """A 6x6x6 colour cube, then a ramp of 40 greys."""
    cube = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    greys = [(v, v, v) for v in (round(i * 255 / 41) for i in range(1, 41))]
    return cube + greys


def nearest(colour, palette):
    return min(range(len(palette)), key=lambda i: sum((colour[k] - palette[i][k]) ** 2 for k in range(3)))


def row_bytes(bits):
    return (bits + 31) // 32 * 4


def image(size, depth):
    """One icon image: BITMAPINFOHEADER, palette, XOR bitmap, AND mask."""
    rows = render(size, smooth=(depth == 24))
    palette = {4: palette16, 8: palette256}.get(depth, list)()
    xor_stride = row_bytes(size * depth)
    and_stride = row_bytes(size)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, colour in enumerate(row):
            if colour is None:
                bits[x // 8] |= 0x80 >> (x % 8)
                continue  # black in the XOR bitmap: the screen shows through
            if depth == 24:
                line[3 * x : 3 * x + 3] = bytes((colour[2], colour[1], colour[0]))
            elif depth == 8:
                line[x] = nearest(colour, palette)
            else:
                line[x // 2] |= nearest(colour, palette) << (4 if x % 2 == 0 else 0)
        xor += line
        mask += bits
    header = struct.pack(
        "<IiiHHIIiiII", 40, size, 2 * size, 1, depth, 0, len(xor) + len(mask), 0, 0, len(palette), 0
    )
    quads = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + quads + bytes(xor) + bytes(mask)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    entries = [(size, depth, image(size, depth)) for depth in DEPTHS for size in SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for size, depth, data in entries:
        colours = 1 << depth if depth < 8 else 0
        out += struct.pack("<BBBBHHII", size, size, colours, 0, 1, depth, len(data), offset)
        offset += len(data)
    for _, _, data in entries:
        out += data
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
