#!/usr/bin/env python3
"""Writes the reference files of the VISA and simulator tests, computed here independently of
the C++ code: NMEA checksums, identification of each simulated analyser by the identification
rules, and the sizes of each family's trace answer."""
from functools import reduce

bodies = ["PERDINFO", "GPGPQ,RMC", "PERDOUT,GGA,0", "PERDDBG,NMEA,OFF", "A", ""]
with open("nmea_checksums.txt", "w") as f:
    for b in bodies:
        cs = reduce(lambda a, c: a ^ ord(c), b, 0)
        f.write("%s;%02X\n" % (b, cs))

idns = {
    "dsa815": "Rigol Technologies,DSA815,DSA8A1234567890,00.01.19.00.02",
    "dsa815-old": "Rigol Technologies,DSA815,DSA8A1234567890,00.01.18.00.02",
    "dsa832": "Rigol Technologies,DSA832,DSA8G1234567890,00.01.10.00.01",
    "dsa875": "Rigol Technologies,DSA875,DSA8E1234567890,00.01.10.00.01",
    "dsa1030": "Rigol Technologies,DSA1030,DSA1B1234567890,00.01.05.00.01",
    "dsa705": "Rigol Technologies,DSA705,DSA8B1234567890,00.01.02.00.01",
    "rsa5065": "Rigol Technologies,RSA5065,RSA5B1234567890,00.01.02.00.01",
    "rsa3030": "Rigol Technologies,RSA3030,RSA3D1234567890,00.01.02.00.01",
    "ssa3032x": "Siglent Technologies,SSA3032X,SSA3XAB1234567,3.2.2.5.0",
    "sva1032x": "Siglent Technologies,SVA1032X,SVA1XAB1234567,2.1.1.2",
    "sva1032x-2111": "Siglent Technologies,SVA1032X,SVA1XAB7654321,2.1.1.1",
    "hms3010": "Hameg Instruments,HMS3010,012345678,1.501",
    "fpc1000": "Rohde&Schwarz,FPC1000,1328.6660K02/100123,1.50",
    "fpc1500": "Rohde&Schwarz,FPC1500,1328.6660K12/100456,1.50",
    "fph": "Rohde&Schwarz,FPH,1321.1111K04/100789,1.70",
}

def identify(a):
    fam, points, model, series, big, preset = 0, 0, 0, 0, 0, 0
    for key, f, p in [("Rigol", 1, 601), ("Siglent", 2, 751), ("Hameg", 3, 501),
                      ("FPC1000", 4, 600), ("FPC1500", 4, 600), ("FPH", 5, 700)]:
        if key in a:
            fam, points = f, p
    if fam == 1:
        fields = a.replace(" ", "").split(",")
        serial = fields[2]
        fw = fields[3] if len(fields) > 3 else "00.00.00.00.00"
        fwn = int(fw[3] + fw[4] + fw[6] + fw[7])
        if len(serial) >= 8:
            c = serial[3:5]
            if c == "8A":
                model = 815
                big = 1 if fwn >= 119 else 0
            if c in ("8G", "8F", "8H"):
                model = 832
            if c == "8E":
                model = 875
            if c == "1B":
                model = 1030
            if c == "8B":
                model = 700
            if serial[3] in "53":
                model = 5000
    if fam == 2:
        fields = a.replace(" ", "").split(",")
        fw = fields[3] if len(fields) > 3 else "0.0.0.0"
        fwn = int(fw[0] + fw[2] + fw[4] + fw[6])
        if "SSA" in a:
            series = 1
        if "SVA" in a:
            series = 2
            preset = 1 if fwn == 2111 else 0
    return fam, model, series, big, preset, points

with open("sim_identification.txt", "w") as f:
    f.write("# family;DeviceFamily;DeviceModel;SiglentSeries;RigolFloatBigEndian;SvaPresetFirst;points;idn\n")
    for name, idn in idns.items():
        f.write("%s;%d;%d;%d;%d;%d;%d;%s\n" % ((name,) + identify(idn) + (idn,)))

# Bytes of a trace answer including its line end, per answer format and point count.
with open("trace_sizes.txt", "w") as f:
    f.write("# family;bytes\n")
    f.write("dsa815;%d\n" % (601 * 4 + 12))
    f.write("rsa5065;%d\n" % (601 * 4 + 9))
    f.write("ssa3032x;%d\n" % (751 * 17 + 1))
    f.write("sva1032x;%d\n" % (751 * 14))
