#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the game's icon for the desktop's menus, in the hicolor theme's sizes.

    /usr/bin/python3 packaging/icons/make_icons.py [output-folder]

Writes hicolor/<N>x<N>/apps/org.example.Gomirlo.png beside this script (or in
the folder given) for N = 32, 48, 64, 128 and 256. The 32 x 32 picture is the
window icon itself, taken pixel for pixel from ui/pictures/gomirlo.ico. The
larger ones are drawn afresh at their own size from the same design that drew
the window icon (ui/pictures/make_pictures.py: the yellow tile, its edge, the
blue "20" with its shadow), with smooth edges, so that a menu or a launcher
never shows a small picture blown up. The scalable SVG comes from
ui/pictures/gomirlo.svg as it is.

Needs Pillow (Debian: python3-pil), which draws and writes the PNG files;
the output is the same byte for byte on every run.
"""

import importlib.util
import os
import sys

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
PICTURES = os.path.join(HERE, "..", "..", "ui", "pictures")
ICON_NAME = "org.example.Gomirlo.png"
DRAWN_SIZES = (48, 64, 128, 256)
SAMPLES = 4  # samples per pixel side for the smooth edges


def load_design():
    """The script that drew the window icon, for its numbers and its font."""
    found = importlib.util.spec_from_file_location(
        "make_pictures", os.path.join(PICTURES, "make_pictures.py"))
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def window_icon():
    """The 32 x 32 window icon, transparent where its mask says."""
    with Image.open(os.path.join(PICTURES, "gomirlo.ico")) as ico:
        return ico.convert("RGBA")


def face_gradient(design, side):
    """The tile's face colour for each row of a side x side picture, taken
    at the middle of the row."""
    picture = Image.new("RGB", (side, side))
    draw = ImageDraw.Draw(picture)
    for y in range(side):
        colour = design.mix(design.TILE_TOP_RGB, design.TILE_BOTTOM_RGB,
                            (y + 0.5) / side)
        draw.line([(0, y), (side - 1, y)], fill=colour)
    return picture


def draw(design, size):
    """The window icon's design drawn at size x size pixels.

    It is drawn SAMPLES times larger and then shrunk, each pixel taking the
    average of its samples; Pillow averages RGBA weighing each colour by its
    cover, so the edge pixels keep the shape's colour and turn partly clear."""
    scale = SAMPLES * size // design.ICON_SIZE  # large pixels per design pixel
    tile, face = design.tile_masks(scale)
    picture = Image.new("RGBA", tile.size)
    picture.paste(design.TILE_BORDER_RGB, mask=tile)
    picture.paste(face_gradient(design, tile.width), mask=face)
    pen = ImageDraw.Draw(picture)
    digits = design.text_pixels("20", design.TEXT_X, design.TEXT_Y)
    # The shadow first, so that the digits cover it where the two meet.
    for colour, cells in ((design.DIGIT_SHADOW_RGB, design.shifted(digits, 1, 1)),
                          (design.DIGIT_RGB, digits)):
        for x, y in cells:
            pen.rectangle((x * scale, y * scale, (x + 1) * scale - 1,
                           (y + 1) * scale - 1), fill=colour)
    return picture.reduce(SAMPLES)


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else HERE
    design = load_design()
    icons = {32: window_icon()}
    for size in DRAWN_SIZES:
        icons[size] = draw(design, size)
    for size, picture in icons.items():
        folder = os.path.join(out_dir, "hicolor", "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        picture.save(os.path.join(folder, ICON_NAME), "PNG", optimize=True)
    print("wrote %d icons to %s" % (len(icons), os.path.join(out_dir, "hicolor")))


if __name__ == "__main__":
    main(sys.argv)
