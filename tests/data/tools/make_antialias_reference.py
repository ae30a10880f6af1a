#!/usr/bin/env python3
"""Reference pixels for the smoothing canvas, computed here from the stated rules with 32-bit float
arithmetic (every float operation rounded to single precision through struct) and rounding halves to
even (Python's round). Run from this folder; writes antialias.txt.

Weights: a channel c under pen channel p becomes round((c - p) * w) + p; w = 0 gives the pen colour.
Lines: the start pixel in the pen colour, the end pixel left out; in between, along the major axis,
m = m_low + slope * (k - k_low) from the end with the lower major coordinate, pixel floor(m) with
weight frac(m), the next one with 1 - frac(m). Dash patterns: eight pixels by major coordinate mod 8.
Arcs: quarters from the start angle's on; per quarter a pass along x and one along y; distance p from
the centre: pixel trunc(p) weight frac(p), the next one outwards 1 - frac(p), drawn where trunc(p)
moved by less than 2 from the step before. Ellipses: midpoint algorithm, 0.4 on the curve, 0.6 out."""
import math
import random
import struct

def f32(v):
    return struct.unpack('<f', struct.pack('<f', v))[0]

PATTERNS = {
    'solid': [1, 1, 1, 1, 1, 1, 1, 1],
    'dash': [1, 1, 1, 0, 1, 1, 1, 0],
    'dot': [1, 1, 0, 0, 1, 1, 0, 0],
    'dashdot': [1, 1, 1, 0, 1, 0, 1, 0],
    'dashdotdot': [1, 1, 1, 0, 1, 0, 1, 0],
    'smalldots': [1, 0, 1, 0, 1, 0, 1, 0],
}

class Picture:
    def __init__(self, w, h, bg, clip=None):
        self.w, self.h = w, h
        self.px = [[bg] * w for _ in range(h)]
        self.clip = clip  # (left, top, right, bottom), right and bottom excluded
        self.pen = 0
        self.pattern = PATTERNS['solid']

    def visible(self, x, y):
        if x < 0 or y < 0 or x >= self.w or y >= self.h:
            return False
        if self.clip:
            l, t, r, b = self.clip
            return l <= x < r and t <= y < b
        return True

    def on(self, major):
        return self.pattern[major % 8] == 1

    def blend(self, x, y, w):
        if not self.visible(x, y):
            return
        old = self.px[y][x]
        out = 0
        for shift in (16, 8, 0):
            c = (old >> shift) & 255
            p = (self.pen >> shift) & 255
            out |= (round(f32(f32(c - p) * w)) + p) << shift
        self.px[y][x] = out

    def put(self, x, y):
        if self.visible(x, y):
            self.px[y][x] = self.pen

def line(pic, x0, y0, x1, y1):
    x_major = abs(x1 - x0) >= abs(y1 - y0)
    if pic.on(x0 if x_major else y0):
        pic.put(x0, y0)
    lo = (x0, y0) if x_major else (y0, x0)
    hi = (x1, y1) if x_major else (y1, x1)
    if hi[0] < lo[0]:
        lo, hi = hi, lo
    slope = f32(f32(hi[1] - lo[1]) / f32(hi[0] - lo[0]))
    base = f32(lo[1])
    for k in range(lo[0] + 1, hi[0]):
        if not pic.on(k):
            continue
        m = f32(base + f32(slope * f32(k - lo[0])))
        whole = math.floor(m)
        f = f32(m - whole)
        g = f32(1.0 - f)
        if x_major:
            pic.blend(k, whole, f); pic.blend(k, whole + 1, g)
        else:
            pic.blend(whole, k, f); pic.blend(whole + 1, k, g)

def sin_deg(d):
    return 0.0 if d == 0.0 else 1.0 if d == 90.0 else math.sin(d * (math.pi / 180.0))

def cos_deg(d):
    return 1.0 if d == 0.0 else 0.0 if d == 90.0 else math.cos(d * (math.pi / 180.0))

def offset(u, s, r):
    uf = f32(u)
    q = f32(1.0 - f32(f32(uf * uf) / f32(s * s)))
    if q < 0:
        q = 0.0
    return f32(r * f32(math.sqrt(q)))

def quarter_pass(pic, xc, yc, along_x, su, so, s, r, u_from, u_to):
    have_prev = u_from > 0
    prev = math.trunc(offset(u_from - 1, s, r)) if have_prev else 0
    for u in range(u_from, u_to + 1):
        p = offset(u, s, r)
        i = math.trunc(p)
        draw = (not have_prev) or abs(i - prev) < 2
        prev, have_prev = i, True
        step = (xc if along_x else yc) + su * u
        if not draw or not pic.on(step):
            continue
        f = f32(p - i)
        g = f32(1.0 - f)
        near = (yc if along_x else xc) + so * i
        if along_x:
            pic.blend(step, near, f); pic.blend(step, near + so, g)
        else:
            pic.blend(near, step, f); pic.blend(near + so, step, g)

def arc_quarter(pic, xc, yc, a, b, q, lo, hi):
    sx = 1 if q in (0, 3) else -1
    sy = -1 if q < 2 else 1
    if q % 2 == 0:
        x_lo, x_hi, y_lo, y_hi = a * cos_deg(hi), a * cos_deg(lo), b * sin_deg(lo), b * sin_deg(hi)
    else:
        x_lo, x_hi, y_lo, y_hi = a * sin_deg(lo), a * sin_deg(hi), b * cos_deg(hi), b * cos_deg(lo)
    quarter_pass(pic, xc, yc, True, sx, sy, a, b, math.ceil(x_lo), math.floor(x_hi))
    quarter_pass(pic, xc, yc, False, sy, sx, b, a, math.ceil(y_lo), math.floor(y_hi))

def tdiv(a, b):
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b >= 0) else -q

def arc_angles(pic, x1, y1, x2, y2, start_deg, end_deg):
    xc = x1 + tdiv(x2 - x1, 2)
    yc = y1 + tdiv(y2 - y1, 2)
    a = f32(abs(x2 - x1) * 0.5)
    b = f32(abs(y2 - y1) * 0.5)
    start = math.fmod(start_deg, 360.0)
    if start < 0:
        start += 360.0
    if start >= 360.0:
        start -= 360.0
    span = math.fmod(end_deg - start_deg, 360.0)
    if span <= 0:
        span += 360.0
    q = int(math.floor(start / 90.0))
    lo = 0.0 if span >= 360.0 else start - 90.0 * q
    remaining = span
    sections = 0
    while remaining > 1e-9 and sections < 5:
        hi = min(90.0, lo + remaining)
        arc_quarter(pic, xc, yc, a, b, q % 4, lo, hi)
        remaining -= hi - lo
        lo = 0.0
        q += 1
        sections += 1

INNER, OUTER = f32(0.4), f32(0.6)

def ellipse_point(pic, xc, yc, x, y, across):
    for sx, sy in ((1, -1), (-1, -1), (-1, 1), (1, 1)):
        if (x == 0 and sx < 0) or (y == 0 and sy > 0):
            continue
        px, py = xc + sx * x, yc + sy * y
        if not pic.on(px if across else py):
            continue
        pic.blend(px, py, INNER)
        if across:
            pic.blend(px, py + sy, OUTER)
        else:
            pic.blend(px + sx, py, OUTER)

def ellipse(pic, x1, y1, x2, y2):
    left, top = min(x1, x2), min(y1, y2)
    rx = (max(x1, x2) - left - 1) // 2
    ry = (max(y1, y2) - top - 1) // 2
    xc, yc = left + rx, top + ry
    a2, b2 = rx * rx, ry * ry
    x, y = 0, ry
    dx, dy = 0, 2 * a2 * y
    d1 = 4 * b2 - 4 * a2 * ry + a2
    while dx < dy:
        ellipse_point(pic, xc, yc, x, y, True)
        x += 1
        dx += 2 * b2
        if d1 < 0:
            d1 += 4 * (dx + b2)
        else:
            y -= 1
            dy -= 2 * a2
            d1 += 4 * (dx - dy + b2)
    d2 = b2 * (2 * x + 1) ** 2 + 4 * a2 * (y - 1) ** 2 - 4 * a2 * b2
    while y >= 0:
        ellipse_point(pic, xc, yc, x, y, False)
        y -= 1
        dy -= 2 * a2
        if d2 > 0:
            d2 += 4 * (a2 - dy)
        else:
            x += 1
            dx += 2 * b2
            d2 += 4 * (dx - dy + a2)

def random_line(rnd, w, h, octant):
    # octant: bit 0 x runs left, bit 1 y runs up, bit 2 y is the major axis
    while True:
        major = rnd.randint(2, 45)
        minor = rnd.randint(1, major)
        if octant & 4 and minor == major:
            continue  # |dx| == |dy| counts as x-major
        dx, dy = (minor, major) if octant & 4 else (major, minor)
        if octant & 1:
            dx = -dx
        if octant & 2:
            dy = -dy
        x0 = rnd.randint(-8, w + 8)
        y0 = rnd.randint(-8, h + 8)
        return x0, y0, x0 + dx, y0 + dy

def write_case(out, name, w, h, bg, clip, ops, pic):
    head = f"case {name} {w} {h} {bg:06X}"
    if clip:
        head += " clip " + " ".join(str(v) for v in clip)
    out.append(head)
    out.extend(ops)
    for y in range(h):
        for x in range(w):
            if pic.px[y][x] != bg:
                out.append(f"px {x} {y} {pic.px[y][x]:06X}")
    out.append("end")

def main():
    rnd = random.Random(30)
    out = []
    styles = ['solid', 'dash', 'dot', 'dashdot', 'dashdotdot', 'smalldots']
    case = 0
    for style in styles:
        for repeat in range(4):
            w, h = rnd.randint(40, 90), rnd.randint(30, 70)
            bg = rnd.randrange(0, 0x1000000)
            clip = None
            if repeat == 3:
                l, t = rnd.randint(3, 12), rnd.randint(3, 10)
                clip = (l, t, rnd.randint(l + 10, w - 2), rnd.randint(t + 8, h - 2))
            pic = Picture(w, h, bg, clip)
            pen = rnd.randrange(0, 0x1000000)
            pic.pen, pic.pattern = pen, PATTERNS[style]
            ops = [f"pen {style} {pen:06X}"]
            for octant in range(8) if repeat % 2 == 0 else rnd.sample(range(8), 8):
                x0, y0, x1, y1 = random_line(rnd, w, h, octant)
                ops.append(f"line {x0} {y0} {x1} {y1}")
                line(pic, x0, y0, x1, y1)
            # One line from far outside, one along the picture's first column and row.
            x0, y0 = -100000, rnd.randint(0, h - 1)
            x1, y1 = rnd.randint(w // 2, w - 1), rnd.randint(0, h - 1)
            if y1 == y0:
                y1 = (y0 + 1) % h
            ops.append(f"line {x0} {y0} {x1} {y1}")
            line(pic, x0, y0, x1, y1)
            ops.append(f"line 0 0 1 {h - 1}")
            line(pic, 0, 0, 1, h - 1)
            write_case(out, f"lines{case}", w, h, bg, clip, ops, pic)
            case += 1
    for style in ['solid', 'solid', 'dash', 'smalldots']:
        w, h = rnd.randint(60, 100), rnd.randint(50, 80)
        bg = rnd.randrange(0, 0x1000000)
        pic = Picture(w, h, bg)
        pen = rnd.randrange(0, 0x1000000)
        pic.pen, pic.pattern = pen, PATTERNS[style]
        ops = [f"pen {style} {pen:06X}"]
        for _ in range(5):
            x1, y1 = rnd.randint(-10, w - 10), rnd.randint(-10, h - 10)
            x2, y2 = x1 + rnd.randint(3, 60), y1 + rnd.randint(3, 50)
            if rnd.random() < 0.3:
                x1, x2 = x2, x1
            start = rnd.choice([0.0, 45.0, 90.0, 200.0, rnd.uniform(-400, 400)])
            end = rnd.choice([start, start + 90.0, rnd.uniform(-400, 400)])
            ops.append(f"arc {x1} {y1} {x2} {y2} {start!r} {end!r}")
            arc_angles(pic, x1, y1, x2, y2, start, end)
        for _ in range(2):
            x1, y1 = rnd.randint(-5, w - 20), rnd.randint(-5, h - 20)
            x2, y2 = x1 + rnd.randint(4, 50), y1 + rnd.randint(4, 40)
            ops.append(f"ellipse {x1} {y1} {x2} {y2}")
            ellipse(pic, x1, y1, x2, y2)
        write_case(out, f"arcs{case}", w, h, bg, None, ops, pic)
        case += 1
    with open('antialias.txt', 'w') as f:
        f.write("# Written by make_antialias_reference.py; do not edit.\n")
        f.write("\n".join(out) + "\n")

if __name__ == '__main__':
    main()
