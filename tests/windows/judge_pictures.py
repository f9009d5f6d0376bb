#!/usr/bin/env python3
"""Compares the handset's pictures of a drive with the Windows build's, pixel by pixel.

The handset's shot is the whole screen; the Windows shot is the game window's client
area, the screen less the taskbar and the soft-key bar. Differences are sorted by what
drew them: the HUD's text (fonts are the platform's choice), the wide pens' strokes (the
road's 33-pixel pen and the needle's 2-pixel pen, whose caps and joins the platform
draws), and everything else, which has one right answer and must be identical.
"""
import argparse
import struct
import sys
import zlib

# What the game draws where (game/render/frame.cpp, game/core/road_pass.cpp,
# game/render/surfaces.cpp).
HUD_HEIGHT = 200
LABEL_X = 10
BEST_ROW = 100  # the upper text row, above the client area's bottom
DIAL_OFFSET = 72
DIAL_SIZE = 64
GRASS = (50, 200, 80)
ROAD = (120, 120, 120)
LINE = (200, 200, 200)
NEEDLE = (200, 200, 150)


def read_png(path):
    """(width, height, rows of RGB bytes) of an 8-bit RGB or RGBA PNG without interlace."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    at, idat, header = 8, [], None
    while at < len(data):
        (length,) = struct.unpack(">I", data[at:at + 4])
        kind = data[at + 4:at + 8]
        body = data[at + 8:at + 8 + length]
        at += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
    if header is None:
        raise ValueError(f"{path}: no IHDR chunk")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise ValueError(f"{path}: only 8-bit RGB or RGBA without interlace is read (depth {depth}, type {colour})")
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(idat))
    stride = width * channels
    if len(raw) != (stride + 1) * height:
        raise ValueError(f"{path}: image data of {len(raw)} bytes, expected {(stride + 1) * height}")
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        if kind == 1:
            for i in range(channels, stride):
                line[i] = (line[i] + line[i - channels]) & 0xFF
        elif kind == 2:
            line = bytearray((a + b) & 0xFF for a, b in zip(line, previous))
        elif kind == 3:
            for i in range(stride):
                left = line[i - channels] if i >= channels else 0
                line[i] = (line[i] + ((left + previous[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                a = line[i - channels] if i >= channels else 0
                b = previous[i]
                c = previous[i - channels] if i >= channels else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
        elif kind != 0:
            raise ValueError(f"{path}: row {y} has filter {kind}")
        rows.append(bytes(line) if channels == 3 else bytes(b for i, b in enumerate(line) if i % 4 != 3))
        previous = line
    return width, height, rows


# How far apart the two platforms' edges of one stroke may lie.
EDGE_REACH = 2


def pixel(rows, x, y):
    return tuple(rows[y][3 * x:3 * x + 3])


def near(rows, x, y, width, top, bottom, wanted, same):
    """Whether a pixel within EDGE_REACH of (x, y), rows top..bottom, is (or, same False, is not) `wanted`."""
    for v in range(max(top, y - EDGE_REACH), min(bottom, y + EDGE_REACH + 1)):
        for u in range(max(0, x - EDGE_REACH), min(width, x + EDGE_REACH + 1)):
            if (pixel(rows, u, v) == wanted) == same:
                return True
    return False


def stroke_edge(pens, ground, ours, theirs, at):
    """Whether the two pictures part only where one pen's stroke ends: each colour a pen
    or what pens draw over, and each picture's stroke edge within reach of the other's."""
    x, y, width, top, bottom, ours_rows, theirs_rows = at
    if not (ours in pens or theirs in pens) or ours not in pens + ground or theirs not in pens + ground:
        return False
    for colour, has, lacks in ((ours, ours_rows, theirs_rows), (theirs, theirs_rows, ours_rows)):
        if colour in pens and not (near(lacks, x, y, width, top, bottom, colour, True)
                                   and near(has, x, y, width, top, bottom, colour, False)):
            return False
    return True


def kind_of(x, y, width, height, ours_rows, theirs_rows):
    """'text', 'road' (the 33-pixel pen), 'needle' (the 2-pixel pen) or 'other' for a
    pixel the two pictures disagree on; rows are the client area's, top down."""
    ours, theirs = pixel(ours_rows, x, y), pixel(theirs_rows, x, y)
    dial_left, dial_top = width - DIAL_OFFSET, height - DIAL_OFFSET
    in_dial = dial_left <= x < dial_left + DIAL_SIZE and dial_top <= y < dial_top + DIAL_SIZE
    playfield = height - HUD_HEIGHT
    if y < playfield:
        at = (x, y, width, 0, playfield, ours_rows, theirs_rows)
        return "road" if stroke_edge((ROAD, LINE), (GRASS,), ours, theirs, at) else "other"
    if in_dial:
        # The dial is blitted over the text; only the needle is drawn on it, over any of
        # the face's colours.
        at = (x, y, width, dial_top, dial_top + DIAL_SIZE, ours_rows, theirs_rows)
        face = tuple({ours, theirs} - {NEEDLE})
        return "needle" if stroke_edge((NEEDLE,), face, ours, theirs, at) else "other"
    if y >= height - BEST_ROW and x >= LABEL_X:
        return "text"
    return "other"


def compare(handset_path, windows_path, bar, first_others):
    width, screen_height, handset = read_png(handset_path)
    ww, wh, windows = read_png(windows_path)
    height = screen_height - 2 * bar
    if (ww, wh) != (width, height):
        raise ValueError(f"{windows_path}: the window's client area is {ww}x{wh}, "
                         f"the phone's window on a {width}x{screen_height} screen is {width}x{height}")
    handset = handset[bar:bar + height]
    counts = {"compared": width * height, "identical": 0, "text": 0, "road": 0, "needle": 0, "other": 0}
    for y in range(height):
        if windows[y] == handset[y]:
            counts["identical"] += width
            continue
        for x in range(width):
            ours, theirs = pixel(windows, x, y), pixel(handset, x, y)
            if ours == theirs:
                counts["identical"] += 1
                continue
            kind = kind_of(x, y, width, height, windows, handset)
            counts[kind] += 1
            if kind == "other" and len(first_others) < 5:
                first_others.append(f"({x},{y}) Windows {ours} handset {theirs}")
    return counts


def summary(counts):
    return (f"{counts['compared']} compared, {counts['identical']} identical, different: {counts['text']} text, "
            f"{counts['road']} road pen (33 px), {counts['needle']} needle pen (2 px), {counts['other']} other")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--screen", required=True, help="WxH, the phone's screen")
    parser.add_argument("handset", help="the handset's shots")
    parser.add_argument("windows", help="the Windows build's shots")
    parser.add_argument("names", nargs="+", help="the shots' names")
    args = parser.parse_args()
    width = int(args.screen.split("x")[0])
    bar = 26 * (96 if width < 480 else 192) // 96
    total = dict.fromkeys(("compared", "identical", "text", "road", "needle", "other"), 0)
    failed = False
    for name in args.names:
        first_others = []
        try:
            counts = compare(f"{args.handset}/{name}.png", f"{args.windows}/{name}.png", bar, first_others)
        except (OSError, ValueError) as error:
            print(f"{args.screen} {name}: {error}", file=sys.stderr)
            failed = True
            continue
        for key in total:
            total[key] += counts[key]
        print(f"{args.screen} {name}: {summary(counts)}")
        if counts["other"]:
            failed = True
            print(f"{args.screen} {name}: differences outside the text and the wide strokes, first at "
                  + "; ".join(first_others), file=sys.stderr)
    print(f"{args.screen} all: {summary(total)}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
