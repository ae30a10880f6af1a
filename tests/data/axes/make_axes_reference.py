#!/usr/bin/env python3
"""Reference values for the axis tests, computed here from the stated conversion rules with
Python's own float arithmetic (round() rounds halves to even on the exact binary value) and
Python's datetime for calendar dates. Run from this folder; writes the .txt files."""
import datetime
import math

EPOCH = datetime.datetime(1899, 12, 30)


def rne(v):
    return int(round(v))


def wrap32(v):
    return ((v + 2 ** 31) % 2 ** 32) - 2 ** 31


def linear_clamped(h, inv, start, end, lo, hi, v, limit):
    rng = hi - lo
    if rng == 0:
        return (start + end) // 2 if start + end >= 0 else -((-(start + end)) // 2)
    ppu = (end - start) / rng
    d = (v - lo) * ppu
    if h:
        p = end - d if inv else start + d
    else:
        p = start + d if inv else end - d
    if p > limit:
        return limit
    if p < -limit:
        return -limit
    return rne(p)


def linear_fast(h, inv, start, end, lo, hi, v):
    rng = hi - lo
    ppu = (end - start) / rng
    d = wrap32(rne((v - lo) * ppu))
    if h:
        p = end - d if inv else start + d
    else:
        p = start + d if inv else end - d
    return wrap32(p)


def logarithmic(h, inv, start, end, lo, hi, v):
    llo = math.log(lo) if lo > 0 else 0.0
    lhi = math.log(hi) if hi > 0 else 0.0
    lr = lhi - llo
    if lr == 0:
        return (start + end) // 2
    if v <= 0:
        if h:
            return end if inv else start
        return start if inv else end
    ppl = (end - start) / lr
    t = (lhi - math.log(v)) if inv else (math.log(v) - llo)
    t = t * ppl
    return start + rne(t) if h else end - rne(t)


def depth(inv, size, lo, hi, v):
    ppu = size / (hi - lo)
    return rne((hi - v) * ppu) if inv else rne((v - lo) * ppu)


def pixel_to_value(kind, h, inv, start, end, lo, hi, p):
    size = end - start
    if kind != 'log':
        t = (end - p) if inv else (p - start)
        t = t * (hi - lo) / size
        return lo + t if h else hi - t
    max_at_start = (h == inv)
    if p == start:
        return hi if max_at_start else lo
    if p == end:
        return lo if max_at_start else hi
    llo, lhi = math.log(lo), math.log(hi)
    t = (end - p) if inv else (p - start)
    t = t * (lhi - llo) / size
    return math.exp(llo + t) if h else math.exp(lhi - t)


def conversions():
    out = []
    # Values whose scaled offsets fall on exact halves, so that rounding the final coordinate
    # (and not the offset) shows; the odd start pixels make the two orders differ.
    lin_cases = [
        (1, 1, 1001, 0.0, 1000.0, [2.5, 3.5, -0.5, 0.25, 999.5, 500.0, 1e9, -1e9, 1000.0, 0.0]),
        (0, 1, 1001, 0.0, 1000.0, [2.5, 3.5, 7.5, 999.5, 1e12]),
        (1, 0, 1000, 0.0, 1000.0, [2.5, 3.5, 11.5, 0.0]),
        (0, 0, 1000, 0.0, 1000.0, [2.5, 3.5, 11.5]),
        (1, 101, 613, -8.0, 8.0, [-7.5, -7.984375, 0.03125, 1.015625, 7.96875, 100.0]),
        (0, 37, 549, 0.0, 1024.0, [1.0, 3.0, 5.0, 1023.0, -3.0]),
    ]
    for start, pstart, pend, lo, hi, values in lin_cases:
        h = start
        for inv in (0, 1):
            for v in values:
                out.append('clamped %d %d %d %d %r %r %r %d' % (h, inv, pstart, pend, lo, hi, v,
                                                                 linear_clamped(h, inv, pstart, pend, lo, hi, v, 67108863)))
                out.append('fast %d %d %d %d %r %r %r %d' % (h, inv, pstart, pend, lo, hi, v,
                                                              linear_fast(h, inv, pstart, pend, lo, hi, v)))
    log_cases = [
        (1, 0, 1000, 10.0, 1000.0, [10.0, 100.0, 1000.0, 31.622776601683793, 0.0, -5.0, 5.0, 2000.0]),
        (0, 20, 420, 9.0, 3000000.0, [9.0, 150.0, 30000.0, 2999999.0, 0.0, -1.0]),
        (1, 55, 1255, 0.001, 1.0, [0.5, 0.002, 1e-9]),
    ]
    for h, pstart, pend, lo, hi, values in log_cases:
        for inv in (0, 1):
            for v in values:
                out.append('log %d %d %d %d %r %r %r %d' % (h, inv, pstart, pend, lo, hi, v,
                                                             logarithmic(h, inv, pstart, pend, lo, hi, v)))
    for inv in (0, 1):
        for v in (0.0, 0.5, 1.5, 2.5, 3.0, -1.0):
            out.append('depth %d %d %d %d %r %r %r %d' % (0, inv, 0, 100, 0.0, 4.0, v, depth(inv, 100, 0.0, 4.0, v)))
    # Pixel back to value.
    for kind, h, pstart, pend, lo, hi in [('lin', 1, 3, 803, -20.0, 80.0), ('lin', 0, 10, 410, 0.0, 120.0),
                                          ('log', 1, 0, 1000, 10.0, 1000.0), ('log', 0, 20, 420, 9.0, 3000000.0)]:
        for inv in (0, 1):
            for p in (pstart, pstart + 1, (pstart + pend) // 2, pend - 7, pend):
                out.append('pixel %s %d %d %d %d %r %r %d %r' % (kind, h, inv, pstart, pend, lo, hi, p,
                                                                   pixel_to_value(kind, h, inv, pstart, pend, lo, hi, p)))
    return out


def next125(s):
    e = math.floor(math.log10(s))
    decade = 10.0 ** e
    while decade > s:
        decade /= 10
    while True:
        for m in (1, 2, 5, 10):
            c = m * decade
            if c > s * (1 + 1e-12):
                return c
        decade *= 10


def steps():
    out = []
    for lo, hi, n in [(0, 100, 11), (0, 100, 10), (0, 1, 7), (-250, 250, 9), (0, 0.003, 4), (3, 7, 40),
                      (0, 12345, 6), (1e6, 3e6, 5)]:
        rng = hi - lo
        s = abs(rng) / (n + 1)
        while rne(rng / s) > n:
            s = next125(s)
            if s > rng:
                break
        out.append('linear %r %r %d %r' % (float(lo), float(hi), n, max(1e-12, s)))
    for lo, hi, n, base in [(9, 3e6, 12, 10.0), (1, 1024, 5, 2.0), (10, 1000, 3, 10.0)]:
        rng = hi - lo
        s = rng / (n + 1)
        s = base ** rne(math.log(s) / math.log(base))
        while rne(rng / s) > n:
            s *= base
            if s > rng:
                break
        out.append('log %r %r %d %r %r' % (float(lo), float(hi), n, base, s))
    return out


def days(dt):
    """The program's date-time number: whole days since 30 December 1899 and the time of day as
    the fraction; before that day the time is subtracted from the (negative) day number."""
    d = (dt.date() - EPOCH.date()).days
    t = (dt.hour * 3600 + dt.minute * 60 + dt.second + dt.microsecond / 1e6) / 86400.0
    return d + t if d >= 0 else d - t


def dates():
    out = []
    # Monthly labels: the maximum truncated to the start of its month, then one month back at a
    # time while the label is not below the minimum.
    lo = days(datetime.datetime(2026, 1, 10, 6, 0))
    hi = days(datetime.datetime(2026, 7, 20, 18, 0))
    labels = []
    d = datetime.datetime(2026, 7, 1)
    while days(d) >= lo:
        labels.append(d)
        d = datetime.datetime(d.year + (d.month == 1 and -1 or 0), 12 if d.month == 1 else d.month - 1, 1)
    out.append('months %r %r 30 %s' % (lo, hi, ' '.join(x.strftime('%d.%m.%Y') for x in labels)))
    # Yearly labels on 1 January.
    lo = days(datetime.datetime(2019, 5, 5))
    hi = days(datetime.datetime(2026, 3, 3))
    labels = [datetime.datetime(y, 1, 1) for y in range(2026, 2019, -1)]
    out.append('years %r %r 365 %s' % (lo, hi, ' '.join(x.strftime('%d.%m.%Y') for x in labels)))
    # Daily labels at midnight.
    lo = days(datetime.datetime(2026, 2, 26, 13, 0))
    hi = days(datetime.datetime(2026, 3, 4, 9, 30))
    labels = []
    d = datetime.datetime(2026, 3, 4)
    while days(d) >= lo:
        labels.append(d)
        d -= datetime.timedelta(days=1)
    out.append('days %r %r 1 %s' % (lo, hi, ' '.join(x.strftime('%d.%m.%Y') for x in labels)))
    # Texts of single values: date, time and milliseconds.
    for dt in [datetime.datetime(1899, 12, 30), datetime.datetime(2026, 12, 7, 8, 34, 6, 250000),
               datetime.datetime(2000, 2, 29, 23, 59, 59, 999000), datetime.datetime(1970, 1, 1, 12, 0),
               datetime.datetime(1850, 6, 15, 6, 30), datetime.datetime(2038, 1, 19, 3, 14, 7)]:
        out.append('text %r %s %s' % (days(dt), dt.strftime('%d.%m.%Y'),
                                      dt.strftime('%H:%M:%S.') + '%03d' % (dt.microsecond // 1000)))
    return out


if __name__ == '__main__':
    with open('conversions.txt', 'w') as f:
        f.write('\n'.join(conversions()) + '\n')
    with open('steps.txt', 'w') as f:
        f.write('\n'.join(steps()) + '\n')
    with open('dates.txt', 'w') as f:
        f.write('\n'.join(dates()) + '\n')
