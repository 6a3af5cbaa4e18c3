#!/usr/bin/env python3
"""Draws the dialog tests' program icon (run from this folder): a magenta tile with a white
frame, a colour no dialog shows by itself, so that a test can find the icon on the screen."""
import struct

SIZE = 32
MAGENTA = (200, 0, 200)
WHITE = (255, 255, 255)


def pixels():
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            edge = x in (0, SIZE - 1) or y in (0, SIZE - 1)
            row.append(WHITE if edge else MAGENTA)
        rows.append(row)
    return rows


def icon():
    xor = bytearray()
    for row in reversed(pixels()):   # bottom-up
        for r, g, b in row:
            xor += bytes((b, g, r, 255))
    mask = bytes(SIZE * 4)           # 1 bpp, rows padded to 32 bits, all opaque
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + image


if __name__ == '__main__':
    with open('TestIcon.ico', 'wb') as f:
        f.write(icon())
