#!/usr/bin/env python3
"""Draws Gomirlo's icons and writes them next to this script.

Run it with plain Python 3 (standard library only):

    python3 ui/pictures/make_pictures.py [output-folder]

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

The output is the same byte for byte on every run, so the files can be kept
in git and rebuilt at will. After writing, every file is read back and
decoded, and the decoded pixels are compared with what was drawn; any
difference stops the script with an error.
"""

import os
import struct
import sys

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
 GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE) = range(16)

# --------------------------------------------------------------------------
# Masks: a mask is a set of (x, y) pixels, y growing downwards.

SUPERSAMPLE = 4  # samples per pixel side when deciding what a shape covers


def _inside_polygon(px, py, pts):
    """Even-odd test: is the point inside the polygon?"""
    inside = False
    n = len(pts)
    for i in range(n):
        x1, y1 = pts[i]
        x2, y2 = pts[(i + 1) % n]
        if (y1 > py) != (y2 > py):
            xc = x1 + (py - y1) * (x2 - x1) / (y2 - y1)
            if px < xc:
                inside = not inside
    return inside


def polygon(size, pts):
    """Pixels of a size x size grid that a polygon covers at least half of.

    Corners are in pixel units: (0, 0) is the top-left corner of the top-left
    pixel, (size, size) the bottom-right corner of the last one."""
    ss = SUPERSAMPLE
    mask = set()
    for y in range(size):
        for x in range(size):
            hits = 0
            for sy in range(ss):
                for sx in range(ss):
                    if _inside_polygon(x + (sx + 0.5) / ss,
                                       y + (sy + 0.5) / ss, pts):
                        hits += 1
            if 2 * hits >= ss * ss:
                mask.add((x, y))
    return mask


def rect(x0, y0, x1, y1):
    """Pixels with x0 <= x < x1 and y0 <= y < y1."""
    return {(x, y) for y in range(y0, y1) for x in range(x0, x1)}


def shifted(mask, dx, dy):
    return {(x + dx, y + dy) for x, y in mask}


def _neighbours(x, y):
    return ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1))


def rim(mask):
    """Pixels of the mask that touch the outside (4-neighbourhood)."""
    return {p for p in mask if any(q not in mask for q in _neighbours(*p))}


def lit_rim(mask):
    """The top and left rim of a mask: where light from the top-left falls."""
    return {(x, y) for x, y in rim(mask)
            if (x - 1, y) not in mask or (x, y - 1) not in mask}


def shaded_rim(mask):
    """The bottom and right rim of a mask, leaving out the lit part."""
    return rim(mask) - lit_rim(mask)


class Canvas:
    """A square grid of palette indices; None is a transparent pixel."""

    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def paint(self, mask, colour):
        for x, y in mask:
            if 0 <= x < self.size and 0 <= y < self.size:
                self.px[y][x] = colour

    def outlined(self, mask, fill, outline, light=None, shade=None):
        """Fills a shape, draws its 1-pixel outline and, optionally, a light
        edge on the top-left and a shaded edge on the bottom-right inside the
        outline, which gives the flat shape a little depth."""
        inner = mask - rim(mask)
        self.paint(mask, outline)
        self.paint(inner, fill)
        if light is not None:
            self.paint(lit_rim(inner), light)
        if shade is not None:
            self.paint(shaded_rim(inner), shade)


# --------------------------------------------------------------------------
# Button pictures (4 bits per pixel, 32x32 and 16x16)

def arrow_shape(size):
    """The "go on" arrow, pointing right, drawn for each size by hand so
    that both sizes stay crisp and symmetric."""
    if size == 32:
        return polygon(32, [(2, 11), (15, 11), (15, 3), (28, 16),
                            (15, 29), (15, 21), (2, 21)])
    return polygon(16, [(1, 5), (8, 5), (8, 1), (15, 8),
                        (8, 15), (8, 11), (1, 11)])


def draw_next_normal(size):
    c = Canvas(size)
    c.outlined(arrow_shape(size), fill=LIME, outline=GREEN,
               light=AQUA, shade=TEAL)
    return c


def draw_next_down(size):
    # A pressed button sinks: the arrow moves one pixel down and right, goes
    # darker and loses its shine, and the shadow moves to the top-left.
    c = Canvas(size)
    c.outlined(shifted(arrow_shape(size), 1, 1), fill=GREEN, outline=BLACK,
               light=TEAL)
    return c


def draw_next_disabled(size):
    c = Canvas(size)
    c.outlined(arrow_shape(size), fill=SILVER, outline=GREY, light=WHITE)
    return c


def draw_exit(size):
    """An open door with a red arrow leaving through it."""
    c = Canvas(size)
    if size == 32:
        frame = rect(3, 1, 21, 32)
        opening = rect(6, 4, 18, 32)
        leaf = polygon(32, [(6, 4), (13, 1), (13, 32), (6, 30)])
        knob = rect(10, 16, 12, 18)
        arrow = polygon(32, [(12, 12), (20, 12), (20, 5), (31, 16),
                             (20, 27), (20, 20), (12, 20)])
    else:
        frame = rect(0, 0, 11, 16)
        opening = rect(2, 2, 9, 16)
        leaf = polygon(16, [(2, 2), (6, 0), (6, 16), (2, 16)])
        knob = {(5, 9)}
        arrow = polygon(16, [(7, 6), (10, 6), (10, 3), (15, 8),
                             (10, 13), (10, 10), (7, 10)])
    c.outlined(frame, fill=SILVER, outline=BLACK, light=WHITE, shade=GREY)
    c.paint(opening, BLACK)
    c.outlined(leaf, fill=MAROON, outline=BLACK)
    c.paint(knob, YELLOW)
    c.outlined(arrow, fill=RED, outline=BLACK,
               light=WHITE if size == 32 else None)
    return c


def draw_hourglass(size):
    c = Canvas(size)
    if size == 32:
        bars = [rect(5, 2, 27, 6), rect(5, 26, 27, 30)]
        posts = [rect(6, 5, 9, 27), rect(23, 5, 26, 27)]
        glass = polygon(32, [(9, 5), (23, 5), (23, 8), (18, 14), (18, 18),
                             (23, 24), (23, 27), (9, 27), (9, 24), (14, 18),
                             (14, 14), (9, 8)])
        top_sand_from, bottom_sand_from = 10, 21
        stream = rect(15, 14, 17, 22)
        pile = polygon(32, [(10, 26), (22, 26), (16, 18)])
    else:
        bars = [rect(2, 0, 14, 3), rect(2, 13, 14, 16)]
        posts = []
        glass = polygon(16, [(3, 2), (13, 2), (13, 4), (10, 7), (10, 9),
                             (13, 12), (13, 14), (3, 14), (3, 12), (6, 9),
                             (6, 7), (3, 4)])
        top_sand_from, bottom_sand_from = 5, 11
        stream = rect(7, 7, 9, 11)
        pile = set()
    for p in posts:
        c.outlined(p, fill=OLIVE, outline=BLACK)
    inner = glass - rim(glass)
    c.paint(glass, BLACK)
    c.paint(inner, WHITE)
    c.paint(lit_rim(inner), AQUA)
    sand = {(x, y) for x, y in inner if top_sand_from <= y < size // 2 - 1}
    sand |= {(x, y) for x, y in inner if y >= bottom_sand_from}
    sand |= inner & (stream | pile)
    c.paint(sand, YELLOW)
    c.paint({(x, y) for x, y in sand if (x, y + 1) not in sand}, OLIVE)
    for b in bars:
        c.outlined(b, fill=OLIVE, outline=BLACK, light=YELLOW)
    return c


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


def _in_rounded_square(px, py, lo, hi, radius):
    """Is the point inside the square [lo, hi] x [lo, hi] with round corners?"""
    if not (lo <= px <= hi and lo <= py <= hi):
        return False
    cx = min(max(px, lo + radius), hi - radius)
    cy = min(max(py, lo + radius), hi - radius)
    return (px - cx) ** 2 + (py - cy) ** 2 <= radius ** 2


def _mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def draw_window_icon():
    """Rows of (r, g, b) tuples, None where transparent."""
    size = ICON_SIZE
    lo, hi = TILE_MARGIN, size - TILE_MARGIN
    ss = SUPERSAMPLE
    rows = []
    for y in range(size):
        row = []
        fill = _mix(TILE_TOP_RGB, TILE_BOTTOM_RGB, y / (size - 1))
        for x in range(size):
            outer = inner = 0
            for sy in range(ss):
                for sx in range(ss):
                    px, py = x + (sx + 0.5) / ss, y + (sy + 0.5) / ss
                    if _in_rounded_square(px, py, lo, hi, TILE_RADIUS):
                        outer += 1
                        if _in_rounded_square(px, py, lo + TILE_BORDER,
                                              hi - TILE_BORDER,
                                              TILE_RADIUS - TILE_BORDER):
                            inner += 1
            # The mask is only on or off, so a pixel is either part of the
            # tile or not; inside it, the border blends smoothly into the fill.
            if 2 * outer < ss * ss:
                row.append(None)
            else:
                row.append(_mix(TILE_BORDER_RGB, fill, inner / outer))
        rows.append(row)
    digits = text_pixels("20", TEXT_X, TEXT_Y)
    for x, y in shifted(digits, 1, 1):
        rows[y][x] = DIGIT_SHADOW_RGB
    for x, y in digits:
        rows[y][x] = DIGIT_RGB
    return rows


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

def _row_bytes(bits):
    """Bytes in one bitmap row of the given number of bits: rows are padded
    to a multiple of four bytes."""
    return (bits + 31) // 32 * 4


def _and_mask(rows, transparent):
    """1 bit per pixel, 1 where the picture is transparent, rows bottom-up."""
    size = len(rows)
    out = bytearray()
    for row in reversed(rows):
        line = bytearray(_row_bytes(size))
        for x, value in enumerate(row):
            if transparent(value):
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def _bitmap_header(size, bpp, image_bytes):
    # BITMAPINFOHEADER. The height counts the colour bitmap and the AND mask
    # together, hence twice the picture height.
    return struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bpp, 0,
                       image_bytes, 0, 0, 0, 0)


def encode_4bpp(canvas):
    """One 16-colour picture as stored inside an ICO file."""
    size = canvas.size
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0)
                       for r, g, b in PALETTE16)
    xor = bytearray()
    for row in reversed(canvas.px):
        line = bytearray(_row_bytes(4 * size))
        for x, index in enumerate(row):
            # Transparent pixels are black in the colour bitmap, so that
            # AND-then-XOR leaves the screen underneath as it was.
            nibble = 0 if index is None else index
            line[x // 2] |= nibble << (4 if x % 2 == 0 else 0)
        xor += line
    mask = _and_mask(canvas.px, lambda v: v is None)
    return _bitmap_header(size, 4, len(xor) + len(mask)) + palette + xor + mask


def encode_24bpp(rows):
    """One true-colour picture as stored inside an ICO file."""
    size = len(rows)
    xor = bytearray()
    for row in reversed(rows):
        line = bytearray(_row_bytes(24 * size))
        for x, rgb in enumerate(row):
            r, g, b = rgb if rgb is not None else (0, 0, 0)
            line[3 * x:3 * x + 3] = bytes((b, g, r))
        xor += line
    mask = _and_mask(rows, lambda v: v is None)
    return _bitmap_header(size, 24, len(xor) + len(mask)) + xor + mask


def ico_file(images):
    """images: list of (size, bits per pixel, encoded picture)."""
    count = len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, count))
    offset = 6 + 16 * count
    for size, bpp, data in images:
        colours = 16 if bpp == 4 else 0
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0,
                           1, bpp, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    return bytes(out)


# --------------------------------------------------------------------------
# Reading back, to be sure the files hold what was drawn

def decode_ico(blob):
    """Decodes an ICO of the kind written above into a list of
    (size, bpp, rows), rows holding palette indices (4 bpp) or (r, g, b)
    tuples (24 bpp), None where the AND mask says transparent."""
    reserved, kind, count = struct.unpack_from("<HHH", blob, 0)
    if reserved != 0 or kind != 1:
        raise ValueError("not an icon file")
    pictures = []
    for i in range(count):
        w, h, colours, _, planes, bpp, length, offset = struct.unpack_from(
            "<BBBBHHII", blob, 6 + 16 * i)
        w, h = w or 256, h or 256
        if offset + length > len(blob):
            raise ValueError("picture %d runs past the end of the file" % i)
        (hsize, bw, bh, bplanes, bbpp, comp,
         _, _, _, used, _) = struct.unpack_from("<IiiHHIIiiII", blob, offset)
        if (hsize, bw, bh, bplanes, bbpp, comp) != (40, w, 2 * h, 1, bpp, 0):
            raise ValueError("picture %d: header disagrees with directory" % i)
        if planes != 1 or colours != (16 if bpp == 4 else 0):
            raise ValueError("picture %d: bad directory entry" % i)
        pos = offset + 40
        palette = None
        if bpp == 4:
            n = used or 16
            palette = [struct.unpack_from("<BBBB", blob, pos + 4 * k)[2::-1]
                       for k in range(n)]
            pos += 4 * n
        xor_row, and_row = _row_bytes(bpp * w), _row_bytes(w)
        if pos + h * (xor_row + and_row) != offset + length:
            raise ValueError("picture %d: size does not add up" % i)
        rows = []
        for y in range(h):
            base = pos + (h - 1 - y) * xor_row
            mbase = pos + h * xor_row + (h - 1 - y) * and_row
            row = []
            for x in range(w):
                clear = blob[mbase + x // 8] & (0x80 >> (x % 8))
                if bpp == 4:
                    byte = blob[base + x // 2]
                    value = byte >> 4 if x % 2 == 0 else byte & 0x0F
                    if palette[value] != PALETTE16[value]:
                        raise ValueError("picture %d: palette differs" % i)
                else:
                    value = tuple(blob[base + 3 * x:base + 3 * x + 3][::-1])
                if clear:
                    if value not in (0, (0, 0, 0)):
                        raise ValueError("picture %d: transparent pixel is "
                                         "not black" % i)
                    value = None
                row.append(value)
            rows.append(row)
        pictures.append((w, bpp, rows))
    return pictures


def _check(path, expected):
    with open(path, "rb") as f:
        got = decode_ico(f.read())
    if [(s, b) for s, b, _ in got] != [(s, b) for s, b, _ in expected]:
        raise SystemExit("%s: wrong picture list" % path)
    for (size, _, rows), (_, _, want) in zip(got, expected):
        if rows != want:
            raise SystemExit("%s: %dx%d picture does not read back as drawn"
                             % (path, size, size))
        if all(v is None for row in rows for v in row):
            raise SystemExit("%s: %dx%d picture is empty" % (path, size, size))


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
    written = {}

    rows = draw_window_icon()
    written["gomirlo.ico"] = [(ICON_SIZE, 24, rows)]
    with open(os.path.join(out_dir, "gomirlo.ico"), "wb") as f:
        f.write(ico_file([(ICON_SIZE, 24, encode_24bpp(rows))]))

    for name, draw in BUTTONS.items():
        canvases = [draw(32), draw(16)]
        written[name] = [(c.size, 4, c.px) for c in canvases]
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(ico_file([(c.size, 4, encode_4bpp(c)) for c in canvases]))

    with open(os.path.join(out_dir, "gomirlo.svg"), "w", encoding="utf-8",
              newline="\n") as f:
        f.write(window_icon_svg())

    for name, expected in written.items():
        _check(os.path.join(out_dir, name), expected)
    normal, down, disabled = (written[n] for n in
                              ("next_normal.ico", "next_down.ico",
                               "next_disabled.ico"))
    if normal == down or normal == disabled or down == disabled:
        raise SystemExit("the three arrow pictures must differ")
    print("wrote %d pictures to %s" % (len(written) + 1, out_dir))


if __name__ == "__main__":
    main(sys.argv)
