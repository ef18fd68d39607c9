#!/usr/bin/env python3
"""Reads a screenshot of one open popup menu, cropped to the menu (binary
PPM), and prints its entries from top to bottom, one band of rows each:
"T top bottom" for a line of text, "S top bottom" for a separator, in the
menu's own pixel rows. The frame is left out.

Text is any dark pixel; a separator is a grey line across most of the width.
"""
import sys


def read_ppm(path):
    """(width, height, RGB bytes) of a binary PPM file."""
    data = open(path, "rb").read()
    fields = []
    i = 0
    while len(fields) < 4:
        while data[i:i + 1].isspace():
            i += 1
        if data[i:i + 1] == b"#":
            while data[i:i + 1] != b"\n":
                i += 1
            continue
        j = i
        while not data[j:j + 1].isspace():
            j += 1
        fields.append(data[i:j])
        i = j
    return int(fields[1]), int(fields[2]), data[i + 1:]


def row_kind(pixels, width, y):
    dark = grey_line = 0
    for x in range(3, width - 3):
        o = (y * width + x) * 3
        r, g, b = pixels[o], pixels[o + 1], pixels[o + 2]
        if max(r, g, b) < 110:
            dark += 1
        elif 140 <= r <= 190 and abs(r - g) < 8 and abs(g - b) < 8:
            grey_line += 1
    if grey_line > 0.6 * (width - 6):
        return "S"
    return "T" if dark else None


def main():
    width, height, pixels = read_ppm(sys.argv[1])
    bands = []
    for y in range(2, height - 2):
        kind = row_kind(pixels, width, y)
        if kind is None:
            continue
        if bands and bands[-1][0] == kind and bands[-1][2] == y - 1:
            bands[-1][2] = y
        else:
            bands.append([kind, y, y])
    for kind, top, bottom in bands:
        print(kind, top, bottom)


if __name__ == "__main__":
    main()
