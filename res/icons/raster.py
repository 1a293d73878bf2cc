"""Turns flat-coloured shapes, given as signed distance functions, into icon pixels."""

import math
from dataclasses import dataclass
from typing import Callable, List, Optional, Sequence, Tuple

# The artwork is drawn on a square grid of this many units, whatever the image size.
GRID = 48.0
# Sub-samples per pixel along each axis; pixels take the majority (hard edges) or the
# average (smooth edges) of their samples.
SAMPLES = 4

Rgb = Tuple[int, int, int]
Distance = Callable[[float, float], float]


@dataclass(frozen=True)
class Colour:
    rgb: Rgb
    # Index into the standard 16-colour palette: 4-bit images use a colour chosen by
    # hand, since the nearest palette colour of a soft tone is often a poor one.
    vga: int


@dataclass(frozen=True)
class Shape:
    # Negative inside, positive outside, in grid units.
    distance: Distance
    colour: Colour


def circle(cx: float, cy: float, r: float) -> Distance:
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx: float, cy: float, rx: float, ry: float) -> Distance:
    # Not a true distance, but close near the edge, so a rim is even all round a flat ellipse.
    def d(x: float, y: float) -> float:
        k0 = math.hypot((x - cx) / rx, (y - cy) / ry)
        k1 = math.hypot((x - cx) / (rx * rx), (y - cy) / (ry * ry))
        return k0 * (k0 - 1.0) / k1 if k1 > 0.0 else -min(rx, ry)
    return d


def round_rect(x0: float, y0: float, x1: float, y1: float, r: float) -> Distance:
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def d(x: float, y: float) -> float:
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r
    return d


def segment(x0: float, y0: float, x1: float, y1: float, half_width: float) -> Distance:
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def d(x: float, y: float) -> float:
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) - half_width
    return d


def convex_polygon(points: Sequence[Tuple[float, float]]) -> Distance:
    """Points in clockwise order on screen (y down)."""
    pairs = list(zip(points, list(points[1:]) + [points[0]]))
    edges = []
    for (ax, ay), (bx, by) in pairs:
        n = math.hypot(by - ay, ax - bx)
        edges.append((ax, ay, (by - ay) / n, (ax - bx) / n))
    sides = [segment(ax, ay, bx, by, 0.0) for (ax, ay), (bx, by) in pairs]

    def d(x: float, y: float) -> float:
        inside = max((x - ax) * nx + (y - ay) * ny for ax, ay, nx, ny in edges)
        # Outside, the true distance keeps grown corners round instead of mitred spikes.
        return inside if inside <= 0.0 else min(side(x, y) for side in sides)
    return d


def union(*parts: Distance) -> Distance:
    return lambda x, y: min(p(x, y) for p in parts)


def subtract(a: Distance, b: Distance) -> Distance:
    return lambda x, y: max(a(x, y), -b(x, y))


def grown(d: Distance, by: float) -> Distance:
    return lambda x, y: d(x, y) - by


def _samples(shapes: Sequence[Shape], size: int, px: int, py: int) -> List[Optional[Colour]]:
    """The topmost colour at each sub-sample of one pixel; later shapes lie on top."""
    unit = GRID / size
    found: List[Optional[Colour]] = []
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = (px + (sx + 0.5) / SAMPLES) * unit
            y = (py + (sy + 0.5) / SAMPLES) * unit
            top = None
            for shape in reversed(shapes):
                if shape.distance(x, y) <= 0.0:
                    top = shape.colour
                    break
            found.append(top)
    return found


def render_hard(shapes: Sequence[Shape], size: int) -> List[List[Optional[Colour]]]:
    """Rows top down; each pixel is the colour covering most of it, None for transparent."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            found = _samples(shapes, size, px, py)
            # Ties go to transparency, then to the first colour met, so output is stable.
            row.append(max(dict.fromkeys(found), key=lambda c: (found.count(c), c is None)))
        rows.append(row)
    return rows


def render_smooth(shapes: Sequence[Shape], size: int) -> List[List[Tuple[int, int, int, int]]]:
    """Rows top down of straight (not premultiplied) RGBA with anti-aliased edges."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            covered = [c.rgb for c in _samples(shapes, size, px, py) if c is not None]
            if not covered:
                row.append((0, 0, 0, 0))
                continue
            rgb = tuple(round(sum(c[i] for c in covered) / len(covered)) for i in range(3))
            alpha = round(255 * len(covered) / (SAMPLES * SAMPLES))
            row.append(rgb + (alpha,))
        rows.append(row)
    return rows
