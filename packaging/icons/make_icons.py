#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the game's icon for the desktop's menus, in the hicolor theme's sizes.

    python3 packaging/icons/make_icons.py [output-folder]

Writes hicolor/<N>x<N>/apps/org.example.Gomirlo.png beside this script (or in
the folder given) for N = 32, 48, 64, 128 and 256. The 32 x 32 picture is the
window icon itself, taken pixel for pixel from ui/pictures/gomirlo.ico. The
larger ones are drawn afresh at their own size from the same design that drew
the window icon (ui/pictures/make_pictures.py: the yellow tile, its edge, the
blue "20" with its shadow), with smooth edges, so that a menu or a launcher
never shows a small picture blown up. The scalable SVG comes from
ui/pictures/gomirlo.svg as it is.

Standard library only; the output is the same byte for byte on every run.
Every file is read back and checked after writing.
"""

import importlib.util
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
PICTURES = os.path.join(HERE, "..", "..", "ui", "pictures")
ICON_NAME = "org.example.Gomirlo.png"
DRAWN_SIZES = (48, 64, 128, 256)


def load_design():
    """The script that drew the window icon, for its numbers and its font."""
    found = importlib.util.spec_from_file_location(
        "make_pictures", os.path.join(PICTURES, "make_pictures.py"))
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


# --------------------------------------------------------------------------
# PNG

def png(rows):
    """An 8-bit RGBA PNG of rows of (r, g, b, a)."""
    height, width = len(rows), len(rows[0])

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        for pixel in row:
            raw += bytes(pixel)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def read_png(blob):
    """Rows of (r, g, b, a) from a PNG as written above."""
    if blob[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, header, data = 8, None, b""
    while pos < len(blob):
        length, kind = struct.unpack_from(">I4s", blob, pos)
        body = blob[pos + 8:pos + 8 + length]
        if zlib.crc32(kind + body) != struct.unpack_from(">I", blob, pos + 8 + length)[0]:
            raise ValueError("bad checksum in " + kind.decode())
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            data += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if (depth, colour, interlace) != (8, 6, 0):
        raise ValueError("not 8-bit RGBA without interlace")
    raw = zlib.decompress(data)
    stride = 1 + 4 * width
    rows = []
    for y in range(height):
        line = raw[y * stride:(y + 1) * stride]
        if line[0] != 0:
            raise ValueError("unexpected filter")
        rows.append([tuple(line[1 + 4 * x:5 + 4 * x]) for x in range(width)])
    return rows


# --------------------------------------------------------------------------
# Drawing

def window_icon_rows(design):
    """The 32 x 32 window icon as RGBA, transparent where its mask says."""
    with open(os.path.join(PICTURES, "gomirlo.ico"), "rb") as f:
        pictures = design.decode_ico(f.read())
    size, _, rows = next(p for p in pictures if p[0] == design.ICON_SIZE)
    return [[(0, 0, 0, 0) if rgb is None else rgb + (255,) for rgb in row] for row in rows]


def draw(design, size, samples=4):
    """The window icon's design drawn at size x size pixels.

    Every pixel is sampled samples x samples times in the 32-unit space the
    design was made in; a sample takes the colour of the topmost shape that
    covers it (digit, digit shadow, tile fill, tile edge), and the pixel is
    the average, with its share of uncovered samples as transparency."""
    unit = design.ICON_SIZE / size
    lo, hi = design.TILE_MARGIN, design.ICON_SIZE - design.TILE_MARGIN
    radius, border = design.TILE_RADIUS, design.TILE_BORDER
    digits = design.text_pixels("20", design.TEXT_X, design.TEXT_Y)
    shadow = design.shifted(digits, 1, 1)
    top, bottom = design.TILE_TOP_RGB, design.TILE_BOTTOM_RGB
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = covered = 0
            for sy in range(samples):
                v = (y + (sy + 0.5) / samples) * unit
                fill = design._mix(top, bottom, min(max(v / design.ICON_SIZE, 0), 1))
                for sx in range(samples):
                    u = (x + (sx + 0.5) / samples) * unit
                    cell = (int(u), int(v))
                    if cell in digits:
                        colour = design.DIGIT_RGB
                    elif cell in shadow:
                        colour = design.DIGIT_SHADOW_RGB
                    elif design._in_rounded_square(u, v, lo + border, hi - border, radius - border):
                        colour = fill
                    elif design._in_rounded_square(u, v, lo, hi, radius):
                        colour = design.TILE_BORDER_RGB
                    else:
                        continue
                    r, g, b = r + colour[0], g + colour[1], b + colour[2]
                    covered += 1
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                alpha = round(255 * covered / (samples * samples))
                row.append((round(r / covered), round(g / covered), round(b / covered), alpha))
        rows.append(row)
    return rows


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else HERE
    design = load_design()
    drawn = {32: window_icon_rows(design)}
    for size in DRAWN_SIZES:
        drawn[size] = draw(design, size)
    for size, rows in drawn.items():
        folder = os.path.join(out_dir, "hicolor", "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, ICON_NAME)
        with open(path, "wb") as f:
            f.write(png(rows))
        with open(path, "rb") as f:
            if read_png(f.read()) != rows:
                raise SystemExit("%s does not read back as drawn" % path)
        # The tile's middle is opaque yellow and its corners clear, at any size.
        middle = rows[size * 3 // 4][size // 2]
        if rows[0][0][3] != 0 or middle[3] != 255 or middle[2] > middle[0] // 2:
            raise SystemExit("%s is not the yellow tile" % path)
    print("wrote %d icons to %s" % (len(drawn), os.path.join(out_dir, "hicolor")))


if __name__ == "__main__":
    main(sys.argv)
