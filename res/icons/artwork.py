"""The drawings of the program's icons, as shapes on a 48-unit grid, lowest shape first."""

from typing import Callable, Dict, List

from raster import (GRID, Colour, Distance, Shape, circle, convex_polygon, ellipse, grown,
                    round_rect, segment, subtract, union)

# Soft tones for the 8, 24 and 32-bit images, each with its stand-in from the standard
# 16-colour palette for the 4-bit ones.
INK = Colour((24, 28, 40), vga=0)
BODY = Colour((36, 84, 164), vga=4)
SCREEN = Colour((178, 226, 242), vga=14)
KEYS = Colour((214, 218, 226), vga=7)
PIN = Colour((222, 48, 40), vga=9)
WHITE = Colour((255, 255, 255), vga=15)
GLASS = Colour((196, 232, 248), vga=15)
STEEL = Colour((120, 128, 140), vga=8)
GOLD = Colour((240, 192, 48), vga=11)
GOLD_DARK = Colour((176, 124, 20), vga=3)


def _outlined(distance: Distance, colour: Colour, size: int) -> List[Shape]:
    """The shape over an ink rim one pixel wide at every image size."""
    return [Shape(grown(distance, GRID / size), INK), Shape(distance, colour)]


def _handset(size: int, dx: float = 0.0) -> List[Shape]:
    shapes = _outlined(round_rect(9 + dx, 3, 31 + dx, 45, 5), BODY, size)
    shapes.append(Shape(round_rect(12.5 + dx, 9, 27.5 + dx, 24, 1.5), SCREEN))
    if size >= 32:
        shapes.append(Shape(round_rect(16 + dx, 5, 24 + dx, 7, 1), KEYS))
        for row in range(3):
            for col in range(3):
                x, y = 13 + dx + 5 * col, 28 + 5 * row
                shapes.append(Shape(round_rect(x, y, x + 4, y + 3, 1), KEYS))
    else:
        # Keys of a pixel or less would only speckle; a small icon shows the pad as one block.
        shapes.append(Shape(round_rect(13 + dx, 28 + 1, 27 + dx, 41, 1), KEYS))
    return shapes


def _pin(size: int, cx: float, cy: float, r: float) -> List[Shape]:
    # The tail's sides meet the head's circle at its tangent points from the tip.
    tip = cy + 2.3 * r
    head = circle(cx, cy, r)
    tail = convex_polygon([(cx - 0.9 * r, cy + 0.45 * r), (cx + 0.9 * r, cy + 0.45 * r), (cx, tip)])
    shapes = _outlined(union(head, tail), PIN, size)
    shapes.append(Shape(circle(cx, cy, 0.4 * r), WHITE))
    return shapes


def program(size: int) -> List[Shape]:
    """A mobile handset with a map pin over its shoulder: where a number belongs."""
    # The pin's centre falls on a pixel corner at 16, 32 and 48 pixels, so its dot stays round.
    return _handset(size) + _pin(size, 33, 15, 9.5)


def handset(size: int) -> List[Shape]:
    return _handset(size, dx=4)


def pin(size: int) -> List[Shape]:
    return _pin(size, 24, 15, 12)


def search(size: int) -> List[Shape]:
    lens = circle(19, 19, 12)
    shapes = _outlined(segment(27, 27, 41, 41, 4), STEEL, size)
    shapes += _outlined(lens, STEEL, size)
    shapes.append(Shape(circle(19, 19, 8.5), GLASS))
    return shapes


def database(size: int) -> List[Shape]:
    """A stack of records drawn as a cylinder with two bands."""
    body = union(round_rect(8, 10, 40, 38, 0.5), ellipse(24, 38, 16, 6))
    shapes = _outlined(union(body, ellipse(24, 10, 16, 6)), GOLD, size)
    for y in (19, 28):
        band = subtract(ellipse(24, y, 16, 6), ellipse(24, y - 2.5, 16, 6))
        shapes.append(Shape(grown(band, 0.5 * GRID / size), GOLD_DARK))
    shapes += _outlined(ellipse(24, 10, 16 - GRID / size, 6 - GRID / size), GOLD, size)
    return shapes


DRAWINGS: Dict[str, Callable[[int], List[Shape]]] = {
    "tessaron": program,
    "handset": handset,
    "pin": pin,
    "search": search,
    "database": database,
}
