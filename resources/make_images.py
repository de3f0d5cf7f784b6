#!/usr/bin/env python3
"""Draws the program's images: the toolbar strip, the program icon and the
link cursor. Standard library only; the generated files are checked in, so the
build never runs this. Usage: make_images.py [output folder]."""

import math
import struct
import sys
from pathlib import Path

# Toolbar background. The toolbar maps this light grey to the button face
# (CreateMappedBitmap works on colour-table bitmaps, hence the 8-bit strip).
TRANSPARENT = (192, 192, 192)

COLOURS = {
    ".": TRANSPARENT,
    "k": (0, 0, 0),
    "w": (255, 255, 255),
    "g": (128, 128, 128),
    "l": (224, 224, 224),
    "y": (255, 224, 96),
    "o": (200, 144, 32),
    "r": (208, 0, 0),
    "R": (255, 96, 96),
    "b": (0, 64, 200),
    "B": (96, 160, 255),
    "n": (0, 0, 128),
    "G": (0, 160, 0),
    "d": (120, 72, 24),
    "s": (160, 160, 168),
}

# One 16 x 15 picture per toolbar button, in button order.
TOOLBAR = {
    "open": [
        "................",
        "................",
        "..kkkkk.........",
        ".kyyyyyk........",
        ".kyyyyyykkkkkk..",
        ".kyyyyyyyyyyyyk.",
        ".kyyyyyyyyyyyyk.",
        ".kyyykkkkkkkkkkk",
        ".kyykoooooooook.",
        ".kyykooooooook..",
        ".kykooooooook...",
        ".kykoooooook....",
        ".kkoooooook.....",
        ".kkkkkkkkkk.....",
        "................",
    ],
    "copy": [
        "kkkkkkk.........",
        "kwwwwwkk........",
        "kwgggwkwk.......",
        "kwwwwwkkkk......",
        "kwggkkkkkkk.....",
        "kwwwkwwwwwkk....",
        "kwggkwgggwkwk...",
        "kwwwkwwwwwkkkk..",
        "kwggkwgggggwwk..",
        "kwwwkwwwwwwwwk..",
        "kkkkkwgggggggk..",
        "....kwwwwwwwwk..",
        "....kwgggggggk..",
        "....kwwwwwwwwk..",
        "....kkkkkkkkkk..",
    ],
    "column": [
        "................",
        "k.k.k.k.k.k.k.k.",
        "................",
        "k.bb..bb..bb..k.",
        "..bb..bb..bb....",
        "k.bb..bb..bb..k.",
        "..bb..bb..bb....",
        "k.bb..bb..bb..k.",
        "..bb..bb..bb....",
        "k.bb..bb..bb..k.",
        "..bb..bb..bb....",
        "k.bb..bb..bb..k.",
        "................",
        "k.k.k.k.k.k.k.k.",
        "................",
    ],
    "gb": [
        "................",
        "................",
        "..rrrr..rrrrr...",
        ".rr..rr.rr..rr..",
        ".rr.....rr..rr..",
        ".rr.....rr..rr..",
        ".rr.....rrrrr...",
        ".rr.rrr.rr..rr..",
        ".rr..rr.rr..rr..",
        ".rr..rr.rr..rr..",
        "..rrrrr.rrrrr...",
        "................",
        "rrrrrrrrrrrrrrr.",
        "................",
        "................",
    ],
    "big5": [
        "................",
        "................",
        ".bbbbb..bbbbbb..",
        ".bb..bb.bb......",
        ".bb..bb.bb......",
        ".bb..bb.bbbbb...",
        ".bbbbb......bb..",
        ".bb..bb.....bb..",
        ".bb..bb.....bb..",
        ".bb..bb.bb..bb..",
        ".bbbbb...bbbb...",
        "................",
        "bbbbbbbbbbbbbbb.",
        "................",
        "................",
    ],
    "pin": [
        "................",
        ".........kkk....",
        "........kRRrk...",
        ".......kRRrrrk..",
        "......kRRrrrrk..",
        ".....kkRrrrrk...",
        "....krrkrrrk....",
        "....krrrkkk.....",
        ".....krrrk......",
        "....g.kkk.......",
        "...g............",
        "..g.............",
        ".g..............",
        "g...............",
        "................",
    ],
    "settings": [],  # drawn by Gear()
    "about": [],  # drawn by QuestionMark()
    "exit": [
        "................",
        "..kkkkkkkk......",
        "..kddddddk......",
        "..kddddddk......",
        "..kddddddk...G..",
        "..kddddddk...GG.",
        "..kddddkdGGGGGGG",
        "..kddddddGGGGGGG",
        "..kddddddk...GG.",
        "..kddddddk...G..",
        "..kddddddk......",
        "..kddddddk......",
        "..kddddddk......",
        "kkkkkkkkkkkk....",
        "................",
    ],
}


def Gear():
    cx, cy = 7.5, 7.0

    def Solid(x, y):
        r = math.hypot(x - cx, y - cy)
        tooth = math.cos(6 * math.atan2(y - cy, x - cx)) > 0.1
        return 2.2 < r <= (7.4 if tooth else 5.3)

    rows = []
    for y in range(15):
        row = ""
        for x in range(16):
            if not Solid(x, y):
                row += "."
            elif all(Solid(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                row += "s"
            else:
                row += "k"
        rows.append(row)
    return rows


def QuestionMark():
    glyph = [
        "...www...",
        "..ww.ww..",
        "......ww.",
        ".....ww..",
        "....ww...",
        "....ww...",
        ".........",
        "....ww...",
    ]
    rows = []
    cx, cy = 7.5, 7.0
    for y in range(15):
        row = ""
        for x in range(16):
            r = math.hypot(x - cx, y - cy)
            gx, gy = x - 4, y - 3
            if 0 <= gy < len(glyph) and 0 <= gx < 9 and glyph[gy][gx] == "w" and r < 6.5:
                row += "w"
            elif r <= 6.2:
                row += "b"
            elif r <= 7.3:
                row += "n"
            else:
                row += "."
        rows.append(row)
    return rows


def ToolbarPictures():
    pictures = dict(TOOLBAR)
    pictures["settings"] = Gear()
    pictures["about"] = QuestionMark()
    order = ["open", "copy", "column", "gb", "big5", "pin", "settings", "about", "exit"]
    result = []
    for name in order:
        picture = pictures[name]
        assert len(picture) == 15, name
        for row in picture:
            assert len(row) == 16, (name, row)
        result.append(picture)
    return result


def Bmp8(width, height, pixels):
    """8-bit bottom-up BMP; pixels is a list of rows of (r, g, b)."""
    palette = []
    for row in pixels:
        for colour in row:
            if colour not in palette:
                palette.append(colour)
    assert len(palette) <= 256
    stride = (width + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):
        line = bytes(palette.index(c) for c in row)
        data += line + bytes(stride - width)
    # A full 256-entry table: some loaders read 1 << bit count entries.
    palette += [(0, 0, 0)] * (256 - len(palette))
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return header + info + table + bytes(data)


def ToolbarBitmap():
    pictures = ToolbarPictures()
    pixels = []
    for y in range(15):
        row = []
        for picture in pictures:
            row.extend(COLOURS[c] for c in picture[y])
        pixels.append(row)
    return Bmp8(16 * len(pictures), 15, pixels)


# The program icon: an "M" laid in mosaic tiles, 5 x 5 tiles with grout.
MOSAIC = [
    "X...X",
    "XX.XX",
    "X.X.X",
    "X...X",
    "X...X",
]
TILE_COLOURS = [(255, 85, 85), (255, 170, 0), (255, 255, 85), (85, 255, 85), (85, 170, 255)]
GROUND_COLOURS = [(0, 0, 120), (20, 30, 150)]
GROUT = (40, 40, 48)


def IconPixels(size):
    """RGBA rows of the mosaic at 16 or 32 pixels."""
    tile = 2 if size == 16 else 5
    grout = 1
    span = 5 * tile + 6 * grout
    offset = (size - span) // 2
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            px, py = x - offset, y - offset
            if not (0 <= px < span and 0 <= py < span):
                row.append((0, 0, 0, 0))
                continue
            col, inx = divmod(px, tile + grout)
            line, iny = divmod(py, tile + grout)
            if inx < grout or iny < grout or col > 4 or line > 4:
                row.append(GROUT + (255,))
            elif MOSAIC[line][col] == "X":
                r, g, b = TILE_COLOURS[col]
                # A lighter top-left pixel gives the tiles some glaze.
                if size == 32 and inx == grout and iny == grout:
                    r, g, b = (min(255, r + 60), min(255, g + 60), min(255, b + 60))
                row.append((r, g, b, 255))
            else:
                row.append(GROUND_COLOURS[(col + line) % 2] + (255,))
        rows.append(row)
    return rows


def IconImage(size):
    """One icon directory image: BITMAPINFOHEADER, 32-bit XOR, 1-bit AND."""
    rows = IconPixels(size)
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def Ico():
    images = [IconImage(32), IconImage(16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


# The link cursor: a pointing hand, fingertip at (6, 0).
# "#" black, "o" white, "." transparent.
HAND = [
    ".....###",
    "....#ooo#",
    "....#ooo#",
    "....#ooo#",
    "....#ooo#",
    "....#ooo####",
    "....#ooo#ooo###",
    "....#ooo#ooo#oo##",
    "....#ooo#ooo#oo#o#",
    ".##.#ooo#ooo#oo#oo#",
    "#oo##ooo#ooo#oo#oo#",
    "#ooo#ooooooooooooo#",
    "#oooooooooooooooo#",
    ".#ooooooooooooooo#",
    "..#oooooooooooooo#",
    "..#ooooooooooooo#",
    "...#oooooooooooo#",
    "...#ooooooooooo#",
    "....#oooooooooo#",
    "....#oooooooooo#",
    "....############",
]
HOT_SPOT = (6, 0)


def Cur():
    size = 32
    rows = [(line + "." * size)[:size] for line in HAND] + ["." * size] * (size - len(HAND))
    assert rows[HOT_SPOT[1]][HOT_SPOT[0]] == "#"
    stride = 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        xbits, abits = bytearray(stride), bytearray(stride)
        for x, c in enumerate(row):
            bit = 0x80 >> (x % 8)
            if c == ".":
                abits[x // 8] |= bit  # screen shows through
            elif c == "o":
                xbits[x // 8] |= bit  # palette entry 1: white
        xor += xbits
        mask += abits
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    image = info + palette + bytes(xor) + bytes(mask)
    out = struct.pack("<HHH", 0, 2, 1)
    out += struct.pack("<BBBBHHII", size, size, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 6 + 16)
    return out + image


def main():
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent
    (folder / "toolbar.bmp").write_bytes(ToolbarBitmap())
    (folder / "mosaikon.ico").write_bytes(Ico())
    (folder / "link.cur").write_bytes(Cur())


if __name__ == "__main__":
    main()
