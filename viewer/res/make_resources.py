#!/usr/bin/env python3
"""Draws Sorvik's icons, hand cursor, background patterns, control-bar art and the hint's panel
(run from this folder)."""
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


def write_icon_file(path, pixels_of, sizes=(16, 32)):
    """A 32-bit icon of the given sizes; pixels_of(size) maps (x, y) to a colour, None for clear."""
    images = []
    for size in sizes:
        px = pixels_of(size)
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


def write_icon(path):
    write_icon_file(path, icon_pixels)


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


def write_cursor(path, rows, hot):
    """A 32 x 32 two-colour cursor: "X" black, "." white, anything else clear; `hot` its hot spot."""
    size = 32
    xor = bytearray()
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        x_bits = 0
        m_bits = (1 << size) - 1
        for x in range(size):
            ch = rows[y][x] if y < len(rows) and x < len(rows[y]) else ' '
            bit = 1 << (size - 1 - x)
            if ch in 'X.':
                m_bits &= ~bit
                if ch == '.':
                    x_bits |= bit
        xor += x_bits.to_bytes(4, 'big')
        mask += m_bits.to_bytes(4, 'big')
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    data = bmp_info(size, size * 2, 1, len(xor) + len(mask)) + palette + xor + mask
    header = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', size, size, 2, 0, hot[0], hot[1], len(data), 22)
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



MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)


def write_bmp(path, width, height, pixel):
    """A 24-bit bitmap; pixel(x, y) gives the colour, y counted from the top."""
    pad = row_bytes(width, 24) - width * 3
    pixels = bytearray()
    for y in range(height - 1, -1, -1):
        for x in range(width):
            c = pixel(x, y)
            pixels += bytes((c[2], c[1], c[0]))
        pixels += b'\0' * pad
    info = bmp_info(width, height, 24, len(pixels))
    header = struct.pack('<HIHHI', 0x4D42, 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    open(path, 'wb').write(header + info + pixels)


def in_triangle(x, y, a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])
    p = (x + 0.5, y + 0.5)
    d1, d2, d3 = side(p, a, b), side(p, b, c), side(p, c, a)
    return not ((d1 < 0 or d2 < 0 or d3 < 0) and (d1 > 0 or d2 > 0 or d3 > 0))


def in_box(x, y, left, top, right, bottom):
    return left <= x < right and top <= y < bottom


def frame_of_box(x, y, left, top, right, bottom, width=2):
    return in_box(x, y, left, top, right, bottom) and not in_box(x, y, left + width, top + width, right - width, bottom - width)


# The glyphs of the play control bar, on a 24 x 24 grid: True where the glyph is.
GLYPHS = {
    'play': lambda x, y: in_triangle(x, y, (7, 4), (7, 20), (19, 12)),
    'pause': lambda x, y: in_box(x, y, 6, 5, 10, 19) or in_box(x, y, 14, 5, 18, 19),
    'stop': lambda x, y: in_box(x, y, 6, 6, 18, 18),
    'previous': lambda x, y: in_box(x, y, 5, 6, 8, 18) or in_triangle(x, y, (19, 6), (19, 18), (8, 12)),
    'next': lambda x, y: in_box(x, y, 16, 6, 19, 18) or in_triangle(x, y, (5, 6), (5, 18), (16, 12)),
    'to-play': lambda x, y: frame_of_box(x, y, 3, 4, 21, 20) or in_triangle(x, y, (9, 8), (9, 16), (16, 12)),
    'to-playlist': lambda x, y: any(in_box(x, y, l, t, l + 7, t + 7) for l in (4, 13) for t in (4, 13)),
    'save': lambda x, y: (frame_of_box(x, y, 4, 4, 20, 20) or in_box(x, y, 8, 4, 16, 10)
                          or in_box(x, y, 8, 14, 16, 20)),
    'zoom': lambda x, y: (9.5 <= ((x - 10) ** 2 + (y - 10) ** 2) ** 0.5 + 4 <= 16
                          or (abs((x - 15) - (y - 15)) <= 1 and 14 <= x <= 20 and 14 <= y <= 20)),
    'full-screen': lambda x, y: any(
        (in_box(x, y, l, t, l + 7, t + 2) or in_box(x, y, l2, t2, l2 + 2, t2 + 7))
        for (l, t, l2, t2) in ((3, 3, 3, 3), (14, 3, 19, 3), (3, 19, 3, 14), (14, 19, 19, 14))),
    'leave-full-screen': lambda x, y: any(
        (in_box(x, y, l, t, l + 7, t + 2) or in_box(x, y, l2, t2, l2 + 2, t2 + 7))
        for (l, t, l2, t2) in ((3, 8, 8, 3), (14, 8, 14, 3), (3, 14, 8, 14), (14, 14, 14, 14))),
}

# Glyph colours by draw state: normal, hot, focused, pressed, disabled.
STATE_COLOURS = [(192, 192, 192), (255, 255, 255), (240, 240, 240), (0, 200, 90), (96, 96, 96)]


def write_button_strip(path, glyph):
    def pixel(x, y):
        state, gx = divmod(x, 24)
        return STATE_COLOURS[state] if glyph(gx, y) else MAGENTA
    write_bmp(path, 24 * 5, 24, pixel)


BAR_BACKGROUND = (48, 48, 48)
GROOVE = (80, 80, 80)
DECODED = (112, 112, 112)
PLAYED = (0, 170, 90)


def write_slider_thumb(path):
    """Channel tile, decoded fill, played fill, hot and pressed thumb; black is clear. The tiles are
    copied as they are, so around the groove they carry the bar's own background."""
    def pixel(x, y):
        image, gx = divmod(x, 20)
        if image < 3:
            return (GROOVE, DECODED, PLAYED)[image] if 10 <= y < 14 else BAR_BACKGROUND
        d = ((gx - 9.5) ** 2 + (y - 11.5) ** 2) ** 0.5
        if d <= 6.5:
            return (224, 224, 224) if image == 3 else (255, 255, 255)
        if d <= 7.5:
            return (64, 64, 64)
        return BLACK
    write_bmp(path, 100, 24, pixel)


def write_slider_channel(path):
    """The two rounded ends of the groove, 3 x 24 each, magenta clear."""
    def pixel(x, y):
        end, gx = divmod(x, 3)
        edge = gx == 0 if end == 0 else gx == 2
        if 10 <= y < 14 and not (edge and y in (10, 13)):
            return GROOVE
        return MAGENTA
    write_bmp(path, 6, 24, pixel)


PANEL = (48, 48, 48)
PANEL_EDGE = (110, 110, 110)


def write_message_pieces(path):
    """Left end, middle and right end of the hint's rounded panel, 12 x 48 each on magenta."""
    radius = 10

    def pixel(x, y):
        piece, gx = divmod(x, 12)
        # Distance from the panel's outline, in the coordinates of a whole panel 24 + n wide.
        px = gx if piece == 0 else (12 + gx if piece == 1 else 24 + gx)
        width = 36
        cx = min(max(px, radius), width - 1 - radius) if piece != 1 else px
        cy = min(max(y, radius), 47 - radius)
        d = ((px - cx) ** 2 + (y - cy) ** 2) ** 0.5
        if d > radius:
            return MAGENTA
        if d > radius - 2 or (piece == 1 and (y < 2 or y >= 46)):
            return PANEL_EDGE
        return PANEL
    write_bmp(path, 36, 48, pixel)


def write_file_icon(path, glyph, colour):
    """A document icon with a coloured glyph, 16 and 32 pixels."""
    def pixels_of(size):
        s = size / 32.0
        px = {}
        for y in range(size):
            for x in range(size):
                gx, gy = x / s, y / s
                if not (5 <= gx < 27 and 2 <= gy < 30):
                    px[x, y] = None
                elif gx < 6 or gx >= 26 or gy < 3 or gy >= 29:
                    px[x, y] = (96, 96, 96)
                else:
                    px[x, y] = colour if glyph(gx, gy) else (240, 240, 240)
        return px
    write_icon_file(path, pixels_of)


if __name__ == '__main__':
    write_icon('Sorvik.ico')
    write_cursor('hand.cur', HAND, (5, 0))   # hot spot at the finger tip
    write_pattern('pattern-dark.bmp', (0, 0, 0), (24, 24, 24))
    write_pattern('pattern-light.bmp', (255, 255, 255), (224, 224, 224))
    for name, glyph in GLYPHS.items():
        write_button_strip('bar-%s.bmp' % name, glyph)
    write_slider_thumb('slider-thumb.bmp')
    write_slider_channel('slider-channel.bmp')
    write_message_pieces('message-pieces.bmp')
    write_file_icon('playlist-file.ico', lambda x, y: 9 <= x < 23 and int(y) in (8, 9, 13, 14, 18, 19, 23, 24),
                    (0, 120, 200))
    write_file_icon('gif-file.ico', lambda x, y: in_triangle(int(x), int(y), (11, 9), (11, 23), (22, 16)), GREEN)
