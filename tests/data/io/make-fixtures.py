#!/usr/bin/env python3
"""Writes the foreign measurement files of the import tests and, beside each,
the curve the program must make of it (<name>.expected, one "frequency,level"
row per grid point, or the single line "fail").

The expected curves are computed here, independently of the program, from
the reading rules: skip everything up to the first header line (one holding
"Hz" and "dB", or "Fre"/"fre" and "Raw"/"raw") and every later header line;
split data lines at runs of commas, semicolons and white space; join a
thousands comma ("1,000.5") only where the line also separates with something
else, the comma stands alone, the second part has no sign and the joined line
holds exactly two numbers; drop fields that are not numbers and rows of
fewer than two values, but fail the whole file on a number no curve can hold
(nan, inf, larger in size than 1e300, or a level, the second number of a row,
larger in size than 1e5); for each grid frequency average the levels of the
two nearest rows (earlier row wins ties); subtract the level at 500 Hz, and
fail when a level then lies beyond 1e5.
Run once; the results are committed.
"""
import math
import os
import re

GRID = [
    20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 32, 33, 34, 35, 37, 38, 40, 42, 43,
    45, 47, 49, 50, 51, 53, 55, 57, 59, 61, 64, 66, 69, 72, 75, 78, 81, 84, 87, 91,
    95, 98, 100, 102, 106, 111, 115, 120, 124, 129, 135, 140, 146, 151, 158, 164, 170, 177, 184, 192,
    200, 207, 216, 224, 233, 242, 252, 262, 273, 284, 295, 300, 307, 319, 332, 345, 359, 373, 388, 404,
    420, 437, 454, 472, 491, 500, 510, 525, 550, 570, 600, 620, 640, 670, 700, 720, 750, 780, 810, 850,
    880, 920, 950, 1000, 1030, 1070, 1110, 1160, 1210, 1250, 1310, 1360, 1410, 1470, 1530, 1590, 1650, 1720, 1790, 1860,
    1940, 2000, 2090, 2180, 2260, 2350, 2450, 2550, 2650, 2750, 2860, 2980, 3100, 3220, 3350, 3490, 3630, 3770, 3920, 4080,
    4240, 4410, 4590, 4770, 5000, 5160, 5370, 5580, 5810, 6040, 6280, 6530, 6800, 7070, 7350, 7640, 7950, 8270, 8600, 8940,
    9300, 9670, 10000, 10400, 10900, 11300, 11800, 12250, 12700, 13300, 13800, 14300, 14900, 15500, 16000, 16700, 17400, 18500, 19000, 19500,
    20000, 22000,
]
assert len(GRID) == 182 and GRID[85] == 500

NUMBER = re.compile(r"^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$", re.ASCII)
SEPARATOR = re.compile(r"[,;\s]+", re.ASCII)


NON_FINITE = re.compile(r"^\s*[+-]?(nan|inf|infinity)\s*$", re.ASCII | re.IGNORECASE)
LARGEST = 1e300
LARGEST_LEVEL = 1e5


class Unreadable(Exception):
    pass


def number(field):
    if NON_FINITE.match(field):
        raise Unreadable(field)
    if not NUMBER.match(field):
        return None
    v = float(field)
    if not math.isfinite(v) or abs(v) > LARGEST:
        raise Unreadable(field)
    return v


def counts(field):
    try:
        return number(field) is not None
    except Unreadable:
        return False


def is_header(line):
    if "Hz" in line and "dB" in line:
        return True
    return ("Fre" in line or "fre" in line) and ("Raw" in line or "raw" in line)


def row_of(line):
    fields = SEPARATOR.split(line)
    seps = SEPARATOR.findall(line)
    other = any(c != "," for s in seps for c in s)
    out = fields
    if other:
        joined, i = [], 0
        while i < len(fields):
            f = fields[i]
            if (i + 1 < len(fields) and seps[i] == "," and "." not in f
                    and fields[i + 1].find(".") == 3 and fields[i + 1][:1] not in "+-"):
                f += fields[i + 1]
                i += 1
            joined.append(f)
            i += 1
        if len(joined) < len(fields) and sum(counts(f) for f in joined) == 2:
            out = joined
    values = [v for v in (number(f) for f in out) if v is not None]
    if len(values) >= 2 and abs(values[1]) > LARGEST_LEVEL:
        raise Unreadable(values[1])
    return values


def read(text):
    if text.startswith("\ufeff"):
        text = text[1:]
    lines = text.replace("\r\n", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    rows, header = [], False
    for line in lines:
        h = is_header(line)
        if not header or h:
            header = header or h
            continue
        try:
            row = row_of(line)
        except Unreadable:
            return []
        if row:
            rows.append(row)
    return rows


def resample(rows):
    rows = [r for r in rows if len(r) >= 2]
    out = []
    for f in GRID:
        best = second = None
        best_f = second_f = 2147483647.0
        for j, r in enumerate(rows):
            d = abs(f - r[0])
            if abs(f - best_f) > d:
                second, second_f = best, best_f
                best, best_f = j, r[0]
            elif abs(f - second_f) > d:
                second, second_f = j, r[0]
        if best is None or second is None:
            return None
        out.append((f, (rows[best][1] + rows[second][1]) * 0.5))
    ref = next((level for f, level in out if f == 500.0), 0.0)
    out = [(f, level - ref) for f, level in out]
    if any(abs(level) > LARGEST_LEVEL for f, level in out):
        return None
    return out


def log_points(n, lo, hi):
    return [lo * (hi / lo) ** (i / (n - 1)) for i in range(n)]


def response(f):
    # A made-up headphone: bass shelf, presence dip, treble roll-off.
    return (6 / (1 + (f / 120) ** 2) - 4 * math.exp(-((math.log(f / 3000)) ** 2) * 8)
            - 10 / (1 + (12000 / f) ** 4) + 75)


FILES = {}

# A measurement tool's export: comment lines, commas, a phase column.
lines = ["* Measurement data measured by a sweep", "* Source: mic, 48 kHz", "*",
         "Frequency(Hz),SPL(dB),Phase(degrees)"]
for f in log_points(480, 10, 24000):
    lines.append("%.3f,%.3f,%.2f" % (f, response(f), -math.degrees(math.atan(f / 2000))))
FILES["commas_phase.csv"] = "\n".join(lines) + "\n"

# Semicolons with thousands commas (a decimal-point locale that groups), CRLF.
lines = ["Frequency(Hz);SPL(dB)"]
for f in log_points(200, 20, 20000):
    text = "{:,.1f}".format(f)
    lines.append("%s;%.2f" % (text, response(f)))
FILES["semicolon_thousands.csv"] = "\r\n".join(lines) + "\r\n"

# Tabs, a byte-order mark and a repeated header in the middle.
lines = ["Freq(Hz)\tLevel(dB)"]
points = log_points(150, 15, 22000)
for i, f in enumerate(points):
    if i == 75:
        lines.append("Freq(Hz)\tLevel(dB)")
    lines.append("%.2f\t%.4f" % (f, response(f)))
FILES["tabs_bom.txt"] = "\ufeff" + "\n".join(lines) + "\n"

# Blank-separated with leading blanks, a sensitivity line before the header,
# a line with one number and lines that are not numbers.
lines = ['"Sens Factor =-1.23dB, SERNO: 7001234"', "  fre   raw"]
for i, f in enumerate(log_points(120, 20, 20000)):
    lines.append("   %.1f   %.3f" % (f, response(f) - 70))
    if i == 40:
        lines.append("  1234.5")
    if i == 60:
        lines.append("  n/a  --")
        lines.append("  -- 12 x")
FILES["blanks.mic"] = "\n".join(lines) + "\n"

# A sweep whose tool wrote levels it could not compute: nan, inf and a huge
# number among ordinary rows. The whole file is refused.
lines = ["Frequency(Hz),SPL(dB)"]
for i, f in enumerate(log_points(60, 20, 20000)):
    level = {20: "nan", 30: "inf", 40: "1e308"}.get(i, "%.3f" % response(f))
    lines.append("%.2f,%s" % (f, level))
FILES["nan_levels.csv"] = "\n".join(lines) + "\n"

# A header repeated further down that holds numbers ("1000 Hz", "94 dB"):
# taken as data it would put a row [1000, 94] into the curve.
lines = ["Frequency (Hz),Level (dB)"]
for i, f in enumerate(log_points(80, 20, 20000)):
    if i == 40:
        lines.append("Calibrated at 1000 Hz,94 dB")
    lines.append("%.2f,%.3f" % (f, response(f) - 75))
FILES["later_header.csv"] = "\n".join(lines) + "\n"

# Two rows only, far apart: every grid point takes their mean.
FILES["two_rows.csv"] = "Hz,dB\n1000,0\n1010,1\n"

# One data row: resampling fails at the first grid point.
FILES["one_row.csv"] = "Hz,dB\n1000,3\n"

# No header line at all.
FILES["no_header.csv"] = "20,1\n1000,2\n20000,3\n"

# Mixed separators and signs: "20;-13.5" stays two numbers, "+3" reads.
FILES["signs.csv"] = "Frequency (Hz); Magnitude (dB)\n20;-13.5\n1,000.5;+3\n20000 ; -1\n"

here = os.path.dirname(os.path.abspath(__file__))
for name, text in FILES.items():
    with open(os.path.join(here, name), "w", encoding="utf-8", newline="") as f:
        f.write(text)
    curve = resample(read(text))
    with open(os.path.join(here, name + ".expected"), "w") as f:
        if curve is None:
            f.write("fail\n")
        else:
            for freq, level in curve:
                f.write("%.17g,%.17g\n" % (freq, level))
