#!/usr/bin/env python3
"""Writes the seamless texture bitmaps that ship with Plennix (data/textures/*.bmp).

Every texture is computed here from periodic functions and tileable noise, so the set is our own and
can be regenerated at any time:

    python3 scripts/make_textures.py [output folder]

Only the Python standard library is used. Each picture is 64 x 64 or 128 x 128 pixels, tiles without
seams (its right edge continues into its left edge, its bottom into its top) and is written as an
uncompressed 24-bit bitmap file.
"""
import math
import os
import random
import struct
import sys


def write_bmp(path, width, height, pixel):
    """Writes a bottom-up 24-bit BMP; pixel(x, y) returns (r, g, b) with y = 0 at the top."""
    row_size = (width * 3 + 3) & ~3
    image_size = row_size * height
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + image_size, 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, image_size, 2835, 2835, 0, 0)
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((clamp(b), clamp(g), clamp(r)))
        row += b"\0" * (row_size - width * 3)
        rows.append(bytes(row))
    with open(path, "wb") as f:
        f.write(header + info + b"".join(rows))


def clamp(v):
    return max(0, min(255, int(round(v))))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


class TileNoise:
    """Value noise on a lattice that wraps around, so that it tiles over `size` pixels."""

    def __init__(self, seed, size, cells):
        rng = random.Random(seed)
        self.size = size
        self.cells = cells
        self.values = [[rng.random() for _ in range(cells)] for _ in range(cells)]

    def at(self, x, y):
        fx = x * self.cells / self.size
        fy = y * self.cells / self.size
        x0, y0 = int(math.floor(fx)), int(math.floor(fy))
        tx, ty = fx - x0, fy - y0
        tx, ty = tx * tx * (3 - 2 * tx), ty * ty * (3 - 2 * ty)
        c = self.cells
        v00 = self.values[y0 % c][x0 % c]
        v10 = self.values[y0 % c][(x0 + 1) % c]
        v01 = self.values[(y0 + 1) % c][x0 % c]
        v11 = self.values[(y0 + 1) % c][(x0 + 1) % c]
        top = v00 + (v10 - v00) * tx
        bottom = v01 + (v11 - v01) * tx
        return top + (bottom - top) * ty


def fractal(seed, size, octaves=4, base=4):
    layers = [TileNoise(seed + i, size, base * (2 ** i)) for i in range(octaves)]

    def f(x, y):
        total, amp, norm = 0.0, 1.0, 0.0
        for layer in layers:
            total += layer.at(x, y) * amp
            norm += amp
            amp *= 0.5
        return total / norm

    return f


def wood(size=128):
    n = fractal(11, size, 3, 2)
    light, dark = (196, 140, 84), (120, 72, 36)

    def px(x, y):
        # Rings run across the picture; their count per tile is whole, so the tile repeats.
        rings = math.sin(2 * math.pi * (6 * y / size + 1.5 * n(x, y))) * 0.5 + 0.5
        grain = n(x * 3 % size, y) * 0.25
        return mix(light, dark, min(1.0, rings ** 3 + grain))

    return px


def marble(size=128):
    n = fractal(23, size, 5, 2)

    def px(x, y):
        v = math.sin(2 * math.pi * (x + y) / size * 2 + 6 * n(x, y))
        t = (v * 0.5 + 0.5) ** 0.35
        return mix((90, 96, 110), (238, 236, 232), t)

    return px


def paper(size=64):
    n = fractal(37, size, 4, 8)
    rng = random.Random(5)
    speck = [[rng.random() for _ in range(size)] for _ in range(size)]

    def px(x, y):
        v = 232 + 14 * n(x, y) - (10 if speck[y][x] > 0.985 else 0)
        return (v, v - 4, v - 16)

    return px


def stars(size=128):
    rng = random.Random(41)
    points = [(rng.randrange(size), rng.randrange(size), rng.choice((1, 1, 1, 2))) for _ in range(40)]

    def px(x, y):
        color = (10, 14, 48)
        for sx, sy, r in points:
            dx = min(abs(x - sx), size - abs(x - sx))
            dy = min(abs(y - sy), size - abs(y - sy))
            if dx * dx + dy * dy <= r * r:
                return (255, 250, 210)
            if r == 2 and ((dx == 0 and dy <= 4) or (dy == 0 and dx <= 4)):
                color = (200, 200, 160)
        return color

    return px


def checks(size=64):
    def px(x, y):
        return (200, 30, 40) if ((x // 16) + (y // 16)) % 2 == 0 else (250, 245, 235)

    return px


def gingham(size=64):
    def px(x, y):
        a = (x // 8) % 2 == 0
        b = (y // 8) % 2 == 0
        if a and b:
            return (40, 90, 170)
        if a or b:
            return (140, 175, 220)
        return (248, 248, 250)

    return px


def stripes(size=64):
    def px(x, y):
        t = ((x + y) % 32) / 32
        return (250, 200, 40) if t < 0.5 else (40, 40, 40)

    return px


def bricks(size=64):
    n = fractal(53, size, 3, 4)

    def px(x, y):
        row = y // 16
        shift = 16 if row % 2 else 0
        bx = (x + shift) % 32
        if y % 16 < 2 or bx < 2:
            return (200, 196, 186)
        v = 0.85 + 0.3 * n(x, y)
        return (168 * v, 70 * v, 48 * v)

    return px


def weave(size=64):
    def px(x, y):
        over = ((x // 8) + (y // 8)) % 2 == 0
        t = math.sin(math.pi * ((y if over else x) % 8) / 8)
        base = (60, 80, 130) if over else (90, 110, 160)
        return tuple(c * (0.7 + 0.3 * t) for c in base)

    return px


def polka(size=64):
    def px(x, y):
        for cx, cy in ((16, 16), (48, 48)):
            dx = min(abs(x - cx), size - abs(x - cx))
            dy = min(abs(y - cy), size - abs(y - cy))
            if dx * dx + dy * dy <= 49:
                return (250, 250, 250)
        return (220, 40, 120)

    return px


def waves(size=64):
    def px(x, y):
        v = math.sin(2 * math.pi * (y / 16 + math.sin(2 * math.pi * x / size) / 2))
        return mix((20, 80, 160), (120, 200, 240), v * 0.5 + 0.5)

    return px


def clouds(size=128):
    n = fractal(67, size, 5, 4)

    def px(x, y):
        t = max(0.0, min(1.0, (n(x, y) - 0.35) * 2.2))
        return mix((70, 130, 220), (250, 250, 255), t)

    return px


def granite(size=64):
    n = fractal(79, size, 4, 8)
    rng = random.Random(9)
    grain = [[rng.random() for _ in range(size)] for _ in range(size)]

    def px(x, y):
        g = grain[y][x]
        if g > 0.93:
            return (30, 28, 30)
        if g < 0.06:
            return (230, 220, 215)
        v = 120 + 70 * n(x, y)
        return (v + 20, v, v - 5)

    return px


TEXTURES = {
    "Wood": wood,
    "Marble": marble,
    "Paper": paper,
    "Stars": stars,
    "Checks": checks,
    "Gingham": gingham,
    "Stripes": stripes,
    "Bricks": bricks,
    "Weave": weave,
    "Polka": polka,
    "Waves": waves,
    "Clouds": clouds,
    "Granite": granite,
}

SIZES = {"Wood": 128, "Marble": 128, "Stars": 128, "Clouds": 128}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "textures")
    os.makedirs(out, exist_ok=True)
    for name, make in TEXTURES.items():
        size = SIZES.get(name, 64)
        write_bmp(os.path.join(out, name + ".bmp"), size, size, make(size))
        print(os.path.join(out, name + ".bmp"))


if __name__ == "__main__":
    main()
