#!/usr/bin/env python3
"""Writes a large plain-text file for timing how fast a program opens it: CR LF lines of 80 ASCII columns,
every fifth line starting with a tab, every seventh carrying an http:// link. The same options give the same bytes.
  make_text.py [--size BYTES | --lines N] OUTPUT
"""
import argparse

WORDS = ("mosaic tile block shade panel border colour glyph column row screen frame cursor text line "
         "field scroll page view bright dark pattern corner edge").split()
WIDTH = 80


def make_line(number):
    """Returns line `number` (0-based) padded or cut to WIDTH columns, tabs counted as eight."""
    parts = []
    if number % 5 == 0:
        parts.append("\t")
    parts.append("%07d" % number)
    if number % 7 == 3:
        parts.append("http://example.com/art/%d/index.html" % (number % 997))
    state = number * 2654435761 % 2**32
    line = " ".join(parts).replace("\t ", "\t")
    while len(line.expandtabs(8)) < WIDTH:
        state = (state * 1103515245 + 12345) % 2**31
        line += " " + WORDS[state % len(WORDS)]
    return line[: len(line) - (len(line.expandtabs(8)) - WIDTH)]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    group = parser.add_mutually_exclusive_group()
    group.add_argument("--size", type=int, default=20 * 1024 * 1024, help="bytes to write (whole lines)")
    group.add_argument("--lines", type=int, help="lines to write")
    parser.add_argument("output")
    args = parser.parse_args()
    written = 0
    number = 0
    with open(args.output, "wb") as out:
        while (number < args.lines) if args.lines is not None else (written < args.size):
            data = (make_line(number) + "\r\n").encode("ascii")
            out.write(data)
            written += len(data)
            number += 1
    print("%s: %d lines, %d bytes" % (args.output, number, written))


if __name__ == "__main__":
    main()
