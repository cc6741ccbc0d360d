#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws Gomirlo's icons and writes them next to this script.

Run it by hand with a Python 3 that has Pillow (Debian: python3-pil):

    /usr/bin/python3 ui/pictures/make_pictures.py [output-folder]

It writes:
  gomirlo.ico        window icon, one 32x32 picture, 24 bits per pixel
  gomirlo.svg        the same window icon as a scalable picture
  next_normal.ico    "go on" arrow
  next_down.ico      the arrow while it is being pressed
  next_disabled.ico  the arrow when there is nothing to go on to
  exit.ico           open door with an arrow going out
  image1.ico         hourglass, shown beside the time left

The five button pictures each hold a 32x32 and a 16x16 picture, 4 bits per
pixel with the classic 16-colour Windows palette. All pictures carry an AND
mask, so everything outside the drawing is transparent.

Pillow's ImageDraw draws the pictures. Pillow cannot write these two kinds
of icon, so a small ICO writer below does; after writing, Pillow reads every
file back and its pixels are compared with what was drawn, and any
difference stops the script with an error. The output is the same byte for
byte on every run, so the files can be kept in git and rebuilt at will.
"""

import os
import struct
import sys

from PIL import Image, ImageDraw

# --------------------------------------------------------------------------
# Palette

# The 16 colours every Windows display has known since Windows 3.0, in their
# usual order. Icons with 4 bits per pixel use exactly these.
PALETTE16 = [
    (0x00, 0x00, 0x00),  # 0 black
    (0x80, 0x00, 0x00),  # 1 maroon
    (0x00, 0x80, 0x00),  # 2 green
    (0x80, 0x80, 0x00),  # 3 olive
    (0x00, 0x00, 0x80),  # 4 navy
    (0x80, 0x00, 0x80),  # 5 purple
    (0x00, 0x80, 0x80),  # 6 teal
    (0xC0, 0xC0, 0xC0),  # 7 silver
    (0x80, 0x80, 0x80),  # 8 grey
    (0xFF, 0x00, 0x00),  # 9 red
    (0x00, 0xFF, 0x00),  # 10 lime
    (0xFF, 0xFF, 0x00),  # 11 yellow
    (0x00, 0x00, 0xFF),  # 12 blue
    (0xFF, 0x00, 0xFF),  # 13 fuchsia
    (0x00, 0xFF, 0xFF),  # 14 aqua
    (0xFF, 0xFF, 0xFF),  # 15 white
]
(BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER,
 GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE) = PALETTE16

# --------------------------------------------------------------------------
# Shapes: a shape is a set of (x, y) pixels, y growing downwards. Sets make
# the outline and lit-edge arithmetic below plain set operations.


def polygon(size, corners):
    """Pixels of a size x size grid that ImageDraw fills for a polygon: the
    corners are pixel positions and the pixels on the edges belong to it."""
    mask = Image.new("1", (size, size))
    ImageDraw.Draw(mask).polygon(corners, fill=1)
    return {(x, y) for y in range(size) for x in range(size)
            if mask.getpixel((x, y))}


def rect(x0, y0, x1, y1):
    """Pixels with x0 <= x < x1 and y0 <= y < y1."""
    return {(x, y) for y in range(y0, y1) for x in range(x0, x1)}


def shifted(shape, dx, dy):
    return {(x + dx, y + dy) for x, y in shape}


def _neighbours(x, y):
    return ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1))


def rim(shape):
    """Pixels of the shape that touch the outside (4-neighbourhood)."""
    return {p for p in shape if any(q not in shape for q in _neighbours(*p))}


def lit_rim(shape):
    """The top and left rim of a shape: where light from the top-left falls."""
    return {(x, y) for x, y in rim(shape)
            if (x - 1, y) not in shape or (x, y - 1) not in shape}


def shaded_rim(shape):
    """The bottom and right rim of a shape, leaving out the lit part."""
    return rim(shape) - lit_rim(shape)


def blank(size):
    """A square picture, clear until something is painted on it."""
    return Image.new("RGBA", (size, size))


def paint(picture, shape, colour):
    """Paints the pixels of a shape; those off the picture are left out."""
    ImageDraw.Draw(picture).point(list(shape), fill=colour)


def outlined(picture, shape, fill, outline, light=None, shade=None):
    """Fills a shape, draws its 1-pixel outline and, optionally, a light
    edge on the top-left and a shaded edge on the bottom-right inside the
    outline, which gives the flat shape a little depth."""
    inner = shape - rim(shape)
    paint(picture, shape, outline)
    paint(picture, inner, fill)
    if light is not None:
        paint(picture, lit_rim(inner), light)
    if shade is not None:
        paint(picture, shaded_rim(inner), shade)


# --------------------------------------------------------------------------
# Button pictures (4 bits per pixel, 32x32 and 16x16)

def arrow_shape(size):
    """The "go on" arrow, pointing right, drawn for each size by hand so
    that both sizes stay crisp and symmetric: its point is two pixels tall,
    one on either side of the middle row."""
    if size == 32:
        return polygon(32, [(2, 11), (15, 11), (15, 4), (26, 15), (26, 16),
                            (15, 27), (15, 20), (2, 20)])
    return polygon(16, [(1, 5), (8, 5), (8, 2), (13, 7), (13, 8),
                        (8, 13), (8, 10), (1, 10)])


def draw_next_normal(size):
    picture = blank(size)
    outlined(picture, arrow_shape(size), fill=LIME, outline=GREEN,
             light=AQUA, shade=TEAL)
    return picture


def draw_next_down(size):
    # A pressed button sinks: the arrow moves one pixel down and right, goes
    # darker and loses its shine, and the shadow moves to the top-left.
    picture = blank(size)
    outlined(picture, shifted(arrow_shape(size), 1, 1), fill=GREEN,
             outline=BLACK, light=TEAL)
    return picture


def draw_next_disabled(size):
    picture = blank(size)
    outlined(picture, arrow_shape(size), fill=SILVER, outline=GREY,
             light=WHITE)
    return picture


def draw_exit(size):
    """An open door with a red arrow leaving through it."""
    picture = blank(size)
    if size == 32:
        frame = rect(3, 1, 21, 32)
        opening = rect(6, 4, 18, 32)
        # The leaf is seen at a slant, taller on the right than on the left.
        # Its sloping top and bottom edges get a corner on every pixel row,
        # so each step is placed by hand rather than left to rounding.
        leaf = polygon(32, [(12, 1), (9, 2), (7, 3), (6, 4), (6, 29),
                            (8, 30), (11, 31), (12, 31)])
        knob = rect(10, 16, 12, 18)
        arrow = polygon(32, [(12, 12), (20, 12), (20, 6), (29, 15), (29, 16),
                             (20, 25), (20, 19), (12, 19)])
    else:
        frame = rect(0, 0, 11, 16)
        opening = rect(2, 2, 9, 16)
        leaf = polygon(16, [(5, 0), (3, 1), (2, 2), (2, 15), (5, 15)])
        knob = {(5, 9)}
        arrow = polygon(16, [(7, 6), (10, 6), (10, 4), (13, 7), (13, 8),
                             (10, 11), (10, 9), (7, 9)])
    outlined(picture, frame, fill=SILVER, outline=BLACK, light=WHITE,
             shade=GREY)
    paint(picture, opening, BLACK)
    outlined(picture, leaf, fill=MAROON, outline=BLACK)
    paint(picture, knob, YELLOW)
    outlined(picture, arrow, fill=RED, outline=BLACK,
             light=WHITE if size == 32 else None)
    return picture


def draw_hourglass(size):
    picture = blank(size)
    if size == 32:
        bars = [rect(5, 2, 27, 6), rect(5, 26, 27, 30)]
        posts = [rect(6, 5, 9, 27), rect(23, 5, 26, 27)]
        glass = polygon(32, [(9, 5), (22, 5), (22, 8), (17, 13), (17, 18),
                             (22, 23), (22, 26), (9, 26), (9, 23), (14, 18),
                             (14, 13), (9, 8)])
        top_sand_from, bottom_sand_from = 10, 21
        stream = rect(15, 14, 17, 22)
        pile = polygon(32, [(10, 25), (21, 25), (16, 19), (15, 19)])
    else:
        bars = [rect(2, 0, 14, 3), rect(2, 13, 14, 16)]
        posts = []
        glass = polygon(16, [(3, 2), (12, 2), (12, 3), (9, 6), (9, 9),
                             (12, 12), (12, 13), (3, 13), (3, 11), (6, 8),
                             (6, 7), (3, 4)])
        top_sand_from, bottom_sand_from = 5, 11
        stream = rect(7, 7, 9, 11)
        pile = set()
    for p in posts:
        outlined(picture, p, fill=OLIVE, outline=BLACK)
    inner = glass - rim(glass)
    paint(picture, glass, BLACK)
    paint(picture, inner, WHITE)
    paint(picture, lit_rim(inner), AQUA)
    sand = {(x, y) for x, y in inner if top_sand_from <= y < size // 2 - 1}
    sand |= {(x, y) for x, y in inner if y >= bottom_sand_from}
    sand |= inner & (stream | pile)
    paint(picture, sand, YELLOW)
    paint(picture, {(x, y) for x, y in sand if (x, y + 1) not in sand}, OLIVE)
    for b in bars:
        outlined(picture, b, fill=OLIVE, outline=BLACK, light=YELLOW)
    return picture


# --------------------------------------------------------------------------
# Window icon (24 bits per pixel, 32x32)

# A small hand-made bold font: just the two digits the icon needs.
GLYPHS = {
    "2": [
        "..######..",
        ".########.",
        "###....###",
        "##......##",
        "........##",
        ".......###",
        "......###.",
        ".....###..",
        "....###...",
        "...###....",
        "..###.....",
        ".###......",
        "##########",
        "##########",
    ],
    "0": [
        "..######..",
        ".########.",
        "###....###",
        "##......##",
        "##......##",
        "##......##",
        "##......##",
        "##......##",
        "##......##",
        "##......##",
        "##......##",
        "###....###",
        ".########.",
        "..######..",
    ],
}
GLYPH_W, GLYPH_H, GLYPH_GAP = 10, 14, 2

# Window icon layout, in pixels of the 32x32 picture.
ICON_SIZE = 32
TILE_MARGIN = 1       # transparent edge around the yellow tile
TILE_RADIUS = 6       # corner radius of the tile
TILE_BORDER = 1.5     # width of the darker edge of the tile
TEXT_X, TEXT_Y = 5, 8  # top-left corner of "20"
SUPERSAMPLE = 4       # samples per pixel side where the tile's edge blends

TILE_BORDER_RGB = (0xD9, 0x8C, 0x00)
TILE_TOP_RGB = (0xFF, 0xE8, 0x6E)
TILE_BOTTOM_RGB = (0xFF, 0xC4, 0x1F)
DIGIT_RGB = (0x1A, 0x56, 0xD6)
DIGIT_SHADOW_RGB = (0x0B, 0x2A, 0x6E)


def text_pixels(text, x0, y0):
    """Pixels of a string written in the little font above."""
    pixels = set()
    x = x0
    for ch in text:
        for gy, row in enumerate(GLYPHS[ch]):
            for gx, cell in enumerate(row):
                if cell == "#":
                    pixels.add((x + gx, y0 + gy))
        x += GLYPH_W + GLYPH_GAP
    return pixels


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def rounded_square(side, inset, radius):
    """A side x side mask ("L", 255 inside) of a square inset from every edge,
    with round corners of the given radius, all in pixels.

    ImageDraw's boxes include their last row and column, hence the - 1; and
    rounded_rectangle() draws a corner of radius r in a box 2r + 1 pixels
    across, so a corner 2 * radius pixels across asks for radius - 0.5."""
    mask = Image.new("L", (side, side))
    last = side - inset - 1
    ImageDraw.Draw(mask).rounded_rectangle((inset, inset, last, last),
                                           radius - 0.5, fill=255)
    return mask


def tile_masks(scale):
    """The tile, and its face inside the darker edge, drawn with scale x
    scale pixels for every pixel of the 32x32 icon."""
    side = ICON_SIZE * scale
    tile = rounded_square(side, TILE_MARGIN * scale, TILE_RADIUS * scale)
    face = rounded_square(side, (TILE_MARGIN + TILE_BORDER) * scale,
                          (TILE_RADIUS - TILE_BORDER) * scale)
    return tile, face


def samples_covered(mask, samples):
    """How many of each pixel's samples x samples points a mask covers.
    Every covered point weighs samples², so the average reduce() takes is
    the count itself."""
    weighted = mask.point(lambda v: samples * samples if v else 0)
    return weighted.reduce(samples)


def draw_window_icon():
    """The 32x32 window icon: "20" on a yellow tile with round corners."""
    tile, face = (samples_covered(m, SUPERSAMPLE)
                  for m in tile_masks(SUPERSAMPLE))
    picture = blank(ICON_SIZE)
    for y in range(ICON_SIZE):
        fill = mix(TILE_TOP_RGB, TILE_BOTTOM_RGB, y / (ICON_SIZE - 1))
        for x in range(ICON_SIZE):
            covered, inside = tile.getpixel((x, y)), face.getpixel((x, y))
            # The mask is only on or off, so a pixel is either part of the
            # tile or not; inside it, the border blends smoothly into the fill.
            if 2 * covered >= SUPERSAMPLE * SUPERSAMPLE:
                colour = mix(TILE_BORDER_RGB, fill, inside / covered)
                picture.putpixel((x, y), colour + (255,))
    digits = text_pixels("20", TEXT_X, TEXT_Y)
    paint(picture, shifted(digits, 1, 1), DIGIT_SHADOW_RGB)
    paint(picture, digits, DIGIT_RGB)
    return picture


def _pixel_outline_loops(pixels):
    """Closed outlines around a set of pixels, as lists of corner points.

    Every pixel contributes its sides that face an empty pixel, each side
    running clockwise around the pixel. Chained together these sides make
    loops that go clockwise around filled areas and anticlockwise around
    holes, which is exactly what the SVG nonzero fill rule needs."""
    edges = {}
    for x, y in pixels:
        if (x, y - 1) not in pixels:
            edges.setdefault((x, y), []).append((x + 1, y))
        if (x + 1, y) not in pixels:
            edges.setdefault((x + 1, y), []).append((x + 1, y + 1))
        if (x, y + 1) not in pixels:
            edges.setdefault((x + 1, y + 1), []).append((x, y + 1))
        if (x - 1, y) not in pixels:
            edges.setdefault((x, y + 1), []).append((x, y))
    loops = []
    while edges:
        start = min(edges)
        loop = [start]
        point = start
        while True:
            targets = edges[point]
            nxt = targets.pop()
            if not targets:
                del edges[point]
            if nxt == start:
                break
            loop.append(nxt)
            point = nxt
        # Keep only the corners where the outline turns.
        corners = []
        n = len(loop)
        for i in range(n):
            (ax, ay), (bx, by), (cx, cy) = loop[i - 1], loop[i], loop[(i + 1) % n]
            if (bx - ax) * (cy - by) - (by - ay) * (cx - bx) != 0:
                corners.append(loop[i])
        loops.append(corners)
    return loops


def _svg_path(pixels, dx=0, dy=0):
    parts = []
    for loop in _pixel_outline_loops(pixels):
        first = loop[0]
        parts.append("M%d %d" % (first[0] + dx, first[1] + dy))
        parts.extend("L%d %d" % (x + dx, y + dy) for x, y in loop[1:])
        parts.append("Z")
    return "".join(parts)


def _hex(rgb):
    return "#%02x%02x%02x" % rgb


def window_icon_svg():
    """The window icon as SVG, drawn from the same numbers and the same font
    as the 32x32 picture, so the two always match."""
    half = TILE_BORDER / 2
    side = ICON_SIZE - 2 * TILE_MARGIN - TILE_BORDER
    digits = text_pixels("20", TEXT_X, TEXT_Y)

    def num(v):
        return ("%.2f" % v).rstrip("0").rstrip(".")

    return "\n".join([
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
        'viewBox="0 0 %d %d">' % ((ICON_SIZE,) * 4),
        '  <title>Gomirlo</title>',
        '  <defs>',
        '    <linearGradient id="tile" x1="0" y1="0" x2="0" y2="1">',
        '      <stop offset="0" stop-color="%s"/>' % _hex(TILE_TOP_RGB),
        '      <stop offset="1" stop-color="%s"/>' % _hex(TILE_BOTTOM_RGB),
        '    </linearGradient>',
        '  </defs>',
        '  <rect x="%s" y="%s" width="%s" height="%s" rx="%s" ry="%s" '
        'fill="url(#tile)" stroke="%s" stroke-width="%s"/>' % (
            num(TILE_MARGIN + half), num(TILE_MARGIN + half),
            num(side), num(side),
            num(TILE_RADIUS - half), num(TILE_RADIUS - half),
            _hex(TILE_BORDER_RGB), num(TILE_BORDER)),
        '  <path fill="%s" d="%s"/>' % (_hex(DIGIT_SHADOW_RGB),
                                        _svg_path(digits, 1, 1)),
        '  <path fill="%s" d="%s"/>' % (_hex(DIGIT_RGB), _svg_path(digits)),
        '</svg>',
        '',
    ])


# --------------------------------------------------------------------------
# ICO writing
#
# Pillow 9.4 cannot write either kind of icon the window layout uses. Its ICO
# writer stores PNG pictures, or with bitmap_format="bmp" hands each picture
# to its BMP writer, which has no 4-bit mode (a 16-colour picture comes out
# at 8 bits per pixel) and gives 24-bit pictures an AND mask that hides
# nothing, so the corners around the tile would be black. Hence the headers
# are written here by hand; Pillow still packs the rows.

def _row_bytes(bits):
    """Bytes in one bitmap row of the given number of bits: rows are padded
    to a multiple of four bytes."""
    return (bits + 31) // 32 * 4


def _ico_picture(picture, bits):
    """One RGBA picture as stored inside an ICO file: bitmap header, colour
    table (16-colour pictures only), colour bitmap and AND mask, each bitmap
    bottom row first."""
    size = picture.width
    opaque = picture.getchannel("A")
    # Clear pixels are black in the colour bitmap, so that AND-then-XOR
    # leaves the screen underneath as it was.
    colours = Image.new("RGB", picture.size)
    colours.paste(picture, mask=opaque)
    if bits == 4:
        indexed = Image.new("P", picture.size)
        indexed.putdata([PALETTE16.index(rgb) for rgb in colours.getdata()])
        table = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE16)
        pixels = indexed.tobytes("raw", "P;4", _row_bytes(4 * size), -1)
    else:
        table = b""
        pixels = colours.tobytes("raw", "BGR", _row_bytes(24 * size), -1)
    # "1;I" packs a 1 for every clear pixel, which is what the AND mask holds.
    mask = opaque.convert("1", dither=Image.Dither.NONE).tobytes(
        "raw", "1;I", _row_bytes(size), -1)
    # BITMAPINFOHEADER. The height counts the colour bitmap and the AND mask
    # together, hence twice the picture height.
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + table + pixels + mask


def write_ico(path, pictures, bits):
    """Writes square RGBA pictures as one ICO file, each at 4 or 24 bits per
    pixel."""
    stored = [_ico_picture(picture, bits) for picture in pictures]
    directory = struct.pack("<HHH", 0, 1, len(stored))
    offset = len(directory) + 16 * len(stored)
    for picture, data in zip(pictures, stored):
        directory += struct.pack("<BBBBHHII", picture.width, picture.height,
                                 16 if bits == 4 else 0, 0, 1, bits,
                                 len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(directory + b"".join(stored))


def check_reads_back(path, pictures):
    """Pillow's ICO reader owes nothing to the writer above, so reading every
    picture back with it catches a wrong header, palette, row order or mask."""
    with Image.open(path) as ico:
        for picture in pictures:
            ico.size = picture.size  # picks that picture out of the file
            if ico.convert("RGBA").tobytes() != picture.tobytes():
                raise SystemExit("%s: %dx%d picture does not read back as "
                                 "drawn" % (path, *picture.size))


# --------------------------------------------------------------------------

BUTTONS = {
    "next_normal.ico": draw_next_normal,
    "next_down.ico": draw_next_down,
    "next_disabled.ico": draw_next_disabled,
    "exit.ico": draw_exit,
    "image1.ico": draw_hourglass,
}


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else os.path.dirname(
        os.path.abspath(__file__))
    icons = {"gomirlo.ico": (24, [draw_window_icon()])}
    for name, draw in BUTTONS.items():
        icons[name] = (4, [draw(32), draw(16)])
    for name, (bits, pictures) in icons.items():
        path = os.path.join(out_dir, name)
        write_ico(path, pictures, bits)
        check_reads_back(path, pictures)
    with open(os.path.join(out_dir, "gomirlo.svg"), "w", encoding="utf-8",
              newline="\n") as f:
        f.write(window_icon_svg())
    print("wrote %d pictures to %s" % (len(icons) + 1, out_dir))


if __name__ == "__main__":
    main(sys.argv)
