#!/usr/bin/env python3
"""Writes the trace answers the decoding tests read, and the points they must give.

Each answer is built here with struct and plain text formatting, independently of the program:
binary blocks ("#9"/"#6" headers, '<f' or '>f' floats, one line end), Siglent fixed-width texts
and a receiver scan list. Each expected file holds one "x,y" line per point, x in whole kHz
(start rounded, then the running x advanced by the step and rounded, halves to even) and y the
level with the family's offset, both as Python reprs of the doubles.
"""
import math
import struct

def levels(n, seed):
    # A smooth spectrum with a few peaks; values are stored as 32-bit floats in the blocks.
    out = []
    for i in range(n):
        v = 20.0 + 15.0 * math.sin(i / 17.0 + seed) + 40.0 * math.exp(-((i - n / 3) / 4.0) ** 2)
        out.append(round(v, 4))
    return out

def xs(start_hz, step_khz, n):
    x = float(round(start_hz / 1000.0))
    out = []
    for _ in range(n):
        out.append(float(round(x)))
        x += step_khz
    return out

def write_expected(name, x, y):
    with open(name, "w") as f:
        for a, b in zip(x, y):
            f.write("%r,%r\n" % (a, b))

def binary(name, n, order, digits, offset, start, stop, seed):
    vals = levels(n, seed)
    data = b"".join(struct.pack(order + "f", v) for v in vals)
    length = str(len(data)).rjust(digits, "0").encode()
    with open(name + ".bin", "wb") as f:
        f.write(b"#" + str(digits).encode() + length + data + b"\n")
    as_float = [struct.unpack("<f", struct.pack("<f", v))[0] for v in vals]
    step = (stop - start) / 1000.0 / (n - 1)
    write_expected(name + ".expected", xs(start, step, n), [v + offset for v in as_float])

def siglent(name, n, width, sva, start, stop, seed):
    vals = [v - 106.98 for v in levels(n, seed)]
    decimals = width - 7  # sign, digit, point, decimals, "e+01"
    texts = []
    for v in vals:
        t = "%+.*e" % (decimals, v)
        assert len(t) == width, t
        texts.append(t)
    if sva:
        body = ",".join(texts) + "\n"
    else:
        body = "".join(t + "," for t in texts) + "\n"
    with open(name + ".txt", "w", newline="") as f:
        f.write(body)
    step = (stop - start) / 1000.0 / (n - 1)
    write_expected(name + ".expected", xs(start, step, n), [float(t) + 106.98 for t in texts])

def scan(name, n_points, values, start, stop, seed):
    vals = levels(values, seed)
    texts = ["%.2f" % v for v in vals]
    with open(name + ".txt", "w", newline="") as f:
        f.write(",".join(texts) + "\n")
    step = (math.trunc((stop - start) / n_points) + 1) / 1000.0
    # Text after the last comma is no value.
    write_expected(name + ".expected", xs(start, step, values - 1), [float(t) for t in texts[:-1]])

binary("dsa_le_601", 601, "<", 9, 0.0, 150000, 30000000, 0.3)
binary("dsa_be_601", 601, ">", 9, 0.0, 150000, 30000000, 0.7)
binary("rsa_be_601", 601, ">", 6, 106.99, 9000, 150000, 1.1)
binary("rsa_be_5001", 5001, ">", 6, 106.99, 30000000, 1000000000, 1.9)
binary("dsa_le_1001", 1001, "<", 9, 0.0, 30000000, 6500000000, 2.3)
siglent("ssa_751", 751, 16, False, 150000, 30000000, 0.5)
siglent("sva_751", 751, 13, True, 30000000, 300000000, 0.9)
scan("fpc_scan_600", 600, 601, 150000, 30000000, 1.3)
