#!/usr/bin/python3
"""Checks pies the chart drew against slices worked out here with numpy.

Usage: pie_pixels_check.py FOLDER

FOLDER holds cases.json and, per case, the drawn picture ("ID.rgb": 32-bit pixels, blue, green,
red, unused byte, row by row) and the answers of the series' hit test for every pixel ("ID.hit":
little-endian int32, pie * 1000 + slice, -1 for none). For each pie this script lays out the
circle from the chart rectangle (grid cell of several pies, odd sizes, circular on the device's
pixel aspect, room for the most exploded slice), gathers small slices into the other slice, and
computes the slice angles and explosions. A slice covers the pixels of its ellipse between the
rays through the rounded arc points of its start and end angles. Every pixel whose distance from
every slice border (the rim and both cut lines) is at least 1.5 pixels is classified: inside a
slice it must have that slice's colour and hit, outside all slices (within the chart rectangle)
the back colour and no hit. Prints one line per case and a closing summary; exits 1 when any case
disagrees.
"""

import json
import math
import os
import sys

import numpy as np

MARGIN = 1.5
TWO_PI = 2 * math.pi


def rnd(x):
    # Python's round() rounds halves to even, as the chart does.
    return int(round(x))


def adjust(l, t, r, b):
    if (r - l) % 2 != 0:
        r -= 1
    if (b - t) % 2 != 0:
        b -= 1
    if r - l < 4:
        r = l + 4
    if b - t < 4:
        b = t + 4
    return l, t, r, b


def radii(rect):
    l, t, r, b = rect
    cx, cy = (l + r) // 2, (t + b) // 2
    rx, ry = (r - l) // 2, (b - t) // 2
    return cx, cy, rx, ry


def circle_rect(chart_rect, index, count, circled, aspect):
    l, t, r, b = chart_rect
    if count > 1:
        cols = rnd(math.sqrt(count))
        rows = rnd(math.sqrt(count) + 0.5)
        w, h = (r - l) // cols, (b - t) // rows
        l, t = l + (index % cols) * w, t + (index // cols) * h
        r, b = l + w, t + h
    l, t, r, b = adjust(l, t, r, b)
    if circled:
        xr, yr = (r - l) // 2, (b - t) // 2
        if xr > rnd(yr * aspect):
            d = xr - rnd(yr * aspect)
            l, r = l + d, r - d
        else:
            d = yr - rnd(xr / aspect)
            t, b = t + d, b - d
        l, t, r, b = adjust(l, t, r, b)
    return l, t, r, b


def slices_of(pie, rect):
    """The drawn slices: (point index, colour, pie rectangle, start point, end point)."""
    values = list(pie["values"])
    colors = list(pie["colors"])
    grouped = [False] * len(values)
    total_abs = sum(abs(v) for v in values)
    if pie["otherStyle"] != 0 and total_abs > 0:
        other = 0.0
        for i, v in enumerate(values):
            a = abs(v)
            measure = a if pie["otherStyle"] == 2 else a * 100.0 / total_abs
            if measure < pie["otherValue"]:
                grouped[i] = True
                other += a
        if any(grouped):
            values.append(other)
            colors.append(pie["otherColor"])
            grouped.append(False)
    n = len(values)
    size = pie["angleSize"] * math.pi / 180.0
    rotation = (pie["rotation"] % 360) * math.pi / 180.0
    if pie["otherStyle"] == 0:
        total = sum(abs(v) for v in values)
    else:
        total = sum(abs(v) for v, g in zip(values, grouped) if not g)
    factor = size / total if total != 0 else 0.0
    angles, running, previous = [], 0.0, 0.0
    for i in range(n):
        start = previous
        if total != 0:
            if not grouped[i]:
                running += abs(values[i])
            end = size if running == total else running * factor
            end = min(end, start + size)
        else:
            end = size
        angles.append((start, (start + end) * 0.5, end))
        previous = end

    explode = [0] * n
    if pie["explodeBiggest"] > 0 and n > 0:
        biggest = -1
        for i in range(n):
            if not grouped[i] and (biggest < 0 or values[i] > values[biggest]):
                biggest = i
        if biggest >= 0:
            explode[biggest] = pie["explodeBiggest"]
    widest = -1
    for i in range(n):
        if not grouped[i] and explode[i] > 0 and (widest < 0 or explode[i] > explode[widest]):
            widest = i
    edges = widest >= 0

    def offset(i, rx, ry):
        if not edges or explode[i] <= 0:
            return 0, 0
        m = angles[i][1] + rotation
        return rnd(rx * 0.01 * explode[i] * math.cos(m)), rnd(ry * 0.01 * explode[i] * math.sin(m))

    cx, cy, rx, ry = radii(rect)
    if widest >= 0:
        dx, dy = offset(widest, rx, ry)
        l, t, r, b = cx - rx, cy - ry, cx + rx, cy + ry
        sx, sy = abs(dx) // 2, abs(dy) // 2
        cx, cy, rx, ry = radii(adjust(l + sx, t + sy, r - sx, b - sy))
    if 2 * rx < 5 or 2 * ry < 5:
        return []

    def pos(angle):
        a = angle + rotation
        return cx + rnd(rx * math.cos(a)), cy - rnd(ry * math.sin(a))

    drawn = []
    for i in range(n):
        if grouped[i]:
            continue
        start, _, end = angles[i]
        p0, p1 = pos(start), pos(end)
        if p0 == p1 and n > 1 and end - start < 1.0:
            continue
        dx, dy = offset(i, rx, ry)
        box = (cx - rx + dx, cy - ry - dy, cx + rx + dx, cy + ry - dy)
        drawn.append((i, colors[i], box, (p0[0] + dx, p0[1] - dy), (p1[0] + dx, p1[1] - dy)))
    return drawn


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = np.zeros_like(px) if length2 == 0 else np.clip(((px - ax) * dx + (py - ay) * dy) / length2, 0, 1)
    return np.hypot(px - (ax + t * dx), py - (ay + t * dy))


def check_case(folder, case):
    size = case["size"]
    raw = np.fromfile(os.path.join(folder, case["id"] + ".rgb"), dtype=np.uint8)
    hits = np.fromfile(os.path.join(folder, case["id"] + ".hit"), dtype="<i4")
    if raw.size != size * size * 4 or hits.size != size * size:
        return ["picture or hit map of the wrong size"]
    raw = raw.reshape(size, size, 4)
    picture = (raw[:, :, 2].astype(np.int64) | (raw[:, :, 1].astype(np.int64) << 8)
               | (raw[:, :, 0].astype(np.int64) << 16))
    hits = hits.reshape(size, size)
    y, x = np.mgrid[0:size, 0:size].astype(np.float64)

    owner_color = np.full((size, size), -1, dtype=np.int64)
    owner_hit = np.full((size, size), -1, dtype=np.int64)
    border = np.full((size, size), np.inf)
    pies = case["pies"]
    for index, pie in enumerate(pies):
        rect = circle_rect(case["chartRect"], index, len(pies), pie["circled"], case["aspect"])
        for slice_index, color, box, p0, p1 in slices_of(pie, rect):
            l, t, r, b = box
            fx, fy = (l + r - 1) / 2.0, (t + b - 1) / 2.0
            fa, fb = max(0.5, (r - l - 1) / 2.0), max(0.5, (b - t - 1) / 2.0)
            ts = math.atan2(-(p0[1] - fy) / fb, (p0[0] - fx) / fa) % TWO_PI
            te = math.atan2(-(p1[1] - fy) / fb, (p1[0] - fx) / fa) % TWO_PI
            span = (te - ts) % TWO_PI
            whole = span == 0
            u, v = (x - fx) / fa, -(y - fy) / fb
            rho = np.hypot(u, v)
            theta = np.arctan2(v, u) % TWO_PI
            in_range = np.ones_like(rho, dtype=bool) if whole else ((theta - ts) % TWO_PI) <= span
            inside = (rho <= 1) & in_range
            owner_color[inside] = color
            owner_hit[inside] = index * 1000 + slice_index
            rim = np.where(in_range, np.abs(rho - 1) * min(fa, fb), np.inf)
            border = np.minimum(border, rim)
            if not whole:
                for angle in (ts, te):
                    ex, ey = fx + fa * math.cos(angle), fy - fb * math.sin(angle)
                    border = np.minimum(border, segment_distance(x, y, fx, fy, ex, ey))

    cl, ct, cr, cb = case["chartRect"]
    in_chart = (x >= cl) & (x < cr) & (y >= ct) & (y < cb)
    checked = border >= MARGIN
    slice_pixels = checked & (owner_color >= 0)
    back_pixels = checked & (owner_color < 0) & in_chart
    problems = []
    wrong = slice_pixels & (picture != owner_color)
    if wrong.any():
        yy, xx = np.argwhere(wrong)[0]
        problems.append("%d slice pixels of the wrong colour, first (%d, %d): %06x, expected %06x"
                        % (wrong.sum(), xx, yy, picture[yy, xx], owner_color[yy, xx]))
    wrong = back_pixels & (picture != case["back"])
    if wrong.any():
        yy, xx = np.argwhere(wrong)[0]
        problems.append("%d background pixels of the wrong colour, first (%d, %d): %06x"
                        % (wrong.sum(), xx, yy, picture[yy, xx]))
    wrong = (slice_pixels | back_pixels) & (hits != owner_hit)
    if wrong.any():
        yy, xx = np.argwhere(wrong)[0]
        problems.append("%d pixels with the wrong hit, first (%d, %d): %d, expected %d"
                        % (wrong.sum(), xx, yy, hits[yy, xx], owner_hit[yy, xx]))
    # A check over too few pixels would prove nothing.
    if slice_pixels.sum() < 2000:
        problems.append("only %d slice pixels could be classified" % slice_pixels.sum())
    return problems, int(slice_pixels.sum()), int(back_pixels.sum())


def main():
    folder = sys.argv[1]
    with open(os.path.join(folder, "cases.json")) as f:
        cases = json.load(f)
    agreeing = 0
    for case in cases:
        result = check_case(folder, case)
        if len(result) == 1:
            problems, slice_count, back_count = result[0], 0, 0
        else:
            problems, slice_count, back_count = result
        status = "ok" if not problems else "DIFFERS"
        print("%s: %s (%d slice pixels, %d background pixels)" % (case["name"], status, slice_count, back_count))
        for p in problems:
            print("    " + p)
        if not problems:
            agreeing += 1
    print("cases agreeing: %d of %d" % (agreeing, len(cases)))
    return 0 if agreeing == len(cases) else 1


if __name__ == "__main__":
    sys.exit(main())
