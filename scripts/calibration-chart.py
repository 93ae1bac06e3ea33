#!/usr/bin/env python3
"""Draws the city rating (I.EQM) per year of the three policies from the
first table of docs/calibration.md into a small PNG, with no library beyond
the standard one.

    scripts/calibration-chart.py docs/calibration.md docs/calibration.png
"""
import struct
import sys
import zlib

W, H = 480, 300
LEFT, RIGHT, TOP, BOTTOM = 44, 90, 16, 30
COLOURS = {"a": (200, 60, 40), "b": (40, 110, 200), "c": (40, 150, 60)}
# A 3 x 5 font of the characters the labels use.
FONT = {
    "0": "111101101101111", "1": "010110010010111", "2": "111001111100111", "3": "111001111001111",
    "4": "101101111001001", "5": "111100111001111", "6": "111100111101111", "7": "111001001001001",
    "8": "111101111101111", "9": "111101111001111", ".": "000000000000010", "a": "000011101101011",
    "b": "100110101101110", "c": "000011100100011", "y": "000101101011110", "e": "000011111100011", "r": "000110101100100",
    "E": "111100110100111", "Q": "010101101111011", "M": "101111111101101", " ": "000000000000000",
}


def read_table(path):
    """Rows (year, policy, rating) of the first table that has an I.EQM column."""
    rows, column = [], None
    for line in open(path, encoding="utf-8"):
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if column is None:
            if "I.EQM" in cells and "policy" in cells:
                column = (cells.index("year"), cells.index("policy"), cells.index("I.EQM"))
            continue
        if not line.startswith("|"):
            break
        if cells[0].startswith("-") or cells[0].startswith(":"):
            continue
        rows.append((int(cells[column[0]]), cells[column[1]], float(cells[column[2]])))
    return rows


class Canvas:
    def __init__(self):
        self.px = bytearray(b"\xff" * (W * H * 3))

    def dot(self, x, y, c):
        if 0 <= x < W and 0 <= y < H:
            i = (y * W + x) * 3
            self.px[i:i + 3] = bytes(c)

    def line(self, x0, y0, x1, y1, c, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for s in range(steps + 1):
            x = round(x0 + (x1 - x0) * s / steps)
            y = round(y0 + (y1 - y0) * s / steps)
            for d in range(width):
                self.dot(x, y + d - width // 2, c)

    def text(self, x, y, s, c=(0, 0, 0), scale=2):
        for ch in s:
            bits = FONT.get(ch, FONT[" "])
            for r in range(5):
                for k in range(3):
                    if bits[r * 3 + k] == "1":
                        for dy in range(scale):
                            for dx in range(scale):
                                self.dot(x + k * scale + dx, y + r * scale + dy, c)
            x += 4 * scale

    def png(self, path):
        raw = b"".join(b"\x00" + bytes(self.px[y * W * 3:(y + 1) * W * 3]) for y in range(H))

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
            f.write(chunk(b"IEND", b""))


def main(source, target):
    rows = read_table(source)
    years = sorted({y for y, _, _ in rows})
    values = [v for _, _, v in rows]
    lo = min(0.4, min(values))
    hi = max(0.6, max(values))
    cv = Canvas()
    x0, x1, y0, y1 = LEFT, W - RIGHT, H - BOTTOM, TOP

    def sx(year):
        return round(x0 + (year - years[0]) * (x1 - x0) / max(1, years[-1] - years[0]))

    def sy(v):
        return round(y0 - (v - lo) * (y0 - y1) / (hi - lo))

    grey = (200, 200, 200)
    for k in range(5):
        v = lo + (hi - lo) * k / 4
        cv.line(x0, sy(v), x1, sy(v), grey)
        cv.text(2, sy(v) - 5, "%.2f" % v)
    for y in years:
        cv.line(sx(y), y0, sx(y), y0 + 4, (0, 0, 0))
        cv.text(sx(y) - 4 * len(str(y)), y0 + 8, str(y))
    cv.line(x0, y0, x1, y0, (0, 0, 0))
    cv.line(x0, y0, x0, y1, (0, 0, 0))
    for n, (policy, colour) in enumerate(COLOURS.items()):
        points = sorted((y, v) for y, p, v in rows if p == policy)
        for (ya, va), (yb, vb) in zip(points, points[1:]):
            cv.line(sx(ya), sy(va), sx(yb), sy(vb), colour, width=3)
        cv.line(x1 + 14, TOP + 12 + 20 * n, x1 + 34, TOP + 12 + 20 * n, colour, width=3)
        cv.text(x1 + 42, TOP + 7 + 20 * n, policy, colour)
    cv.text(x1 + 14, H - 60, "EQM")
    cv.text(x1 + 14, H - 40, "year")
    cv.png(target)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
