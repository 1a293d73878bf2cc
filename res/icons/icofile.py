"""Writes Windows .ico files: an icon directory, then one BITMAPINFOHEADER image per entry."""

import struct
from dataclasses import dataclass
from typing import List, Optional, Sequence, Tuple

Rgb = Tuple[int, int, int]


@dataclass
class IconImage:
    size: int
    bit_count: int  # 4, 8, 24 or 32
    # Rows top down. Palette indices for 4 and 8 bits, (r, g, b) for 24, (r, g, b, a) for 32.
    pixels: List[List]
    # Rows top down; True where the screen shows through (the AND mask bit).
    transparent: List[List[bool]]
    palette: Optional[Sequence[Rgb]] = None


def _padded(row: bytes) -> bytes:
    return row + b"\0" * (-len(row) % 4)


def _xor_row(image: IconImage, row: List) -> bytes:
    if image.bit_count == 4:
        nibbles = list(row) + [0] * (len(row) % 2)
        return bytes(nibbles[i] << 4 | nibbles[i + 1] for i in range(0, len(nibbles), 2))
    if image.bit_count == 8:
        return bytes(row)
    if image.bit_count == 24:
        return b"".join(bytes((b, g, r)) for r, g, b in row)
    return b"".join(bytes((b, g, r, a)) for r, g, b, a in row)


def _and_row(row: List[bool]) -> bytes:
    bits = list(row) + [False] * (-len(row) % 8)
    return bytes(sum(1 << (7 - j) for j in range(8) if bits[i + j]) for i in range(0, len(bits), 8))


def _image_bytes(image: IconImage) -> bytes:
    # DIBs run bottom up; the header's height counts the XOR and the AND bitmap together.
    xor = b"".join(_padded(_xor_row(image, row)) for row in reversed(image.pixels))
    mask = b"".join(_padded(_and_row(row)) for row in reversed(image.transparent))
    header = struct.pack("<IiiHHIIiiII", 40, image.size, 2 * image.size, 1, image.bit_count,
                         0, len(xor) + len(mask), 0, 0, 0, 0)
    palette = b""
    if image.bit_count <= 8:
        entries = 1 << image.bit_count
        assert image.palette is not None and len(image.palette) <= entries, "palette too long"
        colours = list(image.palette) + [(0, 0, 0)] * (entries - len(image.palette))
        palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    return header + palette + xor + mask


def ico_bytes(images: Sequence[IconImage]) -> bytes:
    bodies = [_image_bytes(image) for image in images]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for image, body in zip(images, bodies):
        # The colour count is 0 for 256 colours and more, as the byte cannot hold 256.
        colours = 1 << image.bit_count if image.bit_count < 8 else 0
        directory += struct.pack("<BBBBHHII", image.size % 256, image.size % 256, colours, 0,
                                 1, image.bit_count, len(body), offset)
        offset += len(body)
    return directory + b"".join(bodies)
