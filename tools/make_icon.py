#!/usr/bin/env python3
"""Draws the program's icon, a stopwatch, as a 32x32 256-colour .ico.

Usage: make_icon.py OUT.ico
Each pixel is supersampled 4x4 and mapped to the nearest colour of a fixed
palette; pixels less than half covered are transparent (AND mask set).
"""
import math
import struct
import sys

SIZE = 32
SS = 4

# Palette: a 6x6x6 colour cube, then a grey ramp to fill 256 entries.
PALETTE = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
PALETTE += [(int(i * 255 / 39),) * 3 for i in range(40)]
assert len(PALETTE) == 256

OUTLINE = (40, 44, 52)
RIM = (150, 158, 170)
FACE = (250, 250, 246)
TICK = (60, 64, 72)
HAND = (214, 36, 36)
CROWN = (196, 160, 60)


def shade(x, y):
    """Colour and coverage (0 or 1) of one sample point in icon coordinates."""
    cx, cy, r = 16.0, 18.5, 12.5
    d = math.hypot(x - cx, y - cy)
    # Crown button on top and its stem.
    if 13.5 <= x <= 18.5 and 1.0 <= y <= 3.5:
        return CROWN, 1
    if 14.8 <= x <= 17.2 and 3.5 <= y <= 6.5:
        return OUTLINE, 1
    # Side button at 45 degrees, upper right.
    bx, by = cx + 11.8 * math.cos(-math.pi / 4), cy + 11.8 * math.sin(-math.pi / 4)
    if math.hypot(x - bx, y - by) <= 2.2 and d > r - 1.0:
        return CROWN, 1
    if d > r:
        return None, 0
    if d > r - 1.4:
        return OUTLINE, 1
    if d > r - 3.0:
        return RIM, 1
    # Hand from the centre towards "20 seconds" (upper right).
    angle = math.radians(-60)
    hx, hy = math.cos(angle), math.sin(angle)
    t = (x - cx) * hx + (y - cy) * hy
    dist = abs(-(x - cx) * hy + (y - cy) * hx)
    if -1.5 <= t <= r - 4.5 and dist <= 0.9:
        return HAND, 1
    if d <= 1.6:
        return OUTLINE, 1
    # Twelve ticks, the quarter ones longer.
    a = math.atan2(y - cy, x - cx)
    k = round(a / (math.pi / 6))
    off = abs(a - k * math.pi / 6) * d
    inner = r - (6.0 if k % 3 == 0 else 4.8)
    if off <= 0.7 and inner <= d <= r - 3.2:
        return TICK, 1
    return FACE, 1


def nearest(rgb):
    return min(range(256), key=lambda i: sum((a - b) ** 2 for a, b in zip(PALETTE[i], rgb)))


def render():
    pixels, mask = [], []
    for py in range(SIZE):
        row, mrow = [], []
        for px in range(SIZE):
            acc, n = [0, 0, 0], 0
            for sy in range(SS):
                for sx in range(SS):
                    c, cov = shade(px + (sx + 0.5) / SS, py + (sy + 0.5) / SS)
                    if cov:
                        n += 1
                        for i in range(3):
                            acc[i] += c[i]
            if n * 2 < SS * SS:
                row.append(0)
                mrow.append(1)
            else:
                row.append(nearest([v / n for v in acc]))
                mrow.append(0)
        pixels.append(row)
        mask.append(mrow)
    return pixels, mask


def ico(pixels, mask):
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor = b''.join(bytes(row) for row in reversed(pixels))
    and_rows = []
    for mrow in reversed(mask):
        bits = 0
        for i, m in enumerate(mrow):
            if m:
                bits |= 1 << (31 - i)
        and_rows.append(struct.pack('>I', bits))
    image = header + pal + xor + b''.join(and_rows)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    pixels, mask = render()
    with open(sys.argv[1], 'wb') as f:
        f.write(ico(pixels, mask))


if __name__ == '__main__':
    main()
