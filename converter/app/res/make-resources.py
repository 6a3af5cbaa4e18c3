#!/usr/bin/env python3
"""Draws the converter's own bitmaps, icon and cursors (run from this folder to redo them)."""
import struct

MAGENTA = (255, 0, 255)
ORANGE = (255, 128, 0)
BLUE = (0, 120, 215)
GREY = (128, 128, 128)
LIGHT = (200, 200, 200)
WHITE = (255, 255, 255)
DARK = (64, 64, 64)


class Canvas:
    def __init__(self, w, h, fill):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, c)

    def triangle(self, x0, y0, size, c):
        # A right-pointing triangle inside the square x0, y0, size.
        for y in range(size):
            half = min(y, size - 1 - y)
            for x in range(half + 1):
                self.put(x0 + x, y0 + y, c)


def write_bmp(path, canvas):
    row = (canvas.w * 3 + 3) & ~3
    data = bytearray()
    for y in reversed(range(canvas.h)):
        line = bytearray()
        for x in range(canvas.w):
            r, g, b = canvas.px[y][x]
            line += bytes((b, g, r))
        data += line + bytes(row - len(line))
    header = struct.pack('<IiiHHIIiiII', 40, canvas.w, canvas.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', 14 + len(header) + len(data), 0, 0, 54) + header + data)


def icon_image(canvas, transparent):
    """One 32-bit icon entry: header, colour rows with alpha, AND mask rows."""
    w, h = canvas.w, canvas.h
    colour = bytearray()
    for y in reversed(range(h)):
        for x in range(w):
            c = canvas.px[y][x]
            a = 0 if c == transparent else 255
            colour += bytes((c[2], c[1], c[0], a))
    mask_row = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(h)):
        bits = bytearray(mask_row)
        for x in range(w):
            if canvas.px[y][x] == transparent:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def cursor_image(shape):
    """One monochrome 32 x 32 cursor entry from rows of '#' (black), 'o' (white), ' ' (clear)."""
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    xor, and_ = bytearray(), bytearray()
    rows = shape + [''] * (32 - len(shape))
    for line in reversed(rows):
        line = line.ljust(32)
        x_bits, a_bits = bytearray(4), bytearray(4)
        for x, ch in enumerate(line[:32]):
            bit = 0x80 >> (x % 8)
            if ch == 'o':
                x_bits[x // 8] |= bit
            elif ch == ' ':
                a_bits[x // 8] |= bit
        xor += x_bits
        and_ += a_bits
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 1, 0, len(xor) + len(and_), 0, 0, 2, 0)
    return header + palette + xor + and_


def write_directory(path, kind, entries):
    """entries: (width, height, field1, field2, image bytes); fields are planes and bits for
    icons, the hot spot for cursors."""
    out = bytearray(struct.pack('<HHH', 0, kind, len(entries)))
    offset = 6 + 16 * len(entries)
    for w, h, f1, f2, image in entries:
        out += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, f1, f2, len(image), offset)
        offset += len(image)
    for entry in entries:
        out += entry[4]
    with open(path, 'wb') as f:
        f.write(out)


def app_icon(size):
    c = Canvas(size, size, MAGENTA)
    m = size // 16
    c.rect(m, m * 3, size - m, size - m * 3, ORANGE)
    for x in range(m * 2, size - m * 2, m * 3):      # film perforations
        c.rect(x, m * 3 + m // 2, x + m, m * 4 + m // 2 + (m > 1), WHITE)
        c.rect(x, size - m * 5 + m // 2, x + m, size - m * 4 + m // 2 + (m > 1), WHITE)
    c.triangle(size // 2 - m * 2, size // 2 - m * 3, m * 6, WHITE)
    return c


def video_and_audio(size):
    c = Canvas(size * 2, size, MAGENTA)
    m = max(1, size // 8)
    c.rect(m, m * 2, size - m, size - m * 2, BLUE)           # video: a screen with a play mark
    c.triangle(size // 2 - m, size // 2 - m * 1 - m // 2, m * 3, WHITE)
    c.rect(size + size // 2, m, size + size // 2 + m, size - m * 3, DARK)   # audio: a note
    c.rect(size + size // 2 - m * 2, size - m * 4, size + size // 2 + m, size - m, DARK)
    c.rect(size + size // 2, m, size + size - m * 2, m * 2, DARK)
    return c


def grip_and_dot():
    c = Canvas(24, 12, MAGENTA)
    for i in range(3):                  # size grip: three rows of dots towards the corner
        for j in range(i + 1):
            c.rect(10 - i * 4 + j * 4 - 1, 10 - (2 - i) * 4 - 1 + (2 - i) * 0, 10 - i * 4 + j * 4 + 1,
                   10 - (2 - i) * 4 + 1, GREY)
    c.rect(12 + 4, 4, 12 + 8, 8, GREY)  # a bullet
    return c


def disc(c, cx, cy, radius, colour):
    """A filled circle around the centre cx, cy (in half pixels: cx = 11.5 centres on 24 pixels)."""
    for y in range(c.h):
        for x in range(c.w):
            if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius:
                c.put(x, y, colour)


def thick_line(c, points, colour, width=1):
    """Strokes from point to point, `width` pixels thick."""
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i / steps
            y = y0 + (y1 - y0) * i / steps
            c.rect(int(round(x - width / 2)), int(round(y - width / 2)),
                   int(round(x - width / 2)) + width, int(round(y - width / 2)) + width, colour)


GREEN = (40, 170, 60)
RED = (220, 50, 40)
AMBER = (240, 170, 0)
STEEL = (120, 130, 140)


def job_states():
    """The job list's state images, 24 x 24 each: converting, completed, skipped because the
    file exists, failed, canceled."""
    c = Canvas(24 * 5, 24, MAGENTA)
    # Converting: two curved arrows round a blue disc.
    disc(c, 11.5, 11.5, 10, BLUE)
    thick_line(c, [(6, 12), (9, 7), (14, 6), (17, 9)], WHITE, 2)
    c.triangle(15, 7, 6, WHITE)
    thick_line(c, [(17, 12), (14, 17), (9, 18), (6, 15)], WHITE, 2)
    # Completed: a tick on green.
    disc(c, 24 + 11.5, 11.5, 10, GREEN)
    thick_line(c, [(24 + 6, 12), (24 + 10, 16), (24 + 17, 7)], WHITE, 3)
    # Skipped: an exclamation mark on amber.
    disc(c, 48 + 11.5, 11.5, 10, AMBER)
    c.rect(48 + 10, 5, 48 + 14, 14, WHITE)
    c.rect(48 + 10, 16, 48 + 14, 19, WHITE)
    # Failed: a cross on red.
    disc(c, 72 + 11.5, 11.5, 10, RED)
    thick_line(c, [(72 + 7, 7), (72 + 16, 16)], WHITE, 3)
    thick_line(c, [(72 + 16, 7), (72 + 7, 16)], WHITE, 3)
    # Canceled: a square on grey.
    disc(c, 96 + 11.5, 11.5, 10, STEEL)
    c.rect(96 + 8, 8, 96 + 16, 16, WHITE)
    return c


def remove_button():
    """The job rows' remove button, 20 x 20: a grey cross in a light ring."""
    c = Canvas(20, 20, MAGENTA)
    disc(c, 9.5, 9.5, 8, LIGHT)
    disc(c, 9.5, 9.5, 7, (244, 244, 244))
    thick_line(c, [(6, 6), (13, 13)], GREY, 2)
    thick_line(c, [(13, 6), (6, 13)], GREY, 2)
    return c


def info_icon():
    """The bullet before each text of a job row's info line, 12 x 12."""
    c = Canvas(12, 12, MAGENTA)
    disc(c, 5.5, 5.5, 4.5, (150, 160, 170))
    disc(c, 5.5, 5.5, 2, WHITE)
    return c


def header_background():
    """The job list's header, two 4 x 24 images: the background (light, darkening towards a
    closing line at the bottom) and the divider in its first column."""
    c = Canvas(8, 24, MAGENTA)
    for y in range(24):
        shade = 255 - (y * 12) // 23
        c.rect(0, y, 4, y + 1, (shade - 4, shade - 2, shade))
    c.rect(0, 23, 4, 24, (224, 230, 236))
    for y in range(24):
        c.put(4, y, (232, 236, 240) if 4 <= y < 20 else c.px[y][0])
    c.rect(5, 0, 8, 24, MAGENTA)
    return c


def default_mark():
    """The mark of a format's default preset in the preset list, 16 x 16 on white (transparent)."""
    c = Canvas(16, 16, WHITE)
    disc(c, 7.5, 7.5, 6.5, GREEN)
    thick_line(c, [(4, 8), (7, 11), (11, 5)], WHITE, 2)
    return c


ARROW = [
    '#',
    '##',
    '#o#',
    '#oo#',
    '#ooo#',
    '#oooo#',
    '#ooooo#',
    '#oooooo#',
    '#ooooooo#',
    '#oooooooo#',
    '#ooooo#####',
    '#oo#oo#',
    '#o# #oo#',
    '##  #oo#',
    '#    #oo#',
    '     #oo#',
    '      ##',
]

HAND = [
    '     ##',
    '    #oo#',
    '    #oo#',
    '    #oo#',
    '    #oo#',
    '    #oo###',
    '    #oo#oo###',
    '    #oo#oo#oo##',
    ' ## #oo#oo#oo#o#',
    '#oo##oooooooo#o#',
    '#ooo#ooooooooooo#',
    ' #oooooooooooooo#',
    '  #ooooooooooooo#',
    '  #oooooooooooo#',
    '   #ooooooooooo#',
    '    #ooooooooo#',
    '    #ooooooooo#',
    '    ###########',
]


def with_badge(base, badge):
    rows = [r.ljust(32) for r in base] + [' ' * 32] * (32 - len(base))
    for y, line in enumerate(badge):
        row = list(rows[18 + y])
        for x, ch in enumerate(line):
            if ch != ' ':
                row[10 + x] = ch
        rows[18 + y] = ''.join(row)
    return [r.rstrip() for r in rows]


MOVE_BADGE = ['##########', '#oooooooo#', '#o######o#', '#o#    #o#', '#o######o#', '#oooooooo#', '##########']
REMOVE_BADGE = ['##    ##', '#o#  #o#', ' #o##o#', '  #oo#', ' #o##o#', '#o#  #o#', '##    ##']

def button_skin(height):
    """Five states (normal, hot, focused, pressed, disabled), each a left cap, a middle and a
    right cap of 8 pixels, in one strip; the corners are magenta so the parent shows through."""
    looks = [((252, 252, 252), (226, 226, 226), (160, 160, 160)),
             ((255, 255, 255), (214, 236, 252), (60, 127, 177)),
             ((252, 252, 252), (226, 226, 226), (0, 120, 215)),
             ((200, 224, 242), (176, 208, 234), (44, 98, 139)),
             ((244, 244, 244), (244, 244, 244), (200, 200, 200))]
    c = Canvas(8 * 15, height, MAGENTA)
    for state, (top, bottom, border) in enumerate(looks):
        for piece in range(3):
            x0 = (state * 3 + piece) * 8
            for y in range(height):
                t = y / (height - 1)
                fill = tuple(int(top[i] + (bottom[i] - top[i]) * t) for i in range(3))
                for x in range(8):
                    edge_y = y in (0, height - 1)
                    left = piece == 0 and x == 0
                    right = piece == 2 and x == 7
                    corner = (piece == 0 and x < 2 or piece == 2 and x > 5) and (y < 2 or y > height - 3)
                    if (piece == 0 and x == 0 or piece == 2 and x == 7) and (y == 0 or y == height - 1):
                        continue                      # cut corner
                    if corner and (piece == 0 and x == 0 or piece == 2 and x == 7 or edge_y):
                        colour = border
                    elif edge_y or left or right:
                        colour = border
                    else:
                        colour = fill
                    c.put(x0 + x, y, colour)
    return c


def label_icons():
    c = Canvas(24, 12, MAGENTA)
    c.triangle(3, 1, 10, BLUE)             # a marker before the two labels
    c.rect(12 + 3, 3, 12 + 9, 9, GREY)
    return c


def glyph(c, x0, y0, kind, colour):
    """One 24 x 24 toolbar picture."""
    if kind == 'add':                       # a picture with a plus
        c.rect(x0 + 3, y0 + 5, x0 + 17, y0 + 17, colour)
        c.rect(x0 + 5, y0 + 7, x0 + 15, y0 + 15, WHITE)
        c.rect(x0 + 14, y0 + 14, x0 + 23, y0 + 17, colour)
        c.rect(x0 + 17, y0 + 11, x0 + 20, y0 + 20, colour)
    elif kind == 'folder':
        c.rect(x0 + 2, y0 + 5, x0 + 10, y0 + 8, colour)
        c.rect(x0 + 2, y0 + 7, x0 + 20, y0 + 19, colour)
        c.rect(x0 + 15, y0 + 14, x0 + 24, y0 + 17, WHITE)
        c.rect(x0 + 18, y0 + 11, x0 + 21, y0 + 20, WHITE)
    elif kind == 'remove':
        c.rect(x0 + 3, y0 + 5, x0 + 17, y0 + 17, colour)
        c.rect(x0 + 5, y0 + 7, x0 + 15, y0 + 15, WHITE)
        c.rect(x0 + 13, y0 + 14, x0 + 23, y0 + 17, (215, 30, 30) if colour != LIGHT else LIGHT)
    elif kind == 'clear':
        for i in range(14):
            c.rect(x0 + 5 + i, y0 + 5 + i, x0 + 8 + i, y0 + 8 + i, colour)
            c.rect(x0 + 16 - i, y0 + 5 + i, x0 + 19 - i, y0 + 8 + i, colour)
    elif kind == 'film':
        c.rect(x0 + 3, y0 + 6, x0 + 21, y0 + 18, colour)
        c.triangle(x0 + 9, y0 + 8, 8, WHITE)
    elif kind == 'more':
        for i in range(3):
            c.rect(x0 + 5 + i * 6, y0 + 10, x0 + 9 + i * 6, y0 + 14, colour)
    elif kind == 'menu':
        for i in range(3):
            c.rect(x0 + 8, y0 + 6 + i * 5, x0 + 24, y0 + 9 + i * 5, colour)


def toolbar_strip(kinds, width, colour):
    c = Canvas(width * len(kinds), 24, MAGENTA)
    for i, kind in enumerate(kinds):
        glyph(c, i * width + (width - 24) // 2, 0, kind, colour)
    return c


if __name__ == '__main__':
    write_directory('Talvena.ico', 1, [(s, s, 1, 32, icon_image(app_icon(s), MAGENTA)) for s in (16, 32)])
    write_bmp('Icons12.bmp', grip_and_dot())
    write_bmp('Icons16.bmp', video_and_audio(16))
    write_bmp('Icons32.bmp', video_and_audio(32))
    write_bmp('JobStates.bmp', job_states())
    write_bmp('RemoveButton.bmp', remove_button())
    write_bmp('InfoIcon.bmp', info_icon())
    write_bmp('JobListHeader.bmp', header_background())
    write_bmp('DefaultPreset.bmp', default_mark())
    write_directory('Hand.cur', 2, [(32, 32, 5, 0, cursor_image(HAND))])
    write_directory('Move.cur', 2, [(32, 32, 0, 0, cursor_image(with_badge(ARROW, MOVE_BADGE)))])
    write_bmp('ButtonSmall.bmp', button_skin(23))
    write_bmp('ButtonLarge.bmp', button_skin(29))
    write_bmp('Labels12.bmp', label_icons())
    list_tools = ['add', 'folder', 'remove', 'clear', 'film', 'more']
    write_bmp('ListTools.bmp', toolbar_strip(list_tools, 24, BLUE))
    write_bmp('ListToolsDisabled.bmp', toolbar_strip(list_tools, 24, LIGHT))
    write_bmp('MenuTool.bmp', toolbar_strip(['menu'], 32, DARK))
    write_directory('Remove.cur', 2, [(32, 32, 0, 0, cursor_image(with_badge(ARROW, REMOVE_BADGE)))])
