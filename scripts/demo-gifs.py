#!/usr/bin/env python3
"""Draws the colourful animated GIFs that README's screenshots of Sorvik show.

    scripts/demo-gifs.py FOLDER

Each animation is computed here, frame by frame, and written with a small GIF writer of its
own (one 256-colour palette, LZW-compressed frames, looping for ever): nothing comes from
elsewhere.
"""
import math
import os
import struct
import sys

WIDTH, HEIGHT = 400, 300
CX, CY = WIDTH // 2, HEIGHT // 2


def lzw(indices, min_code_size=8):
    """The GIF flavour of LZW: variable code width up to 12 bits, clear code on a full table."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out = bytearray()
    bits = nbits = 0
    width = min_code_size + 1

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    table = {}
    next_code = end + 1
    emit(clear)
    prefix = indices[0]
    for pixel in indices[1:]:
        key = (prefix << 8) | pixel
        code = table.get(key)
        if code is not None:
            prefix = code
            continue
        emit(prefix)
        if next_code == 4096:
            emit(clear)
            table.clear()
            next_code = end + 1
            width = min_code_size + 1
        else:
            table[key] = next_code
            if next_code == (1 << width) and width < 12:
                width += 1
            next_code += 1
        prefix = pixel
    emit(prefix)
    emit(end)
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def sub_blocks(data):
    return b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255] for i in range(0, len(data), 255)) + b"\0"


def write_gif(path, palette, frames, delay_cs):
    """frames: lists of WIDTH * HEIGHT palette indices."""
    with open(path, "wb") as gif:
        gif.write(b"GIF89a" + struct.pack("<HHBBB", WIDTH, HEIGHT, 0xF7, 0, 0))
        gif.write(bytes(c for rgb in palette for c in rgb))
        gif.write(b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00")
        for frame in frames:
            gif.write(b"\x21\xF9\x04" + struct.pack("<BHBB", 0x04, delay_cs, 0, 0))
            gif.write(b"\x2C" + struct.pack("<HHHHB", 0, 0, WIDTH, HEIGHT, 0))
            gif.write(b"\x08" + sub_blocks(lzw(frame)))
        gif.write(b"\x3B")


def hsv(h, s, v):
    i = int(h * 6) % 6
    f = h * 6 - int(h * 6)
    p, q, t = v * (1 - s), v * (1 - f * s), v * (1 - (1 - f) * s)
    r, g, b = [(v, t, p), (q, v, p), (p, v, t), (p, q, v), (t, p, v), (v, p, q)][i]
    return (int(r * 255), int(g * 255), int(b * 255))


RAINBOW = [hsv(i / 256, 0.85, 1.0) for i in range(256)]


def plasma(frames=24):
    """Rainbow plasma: four sine waves whose sum picks the colour, drifting frame by frame."""
    out = []
    for n in range(frames):
        t = 2 * math.pi * n / frames
        frame = []
        for y in range(HEIGHT):
            for x in range(WIDTH):
                v = (math.sin(x / 23 + t) + math.sin(y / 17 - t) + math.sin((x + y) / 31 + 2 * t)
                     + math.sin(math.hypot(x - CX, y - CY) / 15 - t))
                frame.append(int((v + 4) * 32) & 0xFF)
        out.append(frame)
    return RAINBOW, out


def sunset(frames=20):
    """A sun sinking into a sea of moving waves under a sky that darkens."""
    palette = [(0, 0, 0)] * 256
    for i in range(96):   # sky: orange to violet
        palette[i] = (255 - i, 120 - i, 60 + i)
    for i in range(64):   # sea: deep blue to cyan
        palette[96 + i] = (0, 40 + 2 * i, 120 + 2 * i)
    for i in range(64):   # sun: yellow to red
        palette[160 + i] = (255, 230 - 3 * i, 40)
    out = []
    sea = HEIGHT * 5 // 8
    for n in range(frames):
        sun_y = sea // 2 + n * 4
        frame = []
        for y in range(HEIGHT):
            for x in range(WIDTH):
                if y >= sea:
                    wave = math.sin(x / 12 + n * 0.6 + y / 5) * 0.5 + 0.5
                    frame.append(96 + min(63, int((y - sea) / (HEIGHT - sea) * 40 + wave * 23)))
                elif math.hypot(x - CX, y - sun_y) < 44:
                    frame.append(160 + min(63, int(n * 3 + (y - sun_y + 44) / 2)))
                else:
                    frame.append(min(95, int(y / sea * 60 + n * 1.5)))
        out.append(frame)
    return palette, out


def balls(frames=30):
    """Five coloured balls bouncing on a dark floor."""
    palette = [(32, 32, 32)] + [(0, 0, 0)] * 255
    colours = [(255, 80, 80), (255, 200, 40), (80, 220, 90), (60, 150, 255), (200, 90, 255)]
    for b, (r, g, bl) in enumerate(colours):
        for shade in range(40):
            k = 0.45 + 0.55 * shade / 39
            palette[1 + b * 40 + shade] = (int(r * k), int(g * k), int(bl * k))
    palette[201] = (70, 70, 70)
    out = []
    for n in range(frames):
        frame = [0] * (WIDTH * HEIGHT)
        floor = HEIGHT - 40
        for x in range(WIDTH):
            for y in range(floor, HEIGHT):
                frame[y * WIDTH + x] = 201
        for b in range(5):
            phase = 2 * math.pi * (n / frames + b / 5)
            cx = WIDTH // 10 + b * WIDTH // 5
            cy = floor - 22 - int(abs(math.sin(phase)) * (floor - 60))
            for y in range(max(0, cy - 22), min(HEIGHT, cy + 23)):
                for x in range(cx - 22, cx + 23):
                    d = math.hypot(x - cx, y - cy)
                    if d <= 22:
                        light = 1 - math.hypot(x - cx + 8, y - cy + 8) / 40
                        frame[y * WIDTH + x] = 1 + b * 40 + max(0, min(39, int(light * 39)))
        out.append(frame)
    return palette, out


def spiral(frames=24):
    """A colour wheel turning into its centre."""
    out = []
    for n in range(frames):
        frame = []
        for y in range(HEIGHT):
            for x in range(WIDTH):
                angle = math.atan2(y - CY, x - CX) / (2 * math.pi)
                r = math.hypot(x - CX, y - CY)
                frame.append(int((angle + r / 90 + n / frames) * 256) & 0xFF)
        out.append(frame)
    return RAINBOW, out


def stripes(frames=16):
    """Diagonal rainbow stripes sliding by."""
    out = []
    for n in range(frames):
        frame = [int((x + y * 0.6) * 2 + n * 16) & 0xFF for y in range(HEIGHT) for x in range(WIDTH)]
        out.append(frame)
    return RAINBOW, out


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    # The first in name order is the one the viewer plays first.
    for name, make, delay in [("1-plasma", plasma, 6), ("2-sunset", sunset, 10), ("3-bouncing-balls", balls, 4),
                              ("4-spiral", spiral, 5), ("5-stripes", stripes, 8)]:
        palette, frames = make()
        write_gif(os.path.join(folder, name + ".gif"), palette, frames, delay)


if __name__ == "__main__":
    main()
