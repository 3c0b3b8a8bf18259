#!/usr/bin/env python3
"""Draws the program icon (an hourglass on a dark disc) as a multi-size .ico.

Run by the build; no picture files are committed. Usage: make_icon.py OUT.ico
"""
import math
import struct
import sys


def pixel(size, x, y):
    """BGRA colour (straight alpha) of one pixel, anti-aliased by 4x4 supersampling."""
    acc = [0.0, 0.0, 0.0, 0.0]
    for sy in range(4):
        for sx in range(4):
            u = (x + (sx + 0.5) / 4) / size * 2 - 1
            v = (y + (sy + 0.5) / 4) / size * 2 - 1
            r = math.hypot(u, v)
            if r > 0.96:
                continue
            colour = (0x4a, 0x2e, 0x1f)  # dark slate blue disc (BGR)
            if r > 0.84:
                colour = (0x3a, 0xa4, 0xd9)  # amber ring
            # Hourglass: two triangles meeting at the centre, with a frame.
            if abs(v) < 0.62 and abs(u) < abs(v) * 0.75 + 0.06:
                sand = (v > 0.25 and abs(u) < abs(v) * 0.75) or (v < -0.1 and v > -0.3)
                colour = (0x3a, 0xc8, 0xf2) if sand else (0xf5, 0xf0, 0xea)
            if 0.58 < abs(v) < 0.70 and abs(u) < 0.55:
                colour = (0x3a, 0xa4, 0xd9)
            for i in range(3):
                acc[i] += colour[i]
            acc[3] += 255
    n = 16
    a = acc[3] / n
    if a == 0:
        return (0, 0, 0, 0)
    return tuple(int(round(c / (acc[3] / 255))) for c in acc[:3]) + (int(round(a)),)


def image(size):
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up DIB
        row = b"".join(struct.pack("BBBB", *pixel(size, x, y)) for x in range(size))
        rows.append(row)
    xor = b"".join(rows)
    and_stride = ((size + 31) // 32) * 4
    and_mask = b"\x00" * (and_stride * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def main():
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
