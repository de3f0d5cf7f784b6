#!/usr/bin/env python3
"""Builds MosaikonTerminal.fon, the bundled raster "Terminal" font (OEM character set, CP437 order).

Glyphs come from the public-domain X11 misc-fixed fonts (read as BDF through pcf2bdf); the shade, block and
box-drawing characters are drawn here so they fill the cell exactly and join their neighbours seamlessly.
The result is a 16-bit NE module holding a FONTDIR and one FNT 2.0 resource per cell size.

Usage: mkfont.py [--pcf-dir DIR] [--pcf2bdf PROGRAM] OUTPUT.fon
"""

import argparse
import gzip
import os
import struct
import subprocess
import sys

FACE_NAME = b"Terminal"
COPYRIGHT = b"Glyphs from the X11 misc-fixed fonts (public domain)"
OEM_CHARSET = 255
FF_MODERN_FIXED = 0x30  # FF_MODERN; bit 0 clear means fixed pitch
RESOLUTION = 96

# (cell width, cell height, source font, scale): the source is fitted into the cell divided by the scale, then
# every pixel is scaled up, which keeps the large sizes as sturdy as the small ones.
STRIKES = [
    (4, 6, "4x6", 1),
    (6, 8, "5x8", 1),
    (8, 12, "8x13", 1),
    (12, 16, "5x8", 2),
    (16, 24, "8x13", 2),
]

# CP437 control-code positions show these symbols; 0x80-0xFF come from Python's codec.
LOW_SYMBOLS = (
    "\u0000\u263a\u263b\u2665\u2666\u2663\u2660\u2022\u25d8\u25cb\u25d9\u2642\u2640\u266a\u266b\u263c"
    "\u25ba\u25c4\u2195\u203c\u00b6\u00a7\u25ac\u21a8\u2191\u2193\u2192\u2190\u221f\u2194\u25b2\u25bc"
)

# Stand-ins tried in order when a source font lacks a character.
ALTERNATES = {
    "\u25ba": "\u25b6\u25b8",
    "\u25c4": "\u25c0\u25c2",
    "\u2022": "\u00b7",
    "\u263b": "\u263a",
    "\u00a0": " ",
}


# The 4x6 source lacks some symbols; these stand in for them (rows top to bottom, '#' set).
TINY_SYMBOLS = {
    0x01: ["....", "#.#.", "....", "#.#.", ".#..", "...."],
    0x02: ["###.", "#.#.", "###.", "#.#.", ".#..", "...."],
    0x09: ["....", ".#..", "#.#.", ".#..", "....", "...."],
    0x0B: [".###", "...#", "##.#", "##..", "....", "...."],
    0x0C: [".#..", "#.#.", ".#..", "###.", ".#..", "...."],
    0x0F: [".#..", "###.", "#.#.", "###.", ".#..", "...."],
    0x10: ["#...", "##..", "###.", "##..", "#...", "...."],
    0x11: ["..#.", ".##.", "###.", ".##.", "..#.", "...."],
    0x13: ["#.#.", "#.#.", "#.#.", "....", "#.#.", "...."],
    0x17: [".#..", "###.", ".#..", "###.", ".#..", "###."],
    0x1E: ["....", ".#..", "###.", "###.", "....", "...."],
    0x1F: ["....", "###.", "###.", ".#..", "....", "...."],
    0x7F: ["....", ".#..", "#.#.", "#.#.", "###.", "...."],
}


def Cp437ToUnicode(code):
    if code < 0x20:
        return LOW_SYMBOLS[code]
    if code == 0x7F:
        return "\u2302"
    return bytes([code]).decode("cp437")


# --- Source fonts ---------------------------------------------------------------------------------------------


class SourceFont:
    """A BDF font rendered into its own bounding box: glyphs[codepoint] = list of rows of 0/1."""

    def __init__(self, bdf_text):
        lines = iter(bdf_text.splitlines())
        props, raw = {}, {}
        for line in lines:
            key, _, value = line.partition(" ")
            if key in ("FONTBOUNDINGBOX", "FONT_ASCENT", "FONT_DESCENT"):
                props[key] = [int(v) for v in value.split()]
            elif key == "STARTCHAR":
                self._ReadChar(lines, raw)
        self.width = props["FONTBOUNDINGBOX"][0]
        self.ascent = props["FONT_ASCENT"][0]
        self.height = self.ascent + props["FONT_DESCENT"][0]
        self.glyphs = {code: self._Place(bbx, rows) for code, (bbx, rows) in raw.items()}

    @staticmethod
    def _ReadChar(lines, raw):
        code, bbx, rows = None, None, []
        for line in lines:
            key, _, value = line.partition(" ")
            if key == "ENCODING":
                code = int(value.split()[0])
            elif key == "BBX":
                bbx = [int(v) for v in value.split()]
            elif key == "BITMAP":
                for row in lines:
                    if row == "ENDCHAR":
                        break
                    rows.append(int(row, 16) if row else 0)
                break
        if code is not None and code >= 0 and bbx:
            raw[code] = (bbx, rows)

    def _Place(self, bbx, rows):
        w, h, xoff, yoff = bbx
        grid = [[0] * self.width for _ in range(self.height)]
        row_bits = ((w + 7) // 8) * 8
        top = self.ascent - (yoff + h)
        for r, bits in enumerate(rows[:h]):
            y = top + r
            if not 0 <= y < self.height:
                continue
            for c in range(w):
                x = xoff + c
                if 0 <= x < self.width and bits >> (row_bits - 1 - c) & 1:
                    grid[y][x] = 1
        return grid


def LoadSource(name, pcf_dir, pcf2bdf):
    path = os.path.join(pcf_dir, name + ".pcf.gz")
    if not os.path.exists(path):
        path = os.path.join(pcf_dir, name + ".pcf")
    with open(path, "rb") as handle:
        data = handle.read()
    if data[:2] == b"\x1f\x8b":
        data = gzip.decompress(data)
    bdf = subprocess.run([pcf2bdf], input=data, stdout=subprocess.PIPE, check=True).stdout
    return SourceFont(bdf.decode("latin-1"))


# --- Fitting source glyphs into a cell ------------------------------------------------------------------------


def BestOffset(extra, counts):
    """Offset of the source within the cell along one axis. extra = cell - source; when the source is larger,
    the window losing the fewest ink pixels (counts per source line) wins, ties going to the centre."""
    if extra >= 0:
        return extra // 2
    span = len(counts) + extra
    best = None
    for start in range(-extra + 1):
        lost = sum(counts) - sum(counts[start : start + span])
        key = (lost, abs(2 * start + extra))
        if best is None or key < best[0]:
            best = (key, -start)
    return best[1]


def FitGlyphs(source, codes, width, height):
    """Places every CP437 glyph of the source into a width x height cell; returns (glyphs, ascent)."""
    chosen = {}
    for code in codes:
        for ch in Cp437ToUnicode(code) + ALTERNATES.get(Cp437ToUnicode(code), ""):
            if ord(ch) in source.glyphs:
                chosen[code] = source.glyphs[ord(ch)]
                break
    rows = [sum(sum(g[y]) for g in chosen.values()) for y in range(source.height)]
    cols = [sum(g[y][x] for g in chosen.values() for y in range(source.height)) for x in range(source.width)]
    dy = BestOffset(height - source.height, rows)
    dx = BestOffset(width - source.width, cols)
    glyphs = {}
    for code, grid in chosen.items():
        cell = Blank(width, height)
        for y in range(height):
            for x in range(width):
                sy, sx = y - dy, x - dx
                if 0 <= sy < source.height and 0 <= sx < source.width:
                    cell[y][x] = grid[sy][sx]
        glyphs[code] = cell
    return glyphs, source.ascent + dy


def Blank(width, height):
    return [[0] * width for _ in range(height)]


def Scale(grid, factor):
    return [[v for v in row for _ in range(factor)] for row in grid for _ in range(factor)]


# --- Characters drawn by code ---------------------------------------------------------------------------------

# Box-drawing arms (up, down, left, right): 0 none, 1 single, 2 double.
BOX_ARMS = {
    0xB3: (1, 1, 0, 0), 0xB4: (1, 1, 1, 0), 0xB5: (1, 1, 2, 0), 0xB6: (2, 2, 1, 0),
    0xB7: (0, 2, 1, 0), 0xB8: (0, 1, 2, 0), 0xB9: (2, 2, 2, 0), 0xBA: (2, 2, 0, 0),
    0xBB: (0, 2, 2, 0), 0xBC: (2, 0, 2, 0), 0xBD: (2, 0, 1, 0), 0xBE: (1, 0, 2, 0),
    0xBF: (0, 1, 1, 0), 0xC0: (1, 0, 0, 1), 0xC1: (1, 0, 1, 1), 0xC2: (0, 1, 1, 1),
    0xC3: (1, 1, 0, 1), 0xC4: (0, 0, 1, 1), 0xC5: (1, 1, 1, 1), 0xC6: (1, 1, 0, 2),
    0xC7: (2, 2, 0, 1), 0xC8: (2, 0, 0, 2), 0xC9: (0, 2, 0, 2), 0xCA: (2, 0, 2, 2),
    0xCB: (0, 2, 2, 2), 0xCC: (2, 2, 0, 2), 0xCD: (0, 0, 2, 2), 0xCE: (2, 2, 2, 2),
    0xCF: (1, 0, 2, 2), 0xD0: (2, 0, 1, 1), 0xD1: (0, 1, 2, 2), 0xD2: (0, 2, 1, 1),
    0xD3: (2, 0, 0, 1), 0xD4: (1, 0, 0, 2), 0xD5: (0, 1, 0, 2), 0xD6: (0, 2, 0, 1),
    0xD7: (2, 2, 1, 1), 0xD8: (1, 1, 2, 2), 0xD9: (1, 0, 1, 0), 0xDA: (0, 1, 0, 1),
}


def DrawBox(arms, width, height, scale):
    """Single lines run through the cell centre; double lines are two lines one stroke apart. Every arm runs
    to the cell edge so neighbouring cells join."""
    up, down, left, right = arms
    t = scale
    grid = Blank(width, height)

    def Fill(x0, x1, y0, y1):
        for y in range(max(0, y0), min(height, y1)):
            for x in range(max(0, x0), min(width, x1)):
                grid[y][x] = 1

    # Centre stroke and the two strokes of a double line, per axis (x for vertical lines, y for horizontal).
    cx, cy = (width // t - 1) // 2 * t, (height // t - 1) // 2 * t
    ax, bx, ay, by = cx - t, cx + t, cy - t, cy + t
    h_double, v_double = 2 in (left, right), 2 in (up, down)

    # Horizontal strokes.
    if h_double:
        for line_y, near, far in ((ay, up, down), (by, down, up)):
            # Where a line of the horizontal pair stops at the centre depends on the vertical pair: it turns
            # into the inner stroke on its own side and runs to the outer stroke on the far side.
            if near == 2:
                stop_l, start_r = ax + t, bx
            elif far == 2:
                stop_l, start_r = bx + t, ax
            else:
                stop_l, start_r = cx + t, cx
            if left:
                Fill(0, stop_l, line_y, line_y + t)
            if right:
                Fill(start_r, width, line_y, line_y + t)
    else:
        # A single line meeting a double pair: it crosses both strokes when it goes on through, ends on the
        # near stroke of a T, and reaches the far stroke at a corner.
        tee = up and down
        stop_l = cx + t if not v_double else (width if right else ax + t if tee else bx + t)
        start_r = cx if not v_double else (0 if left else bx if tee else ax)
        if left:
            Fill(0, stop_l, cy, cy + t)
        if right:
            Fill(start_r, width, cy, cy + t)

    # Vertical strokes, mirroring the above.
    if v_double:
        for line_x, near, far in ((ax, left, right), (bx, right, left)):
            if near == 2:
                stop_u, start_d = ay + t, by
            elif far == 2:
                stop_u, start_d = by + t, ay
            else:
                stop_u, start_d = cy + t, cy
            if up:
                Fill(line_x, line_x + t, 0, stop_u)
            if down:
                Fill(line_x, line_x + t, start_d, height)
    else:
        tee = left and right
        stop_u = cy + t if not h_double else (height if down else ay + t if tee else by + t)
        start_d = cy if not h_double else (0 if up else by if tee else ay)
        if up:
            Fill(cx, cx + t, 0, stop_u)
        if down:
            Fill(cx, cx + t, start_d, height)
    return grid


def DrawShade(level, width, height):
    """Light (1), medium (2) and dark (3) shades; the patterns tile across neighbouring cells."""
    grid = Blank(width, height)
    for y in range(height):
        for x in range(width):
            if width % 4 == 0:
                light = x % 4 == (0 if y % 2 else 2)
            else:
                light = x % 2 == 0 and y % 2 == 0
            medium = (x + y) % 2 == 0
            grid[y][x] = int(light if level == 1 else medium if level == 2 else not light)
    return grid


def DrawBlock(code, width, height):
    x0, x1, y0, y1 = {
        0xDB: (0, width, 0, height),
        0xDC: (0, width, height // 2, height),
        0xDD: (0, width // 2, 0, height),
        0xDE: (width // 2, width, 0, height),
        0xDF: (0, width, 0, height // 2),
    }[code]
    return [[int(x0 <= x < x1 and y0 <= y < y1) for x in range(width)] for y in range(height)]


def Invert(grid):
    return [[1 - v for v in row] for row in grid]


def DrawnGlyph(code, width, height, scale):
    if code in (0xB0, 0xB1, 0xB2):
        return DrawShade(code - 0xAF, width, height)
    if code in BOX_ARMS:
        return DrawBox(BOX_ARMS[code], width, height, scale)
    if 0xDB <= code <= 0xDF:
        return DrawBlock(code, width, height)
    return None


def BuildStrike(width, height, source, scale):
    """Returns (glyph grids for codes 0..255, ascent)."""
    base_w, base_h = width // scale, height // scale
    fitted, ascent = FitGlyphs(source, range(256), base_w, base_h)
    if (base_w, base_h) == (4, 6):
        for code, rows in TINY_SYMBOLS.items():
            fitted.setdefault(code, [[int(c == "#") for c in row] for row in rows])
    glyphs = []
    for code in range(256):
        grid = DrawnGlyph(code, width, height, scale)
        if grid is None:
            base = fitted.get(code)
            if base is None and code in (0x08, 0x0A) and code - 1 in fitted:
                base = Invert(fitted[code - 1])  # inverse bullet and inverse circle
            if base is None and code == 0x16:
                base = DrawBlock(0xDC, base_w, base_h)  # thick bar: the lower half of the cell
                base = [row if y < base_h * 3 // 4 else [0] * base_w for y, row in enumerate(base)]
            if base is None or code in (0x00, 0x20, 0xFF):
                base = Blank(base_w, base_h)
            grid = Scale(base, scale)
        glyphs.append(grid)
    return glyphs, ascent * scale


# --- FNT 2.0 resource -----------------------------------------------------------------------------------------

FNT_HEADER = struct.Struct("<HI60sHHHHHHHBBBHBHHBHHBBBBHIIIIB")
assert FNT_HEADER.size == 118


def BuildFnt(glyphs, width, height, ascent):
    columns = (width + 7) // 8
    glyph_size = columns * height
    count = len(glyphs) + 1  # the table carries one extra blank entry after the last character
    table_offset = FNT_HEADER.size
    bits_offset = table_offset + 4 * count
    face_offset = bits_offset + glyph_size * count
    size = face_offset + len(FACE_NAME) + 1

    table = bytearray()
    bits = bytearray()
    for index in range(count):
        grid = glyphs[index] if index < len(glyphs) else Blank(width, height)
        table += struct.pack("<HH", width, bits_offset + index * glyph_size)
        # FNT bitmaps are stored column by column, eight pixels wide, top row first.
        for column in range(columns):
            for row in grid:
                byte = 0
                for bit in range(8):
                    x = column * 8 + bit
                    if x < width and row[x]:
                        byte |= 0x80 >> bit
                bits.append(byte)

    points = round(height * 72 / RESOLUTION)
    header = FNT_HEADER.pack(
        0x0200, size, COPYRIGHT, 0, points, RESOLUTION, RESOLUTION, ascent, 0, 0,
        0, 0, 0, 400, OEM_CHARSET, width, height, FF_MODERN_FIXED, width, width,
        0, 255, ord("?"), ord(" "), (width * count + 15) // 16 * 2, 0, face_offset, 0, 0, 0)
    data = header + table + bits + FACE_NAME + b"\0"
    assert len(data) == size
    return data


# --- NE module ------------------------------------------------------------------------------------------------

ALIGN_SHIFT = 4
RT_FONTDIR = 0x8007
RT_FONT = 0x8008


def Align(data, shift=ALIGN_SHIFT):
    return data + b"\0" * (-len(data) % (1 << shift))


def BuildFontDir(fonts):
    # Each entry is the font's ordinal and the first 113 bytes of its header, then device and face names.
    data = struct.pack("<H", len(fonts))
    for ordinal, fnt in enumerate(fonts, 1):
        data += struct.pack("<H", ordinal) + fnt[:113] + b"\0" + FACE_NAME + b"\0"
    return data


def BuildNe(fonts, module_name=b"TERMINAL"):
    dos_stub = bytes.fromhex("b8014ccd21")  # mov ax,4C01h; int 21h
    mz = bytearray(64)
    struct.pack_into("<2sHHHHHHHHHHHHH", mz, 0, b"MZ", 64 + len(dos_stub), 1, 0, 4, 0, 0xFFFF, 0, 0xB8,
                     0, 0, 0, 0x40, 0)
    ne_offset = len(Align(bytes(mz) + dos_stub))
    struct.pack_into("<I", mz, 0x3C, ne_offset)
    prefix = Align(bytes(mz) + dos_stub)

    resources = [(RT_FONTDIR, [BuildFontDir(fonts)]), (RT_FONT, fonts)]
    resident = bytes([len(module_name)]) + module_name + b"\0\0" + b"\0"
    description = b"FONTRES 100,%d,%d : Terminal" % (RESOLUTION, RESOLUTION)
    nonresident = bytes([len(description)]) + description + b"\0\0" + b"\0"

    def ResourceTable(offsets):
        table = struct.pack("<H", ALIGN_SHIFT)
        index = 0
        for type_id, items in resources:
            table += struct.pack("<HHI", type_id, len(items), 0)
            for number, item in enumerate(items, 1):
                units = (len(item) + (1 << ALIGN_SHIFT) - 1) >> ALIGN_SHIFT
                # 0x1C30: movable, pure, discardable, preloaded as fonts are.
                table += struct.pack("<HHHHHH", offsets[index], units, 0x1C30, 0x8000 | number, 0, 0)
                index += 1
        return table + b"\0\0" + b"\0"

    item_count = sum(len(items) for _, items in resources)
    rsrc_len = len(ResourceTable([0] * item_count))
    rsrc_offset = 0x40
    resident_offset = rsrc_offset + rsrc_len
    modref_offset = imports_offset = resident_offset + len(resident)
    entry_offset = imports_offset + 1
    entry = b"\0\0"
    nonresident_file = ne_offset + entry_offset + len(entry)
    data_start = len(Align(prefix + b"\0" * (entry_offset + len(entry)) + nonresident))

    offsets, position = [], data_start
    for _, items in resources:
        for item in items:
            offsets.append(position >> ALIGN_SHIFT)
            position += len(Align(item))

    ne = struct.pack(
        "<2sBBHHIHHHHIIHHHHHHHHIHHHBBHHHH",
        b"NE", 5, 10, entry_offset, len(entry), 0, 0x8300, 0, 0, 0, 0, 0, 0, 0, len(nonresident),
        0x40, rsrc_offset, resident_offset, modref_offset, imports_offset, nonresident_file, 0, ALIGN_SHIFT,
        0, 2, 0, 0, 0, 0, 0x300)
    assert len(ne) == 0x40
    header = ne + ResourceTable(offsets) + resident + b"\0" + entry
    out = Align(prefix + header + nonresident)
    assert len(out) == data_start
    for _, items in resources:
        for item in items:
            out += Align(item)
    return bytes(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output")
    parser.add_argument("--pcf-dir", default="/usr/share/fonts/X11/misc")
    parser.add_argument("--pcf2bdf", default="pcf2bdf")
    args = parser.parse_args()

    sources = {}
    fonts = []
    for width, height, name, scale in STRIKES:
        if name not in sources:
            sources[name] = LoadSource(name, args.pcf_dir, args.pcf2bdf)
        glyphs, ascent = BuildStrike(width, height, sources[name], scale)
        fonts.append(BuildFnt(glyphs, width, height, ascent))

    with open(args.output + ".tmp", "wb") as handle:
        handle.write(BuildNe(fonts))
    os.replace(args.output + ".tmp", args.output)
    return 0


if __name__ == "__main__":
    sys.exit(main())
