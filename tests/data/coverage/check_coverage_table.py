"""Reads a coverage table with Python's csv module and checks it against what the analyser and the
GPS receiver gave, with the correction tables applied by our own reading of them.

    check_coverage_table.py coverage.txt expected.json

expected.json: {"tables": {"cable": path, "amp": path, "ant": path},
                "rows": [{"index", "lat", "lon", "speed", "freq": [3 texts], "raw": [3 dBm or null]}]}
Prints "ok <rows>" or one line per difference and exits 1.
"""
import bisect
import configparser
import csv
import json
import sys

HEADER = ["Index", "Fix", "Date", "UTC", "Lat", "NS", "Long", "EW", "Speed[km/h]",
          "FreqA[Hz]", "LevA[dBm]", "FreqB[Hz]", "LevB[dBm]", "FreqC[Hz]", "LevC[dBm]"]


def correction_curve(path):
    """The table's corners on the 4 kHz grid (linear levels), as (kHz list, level list)."""
    ini = configparser.ConfigParser()
    ini.read(path, encoding="latin-1")
    data = ini["Data"]
    corners = []
    n = 1
    while ("freq%d" % n) in data:
        f = float(data["freq%d" % n].replace(".", ""))
        lev = float(data["lev%d" % n].replace(",", "."))
        corners.append((f, lev))
        n += 1
    xs, ys = [], []
    for (f1, l1), (f2, l2) in zip(corners, corners[1:]):
        slope = (l2 - l1) / (f2 / 1000 - f1 / 1000)
        k1, k2 = round(f1 / 1000), round(f2 / 1000)
        for k in range(k1, k2, 4):
            xs.append(k)
            ys.append((k - k1) * slope + l1)
    return xs, ys


def at(curve, khz):
    xs, ys = curve
    if not xs or khz < xs[0] or khz > xs[-1]:
        return 0.0
    hi = max(1, bisect.bisect_left(xs, khz))
    lo = hi - 1
    return (ys[hi] - ys[lo]) / (xs[hi] - xs[lo]) * (khz - xs[lo]) + ys[lo]


def level_text(v):
    return "%.2f" % float("%.4g" % v)


def main():
    table_path, expected_path = sys.argv[1], sys.argv[2]
    expected = json.load(open(expected_path))
    curves = {name: correction_curve(path) for name, path in expected["tables"].items()}
    with open(table_path, newline="") as f:
        rows = list(csv.reader(f, delimiter=";"))
    errors = []
    if rows[0] != HEADER:
        errors.append("header %r" % rows[0])
    data = rows[1:]
    if len(data) != len(expected["rows"]):
        errors.append("%d rows, expected %d" % (len(data), len(expected["rows"])))
    for n, (row, want) in enumerate(zip(data, expected["rows"])):
        if len(row) != 15:
            errors.append("row %d has %d fields" % (n, len(row)))
            continue
        if row[0] != str(want["index"]) or row[1] != "fix" or row[5] != "N" or row[7] != "E":
            errors.append("row %d: %r" % (n, row[:8]))
        if abs(float(row[4]) - want["lat"]) > 2e-6 or abs(float(row[6]) - want["lon"]) > 2e-6:
            errors.append("row %d: position %s %s, route %f %f" % (n, row[4], row[6], want["lat"], want["lon"]))
        if row[8] != want["speed"]:
            errors.append("row %d: speed %s, expected %s" % (n, row[8], want["speed"]))
        for x in range(3):
            freq, level = row[9 + 2 * x], row[10 + 2 * x]
            if freq != want["freq"][x]:
                errors.append("row %d: frequency %s, expected %s" % (n, freq, want["freq"][x]))
            raw = want["raw"][x]
            if raw is None:
                if level != "":
                    errors.append("row %d: level %s where none was measured" % (n, level))
                continue
            khz = round(float(freq) / 1000)
            v = raw - at(curves["cable"], khz) + at(curves["ant"], khz) - at(curves["amp"], khz)
            if level != level_text(v):
                errors.append("row %d: level %s, expected %s (analyser %s)" % (n, level, level_text(v), raw))
    if errors:
        print("\n".join(errors))
        sys.exit(1)
    print("ok %d" % len(data))


if __name__ == "__main__":
    main()
