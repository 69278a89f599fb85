#!/usr/bin/env python3
"""Writes the pictures the digitizing tests trace, as 24-bit BMP files.

usage: make_digit_pictures.py OUT_FOLDER

Every picture is 400 x 300 pixels, white, with light grey grid lines every
40 pixels (except the grey curve's picture) and black axes along the left and bottom edges; the curves are one
pixel thick, joined column to column. The curves' formulas (pixel row of
column x) are printed, one line per picture: NAME CURVE-FORMULA.
"""
import math
import os
import random
import struct
import sys

W, H = 400, 300


def blank(grid=True):
    img = [[(255, 255, 255)] * W for _ in range(H)]
    for x in range(0, W, 40) if grid else ():
        for y in range(H):
            img[y][x] = (220, 220, 220)
    for y in range(0, H, 40) if grid else ():
        for x in range(W):
            img[y][x] = (220, 220, 220)
    for x in range(W):
        img[H - 10][x] = (0, 0, 0)
    for y in range(H):
        img[y][10] = (0, 0, 0)
    return img


def curve(img, colour, f, x0=20, x1=W - 20):
    prev = round(f(x0))
    for x in range(x0, x1 + 1):
        y = round(f(x))
        lo, hi = (prev + 1, y) if y > prev else (y, prev - 1) if y < prev else (y, y)
        for yy in range(min(lo, hi), max(lo, hi) + 1):
            img[yy][x] = colour
        prev = y


def write_bmp(path, img):
    row = W * 3
    pad = (4 - row % 4) % 4
    data = bytearray()
    for y in range(H - 1, -1, -1):
        for (r, g, b) in img[y]:
            data += bytes((b, g, r))
        data += b"\0" * pad
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    # 3780 pixels per metre: 96 dpi.
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 3780, 3780, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def sine(x):
    return 150 - 100 * math.sin(2 * math.pi * (x - 20) / 360)


def line(x):
    return 250 - 0.5 * (x - 20)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    pictures = {}

    img = blank()
    curve(img, (255, 0, 0), sine)
    pictures["red_sine"] = (img, "150-100*sin(2*pi*(x-20)/360)")

    # A blue line with noise round it, as lossy compression leaves it.
    img = blank()
    curve(img, (20, 30, 230), line)
    rnd = random.Random(5)
    for x in range(20, W - 20):
        y = round(line(x))
        for dy in (-1, 1):
            r, g, b = img[y + dy][x]
            if (r, g, b) == (255, 255, 255):
                img[y + dy][x] = (255 - rnd.randint(0, 40), 255 - rnd.randint(0, 40), 255)
        r, g, b = img[y][x]
        img[y][x] = (min(255, r + rnd.randint(0, 30)), min(255, g + rnd.randint(0, 30)), b - rnd.randint(0, 30))
    pictures["noisy_blue_line"] = (img, "250-0.5*(x-20)")

    img = blank()
    curve(img, (0, 0, 255), lambda x: 300 - sine(x))
    curve(img, (255, 0, 0), sine)
    pictures["crossing"] = (img, "150-100*sin(2*pi*(x-20)/360)")

    img = blank()
    curve(img, (250, 150, 0), sine)
    pictures["orange_sine"] = (img, "150-100*sin(2*pi*(x-20)/360)")

    # Light grid lines belong to the grey class too; this one has none.
    img = blank(grid=False)
    curve(img, (150, 150, 150), line)
    pictures["grey_line"] = (img, "250-0.5*(x-20)")

    for name, (img, formula) in pictures.items():
        write_bmp(os.path.join(out, name + ".bmp"), img)
        print(name, formula)


if __name__ == "__main__":
    main()
