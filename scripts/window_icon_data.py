#!/usr/bin/env python3
"""Writes the window icon's pixels from PNG renderings of the icon.

    scripts/window_icon_data.py ICON-16.png ICON-32.png ... > data/icons/window-icon.argb

Each PNG (8-bit RGBA, not interlaced, as rsvg-convert writes them) becomes
its size and then its 0xAARRGGBB pixels, row by row from the top, all as
32-bit little-endian numbers, smallest size first; the build compiles the
file into the game. make icons runs it; only the standard library is needed.
"""

import struct
import sys
import zlib

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
RGBA = 6


def fail(message):
    print(f"window_icon_data.py: {message}", file=sys.stderr)
    sys.exit(1)


def chunks(data):
    offset = len(PNG_SIGNATURE)
    while offset + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[offset:offset + 8])
        yield kind, data[offset + 8:offset + 8 + length]
        offset += 12 + length


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(raw, width, height, step=4):
    """The pixel bytes of the image, row by row, with the PNG filters undone."""
    stride = width * step
    rows = []
    previous = bytearray(stride)
    offset = 0
    for _ in range(height):
        kind = raw[offset]
        line = bytearray(raw[offset + 1:offset + 1 + stride])
        offset += 1 + stride
        for i in range(stride):
            left = line[i - step] if i >= step else 0
            up = previous[i]
            up_left = previous[i - step] if i >= step else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                line[i] = (line[i] + paeth(left, up, up_left)) & 0xFF
            elif kind != 0:
                fail(f"unknown PNG filter {kind}")
        rows.append(bytes(line))
        previous = line
    return rows


def read_png(path):
    """(width, height, rows of RGBA bytes) of an 8-bit RGBA PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(PNG_SIGNATURE):
        fail(f"{path} is not a PNG file")
    header, compressed = None, b""
    for kind, body in chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
    if header is None:
        fail(f"{path} has no header")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour != RGBA or interlace != 0:
        fail(f"{path} is not 8-bit RGBA without interlacing")
    return width, height, unfilter(zlib.decompress(compressed), width, height)


def argb_pixels(rows):
    for row in rows:
        for i in range(0, len(row), 4):
            r, g, b, a = row[i:i + 4]
            yield (a << 24) | (r << 16) | (g << 8) | b


def window_icon_data(paths):
    images = []
    for path in paths:
        width, height, rows = read_png(path)
        if width != height:
            fail(f"{path} is not square")
        images.append((width, list(argb_pixels(rows))))
    images.sort()

    out = bytearray()
    for size, pixels in images:
        out += struct.pack("<I", size)
        out += struct.pack(f"<{len(pixels)}I", *pixels)
    return bytes(out)


def main():
    paths = sys.argv[1:]
    if not paths:
        fail("usage: window_icon_data.py ICON.png...")
    sys.stdout.buffer.write(window_icon_data(paths))


if __name__ == "__main__":
    main()
