#!/usr/bin/python3
"""What python3-nmea2 reads from each stored "$GPRMC" sentence, as the receiver's display texts.

Writes one line per sentence of rmc_sentences.txt, fields separated by tabs:
    sentence, "position" or "badchecksum", UTC, Date, Status, NS, EW, Speed [km/h], Lat dec, Lon dec
A position needs both coordinates in ddmm.mmmm / dddmm.mmmm form (any number of decimals) with
their hemisphere letter; without one "Status" is "nofix" and "Lat dec" / "Lon dec" are empty.
Speed is knots x 1.852 with 15 significant digits, degrees have 10 decimals.
Run: /usr/bin/python3 make_rmc_reference.py > rmc_reference.txt
"""
import os
import re
import sys

import pynmea2

COORD = re.compile(r'^\d+\d\d\.\d+$')


def expect(sentence):
    try:
        m = pynmea2.parse(sentence, check=True)
    except pynmea2.ChecksumError:
        return [sentence, 'badchecksum']
    position = (COORD.match(m.lat) and COORD.match(m.lon) and m.lat_dir in ('N', 'S')
                and m.lon_dir in ('E', 'W'))
    speed = (m.spd_over_grnd or 0.0) * 1.852
    return [sentence, 'position', m.data[0], m.data[8],
            'fix' if m.status == 'A' and position else 'nofix', m.lat_dir, m.lon_dir,
            '%.15g' % speed,
            '%.10f' % m.latitude if position else '',
            '%.10f' % m.longitude if position else '']


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    source = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, 'rmc_sentences.txt')
    with open(source) as f:
        for line in f:
            line = line.strip()
            if line:
                print('\t'.join(expect(line)))


if __name__ == '__main__':
    main()
