#!/usr/bin/env python3
"""Writes the launcher's application icon: a 32x32 and a 16x16 image (or the
sizes given), 32-bit BGRA, a white "Z" on a teal rounded square."""
import struct
import sys


def image(size):
    pixels = []
    for y in range(size - 1, -1, -1):  # bottom-up rows
        for x in range(size):
            m = size // 8
            inside = m <= x < size - m and m <= y < size - m
            corner = (min(x - m, size - m - 1 - x) + min(y - m, size - m - 1 - y)) < 1
            if not inside or corner:
                pixels.append((0, 0, 0, 0))
                continue
            u, v = x - m, (size - 1 - y) - m  # v grows downwards
            w = size - 2 * m
            t = max(1, w // 6)
            top = v < t + 1 and u >= 1
            bottom = v >= w - t - 1
            diag = abs((w - 1 - v) - u) <= t // 2 + 0 and t < v < w - t
            if top or bottom or diag:
                pixels.append((255, 255, 255, 255))
            else:
                pixels.append((0x80, 0x80, 0x00, 255))
    xor = b"".join(struct.pack("BBBB", *p) for p in pixels)
    row = ((size + 31) // 32) * 4
    mask = b"\x00" * (row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def main(path, sizes=(32, 16)):
    images = [image(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + entries + b"".join(images))


if __name__ == "__main__":
    # make_icon.py PATH [SIZE...]: the launcher's icon is 32 and 16.
    main(sys.argv[1], [int(a) for a in sys.argv[2:]] or (32, 16))
