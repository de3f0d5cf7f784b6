#!/usr/bin/env python3
"""png_check.py IMAGE.png EXPECTED.ppm RESULT: decodes an 8-bit RGB PNG without
Wine's imaging code and writes to RESULT "same" when it holds the pixels of the
binary PPM, or what differs. The end-to-end driver runs it and waits for RESULT."""
import os
import struct
import sys
import zlib


def decode_png(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG file"
    pos, chunks = 8, {}
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        chunks.setdefault(kind, []).append(data[pos + 8:pos + 8 + length])
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[b"IHDR"][0])
    assert (depth, colour, interlace) == (8, 2, 0), f"depth {depth}, colour type {colour}, interlace {interlace}"
    raw, stride, rows = zlib.decompress(b"".join(chunks[b"IDAT"])), width * 3, [bytearray(width * 3)]
    for y in range(height):
        kind, line, up = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)]), rows[-1]
        for x in range(stride):
            a, b, c = (line[x - 3], up[x], up[x - 3]) if x >= 3 else (0, up[x], 0)
            pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
            paeth = a if pa <= pb and pa <= pc else b if pb <= pc else c
            line[x] = (line[x] + (0, a, b, (a + b) // 2, paeth)[kind]) & 0xFF
        rows.append(line)
    return width, height, b"".join(rows[1:])


def compare(image, expected):
    (w, h, png), (magic, ew, eh, _, ppm) = decode_png(image), expected.split(maxsplit=4)
    if (magic, w, h) != (b"P6", int(ew), int(eh)):
        return f"the image is {w} x {h}, expected {int(ew)} x {int(eh)}"
    wrong = next((i for i in range(0, len(png), 3) if png[i:i + 3] != ppm[i:i + 3]), None)
    if wrong is None:
        return "same"
    x, y = wrong // 3 % w, wrong // 3 // w
    return f"pixel ({x}, {y}) is {tuple(png[wrong:wrong + 3])}, the screen shows {tuple(ppm[wrong:wrong + 3])}"


if __name__ == "__main__":
    try:
        with open(sys.argv[1], "rb") as image, open(sys.argv[2], "rb") as expected:
            result = compare(image.read(), expected.read())
    except Exception as error:  # the driver shows whatever went wrong
        result = f"{type(error).__name__}: {error}"
    with open(sys.argv[3] + ".part", "w") as out:
        out.write(result)
    os.replace(sys.argv[3] + ".part", sys.argv[3])
