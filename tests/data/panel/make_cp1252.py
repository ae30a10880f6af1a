# Reference for the code page 1252 text of metafiles: Python's own codec, unknown characters
# replaced by "?". Each line: the text as UTF-8 hex, a tab, the expected bytes as hex.
import codecs

samples = [
    "Peaks Set1",
    "Level 63 dB\u00b5V",
    "".join(chr(c) for c in range(0x20, 0x7f)),
    "".join(chr(c) for c in range(0xa0, 0x100)),
    "\u20ac\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160\u2039\u0152\u017d",
    "\u2018\u2019\u201c\u201d\u2022\u2013\u2014\u02dc\u2122\u0161\u203a\u0153\u017e\u0178",
    "\u03a9 \u4e2d \U0001f600 end",
    "\u0081\u008d\u008f\u0090\u009d",
]
with open("cp1252.txt", "w") as out:
    for s in samples:
        out.write(s.encode("utf-8").hex() + "\t" + s.encode("cp1252", errors="replace").hex() + "\n")
