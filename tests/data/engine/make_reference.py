#!/usr/bin/env python3
"""Writes the reference files for the value-list and series tests.

The expected results are computed here independently of the C++ code: ordered insertion after
equal values, statistics that leave out non-finite values (summed in index order), and page
ranges. Run it from this folder; it is deterministic.
"""
import bisect
import math
import random

rng = random.Random(20261207)


def fmt(v):
    if math.isnan(v):
        return "nan"
    if math.isinf(v):
        return "inf" if v > 0 else "-inf"
    return repr(float(v))


# Ordered add into an ascending list: the new value goes after every value not greater than it.
with open("ordered_ascending.txt", "w") as f:
    xs, ids = [], []
    f.write("# add: x index\n")
    adds = []
    for n in range(3000):
        x = float(rng.randint(0, 60)) if n % 3 else rng.randint(0, 6000) / 100.0
        i = bisect.bisect_right(xs, x)
        xs.insert(i, x)
        ids.insert(i, n)
        adds.append((x, i))
    for x, i in adds:
        f.write("add %s %d\n" % (fmt(x), i))
    for x, n in zip(xs, ids):
        f.write("final %s %d\n" % (fmt(x), n))

# Ordered add into a descending list, by the backward scan (after equal values).
with open("ordered_descending.txt", "w") as f:
    xs = []
    for n in range(1500):
        x = float(rng.randint(-40, 40))
        if xs and not (x <= xs[-1]):
            i = len(xs) - 1
            while i >= 0 and xs[i] < x:
                i -= 1
            idx = i + 1
        else:
            idx = len(xs)
        xs.insert(idx, x)
        f.write("add %s %d\n" % (fmt(x), idx))
    for x in xs:
        f.write("final %s\n" % fmt(x))

# Statistics over lists with gaps (NaN) and infinities: non-finite values are left out.
with open("statistics.txt", "w") as f:
    for case in range(12):
        n = rng.randint(1, 400) if case else 0
        vals = []
        for _ in range(n):
            r = rng.random()
            if r < 0.05:
                vals.append(float("nan"))
            elif r < 0.07:
                vals.append(float("inf") if rng.random() < 0.5 else float("-inf"))
            else:
                vals.append(rng.uniform(-150.0, 150.0))
        if case == 11:
            vals = [float("nan")] * 5
        finite = [v for v in vals if math.isfinite(v)]
        if finite:
            mn, mx, tot, tab = min(finite), max(finite), 0.0, 0.0
            for v in finite:
                tot += v
                tab += abs(v)
        else:
            mn = mx = tot = tab = 0.0
        f.write("case %d %s\n" % (len(vals), " ".join(fmt(v) for v in vals)))
        f.write("expect %s %s %s %s\n" % (fmt(mn), fmt(mx), fmt(tot), fmt(tab)))

# First and last point of the current page: count, points per page, page -> first last.
with open("pages.txt", "w") as f:
    for count in (0, 1, 5, 10, 20, 25, 99, 100, 101):
        for per_page in (0, 1, 3, 10, 25):
            for page in (1, 2, 3, 5, 40):
                if count == 0:
                    first = last = -1
                elif per_page < 1:
                    first, last = 0, count - 1
                else:
                    first = per_page * (page - 1)
                    if first >= count:
                        first = per_page * max(0, count // per_page - 1)
                    last = first + per_page - 1
                    if last >= count:
                        last = first + count % per_page - 1
                f.write("%d %d %d %d %d\n" % (count, per_page, page, first, last))
