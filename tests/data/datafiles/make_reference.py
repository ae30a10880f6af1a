# Reference values for the table interpolation tests, computed independently of the program.
# Run: python3 make_reference.py (writes the *.txt files next to it).
import math

def qp_line(k):
    # CISPR 32 class B QP, 150-500 kHz: falls linearly with log f from 66 to 56 dBuV.
    return 66.0 - 10.0 * math.log10(k / 150.0) / math.log10(500.0 / 150.0)

with open('cispr32_b_qp_log.txt', 'w') as f:
    f.write('# kHz dBuV\n')
    for k in [150, 198, 250, 302, 398, 498]:
        f.write('%d %.12f\n' % (k, qp_line(k)))

# A small table interpolated on the 4 kHz grid, every point: per pair the points
# k = k1, k1 + 4, ... < k2 with k = round-half-even(f / 1000); a pair with k1 = k2 is a step that
# keeps its first level at k1 (nothing when both levels are equal); then the last corner itself.
corners = [(9000, 40.0), (150000, 20.0), (150010, 30.0), (1000000, 30.5), (1000400, 12.0), (2345678, 17.25)]

def grid(linear):
    out = []
    for (f1, l1), (f2, l2) in zip(corners, corners[1:]):
        s = (l2 - l1) / (f2 / 1000 - f1 / 1000)
        m = (l2 - l1) / (math.log10(f2 / 1000) - math.log10(f1 / 1000))
        b = l1 - math.log10(f1 / 1000) * m
        k1, k2 = round(f1 / 1000), round(f2 / 1000)
        if k1 == k2:
            if l1 != l2:
                out.append((k1, l1))
            continue
        k = k1
        while k < k2:
            out.append((k, (k - k1) * s + l1 if linear else math.log10(k) * m + b))
            k += 4
    out.append((round(corners[-1][0] / 1000), corners[-1][1]))
    return out

for name, linear in [('small_table_lin.txt', True), ('small_table_log.txt', False)]:
    with open(name, 'w') as f:
        f.write('# kHz level\n')
        for k, y in grid(linear):
            f.write('%d %.12f\n' % (k, y))

# Archives for the extraction tests: unsafe names, nested folders, an entry too large to accept.
import zipfile

def make_zip(name, entries, compress=zipfile.ZIP_STORED):
    with zipfile.ZipFile(name, 'w', compress) as z:
        for n, d in entries:
            z.writestr(zipfile.ZipInfo(n, date_time=(2026, 1, 1, 0, 0, 0)), d, compress_type=compress)

make_zip('unsafe_dotdot.zip', [('good.lim', b'[General]\r\nName=good\r\n'), ('../escaped.lim', b'x')])
make_zip('unsafe_absolute.zip', [('good.lim', b'[General]\r\nName=good\r\n'), ('/tmp/zendrik_absolute_entry.lim', b'x')])
make_zip('nested_ok.zip', [('a.lim', b'[General]\r\nName=a\r\n'), ('sub/', b''), ('sub/b.seg', b'[General]\r\nName=b\r\n')])
make_zip('duplicate_entry.zip', [('a.lim', b'first'), ('sub/b.lim', b'x'), ('sub/./b.lim', b'second')])
make_zip('colon_entry.zip', [(':x.lim', b'[General]\r\nName=x\r\n')])
make_zip('oversized_entry.zip', [('big.lim', b'\0' * (65 * 1024 * 1024))], zipfile.ZIP_DEFLATED)
