#!/usr/bin/env python3
"""Draws the program's two icons and writes them as .ico files (32x32 and 16x16, 32-bit).
delete.ico: a document with a red cross (the uninstaller file); program.ico: a blue box
with a yellow band (the archiver window). Run it again after changing the drawing."""
import struct, sys, os

def draw(size, kind):
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    s = size / 32.0
    def rect(x0, y0, x1, y1, c):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                px[y][x] = c
    if kind == "program":
        rect(3, 6, 29, 28, (40, 60, 150, 255))
        rect(5, 8, 27, 26, (70, 110, 210, 255))
        rect(14, 6, 18, 28, (240, 200, 40, 255))
        rect(10, 14, 22, 19, (240, 200, 40, 255))
    else:
        rect(6, 3, 24, 29, (90, 90, 90, 255))
        rect(7, 4, 23, 28, (250, 250, 250, 255))
        for i in range(int(18 * s)):
            for t in range(max(1, int(2 * s))):
                for (x, y) in ((int(11 * s) + i + t, int(11 * s) + i), (int(29 * s) - i - t - 1, int(11 * s) + i)):
                    if 0 <= x < size and 0 <= y < size:
                        px[y][x] = (210, 30, 30, 255)
    return px

def image(size, kind):
    px = draw(size, kind)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b"".join(b"".join(struct.pack("BBBB", b, g, r, a) for (r, g, b, a) in px[y]) for y in reversed(range(size)))
    mask_row = ((size + 31) // 32) * 4
    return header + rows + b"\0" * (mask_row * size)

def ico(kind):
    sizes = [32, 16]
    images = [image(n, kind) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)

here = os.path.dirname(os.path.abspath(__file__))
for kind, name in (("delete", "delete.ico"), ("program", "program.ico")):
    with open(os.path.join(here, name), "wb") as f:
        f.write(ico(kind))
