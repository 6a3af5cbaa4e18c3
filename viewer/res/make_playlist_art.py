#!/usr/bin/env python3
"""Draws the playlist pane's art: status icons, cell buttons, label pieces, drag cursors and the
welcome window's pictures (run from this folder)."""
import struct
import sys
import zlib

sys.dont_write_bytecode = True
from make_resources import write_bmp, write_cursor

MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
GREEN = (0, 220, 90)
AMBER = (255, 190, 0)
BLUE = (0, 160, 255)


def strip(images, size, background):
    """A row of square images: images[i](x, y) gives a colour or None for the background."""
    def pixel(x, y):
        c = images[x // size](x % size, y)
        return background if c is None else c
    return pixel


def in_circle(x, y, size, inset):
    c = (size - 1) / 2
    return (x - c) ** 2 + (y - c) ** 2 <= (c - inset) ** 2


def play_triangle(x, y, size):
    top, bottom = size * 0.28, size * 0.72
    left = size * 0.36
    if not (top <= y <= bottom):
        return False
    half = (bottom - top) / 2
    return left <= x <= left + (half - abs(y - (top + half))) * 1.7


def pause_bars(x, y, size):
    return size * 0.25 <= y <= size * 0.75 and (size * 0.28 <= x <= size * 0.42 or size * 0.58 <= x <= size * 0.72)


def cross(x, y, size):
    c = (size - 1) / 2
    reach = size * 0.22
    return abs(x - c) <= reach and abs(y - c) <= reach and (abs((x - c) - (y - c)) <= 1.2 or abs((x - c) + (y - c)) <= 1.2)


def status_icon(kind, size):
    def draw(x, y):
        if not in_circle(x, y, size, 0.5):
            return None
        mark = play_triangle(x, y, size) if kind == 'play' else pause_bars(x, y, size)
        if mark:
            return (250, 250, 250)
        return GREEN if kind == 'play' else AMBER
    return draw


def button(kind, state, size):
    """state 0 normal, 1 hover, 2 pressed; white is the mask colour."""
    face = [(40, 40, 40), (0, 130, 220), (0, 90, 160)][state]
    if kind == 'remove':
        face = [(40, 40, 40), (210, 50, 50), (150, 30, 30)][state]
    mark = (230, 230, 230)

    def draw(x, y):
        if not in_circle(x, y, size, 0.5):
            return None
        if not in_circle(x, y, size, 1.5):
            return (200, 200, 200)
        hit = play_triangle(x, y, size) if kind == 'play' else cross(x, y, size)
        return mark if hit else face
    return draw


def label_piece(kind):
    """4 x 14 pieces of a rounded dark label: left end, middle, right end."""
    body = (20, 20, 20)

    def draw(x, y):
        corner_x = x if kind == 'left' else 3 - x
        if kind != 'middle' and corner_x == 0 and (y < 2 or y > 11):
            return None
        if kind != 'middle' and corner_x == 1 and (y == 0 or y == 13):
            return None
        return body
    return draw


ARROW = [
    "X           ",
    "XX          ",
    "X.X         ",
    "X..X        ",
    "X...X       ",
    "X....X      ",
    "X.....X     ",
    "X......X    ",
    "X.......X   ",
    "X........X  ",
    "X.....XXXXX ",
    "X..X..X     ",
    "X.X X..X    ",
    "XX  X..X    ",
    "X    X..X   ",
    "     X..X   ",
    "      XX    ",
]


def with_badge(badge):
    rows = [r.ljust(32) for r in ARROW] + [' ' * 32 for _ in range(32 - len(ARROW))]
    for dy, line in enumerate(badge):
        y = 15 + dy
        rows[y] = rows[y][:14] + line + rows[y][14 + len(line):]
    return rows


REMOVE_BADGE = [
    "XXXXXXXXXXXX",
    "X..........X",
    "X.XX....XX.X",
    "X..XX..XX..X",
    "X...XXXX...X",
    "X....XX....X",
    "X...XXXX...X",
    "X..XX..XX..X",
    "X.XX....XX.X",
    "X..........X",
    "XXXXXXXXXXXX",
]

PLAY_BADGE = [
    "XXXXXXXXXXXX",
    "X..........X",
    "X..XX......X",
    "X..XXXX....X",
    "X..XXXXXX..X",
    "X..XXXXXXX.X",
    "X..XXXXXX..X",
    "X..XXXX....X",
    "X..XX......X",
    "X..........X",
    "XXXXXXXXXXXX",
]


def insertion_cursor(vertical):
    """A bar with arrows pointing at it: where the dragged item goes."""
    rows = [[' '] * 32 for _ in range(32)]
    for i in range(-10, 11):
        for w in (-1, 0, 1):
            x, y = (15 + w, 15 + i) if vertical else (15 + i, 15 + w)
            rows[y][x] = 'X' if w else '.'
    for i in range(1, 6):
        for j in range(-i + 1, i):
            if vertical:
                rows[15 + j][15 - 2 - (6 - i)] = '.'
                rows[15 + j][15 + 2 + (6 - i)] = '.'
            else:
                rows[15 - 2 - (6 - i)][15 + j] = '.'
                rows[15 + 2 + (6 - i)][15 + j] = '.'
    return [''.join(r) for r in rows]


def write_png(path, width, height, pixel):
    """pixel(x, y) gives (r, g, b, a)."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw += bytes(pixel(x, y))

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF)
    png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b'')
    open(path, 'wb').write(png)


def welcome_picture(kind, colour):
    """80 x 80: a document with a play mark, or a folder."""
    def pixel(x, y):
        edge = None
        if kind == 'file':
            inside = 18 <= x <= 61 and 8 <= y <= 71 and not (x > 47 and y < 8 + (x - 47))
            border = inside and (x <= 20 or x >= 59 or y <= 10 or y >= 69 or (x > 45 and y < 12 + (x - 47)))
            mark = play_triangle(x - 20, y - 22, 40)
            edge = border or (inside and mark)
        else:
            tab = 10 <= x <= 34 and 16 <= y <= 24
            body = 10 <= x <= 69 and 22 <= y <= 64
            border = (tab and (y <= 18 or x <= 12 or x >= 32)) or (body and (x <= 12 or x >= 67 or y <= 24 or y >= 62))
            edge = border
        return colour + (255,) if edge else (0, 0, 0, 0)
    return pixel


if __name__ == '__main__':
    write_bmp('grid-status.bmp', 48, 24,
                strip([status_icon('play', 24), status_icon('pause', 24)], 24, MAGENTA))
    write_bmp('list-status.bmp', 40, 20,
                strip([status_icon('play', 20), status_icon('pause', 20)], 20, MAGENTA))
    for name, size in (('grid-buttons.bmp', 32), ('list-buttons.bmp', 20)):
        images = [button(kind, state, size) for kind in ('play', 'remove') for state in range(3)]
        write_bmp(name, size * 6, size, strip(images, size, WHITE))
    pieces = [label_piece(k) for k in ('left', 'middle', 'right')]
    write_bmp('label-pieces.bmp', 12, 14, lambda x, y: pieces[x // 4](x % 4, y) or WHITE)
    write_cursor('drag-grid.cur', insertion_cursor(True), (15, 15))
    write_cursor('drag-list.cur', insertion_cursor(False), (15, 15))
    write_cursor('drag-remove.cur', with_badge(REMOVE_BADGE), (0, 0))
    write_cursor('drag-play.cur', with_badge(PLAY_BADGE), (0, 0))
    write_png('welcome-file.png', 80, 80, welcome_picture('file', (160, 160, 160)))
    write_png('welcome-file-hover.png', 80, 80, welcome_picture('file', BLUE))
    write_png('welcome-folder.png', 80, 80, welcome_picture('folder', (160, 160, 160)))
    write_png('welcome-folder-hover.png', 80, 80, welcome_picture('folder', BLUE))
