#!/usr/bin/env python3
"""Generates the program's artwork into res/art/ (committed, so a build needs
no image tool). Pure standard library: pictures are drawn as pixel functions
and written as BMP/ICO bytes.

    python3 tools/make-artwork.py
"""
import math
import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ART = os.path.join(ROOT, "res", "art")

# Calm product palette: deep teal shield, white mark.
TEAL = (18, 94, 112)
TEAL_LIGHT = (40, 150, 160)
WHITE = (255, 255, 255)


def shield_pixel(x, y, size):
    """RGBA of the application icon at pixel centre (x, y): a shield with a
    gradient and a white 'T' mark, anti-aliased by 4x4 supersampling."""
    def inside_shield(u, v):  # u, v in 0..1
        if v < 0.08 or v > 0.96:
            return False
        half = 0.42 if v < 0.55 else 0.42 * math.sqrt(max(0.0, 1 - ((v - 0.55) / 0.41) ** 2))
        return abs(u - 0.5) <= half

    def inside_mark(u, v):
        bar = 0.26 <= v <= 0.38 and abs(u - 0.5) <= 0.26
        stem = 0.26 <= v <= 0.80 and abs(u - 0.5) <= 0.07
        return bar or stem

    cover = mark = 0
    n = 4
    for sy in range(n):
        for sx in range(n):
            u = (x + (sx + 0.5) / n) / size
            v = (y + (sy + 0.5) / n) / size
            if inside_shield(u, v):
                cover += 1
                if inside_mark(u, v):
                    mark += 1
    if cover == 0:
        return (0, 0, 0, 0)
    t = y / size
    base = tuple(int(TEAL_LIGHT[i] * (1 - t) + TEAL[i] * t) for i in range(3))
    m = mark / cover
    rgb = tuple(int(base[i] * (1 - m) + WHITE[i] * m) for i in range(3))
    return rgb + (int(255 * cover / (n * n)),)


def icon_image(size, pixel):
    """One 32-bit icon image (BITMAPINFOHEADER + XOR bottom-up + AND mask)."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            xor += bytes((b, g, r, a))
    row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        bits = bytearray(row)
        for x in range(size):
            if pixel(x, y, size)[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(xor) + bytes(mask)


def write_icon(path, sizes, pixel):
    images = [icon_image(s, pixel) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    with open(path, "wb") as f:
        f.write(out)


def main():
    os.makedirs(ART, exist_ok=True)
    write_icon(os.path.join(ART, "app.ico"), [16, 32, 48], shield_pixel)


if __name__ == "__main__":
    main()
