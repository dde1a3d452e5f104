#!/usr/bin/env python3
"""Writes about_picture.bmp, the About dialog's product picture: 32 x 32 pixels,
16-colour palette, 4 bits per pixel, uncompressed. The picture is a blue tile with
a white "B" and three orange speed lines. Run it again after changing the drawing:

    python3 registry/make_about_picture.py registry/about_picture.bmp
"""
import struct
import sys

SIZE = 32

# Palette index: (red, green, blue).
PALETTE = [
    (0xF0, 0xF0, 0xF0),  # 0 background, close to the dialog face
    (0x10, 0x30, 0x80),  # 1 tile, dark blue
    (0x30, 0x60, 0xC0),  # 2 tile highlight
    (0xFF, 0xFF, 0xFF),  # 3 letter
    (0xF0, 0x90, 0x20),  # 4 speed lines, orange
    (0x08, 0x18, 0x40),  # 5 tile shadow
] + [(0, 0, 0)] * 10

# The letter, 12 x 16, "#" is a letter pixel.
LETTER = [
    "#########...",
    "##########..",
    "###....####.",
    "###.....###.",
    "###.....###.",
    "###....####.",
    "##########..",
    "#########...",
    "##########..",
    "###....####.",
    "###.....####",
    "###.....####",
    "###.....####",
    "###....####.",
    "###########.",
    "##########..",
]


def draw():
    pixels = [[0] * SIZE for _ in range(SIZE)]
    # Tile with cut corners, a lighter top band and a shadow on the right and bottom.
    for y in range(2, 30):
        for x in range(2, 30):
            corner = min(x - 2, 29 - x) + min(y - 2, 29 - y)
            if corner < 2:
                continue
            pixels[y][x] = 2 if y < 8 else 1
            if x == 29 or y == 29 or (x == 28 and y > 3) or (y == 28 and x > 3):
                pixels[y][x] = 5
    for row, line in enumerate(LETTER):
        for column, mark in enumerate(line):
            if mark == "#":
                pixels[8 + row][13 + column] = 3
    # Speed lines to the left of the letter.
    for y, start in ((11, 5), (15, 4), (19, 6)):
        for x in range(start, 11):
            pixels[y][x] = 4
    return pixels


def bitmap_bytes(pixels):
    rows = []
    for row in reversed(pixels):  # bottom-up
        packed = bytearray()
        for x in range(0, SIZE, 2):
            packed.append((row[x] << 4) | row[x + 1])
        rows.append(bytes(packed))  # 16 bytes: already a multiple of 4
    image = b"".join(rows)
    palette = b"".join(struct.pack("<BBBB", blue, green, red, 0) for red, green, blue in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 4, 0, len(image), 2835, 2835, 16, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    return header + info + palette + image


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else "about_picture.bmp"
    with open(target, "wb") as file:
        file.write(bitmap_bytes(draw()))


if __name__ == "__main__":
    main()
