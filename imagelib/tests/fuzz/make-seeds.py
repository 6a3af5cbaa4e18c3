#!/usr/bin/env python3
"""Writes the fuzzers' seed files: small GIF, BMP, ICO and PNG files of our own, each showing one
feature of its format. With the path of a built imagetool it also writes the JPEG seed by converting
the PNG seed (we have no JPEG writer here).

    imagelib/tests/fuzz/make-seeds.py [build/tools/imagetool/imagetool]
"""
import os
import random
import struct
import subprocess
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SEEDS = os.path.join(HERE, 'seeds')


def write(kind, name, data):
    folder = os.path.join(SEEDS, kind)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


def colours(n, seed=0):
    return [((i * 37 + seed) & 255, (i * 91 + 7 + seed) & 255, (i * 13 + 200 - seed) & 255) for i in range(n)]


# ---- GIF ----

class Bits:
    def __init__(self):
        self.acc, self.count, self.out = 0, 0, bytearray()

    def put(self, code, width):
        self.acc |= code << self.count
        self.count += width
        while self.count >= 8:
            self.out.append(self.acc & 255)
            self.acc >>= 8
            self.count -= 8

    def sub_blocks(self):
        if self.count:
            self.out.append(self.acc & 255)
        data = bytearray()
        for i in range(0, len(self.out), 255):
            chunk = self.out[i:i + 255]
            data += bytes([len(chunk)]) + chunk
        return bytes(data + b'\0')


def lzw(pixels, min_size, clear_when_full=True):
    """Dictionary coding; with a full table either a clear code or (deferred) none."""
    clear = 1 << min_size
    bits = Bits()

    def reset():
        return min_size + 1, clear + 2, {}

    width, nxt, table = reset()
    bits.put(clear, width)
    prefix = pixels[0]
    for p in pixels[1:]:
        if (prefix, p) in table:
            prefix = table[prefix, p]
            continue
        bits.put(prefix, width)
        if nxt < 4096:
            table[prefix, p] = nxt
            nxt += 1
            if nxt > (1 << width) and width < 12:
                width += 1
        elif clear_when_full:
            bits.put(clear, width)
            width, nxt, table = reset()
        prefix = p
    bits.put(prefix, width)
    if len(pixels) > 1 and nxt < 4096:
        nxt += 1
        if nxt > (1 << width) and width < 12:
            width += 1
    bits.put(clear + 1, width)
    return bytes([min_size]) + bits.sub_blocks()


def table_bits(n):
    bits = 0
    while (2 << bits) < n:
        bits += 1
    return bits


def rgb_table(table):
    return b''.join(bytes(c) for c in table)


def gif_header(w, h, table=None, background=0):
    flags = 0xF0 | table_bits(len(table)) if table else 0
    return b'GIF89a' + struct.pack('<HHBBB', w, h, flags, background, 0) + (rgb_table(table) if table else b'')


def control(disposal, delay=0, trans=-1):
    flags = (disposal << 2) | (1 if trans >= 0 else 0)
    return b'\x21\xF9\x04' + struct.pack('<BHB', flags, delay, max(trans, 0)) + b'\0'


def image(left, top, w, h, pixels, min_size=8, local=None, interlaced=False, clear_when_full=True):
    flags = (0x80 | table_bits(len(local)) if local else 0) | (0x40 if interlaced else 0)
    order = pixels
    if interlaced:
        order = []
        for start, step in ((0, 8), (4, 8), (2, 4), (1, 2)):
            for y in range(start, h, step):
                order += pixels[y * w:(y + 1) * w]
    return (b'\x2C' + struct.pack('<HHHHB', left, top, w, h, flags) + (rgb_table(local) if local else b'') +
            lzw(order, min_size, clear_when_full))


def loop(repeats):
    return b'\x21\xFF\x0BNETSCAPE2.0\x03\x01' + struct.pack('<H', repeats) + b'\0'


def comment(text):
    return b'\x21\xFE' + bytes([len(text)]) + text + b'\0'


def gif_seeds():
    rnd = random.Random(7)
    write('gif', 'still.gif', gif_header(8, 6, colours(16)) + control(0, 10) +
          image(0, 0, 8, 6, [(x + y) % 16 for y in range(6) for x in range(8)], 4) + b';')
    write('gif', 'animation.gif', gif_header(6, 4, colours(4), 1) + loop(0) + comment(b'three frames') +
          control(1, 5) + image(0, 0, 6, 4, [1] * 24, 2) +
          control(2, 6, 0) + image(1, 1, 3, 2, [0, 2, 3, 3, 2, 0], 2) +
          control(3, 7) + image(2, 0, 2, 4, list(range(8)), 3, local=colours(8, 40)) +
          control(0, 8, 3) + image(0, 0, 6, 4, [3, 2] * 12, 2) + b';')
    write('gif', 'interlaced.gif', gif_header(5, 9, colours(8)) +
          image(0, 0, 5, 9, [(x * 3 + y) % 8 for y in range(9) for x in range(5)], 3, interlaced=True) + b';')
    noise = [rnd.randrange(256) for _ in range(72 * 72)]
    write('gif', 'full-table.gif', gif_header(72, 72, colours(256)) +
          image(0, 0, 72, 72, noise, 8, clear_when_full=False) + b';')
    write('gif', 'full-table-clear.gif', gif_header(72, 72, colours(256)) + image(0, 0, 72, 72, noise, 8) + b';')
    write('gif', 'tiles.gif', gif_header(8, 4) +
          image(0, 0, 4, 4, [i % 4 for i in range(16)], 2, local=colours(4, 1)) +
          image(4, 0, 4, 4, [i % 2 for i in range(16)], 2, local=colours(2, 90)) + b';')
    write('gif', 'zero-screen.gif', gif_header(0, 0, colours(2)) + image(0, 0, 3, 3, [1, 0, 1] * 3, 2) + b';')
    # The largest minimum code size: 12-bit codes from the start, the table full after 2046 entries.
    write('gif', 'code-size-11.gif', gif_header(48, 48, colours(16)) +
          image(0, 0, 48, 48, [rnd.randrange(16) for _ in range(48 * 48)], 11, clear_when_full=False) + b';')


# ---- BMP ----

def row_bytes(w, bpp):
    return (w * bpp + 31) // 32 * 4


def info_header(w, h, bpp, compression=0, size_image=0, colours_used=0, size=40):
    head = struct.pack('<IiiHHIIiiII', size, w, h, 1, bpp, compression, size_image, 2835, 2835, colours_used, 0)
    return head + b'\0' * (size - 40)


def bmp(info, palette=b'', pixels=b''):
    offset = 14 + len(info) + len(palette)
    return b'BM' + struct.pack('<IHHI', offset + len(pixels), 0, 0, offset) + info + palette + pixels


def quads(table):
    return b''.join(bytes((b, g, r, 0)) for r, g, b in table)


def packed_rows(w, h, bpp, value):
    data = bytearray()
    per_byte = 8 // bpp
    for y in range(h):
        row = bytearray(row_bytes(w, bpp))
        for x in range(w):
            v = value(x, y)
            if bpp == 8:
                row[x] = v
            else:
                shift = 8 - bpp * (x % per_byte + 1)
                row[x // per_byte] |= v << shift
        data += row
    return bytes(data)


def bmp_seeds():
    write('bmp', '1-bit.bmp', bmp(info_header(9, 3, 1), quads(colours(2)), packed_rows(9, 3, 1, lambda x, y: (x + y) & 1)))
    write('bmp', '4-bit.bmp', bmp(info_header(5, 4, 4, colours_used=6), quads(colours(6)),
                                  packed_rows(5, 4, 4, lambda x, y: (x + 2 * y) % 6)))
    rle8 = bytes([3, 1, 0, 3, 4, 5, 6, 0, 0, 0, 0, 2, 2, 0, 2, 2, 0, 1])
    write('bmp', 'rle8.bmp', bmp(info_header(6, 3, 8, 1, len(rle8), 8), quads(colours(8)), rle8))
    rle4 = bytes([4, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 2, 1, 1, 2, 0x77, 0, 1])
    write('bmp', 'rle4.bmp', bmp(info_header(7, 3, 4, 2, len(rle4), 8), quads(colours(8)), rle4))
    px565 = b''.join(struct.pack('<H', v) for v in (0xF800, 0x07E0, 0x001F, 0xFFFF, 0x8410, 0)) + b'\0\0'
    masks565 = struct.pack('<III', 0xF800, 0x07E0, 0x001F)
    write('bmp', '16-bit-565.bmp', bmp(info_header(3, 2, 16, 3) + masks565, b'', px565[:6] + b'\0\0' + px565[6:12] + b'\0\0'))
    px555 = b''.join(struct.pack('<H', v) for v in (0x7C00, 0x03E0, 0x001F, 0x7FFF))
    write('bmp', '16-bit-555.bmp', bmp(info_header(2, 2, 16), b'', px555))
    px24 = b''.join(bytes((x * 40, y * 60, 200)) for y in range(3) for x in range(3))
    rows24 = b''.join(px24[y * 9:(y + 1) * 9] + b'\0\0\0' for y in range(3))
    write('bmp', '24-bit-top-down.bmp', bmp(info_header(3, -3, 24), b'', rows24))
    write('bmp', 'bare-24-bit.bmp', info_header(3, 3, 24) + rows24)
    px32 = bytes([10, 20, 30, 255, 40, 50, 60, 128, 70, 80, 90, 0, 1, 2, 3, 64])
    write('bmp', '32-bit-alpha.bmp', bmp(info_header(2, 2, 32), b'', px32))
    v5 = bytearray(info_header(2, 2, 32, 3, size=124))
    v5[40:52] = struct.pack('<III', 0xFF, 0xFF00, 0xFF0000)
    write('bmp', '32-bit-v5-fields.bmp', bmp(bytes(v5), b'', px32))
    core = struct.pack('<IHHHH', 12, 4, 2, 1, 8)
    write('bmp', 'os2-core.bmp', bmp(core, b''.join(bytes((b, g, r)) for r, g, b in colours(256)),
                                     packed_rows(4, 2, 8, lambda x, y: x * 50 + y)))
    write('bmp', 'os2-2x.bmp', bmp(info_header(4, 2, 8, size=64), quads(colours(256)),
                                   packed_rows(4, 2, 8, lambda x, y: x + 4 * y)))


# ---- ICO and PNG ----

def png_chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(w, h, colour_type, depth, rows, extra=b''):
    raw = b''.join(b'\0' + r for r in rows)
    return (b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, depth, colour_type, 0, 0, 0)) +
            extra + png_chunk(b'IDAT', zlib.compress(raw)) + png_chunk(b'IEND', b''))


def icon(images):
    """images: (width, height, colour count, planes, bits, data)."""
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b''
    for w, h, n, planes, bits, data in images:
        out += struct.pack('<BBBBHHII', w & 255, h & 255, n, 0, planes, bits, len(data), offset + len(body))
        body += data
    return out + body


def icon_bitmap(w, h, bpp, palette, pixels, mask):
    return info_header(w, 2 * h, bpp) + palette + pixels + mask


def image_seeds():
    rgba_rows = [bytes(v for x in range(5) for v in (x * 50, y * 80, 120, 255 if x != y else 0)) for y in range(3)]
    rgba = png(5, 3, 6, 8, rgba_rows)
    write('image', 'rgba.png', rgba)
    palette_rows = [bytes([(x + y) % 4 for x in range(6)]) for y in range(2)]
    write('image', 'palette-trns.png', png(6, 2, 3, 8, palette_rows,
                                           png_chunk(b'PLTE', rgb_table(colours(4))) + png_chunk(b'tRNS', b'\xff\x00')))
    write('image', 'gray16.png', png(3, 2, 0, 16, [struct.pack('>HHH', 0, 0x8000 + y, 0xFFFF) for y in range(2)]))
    mask4 = packed_rows(8, 8, 1, lambda x, y: 1 if x == 0 or y == 7 else 0)
    pixels4 = packed_rows(8, 8, 4, lambda x, y: (x + y) % 7)
    pixels32 = bytes(v for y in range(4) for x in range(4) for v in (x * 60, y * 60, 90, 255 if x + y < 6 else 0))
    write('image', 'icon.ico', icon([(8, 8, 16, 1, 4, icon_bitmap(8, 8, 4, quads(colours(16)), pixels4, mask4)),
                                     (4, 4, 0, 1, 32, icon_bitmap(4, 4, 32, b'', pixels32, b'\0' * 16))]))
    write('image', 'png-icon.ico', icon([(0, 0, 0, 1, 32, rgba)]))


def main():
    gif_seeds()
    bmp_seeds()
    image_seeds()
    if len(sys.argv) > 1:
        png_seed = os.path.join(SEEDS, 'image', 'rgba.png')
        subprocess.run([sys.argv[1], 'convert', png_seed, os.path.join(SEEDS, 'image', 'rgb.jpg')], check=True)


if __name__ == '__main__':
    main()
