#!/usr/bin/python3
"""Builds one icon file of the program from its drawing: make_icon.py NAME OUTPUT.ico"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from artwork import DRAWINGS  # noqa: E402
from icofile import IconImage, ico_bytes  # noqa: E402
from raster import render_hard, render_smooth  # noqa: E402

# The standard 16-colour palette in its usual order; index 0 is black, which transparent
# pixels must carry so that the AND mask leaves the screen untouched.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]

# Images per icon file as (size, bits per pixel), in the order they are stored. The
# program icon carries the classic set a shell picks from; the others only two small ones.
PROGRAM_IMAGES = [(48, 4), (32, 4), (16, 4), (32, 8), (16, 8), (32, 24), (16, 32)]
SMALL_IMAGES = [(16, 4), (32, 4)]


def image(drawing, size: int, bit_count: int) -> IconImage:
    shapes = drawing(size)
    if bit_count == 32:
        pixels = render_smooth(shapes, size)
        return IconImage(size, 32, pixels, [[p[3] == 0 for p in row] for row in pixels])
    rows = render_hard(shapes, size)
    transparent = [[c is None for c in row] for row in rows]
    if bit_count == 4:
        return IconImage(size, 4, [[0 if c is None else c.vga for c in row] for row in rows],
                         transparent, VGA)
    if bit_count == 8:
        palette = [(0, 0, 0)]
        for row in rows:
            for c in row:
                if c is not None and c.rgb not in palette:
                    palette.append(c.rgb)
        return IconImage(size, 8, [[0 if c is None else palette.index(c.rgb) for c in row]
                                   for row in rows], transparent, palette)
    return IconImage(size, 24, [[(0, 0, 0) if c is None else c.rgb for c in row] for row in rows],
                     transparent)


def main() -> int:
    if len(sys.argv) != 3 or sys.argv[1] not in DRAWINGS:
        print(f"usage: make_icon.py {{{'|'.join(DRAWINGS)}}} OUTPUT.ico", file=sys.stderr)
        return 2
    name, output = sys.argv[1], sys.argv[2]
    images = PROGRAM_IMAGES if name == "tessaron" else SMALL_IMAGES
    data = ico_bytes([image(DRAWINGS[name], size, bits) for size, bits in images])
    with open(output, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
