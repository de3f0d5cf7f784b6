#!/usr/bin/env python3
"""Writes the sample files in samples/: our own ANSI banner with a SAUCE record,
a plain text with tabs and links, a UTF-16LE text with a byte-order mark and a
GB2312 text. Deterministic, so regenerating changes nothing."""

import pathlib
import struct

SAMPLES = pathlib.Path(__file__).resolve().parent.parent / "samples"

ESC = b"\x1b["
WIDTH = 80  # the ANSI canvas; every row here stays below it so nothing wraps
LEFT, RIGHT = 2, 77  # frame columns

# CP437 bytes used below.
FULL, LIGHT, MEDIUM, DARK = 0xDB, 0xB0, 0xB1, 0xB2
LOWER_HALF, UPPER_HALF = 0xDC, 0xDF
TOP_LEFT, TOP_RIGHT, BOTTOM_LEFT, BOTTOM_RIGHT = 0xC9, 0xBB, 0xC8, 0xBC
HORIZONTAL, VERTICAL = 0xCD, 0xBA
MIDDLE_DOT = 0xFA

# 7-cell-wide block letters ("I" is 6), five rows each.
LETTERS = {
    "M": ["##   ##", "### ###", "## # ##", "##   ##", "##   ##"],
    "O": [" ##### ", "##   ##", "##   ##", "##   ##", " ##### "],
    "S": [" ######", "##     ", " ##### ", "     ##", "###### "],
    "A": [" ##### ", "##   ##", "#######", "##   ##", "##   ##"],
    "I": ["######", "  ##  ", "  ##  ", "  ##  ", "######"],
    "K": ["##   ##", "##  ## ", "#####  ", "##  ## ", "##   ##"],
    "N": ["##   ##", "###  ##", "## # ##", "##  ###", "##   ##"],
}
WORD = "MOSAIKON"
# One colour per letter, like the tiles of a mosaic (ANSI colour numbers).
LETTER_COLOURS = [1, 3, 2, 6, 4, 5, 1, 3]


def sgr(*values):
    return ESC + b";".join(str(v).encode() for v in values) + b"m"


def right(n):
    return ESC + str(n).encode() + b"C"


def move_to(row, column):
    # This viewer takes ESC[r;cH as zero-based row and column.
    return ESC + f"{row};{column}H".encode()


def colour(index):
    """SGR for palette index 0-15: a reset, then bright for 8-15."""
    return sgr(0, 1, 30 + index - 8) if index >= 8 else sgr(0, 30 + index)


def framed(content_cells):
    """A frame row: border, content (list of (attribute sgr, bytes)), border.
    Content is placed from column LEFT+1; runs of blanks become cursor moves."""
    out = bytearray(right(LEFT) + colour(12) + bytes([VERTICAL]))
    column = LEFT + 1
    for style, text in content_cells:
        stripped = text.lstrip(b" ")
        skip = len(text) - len(stripped)
        if skip:
            out += right(skip)
            column += skip
        if stripped:
            out += style + stripped
            column += len(stripped)
    assert column <= RIGHT, column
    if column < RIGHT:
        out += right(RIGHT - column)
    out += colour(12) + bytes([VERTICAL])
    return bytes(out)


def centered(style, text):
    inner = RIGHT - LEFT - 1
    pad = (inner - len(text)) // 2
    return [(style, b" " * pad + text)]


def banner_rows():
    """Five letter rows plus one shadow row, each a list of (style, bytes)."""
    widths = [len(LETTERS[c][0]) for c in WORD]
    total = sum(widths) + len(WORD) - 1
    inner = RIGHT - LEFT - 1
    start = (inner - total) // 2
    # The grid of cells: None (empty), ("block", colour) or ("shadow",).
    height = 6
    grid = [[None] * inner for _ in range(height)]
    column = start
    for letter, width, hue in zip(WORD, widths, LETTER_COLOURS):
        for r, line in enumerate(LETTERS[letter]):
            for c, mark in enumerate(line):
                if mark == "#":
                    # Top rows bright, lower rows in the dark form: a lit-from-above look.
                    grid[r][column + c] = ("block", hue + 8 if r < 3 else hue)
        column += width + 1
    for r in range(height - 1):
        for c in range(inner - 1):
            if grid[r][c] and grid[r][c][0] == "block" and grid[r + 1][c + 1] is None:
                grid[r + 1][c + 1] = ("shadow",)
    rows = []
    for r in range(height):
        runs = []
        for cell in grid[r]:
            if cell is None:
                style, byte = None, ord(" ")
            elif cell[0] == "block":
                style, byte = colour(cell[1]), FULL
            else:
                style, byte = colour(8), LIGHT
            if runs and runs[-1][0] == style:
                runs[-1][1].append(byte)
            else:
                runs.append((style, bytearray([byte])))
        # Trailing blanks are left to the frame's cursor move.
        while runs and runs[-1][0] is None:
            runs.pop()
        rows.append([(style or b"", bytes(text)) for style, text in runs])
    return rows


def make_ansi():
    inner = RIGHT - LEFT - 1
    rows = []
    tiles = [1, 3, 2, 6, 4, 5]
    rows.append(right(LEFT + 1) + b"".join(colour(tiles[i % 6] + 8) + bytes([LOWER_HALF]) for i in range(inner)))
    title = b" mosaikon.ans "
    side = (inner - len(title)) // 2
    rows.append(
        right(LEFT)
        + colour(12)
        + bytes([TOP_LEFT])
        + bytes([HORIZONTAL]) * side
        + colour(15)
        + title
        + colour(12)
        + bytes([HORIZONTAL]) * (inner - side - len(title))
        + bytes([TOP_RIGHT])
    )
    rows.append(framed([]))
    rows += [framed(cells) for cells in banner_rows()]
    rows.append(framed([]))
    ramp = bytes([LIGHT, MEDIUM, DARK, FULL, DARK, MEDIUM, LIGHT])
    ramp_cells = []
    for i, hue in enumerate(tiles):
        ramp_cells.append((colour(hue + 8) + sgr(40 + hue) if i % 2 else colour(hue + 8), ramp))
    pad = (inner - len(ramp) * len(ramp_cells)) // 2
    ramp_cells[0] = (ramp_cells[0][0], b" " * pad + ramp_cells[0][1])
    rows.append(framed(ramp_cells))
    rows.append(framed([]))
    rows.append(framed(centered(colour(14), b"a viewer for ASCII and ANSI art")))
    tagline_row = len(rows)
    rows.append(framed([]))  # the tagline is put here at the end, by cursor position
    swatches = []
    for index in range(16):
        swatches.append((colour(index), bytes([FULL, FULL])))
        swatches.append((b"", b" "))
    swatches[0] = (swatches[0][0], b" " * ((inner - 48) // 2) + swatches[0][1])
    rows.append(framed(swatches[:-1]))
    backgrounds = []
    for index in range(8):
        backgrounds.append((sgr(0, 1, 37, 40 + index), f" 4{index} ".encode()))
        backgrounds.append((sgr(0), b"  "))
    backgrounds.insert(0, (b"", b" " * ((inner - 46) // 2)))
    rows.append(framed(backgrounds[:-1]))
    rows.append(framed([]))
    rows.append(right(LEFT) + colour(12) + bytes([BOTTOM_LEFT]) + bytes([HORIZONTAL]) * inner + bytes([BOTTOM_RIGHT]))
    rows.append(right(LEFT + 1) + b"".join(colour(tiles[i % 6]) + bytes([UPPER_HALF]) for i in range(inner)))
    last = len(rows)
    tagline = bytes([MIDDLE_DOT]).join([b" CP437 ", b" 16 colours ", b" SAUCE "])
    rows.append(
        right(LEFT + 1)
        + colour(8)
        + b"made by scripts/make-samples.py"
        + move_to(tagline_row, LEFT + 1 + (inner - len(tagline)) // 2)
        + colour(11)
        + tagline
        # Back to this row, so the line break below starts a fresh row.
        + move_to(last, 0)
        + sgr(0)
    )
    assert len(rows) == 20, len(rows)
    art = b"\r\n".join(rows) + b"\r\n"
    return art + b"\x1a" + sauce(len(art), lines=len(rows))


def sauce(file_size, lines):
    """A 128-byte SAUCE 00 record for an 80-column ANSI file."""
    def field(text, size):
        return text.encode("ascii").ljust(size, b" ")

    record = (
        b"SAUCE00"
        + field("Mosaikon", 35)
        + field("Mosaikon project", 20)
        + field("", 20)
        + b"20261206"
        + struct.pack("<I", file_size)
        + bytes([1, 1])  # character data, ANSi
        + struct.pack("<HHHH", WIDTH, lines, 0, 0)
        + bytes([0, 0])  # no comment block, no flags
        + b"IBM VGA".ljust(22, b"\0")
    )
    assert len(record) == 128
    return record


def make_links():
    lines = [
        "Mosaikon sample: plain text with tabs and links",
        "",
        "name\tkind\taddress",
        "home\tweb\thttp://www.example.org/mosaikon/",
        "docs\tweb\thttp://example.com/docs/index.html?page=1&lang=en",
        "mirror\tftp\tftp://example.net/pub/ (not a link: only http:// is)",
        "",
        "A link inside a sentence, http://example.org/a/b, ends at the blank.",
        "In brackets (http://example.com/x). The bracket and stop are part of it.",
        "Two on one line: http://example.org/one\thttp://EXAMPLE.org/TWO",
        "HTTP://UPPER.EXAMPLE.COM/ is a link in capitals too.",
        "\tindented\tby\ttabs\t|",
        "1\t12\t123\t1234\t12345\t123456\t1234567\t12345678\t|",
        "",
        "End of sample.",
    ]
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def make_utf16():
    lines = [
        "UTF-16LE sample with a byte-order mark",
        "Café, naïve, Müller, Größe, señor",
        "Prices: 5 € and 3 £",
        "Tab\tseparated\tcolumns",
        "The end.",
    ]
    return b"\xff\xfe" + ("\r\n".join(lines) + "\r\n").encode("utf-16-le")


def make_gb2312():
    lines = [
        "GB2312 sample (Simplified Chinese)",
        "马赛克是一种用小块拼成图画的艺术。",
        "这个程序可以显示文本文件和彩色字符画。",
        "中文与 English 混排：第一行，第二行。",
        "End.",
    ]
    return ("\r\n".join(lines) + "\r\n").encode("gb2312")


def main():
    SAMPLES.mkdir(exist_ok=True)
    files = {
        "mosaikon.ans": make_ansi(),
        "readme-links.txt": make_links(),
        "utf16.txt": make_utf16(),
        "chinese-gb2312.txt": make_gb2312(),
    }
    for name, data in files.items():
        (SAMPLES / name).write_bytes(data)
        print(f"samples/{name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
