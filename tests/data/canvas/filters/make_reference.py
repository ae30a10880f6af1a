#!/usr/bin/env python3
"""Writes the reference data of the picture filter tests.

Everything here is computed from first principles with Python's own colorsys and math modules,
independently of the C++ code: HLS through colorsys scaled to 0..240, the Lanczos-3 and triangle
resampling weights, the 3 x 3 convolutions and the gamma table. Run it from any folder; it writes
next to itself.
"""
import colorsys
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def lcg_image(w, h, seed):
    """Deterministic pixels; the images are stored in the files and the tests read them there."""
    state = seed
    rows = []
    for _ in range(h):
        row = []
        for _ in range(w):
            px = []
            for _ in range(3):
                state = (state * 1103515245 + 12345) & 0x7FFFFFFF
                px.append((state >> 16) & 0xFF)
            row.append(tuple(px))
        rows.append(row)
    return rows


def write_image(f, tag, img):
    h = len(img)
    w = len(img[0])
    f.write(f"{tag} {w} {h}\n")
    for row in img:
        f.write(" ".join(f"{r} {g} {b}" for r, g, b in row) + "\n")


# --- HLS on the 0..240 scale --------------------------------------------------------------------

def to_hls240(r, g, b):
    h, l, s = colorsys.rgb_to_hls(r / 255.0, g / 255.0, b / 255.0)
    if s == 0.0:
        h = 160.0 / 240.0  # greys carry hue 160 in the 0..240 convention
    return round(h * 240.0), round(l * 240.0), round(s * 240.0)


def from_hls240(h, l, s):
    r, g, b = colorsys.hls_to_rgb(h / 240.0, l / 240.0, s / 240.0)
    return tuple(min(255, max(0, round(c * 255.0))) for c in (r, g, b))


def hls_reference():
    colours = [(0, 0, 0), (255, 255, 255), (128, 128, 128), (255, 0, 0), (0, 255, 0), (0, 0, 255),
               (255, 255, 0), (0, 255, 255), (255, 0, 255), (200, 30, 90), (12, 200, 140),
               (90, 60, 240), (250, 250, 5), (1, 2, 3), (254, 253, 1)]
    colours += [p for row in lcg_image(8, 4, 7) for p in row]
    amounts = [(0, 30, 0), (0, -40, 0), (0, 0, 60), (0, 0, -60), (20, 0, 0), (-35, 0, 0),
               (250, 0, 0), (0, 250, 0), (0, 0, 250), (-250, -250, -250), (15, 20, 25)]
    with open(os.path.join(HERE, "hls.txt"), "w") as f:
        f.write("# r g b -> hue lum sat (colorsys, 0..240, greys hue 160)\n")
        for r, g, b in colours:
            f.write("%d %d %d %d %d %d\n" % ((r, g, b) + to_hls240(r, g, b)))
    with open(os.path.join(HERE, "huelumsat.txt"), "w") as f:
        f.write("# r g b dh dl ds -> r g b: amounts added on the 0..240 scale, clamped to 0..240\n")
        for r, g, b in colours:
            h, l, s = to_hls240(r, g, b)
            for dh, dl, ds in amounts:
                nh = min(240, max(0, h + dh)) if dh else h
                nl = min(240, max(0, l + dl)) if dl else l
                ns = min(240, max(0, s + ds)) if ds else s
                f.write("%d %d %d %d %d %d %d %d %d\n" % ((r, g, b, dh, dl, ds) + from_hls240(nh, nl, ns)))


# --- Resampling ---------------------------------------------------------------------------------

def sinc(x):
    if x == 0.0:
        return 1.0
    return math.sin(math.pi * x) / (math.pi * x)


def lanczos3(x):
    x = abs(x)
    return sinc(x) * sinc(x / 3.0) if x < 3.0 else 0.0


def triangle(x):
    x = abs(x)
    return 1.0 - x if x < 1.0 else 0.0


def contributions(n_src, n_dst, fast):
    support = 1.0 if fast else 3.0
    kernel = triangle if fast else lanczos3
    s = (n_dst - 1) / (n_src - 1)
    m = min(s, 1.0)
    window = support / m
    table = []
    for i in range(n_dst):
        c = i / s
        lst = []
        for j in range(math.floor(c - window), math.ceil(c + window) + 1):
            w = round(1024.0 * m * kernel((c - j) * m))
            if w == 0:
                continue
            k = -j if j < 0 else (2 * n_src - 1 - j if j >= n_src else j)
            k = min(n_src - 1, max(0, k))
            lst.append((k, w))
        table.append(lst)
    return table


def channel(total):
    if total < 0:
        return 0
    if total >= 256 * 1024:
        return 255
    return total >> 10


def resample(img, dw, dh, fast):
    sh = len(img)
    sw = len(img[0])
    hc = contributions(sw, dw, fast)
    mid = [[tuple(channel(sum(w * row[k][c] for k, w in hc[x])) for c in range(3)) for x in range(dw)]
           for row in img]
    vc = contributions(sh, dh, fast)
    return [[tuple(channel(sum(w * mid[k][x][c] for k, w in vc[y])) for c in range(3)) for x in range(dw)]
            for y in range(dh)]


def resample_reference():
    with open(os.path.join(HERE, "resample.txt"), "w") as f:
        f.write("# source image, then cases: dest w h fast, followed by the expected rows\n")
        src = lcg_image(7, 5, 12345)
        write_image(f, "source", src)
        for dw, dh, fast in [(13, 9, 0), (4, 3, 0), (7, 5, 0), (20, 2, 0), (13, 9, 1), (3, 11, 1)]:
            out = resample(src, dw, dh, fast)
            f.write(f"case {dw} {dh} {fast}\n")
            for row in out:
                f.write(" ".join(f"{r} {g} {b}" for r, g, b in row) + "\n")


# --- Convolution --------------------------------------------------------------------------------

def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


def convolve(img, weights, rect):
    left, top, right, bottom = rect
    w32 = [f32(w) for w in weights]
    total = f32(sum(w32))
    scale = f32(1.0 / total) if total != 0.0 else 1.0
    out = [list(row) for row in img]
    for y in range(top + 1, bottom):
        for x in range(left + 1, right):
            px = []
            for c in range(3):
                acc = 0.0
                k = 0
                for dy in (-1, 0, 1):
                    for dx in (-1, 0, 1):
                        acc += w32[k] * img[y + dy][x + dx][c]
                        k += 1
                px.append(min(255, max(0, round(acc * scale))))
            out[y][x] = tuple(px)
    return out


def convolve_reference():
    src = lcg_image(9, 7, 99)
    cases = [
        ("blur1", [1.0] * 4 + [1.0] + [1.0] * 4, 1, (0, 0, 8, 6)),
        ("blur3x2", [1.0] * 4 + [3.0] + [1.0] * 4, 2, (1, 1, 7, 5)),
        ("sharpen", [-0.125] * 4 + [2.0] + [-0.125] * 4, 1, (0, 0, 8, 6)),
        ("emboss", [0, -1, 0, -1, 1, 1, 0, -1, 0], 1, (0, 0, 8, 6)),
        ("soften", [0, 0, 0, 0, 1, 1, 0, 1, 1], 1, (2, 1, 8, 6)),
        ("zerosum", [1.0] * 4 + [-8.0] + [1.0] * 4, 1, (0, 0, 8, 6)),
    ]
    with open(os.path.join(HERE, "convolve.txt"), "w") as f:
        f.write("# source image, then cases: name steps left top right bottom / 9 weights / rows\n")
        write_image(f, "source", src)
        for name, weights, steps, rect in cases:
            out = src
            for _ in range(steps):
                out = convolve(out, weights, rect)
            f.write(f"case {name} {steps} {' '.join(map(str, rect))}\n")
            f.write(" ".join(repr(float(w)) for w in weights) + "\n")
            for row in out:
                f.write(" ".join(f"{r} {g} {b}" for r, g, b in row) + "\n")


# --- Gamma --------------------------------------------------------------------------------------

def gamma_reference():
    with open(os.path.join(HERE, "gamma.txt"), "w") as f:
        f.write("# amount then the 256 table entries\n")
        for amount in (70, 150, 1, -50):
            g = max(abs(amount) * 0.01, 0.001)
            table = [0] + [round(255.0 * math.exp(math.log(i / 255.0) / g)) for i in range(1, 256)]
            f.write(f"{amount} " + " ".join(map(str, table)) + "\n")


# --- Shadow blur --------------------------------------------------------------------------------

def shadow_weights(radius, smooth_blur):
    radius = abs(radius)
    if radius == 0:
        return [100000]
    f = (smooth_blur + 180) * 0.01
    out = []
    for d in range(-radius, radius + 1):
        if d == 0:
            out.append(100000)
        elif f <= 0:
            out.append(0)
        else:
            out.append(min(10 ** 9, round(100000 * f ** (-d * d / radius))))
    return out


def blur_multiply(work, h_size, v_size, smooth_blur, target, origin):
    """The blurred shadow: horizontal weighted means over the uncovered band, then vertical
    weighted sums multiplied into the target (sum / (total * 255), halves to even)."""
    hgt = len(work)
    wid = len(work[0])
    rh, rv = abs(h_size), abs(v_size)
    wh, wv = shadow_weights(rh, smooth_blur), shadow_weights(rv, smooth_blur)
    everything = h_size < 0 or v_size < 0
    band_x, band_y = max(0, wid - (2 * rh + 1)), max(0, hgt - (2 * rv + 1))

    def affected(x, y):
        return everything or x >= band_x or y >= band_y

    mid = [list(row) for row in work]
    for y in range(hgt):
        for x in range(wid):
            if not affected(x, y):
                continue
            sums = [0, 0, 0]
            total = 0
            for xx in range(max(0, x - rh), min(wid - 1, x + rh) + 1):
                wt = wh[xx - x + rh]
                total += wt
                for c in range(3):
                    sums[c] += wt * work[y][xx][c]
            mid[y][x] = tuple(sm // total for sm in sums)
    out = [list(row) for row in target]
    for y in range(hgt):
        ty = origin[1] + y
        if not 0 <= ty < len(target):
            continue
        for x in range(wid):
            tx = origin[0] + x
            if not 0 <= tx < len(target[0]) or not affected(x, y):
                continue
            sums = [0, 0, 0]
            total = 0
            for yy in range(max(0, y - rv), min(hgt - 1, y + rv) + 1):
                wt = wv[yy - y + rv]
                total += wt
                for c in range(3):
                    sums[c] += wt * mid[yy][x][c]
            d = out[ty][tx]
            out[ty][tx] = tuple(round(d[c] * sums[c] / (total * 255)) for c in range(3))
    return out


def shadow_reference():
    with open(os.path.join(HERE, "shadow_weights.txt"), "w") as f:
        f.write("# radius smoothBlur -> 2 r + 1 weights (d = -r .. r)\n")
        for radius, blur in [(0, 0), (1, 0), (3, 0), (5, 20), (4, -100), (2, -180), (3, -250), (6, 200)]:
            f.write(f"{radius} {blur} " + " ".join(map(str, shadow_weights(radius, blur))) + "\n")
    with open(os.path.join(HERE, "shadow_blur.txt"), "w") as f:
        f.write("# case h v smoothBlur originX originY, then work image, target image, expected image\n")
        cases = [(2, 1, 0, (0x40, 0x40, 0x40), (1, 1)), (3, 2, 30, (0x20, 0x80, 0xC0), (0, 2)),
                 (-2, 2, 0, (0x30, 0x30, 0x30), (2, 0))]
        for h_size, v_size, blur, colour, origin in cases:
            shape_w, shape_h = 5, 4
            wid = shape_w + 1 + 2 * abs(h_size)
            hgt = shape_h + 1 + 2 * abs(v_size)
            work = [[(255, 255, 255)] * wid for _ in range(hgt)]
            for y in range(abs(v_size), abs(v_size) + shape_h + 1):
                for x in range(abs(h_size), abs(h_size) + shape_w + 1):
                    work[y][x] = colour
            target = lcg_image(wid + 4, hgt + 3, 4242 + h_size)
            expected = blur_multiply(work, h_size, v_size, blur, target, origin)
            f.write(f"case {h_size} {v_size} {blur} {origin[0]} {origin[1]}\n")
            write_image(f, "work", work)
            write_image(f, "target", target)
            write_image(f, "expected", expected)


if __name__ == "__main__":
    shadow_reference()
    hls_reference()
    resample_reference()
    convolve_reference()
    gamma_reference()
