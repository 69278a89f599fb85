#!/usr/bin/env python3
"""Writes the document fixtures of the tests, field by field, independently
of the program's own writer (so that the reader is checked against a second
reading of the format).

    sample-v104.tmr   a version 1.04 document with two series, an area, a
                      function and a commentary, Cyrillic text, odd axis
                      values and out-of-range cell sizes.

Run from anywhere: python3 tests/data/make_document_fixtures.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


class Out:
    def __init__(self):
        self.b = bytearray()

    def word(self, v): self.b += struct.pack('<H', v)
    def dword(self, v): self.b += struct.pack('<I', v & 0xFFFFFFFF)
    def int(self, v): self.b += struct.pack('<i', v)
    def byte(self, v): self.b += struct.pack('<B', v)
    def double(self, v): self.b += struct.pack('<d', v)

    def string(self, text):
        raw = text.encode('cp1251')
        n = len(raw)
        if n < 255:
            self.byte(n)
        elif n < 0xFFFE:
            self.byte(0xFF)
            self.word(n)
        else:
            self.byte(0xFF)
            self.word(0xFFFF)
            self.dword(n)
        self.b += raw

    def count(self, n):
        if n < 0xFFFF:
            self.word(n)
        else:
            self.word(0xFFFF)
            self.dword(n)

    def value(self, x, y, z):
        self.int(3)
        self.int(0)
        self.double(x)
        self.double(y)
        self.double(z)
        self.b += bytes(56)
        self.int(0)
        self.int(0)

    def scale(self, direction, kind, k, b, lo, hi, base):
        self.int(direction)
        self.int(kind)
        for v in (k, b, lo, hi):
            self.double(v)
        self.int(0)
        self.int(0)
        self.double(0.0)
        self.double(0.0)
        self.double(base)  # version above 1.02


def plot_val(o, source, values, outline, id_, colour_index, name):
    o.word(source)
    o.int(len(values))  # next number
    o.int(0)  # sort key
    o.int(0)  # sort direction
    o.scale(1, 0, 1.0, 0.0, 0.0, 10.0, 2.0)
    o.scale(1, 0, 1.0, 0.0, 0.0, 10.0, 2.0)
    o.count(len(values))
    for v in values:
        o.value(*v)
    # CPlot
    o.dword(id_)
    o.word(colour_index)
    o.string(name)
    for v in (0, 0, 0, 0):
        o.int(v)
    o.word(1)  # line width
    o.int(8)  # step
    o.int(0)
    o.int(0)  # position
    o.count(len(outline))
    for x, y in outline:
        o.int(x)
        o.int(y)
    # no visible flag before version 1.10


def new_class(o, name):
    o.word(0xFFFF)
    o.word(0)
    o.word(len(name))
    o.b += name.encode('ascii')


def sample_v104():
    o = Out()
    o.word(0x0CD0)
    o.word(1)
    o.word(4)
    o.string('Fixture!')
    o.int(1)  # inches
    o.int(2000)
    o.int(1000)
    o.string('Образец')
    o.string('fixture')
    # visual parameters
    o.string('Arial')
    o.int(700)
    o.byte(1)
    o.byte(0)
    for c in (0, 255, 0, 0, 0):
        o.dword(c)
    for s in (30, 60, 25, 30, 25):
        o.int(s)
    for colour, width in ((0, 8), (0x808080, 5), (0, 5), (0x808080, 0)):
        o.dword(colour)
        o.int(width)
        o.int(0)
    # indents
    for kind, flag in ((0, 0), (1, 1), (2, 0), (3, 0)):
        o.int(kind)
        o.double(1.0)
        o.int(flag)
    # X axis: the second copy of the name is the one kept
    o.int(2)
    o.int(1)
    o.int(2)
    o.string('old name')
    o.string('Time')
    o.string('s')
    o.string('')
    o.double(1.5)
    o.double(0.5)
    o.scale(1, 0, 2.0, 10.0, 0.0, 10.0, 3.0)
    o.int(1)  # arrow
    # Y axis: position 7 is read as 0; a log scale with start 0 takes k
    o.int(7)
    o.int(2)
    o.int(1)
    o.string('Force')
    o.string('Force')
    o.string('N')
    o.string('Сила')
    o.double(1.0)
    o.double(1.0)
    o.scale(1, 1, 1.0, 0.0, 0.0, 10.0, 10.0)
    o.int(0)
    # series list: the class is announced once, the second element uses 0x8001
    o.count(2)
    new_class(o, 'CPlotDot')
    o.word(1)  # triangle
    o.word(20)
    o.double(1.5)
    o.double(0.0)
    o.double(0.0)
    o.int(1)  # connect
    o.int(3)  # connecting line width
    plot_val(o, 2, [(1.0, 2.0, 0.0), (3.0, 4.0, 1.0), (5.0, 6.0, 2.0)],
             [(39, 78), (118, 157), (196, 236)], 57, 3, 'Серия')
    o.word(0x8001)
    o.word(2)
    o.word(10)
    o.double(1.0)
    o.double(0.0)
    o.double(0.0)
    o.int(0)
    o.int(1)
    plot_val(o, 4, [(7.0, 8.0, 9.0)], [(275, 314)], 12, 0, 'second')
    # area list
    o.count(1)
    new_class(o, 'CPlotClip')  # class index 5
    o.int(0)  # fill
    plot_val(o, 0, [(0.0, 0.0, 0.0), (0.0, 5.0, 1.0), (5.0, 5.0, 2.0), (5.0, 0.0, 3.0)],
             [(0, 0), (0, 196), (196, 196), (196, 0)], 60, 1, 'Rect area')
    # function list
    o.count(1)
    new_class(o, 'CPlotFunc')
    params = [0, 0, 2, 0, 0, 10, 10, 0.1, 0, 0, 1, 2, 0.1]
    o.count(len(params))
    for p in params:
        o.double(p)
    o.count(4)
    for v in ((0, 0, 0), (0, 10, 0), (10, 10, 0), (10, 0, 0)):
        o.value(*v)
    o.dword(0x00FF00)
    o.int(1)  # corridor
    o.int(0)  # sampler option
    o.int(1)  # fill (of the area part)
    plot_val(o, 0, [(0.0, 0.0, 0.0), (0.0, 10.0, 1.0), (10.0, 10.0, 2.0), (10.0, 0.0, 3.0)],
             [(0, 0), (0, 393), (393, 393), (393, 0)], 61, 2, 'y = 1 + 2x')
    # commentary list
    o.count(1)
    new_class(o, 'CPlotText')
    o.int(100)
    o.int(-200)
    o.string('Hello\r\nМир')
    o.string('Courier New')
    o.int(400)
    o.byte(1)
    o.byte(0)
    o.dword(0x0000FF)
    o.int(40)
    o.int(0)
    o.int(0)  # draw text
    o.dword(0x00FFFF)
    o.dword(7)  # reserved
    o.int(3)  # position
    o.int(1)  # background
    o.int(0)  # shadow
    plot_val(o, 1, [(0.0, 0.0, float(i)) for i in range(8)],
             [(100, -200)] * 8, 62, 0, 'note')
    # editor settings
    o.int(15)
    o.int(0)
    o.int(1)
    o.int(0)
    o.int(1)
    o.string('pic.bmp')
    # distribution: mode, density, diagram
    o.int(2)
    for v in (1, 0, 1, 0):
        o.int(v)
    o.int(2)  # quality: the cells are derived from it again
    for v in (0.5, 0.5, 0.9, 0.9):
        o.double(v)
    o.int(1)  # kernel
    o.int(1)  # transparent
    o.int(2)  # show mode
    o.int(1)  # select outside
    o.double(90.0)
    o.double(10.0)
    o.int(1)
    o.dword(255)
    o.count(3)
    for c in (255, 0x00FF00, 0xFF0000):
        o.dword(c)
    o.double(0.2)
    o.double(0.5)
    o.int(1)
    o.dword(0x112233)
    for v in (0, 1, 0, 1):
        o.int(v)
    o.int(2)  # symbols
    o.double(2.0)  # clamped to 1.0 cm when read
    o.double(0.01)  # clamped to 0.05 cm
    o.int(1)
    o.int(1)
    o.int(0)
    # legend (version above 1.03)
    o.int(1)
    for v in (10, -10, 300, -80):
        o.int(v)
    o.dword(0)
    return bytes(o.b)


def main():
    with open(os.path.join(HERE, 'sample-v104.tmr'), 'wb') as f:
        f.write(sample_v104())


if __name__ == '__main__':
    main()
