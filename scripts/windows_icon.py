#!/usr/bin/env python3
"""Writes a Windows .ico holding the given PNGs as they are (each a size of
the icon; Windows reads PNG entries since Vista).

    windows_icon.py data/icons/verlomba-16.png ... > data/icons/verlomba.ico
"""
import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("not a PNG")
    return struct.unpack(">II", data[16:24])


def main(paths):
    images = [open(p, "rb").read() for p in paths]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for data in images:
        width, height = png_size(data)
        # 256 is written as 0 in the one-byte fields.
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    sys.stdout.buffer.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1:])
