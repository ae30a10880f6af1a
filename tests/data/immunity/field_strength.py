#!/usr/bin/env python3
"""Field strength in a TEM cell between septum and wall, computed from E = sqrt(P * Z) / h
(Z = 50 ohm, P in W, h in m), independently of the program's own formula. Writes
field_strength.csv beside this script: dBm, septum height in cm, E in V/m, E rounded to whole V/m
(halves to even), and E with two decimals.

Run: python3 field_strength.py
"""
import csv
import math
import os

Z_OHM = 50.0
POWERS_DBM = [-100, -20, 0, 10, 30, 30.1]
SEPTA_CM = [2.8, 5, 10, 15, 1, 3.3, 7.5, 25, 100]


def field(dbm, septum_cm):
    watts = 10.0 ** (dbm / 10.0) / 1000.0
    return math.sqrt(watts * Z_OHM) / (septum_cm / 100.0)


def main():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "field_strength.csv")
    with open(path, "w", newline="") as out:
        w = csv.writer(out, lineterminator="\n")
        w.writerow(["dbm", "septum_cm", "e_vm", "e_whole", "e_2dec"])
        for h in SEPTA_CM:
            for p in POWERS_DBM:
                e = field(p, h)
                w.writerow([repr(float(p)), repr(float(h)), repr(e), round(e), "%.2f" % e])


if __name__ == "__main__":
    main()
