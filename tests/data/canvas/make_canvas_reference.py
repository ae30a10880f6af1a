#!/usr/bin/env python3
"""Reference values for the canvas tests, computed here from the stated formulas with Python's
own arithmetic (round() rounds halves to even). Run from this folder; writes the .txt files."""
import datetime
import math
import random

def rne(v):
    return int(round(v))

def tdiv(a, b):  # integer division truncating toward zero
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b >= 0) else -q

# ---- projections
def projection_lines():
    out = []
    configs = [
        # elevation, rotation, tilt, perspective, zoom, left, top, right, bottom, depth, hoff, voff
        (345, 345, 0, 0, 100, 0, 0, 600, 400, 100, 0, 0),
        (330, 20, 0, 15, 100, 10, 20, 610, 420, 60, 5, -7),
        (300, 45, 10, 0, 150, 0, 0, 800, 500, 200, 0, 0),
        (350, 340, 25, 40, 80, 30, 40, 530, 440, 120, -12, 9),
    ]
    rnd = random.Random(7)
    for (el, ro, ti, pe, zo, L, T, R, B, D, ho, vo) in configs:
        e = -el * math.pi / 180; r = -ro * math.pi / 180; t = ti * math.pi / 180
        se, ce, sr, cr, st, ct = math.sin(e), math.cos(e), math.sin(r), math.cos(r), math.sin(t), math.cos(t)
        xc = tdiv(L + R, 2); yc = tdiv(T + B, 2); zc = rne(D * 0.5)
        xo = xc + ho; yo = yc + vo
        zf = zo * 0.01
        pf = pe * zf * (1 / 150) / max(1, R - L) if pe > 0 else 0.0
        for _ in range(6):
            x = rnd.randint(L, R); y = rnd.randint(T, B); z = rnd.randint(0, D)
            px, py, pz = x - xc, y - yc, z - zc
            tt = pz * cr - px * sr
            u = px * cr + pz * sr
            f = zf / ((ce * tt + py * se) * pf + 1) if pe > 0 else zf
            v = py * ce - se * tt
            if ti == 0:
                X = u * f; Y = v * f
            else:
                X = (ct * u - st * v) * f; Y = (ct * v + st * u) * f
            if abs(X - math.floor(X) - 0.5) < 1e-6 or abs(Y - math.floor(Y) - 0.5) < 1e-6:
                continue  # keep clear of ties that extended precision could break differently
            out.append(f"{el} {ro} {ti} {pe} {zo} {L} {T} {R} {B} {D} {ho} {vo} {x} {y} {z} "
                       f"{rne(X) + xo} {rne(Y) + yo}")
    return out

# ---- blending
def blend_lines():
    rnd = random.Random(11)
    out = []
    for case in range(4):
        sw, sh = rnd.randint(2, 6), rnd.randint(2, 5)
        dw, dh = rnd.randint(4, 8), rnd.randint(3, 7)
        ox, oy = rnd.randint(-2, 3), rnd.randint(-2, 3)
        percent = rnd.choice([0, 25, 50, 62.5, 100])
        src = [[rnd.randrange(0, 0x1000000) for _ in range(sw)] for _ in range(sh)]
        dst = [[rnd.choice([0xFFFFFF, rnd.randrange(0, 0x1000000)]) for _ in range(dw)] for _ in range(dh)]
        res = [row[:] for row in dst]
        x0, y0 = max(0, ox), max(0, oy)
        w, h = min(sw, dw - x0), min(sh, dh - y0)
        t = 100 - rne(percent)
        if w >= 1 and h >= 1:
            for y in range(h):
                for x in range(w):
                    d = res[y0 + y][x0 + x]
                    if d == 0xFFFFFF:
                        d = 0xFEFFFF
                    s = src[y][x]
                    ch = []
                    for shift in (16, 8, 0):
                        dc, sc = (d >> shift) & 255, (s >> shift) & 255
                        ch.append(dc + tdiv((sc - dc) * t, 100))
                    res[y0 + y][x0 + x] = (ch[0] << 16) | (ch[1] << 8) | ch[2]
        out.append(f"case {sw} {sh} {dw} {dh} {ox} {oy} {percent}")
        out.append("src " + " ".join(f"{v:06X}" for row in src for v in row))
        out.append("dst " + " ".join(f"{v:06X}" for row in dst for v in row))
        out.append("res " + " ".join(f"{v:06X}" for row in res for v in row))
    return out

# ---- linear gradient bands (vertical, C0 at the bottom for gdTopBottom)
def gradient_lines():
    out = []
    for (c0, c1, balance, height) in [(0x0000FF, 0xFF0000, 50, 10), (0x102030, 0xF0E0D0, 30, 7),
                                      (0x00FF00, 0x000000, 80, 300), (0xFFFFFF, 0x808080, 50, 300)]:
        r0, g0, b0 = c0 & 255, (c0 >> 8) & 255, (c0 >> 16) & 255
        dr, dg, db = (c1 & 255) - r0, ((c1 >> 8) & 255) - g0, ((c1 >> 16) & 255) - b0
        bands = min(height, 256); n = bands - 1
        colours = []
        for y in range(height):
            dist = height - 1 - y  # distance from the bottom edge
            i = next(k for k in range(bands) if tdiv(k * height, bands) <= dist < tdiv((k + 1) * height, bands))
            if balance == 50:
                r, g, b = r0 + tdiv(dr * i, n), g0 + tdiv(dg * i, n), b0 + tdiv(db * i, n)
            else:
                p = ((1 + i) / (1 + n)) ** (balance * 0.015 + 0.5)
                r, g, b = rne(dr * p) + r0, rne(dg * p) + g0, rne(db * p) + b0
            colours.append(r + g * 256 + b * 65536)
        out.append(f"{c0:06X} {c1:06X} {balance} {height} " + " ".join(f"{c:06X}" for c in colours))
    return out

# ---- date-time steps
EPOCH = datetime.datetime(1899, 12, 30)

def to_days(dt):
    d = dt - EPOCH
    return d.days + d.seconds / 86400.0

def date_lines():
    out = []
    steps = [1 / 86400e6, 1 / 86400e3] + [s / 86400 for s in (1, 5, 10, 15, 30)] + \
            [m * 60 / 86400 for m in (1, 5, 10, 15, 30)] + [h / 24 for h in (1, 2, 6, 12)] + \
            [1, 2, 3, 7, 15, 30, 60, 90, 120, 182, 365]
    out.append("steps " + " ".join(repr(s) for s in steps))
    samples = [datetime.datetime(2021, 3, 17, 13, 45), datetime.datetime(2020, 2, 29, 6, 0),
               datetime.datetime(1999, 12, 31, 23, 59), datetime.datetime(2023, 7, 1, 0, 0),
               datetime.datetime(2024, 1, 15, 12, 0)]
    for dt in samples:
        v = to_days(dt)
        day = math.floor(v)
        res = {16: day, 17: math.floor(day / 2) * 2, 18: math.floor(day / 3) * 3,
               19: 2 + math.floor((day - 2) / 7) * 7,
               20: to_days(datetime.datetime(dt.year, dt.month, 15 if dt.day >= 15 else 1)),
               23: to_days(datetime.datetime(dt.year, dt.month, 1)),
               26: to_days(datetime.datetime(dt.year, 1, 1))}
        for k, r in res.items():
            out.append(f"trunc {k} {v!r} {r!r}")
    return out

if __name__ == "__main__":
    for name, lines in [("projection.txt", projection_lines()), ("blend.txt", blend_lines()),
                        ("gradient.txt", gradient_lines()), ("datesteps.txt", date_lines())]:
        with open(name, "w") as f:
            f.write("\n".join(lines) + "\n")
