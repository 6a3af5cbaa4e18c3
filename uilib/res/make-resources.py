#!/usr/bin/env python3
"""Draws the folder tree's loading animation, LoadingAnimation.ani (run from this folder).

Ten 16x16 frames: a ring of ten dots, grey, with dot k of frame k in the loading bar's blue, so
the highlight turns clockwise once per round.
"""
import math
import struct

SIZE = 16
FRAMES = 10
BLUE = (0, 128, 255)
GREY = (160, 160, 160)
RING = 5.5
DOT = 1.6


def dot_centre(k):
    angle = -math.pi / 2 + 2 * math.pi * k / FRAMES
    return (SIZE / 2 - 0.5 + RING * math.cos(angle), SIZE / 2 - 0.5 + RING * math.sin(angle))


def frame_pixels(frame):
    px = {}
    for k in range(FRAMES):
        cx, cy = dot_centre(k)
        for y in range(SIZE):
            for x in range(SIZE):
                if (x - cx) ** 2 + (y - cy) ** 2 <= DOT * DOT:
                    px[x, y] = BLUE if k == frame else GREY
    return px


def cursor_file(px):
    """One frame as a .cur file: 32-bit colours with an AND mask for the transparent pixels."""
    xor = bytearray()
    mask = bytearray()
    row_mask_bytes = (SIZE + 31) // 32 * 4
    for y in range(SIZE - 1, -1, -1):
        bits = 0
        for x in range(SIZE):
            c = px.get((x, y))
            if c is None:
                xor += bytes((0, 0, 0, 0))
                bits |= 1 << (SIZE - 1 - x)
            else:
                xor += bytes((c[2], c[1], c[0], 255))
        mask += bits.to_bytes(SIZE // 8, 'big').ljust(row_mask_bytes, b'\0')
    info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + mask
    header = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, SIZE // 2, SIZE // 2, len(image), 6 + 16)
    return header + entry + image


def chunk(tag, data):
    padded = data + (b'\0' if len(data) % 2 else b'')
    return tag + struct.pack('<I', len(data)) + padded


def write_ani(path):
    # anih: size, frames, steps, width, height, bit count, planes, rate (1/60 s), flags (frames are icons)
    header = struct.pack('<9I', 36, FRAMES, FRAMES, 0, 0, 0, 0, 8, 1)
    frames = b''.join(chunk(b'icon', cursor_file(frame_pixels(k))) for k in range(FRAMES))
    body = b'ACON' + chunk(b'anih', header) + chunk(b'LIST', b'fram' + frames)
    with open(path, 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', len(body)) + body)


if __name__ == '__main__':
    write_ani('LoadingAnimation.ani')
