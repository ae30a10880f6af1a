#!/usr/bin/env python3
"""Draws the brush editor's pattern and texture pictures into this folder.

PlotBrush1..PlotBrush12: 16 x 16 one-bit patterns; black pixels take the brush colour, white ones
the back colour (or nothing with a transparent back). Metal, Wood, Stone, Clouds, Grass, Fire and
Snow: 64 x 64 colour textures that tile without seams. Everything is computed here from fixed
seeds, so running the script again gives the same files. Only the standard library is used.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(name, width, height, rows, bit_depth, colour_type):
    raw = b"".join(b"\x00" + row for row in rows)
    data = (b"\x89PNG\r\n\x1a\n"
            + png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, 0))
            + png_chunk(b"IDAT", zlib.compress(raw, 9))
            + png_chunk(b"IEND", b""))
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


# ---- one-bit patterns (True = foreground, drawn black)

BAYER2 = [[0, 2], [3, 1]]


def bayer(n):
    """The n x n ordered-dither matrix (n a power of two), values 0 .. n*n-1."""
    if n == 2:
        return BAYER2
    half = bayer(n // 2)
    out = [[0] * n for _ in range(n)]
    for y in range(n):
        for x in range(n):
            out[y][x] = 4 * half[y % (n // 2)][x % (n // 2)] + BAYER2[y // (n // 2)][x // (n // 2)]
    return out


B8 = bayer(8)


def fill(percent):
    level = round(64 * percent / 100)
    return lambda x, y: B8[y % 8][x % 8] < level


def zigzag(x, y):
    t = x % 8
    offset = t if t <= 4 else 8 - t
    return (y - offset) % 8 == 0


PATTERNS = [
    fill(80), fill(60), fill(40), fill(20), fill(10),
    zigzag,
    lambda x, y: x % 4 == 0,                            # vertical small
    lambda x, y: y % 4 == 0,                            # horizontal small
    lambda x, y: (x - y) % 4 == 0,                      # diagonal small
    lambda x, y: (x + y) % 4 == 0,                      # back diagonal small
    lambda x, y: x % 4 == 0 or y % 4 == 0,              # cross small
    lambda x, y: (x - y) % 4 == 0 or (x + y) % 4 == 0,  # diagonal cross small
]


def write_pattern(index, pattern):
    rows = []
    for y in range(16):
        bits = 0
        for x in range(16):
            bits = (bits << 1) | (0 if pattern(x, y) else 1)
        rows.append(struct.pack(">H", bits))
    write_png("PlotBrush%d.png" % index, 16, 16, rows, 1, 0)


# ---- textures

SIZE = 64


def lattice(seed, period):
    """Random values on a period x period grid from a small linear congruential generator."""
    state = seed * 2654435761 % 4294967296
    grid = []
    for _ in range(period * period):
        state = (1664525 * state + 1013904223) % 4294967296
        grid.append(state / 4294967296.0)
    return grid


def smooth(t):
    return t * t * (3 - 2 * t)


def value_noise(seed, period):
    """Noise over the texture that repeats every SIZE pixels (the lattice wraps)."""
    grid = lattice(seed, period)
    cell = SIZE / period

    def at(x, y):
        gx, gy = x / cell, y / cell
        x0, y0 = int(math.floor(gx)), int(math.floor(gy))
        tx, ty = smooth(gx - x0), smooth(gy - y0)
        v = lambda i, j: grid[(j % period) * period + (i % period)]
        top = v(x0, y0) + (v(x0 + 1, y0) - v(x0, y0)) * tx
        bottom = v(x0, y0 + 1) + (v(x0 + 1, y0 + 1) - v(x0, y0 + 1)) * tx
        return top + (bottom - top) * ty
    return at


def fractal(seed, octaves, base=4):
    layers = [value_noise(seed + i, base << i) for i in range(octaves)]

    def at(x, y):
        total, weight, amount = 0.0, 0.0, 1.0
        for layer in layers:
            total += layer(x, y) * amount
            weight += amount
            amount *= 0.5
        return total / weight
    return at


def mix(a, b, t):
    t = min(1.0, max(0.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def metal():
    streak = value_noise(11, 64)
    broad = fractal(12, 3)
    # Brushed: noise stretched along x (the row decides most of the value).
    return lambda x, y: mix((120, 124, 130), (215, 218, 224),
                            0.55 * streak(0, y) + 0.25 * streak(x // 16, y) + 0.2 * broad(x, y))


def wood():
    grain = fractal(21, 3)
    def at(x, y):
        # Rings across the board, bent by noise; periodic in y so the picture tiles.
        rings = math.sin(2 * math.pi * (4 * y / SIZE + 0.6 * grain(x, y)))
        return mix((118, 72, 36), (196, 140, 82), 0.5 + 0.5 * rings)
    return at


def stone():
    base = fractal(31, 4)
    grains = value_noise(32, 32)
    return lambda x, y: mix((88, 84, 78), (176, 170, 160), 1.3 * base(x, y) - 0.15 + 0.25 * (grains(x, y) - 0.5))


def clouds():
    sky = fractal(41, 4)
    return lambda x, y: mix((70, 130, 210), (250, 250, 252), (sky(x, y) - 0.35) * 2.2)


def grass():
    blades = value_noise(51, 64)
    patches = fractal(52, 3)
    return lambda x, y: mix((24, 92, 20), (120, 196, 60), 0.6 * blades(x, y // 8) + 0.4 * patches(x, y))


def fire():
    flicker = fractal(61, 4)
    def at(x, y):
        heat = 0.5 + 0.5 * math.sin(2 * math.pi * y / SIZE) * 0.3 + (flicker(x, y) - 0.5) * 1.4
        if heat < 0.5:
            return mix((150, 10, 0), (240, 90, 0), heat * 2)
        return mix((240, 90, 0), (255, 235, 90), (heat - 0.5) * 2)
    return at


def snow():
    drift = fractal(71, 3)
    flakes = lattice(72, SIZE)
    def at(x, y):
        colour = mix((206, 222, 240), (255, 255, 255), 0.4 + drift(x, y))
        return (255, 255, 255) if flakes[y * SIZE + x] > 0.96 else colour
    return at


TEXTURES = [("Metal", metal), ("Wood", wood), ("Stone", stone), ("Clouds", clouds),
            ("Grass", grass), ("Fire", fire), ("Snow", snow)]


def write_texture(name, make):
    at = make()
    rows = [bytes(c for x in range(SIZE) for c in at(x, y)) for y in range(SIZE)]
    write_png(name + ".png", SIZE, SIZE, rows, 8, 2)


if __name__ == "__main__":
    for i, p in enumerate(PATTERNS, start=1):
        write_pattern(i, p)
    for name, make in TEXTURES:
        write_texture(name, make)
