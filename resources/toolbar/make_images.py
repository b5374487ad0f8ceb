#!/usr/bin/env python3
"""Draws the five 16 x 16 toolbar images of the main window as PNG files.

Each picture is a grid of characters, one per pixel, coloured by PALETTE; '.' is
transparent. The order of PICTURES is the order of the images on the toolbar strip
(image index 0 to 4). Run it from anywhere; it writes next to itself:

    python3 resources/toolbar/make_images.py
"""

import pathlib
import struct
import zlib

SIZE = 16  # pixels, square

PALETTE = {
    ".": (0, 0, 0, 0),
    "k": (0, 0, 0, 255),
    "w": (255, 255, 255, 255),
    "l": (192, 192, 192, 255),
    "g": (128, 128, 128, 255),
    "y": (255, 224, 96, 255),
    "o": (200, 152, 16, 255),
    "n": (16, 32, 128, 255),
    "G": (0, 150, 0, 255),
    "h": (120, 240, 120, 255),
    "B": (0, 64, 220, 255),
    "b": (120, 170, 255, 255),
    "r": (200, 0, 0, 255),
}

OPENED_FOLDER = """
................
................
.kkkk...........
kyyyyk..........
kyyyyykkkkkkk...
kyyyyyyyyyyyyk..
kyyyyyyyyyyyyk..
kyyykkkkkkkkkkkk
kyykoooooooooook
kykoooooooooook.
kykoooooooooook.
kkoooooooooook..
kkoooooooooook..
kkkkkkkkkkkkk...
................
................
"""

DISKETTE = """
................
.kkkkkkkkkkkkkk.
.knnwwwwwwwwnnk.
.knnwwwwwwwwnnk.
.knnwwwwwwwwnnk.
.knnwwwwwwwwnnk.
.knnnnnnnnnnnnk.
.knnnnnnnnnnnnk.
.knnnllllllnnnk.
.knnnlkklllnnnk.
.knnnlkklllnnnk.
.knnnlkklllnnnk.
.knnnllllllnnnk.
.kkkkkkkkkkkkkk.
................
................
"""

# Reading from the controller: the arrow leaves the chip.
GREEN_CHIP_ARROW = """
................
................
..l.l.l.l.......
.kkkkkkkkk......
lkGGGGGGGkl.....
.kGhhGGGGk...r..
lkGhGGGGGkl..rr.
.kGGGGGGGk.rrrrr
lkGGGGGGGkl..rr.
.kGGGGGGGk...r..
lkGGGGGGGkl.....
.kkkkkkkkk......
..l.l.l.l.......
................
................
................
"""

# Setting the controller: the arrow enters the chip.
BLUE_CHIP_ARROW = """
................
................
.......l.l.l.l..
......kkkkkkkkk.
..r..lkBBBBBBBkl
..rr..kBbbBBBBk.
rrrrrlkBbBBBBBkl
..rr..kBBBBBBBk.
..r..lkBBBBBBBkl
......kBBBBBBBk.
.....lkBBBBBBBkl
......kkkkkkkkk.
.......l.l.l.l..
................
................
................
"""

SPANNER_AND_SCREWDRIVER = """
..g..g..........
.gl..lg......kk.
.gl..lg.....kk..
.glllllg...kk...
..glllllg.kk....
...gglllgkk.....
.....gllkk......
......gkklg.....
.....rrrlllg....
....rrr.glllg...
...rrr...glllg..
..rrr.....glllg.
.rrr.......glllg
.rr.........gllg
.............gg.
................
"""

PICTURES = [
    ("open.png", OPENED_FOLDER),
    ("save.png", DISKETTE),
    ("read.png", GREEN_CHIP_ARROW),
    ("set.png", BLUE_CHIP_ARROW),
    ("edit.png", SPANNER_AND_SCREWDRIVER),
]


def pixels_of(picture):
    rows = picture.strip("\n").split("\n")
    if len(rows) != SIZE or any(len(row) != SIZE for row in rows):
        raise ValueError("a picture must be 16 rows of 16 characters")
    return [[PALETTE[c] for c in row] for row in rows]


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png_bytes(pixels):
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)  # 8-bit RGBA
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in pixels)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def main():
    folder = pathlib.Path(__file__).resolve().parent
    for name, picture in PICTURES:
        (folder / name).write_bytes(png_bytes(pixels_of(picture)))


if __name__ == "__main__":
    main()
