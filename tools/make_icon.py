#!/usr/bin/env python3
"""Draws the program icon: a white disk platter with a green check mark on
navy, 45 x 45 pixels at 24 bits, written as app/res/Tarvick.ico."""
import math
import struct
import sys

SIZE = 45
NAVY, WHITE, GREY, GREEN, DARK = (0, 0, 128), (255, 255, 255), (160, 160, 160), (0, 200, 0), (0, 0, 64)


def pixel(x, y):
    cx = cy = (SIZE - 1) / 2
    r = math.hypot(x - cx, y - cy)
    # check mark: two thick strokes
    def near(ax, ay, bx, by, w):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - (ax + t * dx), y - (ay + t * dy)) <= w
    if near(12, 24, 19, 32, 3.2) or near(19, 32, 35, 12, 3.2):
        return GREEN
    if r <= 3.5:
        return DARK
    if r <= 6:
        return GREY
    if r <= 20.5:
        return WHITE
    if r <= 22:
        return GREY
    return NAVY


def main(path):
    row_bytes = (SIZE * 3 + 3) // 4 * 4
    mask_bytes = (SIZE + 31) // 32 * 4
    xor = bytearray()
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(SIZE):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        xor += row
    mask = b"\0" * (mask_bytes * SIZE)  # fully opaque
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 24, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + bytes(xor) + mask
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 24, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(icondir + entry + image)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "app/res/Tarvick.ico")
