#!/usr/bin/env python3
"""Reads the handset's PNG screenshots (8-bit RGB or RGBA, not interlaced) for the
desktop test, without libraries beyond Python's own.

    png_regions.py count FILE X0 Y0 X1 Y1 COLOUR   pixels of an exact colour (RRGGBB)
    png_regions.py red FILE X0 Y0 X1 Y1            pixels of the car's red (R > 150, G and B < 90)
    png_regions.py same A B X0 Y0 X1 Y1            exit 0 when the two regions are identical
"""
import struct
import sys
import zlib


def read(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG")
    pos, chunks, header = 8, [], None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            chunks.append(body)
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        sys.exit(f"{path}: unsupported PNG layout")
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(chunks))
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return rows


def region(rows, x0, y0, x1, y1):
    return [row[x0:x1] for row in rows[y0:y1]]


def main(argv):
    what = argv[1]
    if what == "same":
        a, b = read(argv[2]), read(argv[3])
        box = [int(v) for v in argv[4:8]]
        sys.exit(0 if region(a, *box) == region(b, *box) else 1)
    rows = read(argv[2])
    box = [int(v) for v in argv[3:7]]
    pixels = [p for row in region(rows, *box) for p in row]
    if what == "count":
        wanted = tuple(bytes.fromhex(argv[7]))
        print(sum(1 for p in pixels if p == wanted))
    else:
        print(sum(1 for r, g, b in pixels if r > 150 and g < 90 and b < 90))


main(sys.argv)
