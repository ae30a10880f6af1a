#!/usr/bin/python3
"""Recomputes calculated series with numpy and compares them with the program's.

Usage: series_functions_check.py FOLDER

FOLDER holds cases.json and the raw little-endian float64 files it names: the X and Y values of
each source ("NAME.x", "NAME.y") and of the program's result. For every case this script cuts
the sources into periods the way the chart engine describes them, reduces each period with
numpy, and checks the program's points: same count, same X, values within 1e-9 relative
(High and Low exactly). Prints one line per disagreement and a closing summary; exits 1 when any
case disagrees.
"""

import calendar
import datetime
import json
import math
import os
import sys

import numpy as np

SECOND = 1.0 / 86400.0
MINUTE = 60.0 * SECOND
HOUR = 60.0 * MINUTE
# The 27 steps of date-time labels, in days.
STEPS = [SECOND / 1e6, SECOND / 1e3, SECOND, 5 * SECOND, 10 * SECOND, 15 * SECOND, 30 * SECOND,
         MINUTE, 5 * MINUTE, 10 * MINUTE, 15 * MINUTE, 30 * MINUTE, HOUR, 2 * HOUR,
         6 * HOUR, 12 * HOUR, 1, 2, 3, 7, 15,
         30, 60, 90, 120, 182, 365]
EPOCH = datetime.date(1899, 12, 30)


def step_index(period):
    for t in range(len(STEPS) - 1, -1, -1):
        if abs(STEPS[t] - period) < 1.0 / 86400000000.0:
            return t
    return None


def add_months(d, months):
    index = d.year * 12 + d.month - 1 + months
    year, month0 = divmod(index, 12)
    last = calendar.monthrange(year, month0 + 1)[1]
    return datetime.date(year, month0 + 1, min(d.day, last))


def next_start(step, value, period):
    """One period on from value: the calendar for the long date-time steps, else + period."""
    if step is None or step < 20:
        return value + period
    day = math.floor(value)
    time = value - day
    d = EPOCH + datetime.timedelta(days=int(day))
    if step == 20:  # half months: the 1st and the 15th in turn
        r = datetime.date(d.year, d.month, 15) if d.day < 15 else add_months(datetime.date(d.year, d.month, 1), 1)
        return float((r - EPOCH).days) + time
    months = [1, 2, 3, 4, 6, 12][step - 21]
    r = add_months(d, months)
    result = float((r - EPOCH).days) + time
    guard = 0
    while step == 26 and result <= value and guard < 4:
        r = add_months(r, months)
        result = float((r - EPOCH).days) + time
        guard += 1
    return result


def reduce_values(name, v):
    """One value over the values v, or None when they give none."""
    if name == "Add":
        return float(np.sum(v))
    if len(v) == 0:
        return None
    if name == "Subtract":
        return float(v[0] - np.sum(v[1:]))
    if name == "Multiply":
        return float(np.prod(v))
    if name == "Divide":
        if np.any(v[1:] == 0.0):
            return None
        return float(v[0] / np.prod(v[1:]))
    if name == "High":
        return float(np.max(v))
    if name == "Low":
        return float(np.min(v))
    if name == "Average":
        return float(np.mean(v))
    raise ValueError(name)


def aligned(align, start, end):
    if align == "first":
        return start
    if align == "last":
        return end
    return (start + end) * 0.5


def by_points(name, xs, ys, period, align):
    out = []
    per = max(1, int(round(min(period, len(xs) + 1.0))))
    i = 0
    while i + per - 1 < len(xs):
        last = i + per - 1
        v = reduce_values(name, ys[i:last + 1])
        if v is not None:
            out.append((aligned(align, xs[i], xs[last]), v))
        i += per
    return out


def by_range(name, xs, ys, period, align, date_time):
    out = []
    step = step_index(period) if date_time else None
    n = len(xs)
    start = float(xs[0])
    i = 0
    while i < n:
        if not math.isfinite(xs[i]):
            break
        period_start = start
        nxt = next_start(step, start, period)
        if not nxt > start or not math.isfinite(nxt):
            break
        start = nxt
        end = start - 0.001 * period
        x = aligned(align, period_start, end)
        if xs[i] < end:
            last = max(i, int(np.searchsorted(xs, end, side="left")) - 1)
            v = reduce_values(name, ys[i:last + 1])
            if v is not None:
                out.append((x, v))
            i = last + 1
        elif name == "Add":  # an empty period sums to 0; the others give no point for it
            out.append((x, 0.0))
    return out


def all_points(name, xs, ys, single):
    v = reduce_values(name, ys)
    if v is None:
        return []
    low, high = float(np.min(xs)), float(np.max(xs))
    if single:
        return [(low + (high - low) * 0.5, v)]
    return [(low, v), (high, v)]


def many_sources(name, sources):
    xs = max(sources, key=lambda s: len(s[0]))[0]  # the first of the longest
    out = []
    for t in range(len(xs)):
        v = reduce_values(name, np.array([y[t] for x, y in sources if t < len(y)]))
        if v is not None:
            out.append((float(xs[t]), v))
    return out


def load(folder, base):
    x = np.fromfile(os.path.join(folder, base + ".x"), dtype="<f8")
    y = np.fromfile(os.path.join(folder, base + ".y"), dtype="<f8")
    return x, y


def agree(name, expected, actual):
    if name in ("High", "Low"):
        return expected == actual
    if expected == actual:
        return True
    return abs(expected - actual) <= 1e-9 * max(abs(expected), abs(actual))


def check(folder, case):
    name = case["function"]
    sources = [load(folder, s) for s in case["sources"]]
    if case["kind"] == "many":
        expected = many_sources(name, sources)
    else:
        xs, ys = sources[0]
        if case["kind"] == "all":
            expected = all_points(name, xs, ys, case["single"])
        elif case["kind"] == "points":
            expected = by_points(name, xs, ys, case["period"], case["align"])
        else:
            expected = by_range(name, xs, ys, case["period"], case["align"], case["dateTime"])
    ax, ay = load(folder, case["result"])
    label = "%s: %s" % (case["id"], name)
    if len(expected) != len(ax):
        return ["%s: %d points expected, %d computed" % (label, len(expected), len(ax))]
    problems = []
    for k, (x, v) in enumerate(expected):
        if x != ax[k] or not agree(name, v, ay[k]):
            problems.append("%s: point %d expected (%r, %r), computed (%r, %r)" % (label, k, x, v, ax[k], ay[k]))
            if len(problems) >= 5:
                break
    return problems


def main():
    folder = sys.argv[1]
    with open(os.path.join(folder, "cases.json"), encoding="utf-8") as f:
        cases = json.load(f)
    failed = 0
    points = 0
    for case in cases:
        problems = check(folder, case)
        for p in problems:
            print(p)
        failed += 1 if problems else 0
        points += os.path.getsize(os.path.join(folder, case["result"] + ".x")) // 8
    print("cases agreeing: %d of %d; points compared: %d" % (len(cases) - failed, len(cases), points))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
