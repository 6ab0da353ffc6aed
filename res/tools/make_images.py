#!/usr/bin/env python3
"""Writes the viewer's pictures, res/toolbar.bmp and res/oktalon.ico, from the pixel art below.

Both are 16-colour (4 bits per pixel) images in the standard Windows palette, so the output is
the same on every machine. Run it from anywhere after changing a picture and keep the generated
files with the sources:

    python3 res/tools/make_images.py [OUTPUT_DIR]     (default: the res folder)

Python standard library only.
"""

import os
import struct
import sys

# The standard 16-colour Windows palette, as (red, green, blue), in palette order.
PALETTE = [
    (0x00, 0x00, 0x00),  # 0 black
    (0x80, 0x00, 0x00),  # 1 maroon
    (0x00, 0x80, 0x00),  # 2 green
    (0x80, 0x80, 0x00),  # 3 olive
    (0x00, 0x00, 0x80),  # 4 navy
    (0x80, 0x00, 0x80),  # 5 purple
    (0x00, 0x80, 0x80),  # 6 teal
    (0xC0, 0xC0, 0xC0),  # 7 silver: the toolbar's background, mapped to the button face
    (0x80, 0x80, 0x80),  # 8 grey
    (0xFF, 0x00, 0x00),  # 9 red
    (0x00, 0xFF, 0x00),  # 10 lime
    (0xFF, 0xFF, 0x00),  # 11 yellow
    (0x00, 0x00, 0xFF),  # 12 blue
    (0xFF, 0x00, 0xFF),  # 13 fuchsia
    (0x00, 0xFF, 0xFF),  # 14 aqua
    (0xFF, 0xFF, 0xFF),  # 15 white
]

# One letter per colour in the pixel art.
COLOUR_OF = {
    'K': 0, 'M': 1, 'O': 3, 'N': 4, 'T': 6, '.': 7, 'G': 8,
    'R': 9, 'Y': 11, 'B': 12, 'A': 14, 'W': 15,
}

# Toolbar: three 16 x 15 buttons, left to right: open (a folder), find (binoculars),
# about (a question mark). '.' is the button face.
OPEN_BUTTON = [
    "................",
    "................",
    "................",
    ".KKKK...........",
    "KOOOOK..........",
    "KOOOOOKKKKKKK...",
    "KOOOOOOOOOOOK...",
    "KOOOKKKKKKKKKKKK",
    "KOOKWWWWWWWWWWK.",
    "KOOKYYYYYYYYYYK.",
    "KOKYYYYYYYYYYK..",
    "KOKYYYYYYYYYYK..",
    "KKYYYYYYYYYYK...",
    "KKKKKKKKKKKKK...",
    "................",
]

FIND_BUTTON = [
    "................",
    "..KKKK....KKKK..",
    "..KGGK....KGGK..",
    "..KGGK....KGGK..",
    ".KKKKKK..KKKKKK.",
    ".KGGGGKKKKGGGGK.",
    "KGBWGGKGGKGBWGGK",
    "KGBBGGKGGKGBBGGK",
    "KGNNGGKKKKGNNGGK",
    "KGGGGGK..KGGGGGK",
    "KGGGGGK..KGGGGGK",
    "KGGGGGK..KGGGGGK",
    "KKKKKKK..KKKKKKK",
    "................",
    "................",
]

ABOUT_BUTTON = [
    "................",
    ".....NNNNNN.....",
    "....NNBBBBNN....",
    "...NNB....BNN...",
    "...NN......NN...",
    "...........NN...",
    "..........NN....",
    ".........NN.....",
    "........NN......",
    ".......NN.......",
    ".......NN.......",
    "................",
    ".......NN.......",
    ".......NN.......",
    "................",
]

TOOLBAR_BUTTONS = [OPEN_BUTTON, FIND_BUTTON, ABOUT_BUTTON]
BUTTON_WIDTH, BUTTON_HEIGHT = 16, 15


def toolbar_pixels():
    """Rows of palette indices, top row first, the buttons side by side."""
    rows = []
    for y in range(BUTTON_HEIGHT):
        row = []
        for art in TOOLBAR_BUTTONS:
            assert len(art) == BUTTON_HEIGHT and all(len(line) == BUTTON_WIDTH for line in art)
            row.extend(COLOUR_OF[ch] for ch in art[y])
        rows.append(row)
    return rows


def icon_pixels():
    """The 32 x 32 icon: a dump page with its marked line in cyan, and a magnifying glass.

    Returns (rows of palette indices, rows of opacity), top row first.
    """
    size = 32
    colour = [[0] * size for _ in range(size)]
    opaque = [[False] * size for _ in range(size)]

    def put(x, y, c):
        if 0 <= x < size and 0 <= y < size:
            colour[y][x] = c
            opaque[y][x] = True

    # The page: x 3..24, y 1..30, its top right corner folded.
    left, right, top, bottom, fold = 3, 24, 1, 30, 6
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if x - (right - fold) > y - top:
                continue  # cut off by the fold
            edge = x in (left, right) or y in (top, bottom) or x - (right - fold) == y - top
            put(x, y, 0 if edge else 15)
    for i in range(fold + 1):  # the folded flap
        for x in range(right - fold, right - fold + i + 1):
            put(x, top + i, 0 if x == right - fold or i == fold else 7)
    # Dump lines: an offset column and hex pairs in navy, the marked line on cyan.
    for n, y in enumerate(range(top + 4, bottom - 2, 3)):
        marked = n == 3
        if marked:
            for x in range(left + 1, right):
                put(x, y - 1, 14)
                put(x, y, 14)
                put(x, y + 1, 14)
        line_end = right - fold - 1 if y < top + fold + 2 else right - 2
        for x in range(left + 2, line_end + 1):
            column = x - (left + 2)
            if column in (3, 4) or column % 3 == 2:
                continue  # gaps between the offset and the pairs, and between pairs
            put(x, y, 4)
    # The magnifying glass over the lower right of the page.
    cx, cy, outer, inner = 21, 20, 6.6, 4.6
    for y in range(size):
        for x in range(size):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if d <= inner:
                put(x, y, 14 if (x - cx) + (y - cy) < -2 else 6 if d > inner - 1 else 14)
            elif d <= outer:
                put(x, y, 0)
    for i in range(7):  # the handle, two pixels thick, with a dark rim
        hx, hy = 25 + i, 24 + i
        put(hx, hy, 1)
        put(hx - 1, hy, 1)
        put(hx, hy - 1, 0)
        put(hx - 1, hy + 1, 0)
    return colour, opaque


def palette_bytes():
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)


def pack_4bpp(rows):
    """Bottom-up 4-bit rows, each padded to a multiple of 4 bytes."""
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for i in range(0, len(row), 2):
            hi = row[i]
            lo = row[i + 1] if i + 1 < len(row) else 0
            line.append((hi << 4) | lo)
        while len(line) % 4:
            line.append(0)
        out += line
    return bytes(out)


def pack_mask(opaque_rows):
    """Bottom-up 1-bit AND mask: 1 where the icon is transparent."""
    out = bytearray()
    for row in reversed(opaque_rows):
        line = bytearray((len(row) + 7) // 8)
        for x, is_opaque in enumerate(row):
            if not is_opaque:
                line[x // 8] |= 0x80 >> (x % 8)
        while len(line) % 4:
            line.append(0)
        out += line
    return bytes(out)


def info_header(width, height, image_size):
    # BITMAPINFOHEADER, 4 bits per pixel, uncompressed, all 16 colours used.
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 16)


def make_bmp(rows):
    width, height = len(rows[0]), len(rows)
    bits = pack_4bpp(rows)
    dib = info_header(width, height, len(bits)) + palette_bytes()
    offset = 14 + len(dib)
    file_header = struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset)
    return file_header + dib + bits


def make_ico(rows, opaque_rows):
    width, height = len(rows[0]), len(rows)
    xor_bits = pack_4bpp(rows)
    and_bits = pack_mask(opaque_rows)
    # In an icon the header's height counts the colour image and the mask together.
    image = info_header(width, 2 * height, len(xor_bits) + len(and_bits)) + palette_bytes() \
        + xor_bits + and_bits
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', width, height, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
    colour, opaque = icon_pixels()
    outputs = {
        'toolbar.bmp': make_bmp(toolbar_pixels()),
        'oktalon.ico': make_ico(colour, opaque),
    }
    for name, data in outputs.items():
        path = os.path.join(out_dir, name)
        with open(path, 'wb') as f:
            f.write(data)
        print('wrote', os.path.normpath(path), len(data), 'bytes')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
