#!/usr/bin/env python3
"""Writes number_texts.tsv: reference texts for the number formatting tests.

Each line: the value as a C hex float, then its expected texts for
  FloatToStr                  (15 significant digits, general form, "." mark)
  FloatToStrF ffFixed 15, 2   (two decimals)
  FormatFloat "#,##0.###"     ("," thousands, up to three decimals)
  FormatFloat "0.00E+00"      (three significant digits, signed two-digit exponent)
  FormatMachine               (shortest text that reads back as the same double)
computed here with exact decimal arithmetic, halves to even.
"""
import random
from decimal import Decimal, ROUND_HALF_EVEN, getcontext

getcontext().prec = 400


def sig_digits(v, n):
    """(negative, digits without trailing zeros, exponent E) with v = 0.digits * 10**E."""
    d = Decimal(v)
    neg = d < 0
    d = abs(d)
    if d == 0:
        return False, "", 0
    s = format(d, "." + str(n - 1) + "e")  # Decimal formatting rounds half to even
    mant, exp = s.split("e")
    digits = mant.replace(".", "").rstrip("0")
    return neg, digits, int(exp) + 1


def general(v, precision=15):
    neg, digits, e = sig_digits(v, precision)
    if not digits:
        return "0"
    sign = "-" if neg else ""
    if e > precision or e < -3:
        m = digits[0] + ("." + digits[1:] if len(digits) > 1 else "")
        return sign + m + "E" + str(e - 1)
    if e <= 0:
        return sign + "0." + "0" * (-e) + digits
    if len(digits) <= e:
        return sign + digits + "0" * (e - len(digits))
    return sign + digits[:e] + "." + digits[e:]


def fixed(v, decimals, precision=15):
    neg, digits, e = sig_digits(v, precision)
    if e > precision:
        return general(v, precision)
    d = abs(Decimal(v))
    if digits and e + decimals > precision:
        d = Decimal("0." + digits) * (Decimal(10) ** e)
    q = d.quantize(Decimal(1).scaleb(-decimals), rounding=ROUND_HALF_EVEN)
    text = format(q, "f")
    if neg and q != 0:
        text = "-" + text
    return text


def pattern_grouped(v):
    d = abs(Decimal(v)).quantize(Decimal("0.001"), rounding=ROUND_HALF_EVEN)
    ip, fp = format(d, "f").split(".")
    fp = fp.rstrip("0")
    grouped = "{:,}".format(int(ip))
    text = grouped + ("." + fp if fp else "")
    if v < 0 and d != 0:
        text = "-" + text
    return text


def pattern_sci(v):
    neg, digits, e = sig_digits(v, 3)
    if not digits:
        return "0.00E+00"
    digits = digits.ljust(3, "0")
    exp = e - 1
    return ("-" if neg else "") + digits[0] + "." + digits[1:] + "E" + ("-" if exp < 0 else "+") + "%02d" % abs(exp)


def machine(v):
    r = repr(v)  # shortest round trip; only the digits and exponent are compared
    return r


def main():
    rng = random.Random(20261207)
    values = [0.0, 1.0, -1.0, 0.5, 1.8, 1.25, 0.1, 0.2 + 0.1, 1 / 3, 2 / 3, 1e20, 1.5e-7, 123456.789,
              1234.5, 999.9995, 0.0001, 0.00009999, 1e15, 1e14, 99999999999999.99, 2.5, 0.125,
              -0.0005, 1234567.891, 30000000.0, 150000.0, 45.678, -273.15]
    for _ in range(300):
        mag = 10 ** rng.uniform(-8, 19)
        v = rng.choice([1, -1]) * mag
        values.append(v)
    for _ in range(60):
        # values on a coarse grid, where ties and trailing zeros are common
        v = rng.randint(-2000000, 2000000) / rng.choice([1, 2, 4, 8, 10, 16, 100, 1000, 2000])
        values.append(v)
    with open("number_texts.tsv", "w") as f:
        f.write("# hex\tFloatToStr\tFixed2\tGrouped\tSci\tMachine\n")
        for v in values:
            grouped = pattern_grouped(v) if abs(v) < 1e11 else "-"
            f.write("\t".join([v.hex(), general(v), fixed(v, 2), grouped, pattern_sci(v), machine(v)]) + "\n")


if __name__ == "__main__":
    main()
