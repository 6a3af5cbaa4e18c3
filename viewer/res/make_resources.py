#!/usr/bin/env python3
"""Draws Sorvik's icon, hand cursor and background patterns (run from this folder)."""
import struct

DARK = (32, 32, 32)
GREEN = (0, 200, 90)
LIGHT = (160, 160, 160)


def bmp_info(width, height, bpp, image_bytes):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bpp, 0, image_bytes, 0, 0, 0, 0)


def row_bytes(width, bpp):
    return (width * bpp + 31) // 32 * 4


def icon_pixels(size):
    """The icon: a dark tile with a film strip border and a green play triangle."""
    px = {}
    for y in range(size):
        for x in range(size):
            inside = 1 <= x < size - 1 and 1 <= y < size - 1
            if not inside:
                px[x, y] = None
                continue
            colour = DARK
            # Film perforations along the top and bottom edges.
            if (y < 5 or y >= size - 5) and (x % 6) in (2, 3) and 1 < y < size - 2 and (y in (2, 3) or y in (size - 4, size - 3)):
                colour = LIGHT
            # Play triangle, pointing right.
            cx, top, bottom = size * 0.34, size * 0.28, size * 0.72
            if top <= y <= bottom:
                half = (bottom - top) / 2
                reach = cx + (half - abs(y - (top + half))) * 1.6
                if cx <= x <= reach:
                    colour = GREEN
            px[x, y] = colour
    return px


def write_icon(path, sizes=(16, 32)):
    images = []
    for size in sizes:
        px = icon_pixels(size)
        xor = bytearray()
        mask = bytearray()
        for y in range(size - 1, -1, -1):
            mask_row = 0
            for x in range(size):
                c = px[x, y]
                if c is None:
                    xor += bytes((0, 0, 0, 0))
                    mask_row |= 1 << (size - 1 - x)
                else:
                    xor += bytes((c[2], c[1], c[0], 255))
            mask += mask_row.to_bytes(size // 8, 'big').ljust(row_bytes(size, 1), b'\0')
        data = bmp_info(size, size * 2, 32, len(xor) + len(mask)) + xor + mask
        images.append((size, data))
    header = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    blobs = b''
    for size, data in images:
        entries += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset + len(blobs))
        blobs += data
    open(path, 'wb').write(header + entries + blobs)


HAND = [
    "     XX         ",
    "    X..X        ",
    "    X..X        ",
    "    X..X        ",
    "    X..XXX      ",
    "    X..X..XXX   ",
    "    X..X..X..XX ",
    " XX X..X..X..X.X",
    "X..XX........X.X",
    "X...X..........X",
    " X.............X",
    "  X............X",
    "  X...........X ",
    "   X..........X ",
    "    X........X  ",
    "    XXXXXXXXXX  ",
]


def write_cursor(path):
    size = 32
    xor = bytearray()
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        x_bits = 0
        m_bits = (1 << size) - 1
        for x in range(size):
            ch = HAND[y][x] if y < len(HAND) and x < len(HAND[y]) else ' '
            bit = 1 << (size - 1 - x)
            if ch == 'X':
                m_bits &= ~bit           # black outline
            elif ch == '.':
                m_bits &= ~bit
                x_bits |= bit            # white inside
        xor += x_bits.to_bytes(4, 'big')
        mask += m_bits.to_bytes(4, 'big')
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    data = bmp_info(size, size * 2, 1, len(xor) + len(mask)) + palette + xor + mask
    header = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', size, size, 2, 0, 5, 0, len(data), 22)   # hot spot at the finger tip
    open(path, 'wb').write(header + entry + data)


def write_pattern(path, a, b):
    size = 16
    pixels = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            c = a if ((x // 8) + (y // 8)) % 2 == 0 else b
            pixels += bytes((c[2], c[1], c[0]))
    info = bmp_info(size, size, 24, len(pixels))
    header = struct.pack('<HIHHI', 0x4D42, 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    open(path, 'wb').write(header + info + pixels)


if __name__ == '__main__':
    write_icon('Sorvik.ico')
    write_cursor('hand.cur')
    write_pattern('pattern-dark.bmp', (0, 0, 0), (24, 24, 24))
    write_pattern('pattern-light.bmp', (255, 255, 255), (224, 224, 224))
