#!/usr/bin/env python3
"""Draws the cursors and icons of the viewer library into resources/.

Each picture is a list of shapes on a 32 x 32 grid, painted in order. A
cursor is white shapes with black details; every transparent pixel that
touches a painted one becomes black, which gives the outline that keeps a
cursor visible on any image. Icons keep their colours and have no outline.

Run from anywhere; it rewrites resources/cursors/Quillon*.cur and
resources/icons/Quillon*.ico. The files are committed; the build copies
them beside the library.
"""
import math
import os
import struct

SIZE = 32
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


class Shape:
    """The pixels a shape covers and its colour; None erases them."""

    def __init__(self, covers, colour):
        self.covers = covers
        self.colour = colour


def line(a, b, width, colour=WHITE):
    return Shape(lambda x, y: segment_distance(x, y, *a, *b) <= width / 2, colour)


def disc(centre, radius, colour=WHITE):
    return Shape(lambda x, y: math.hypot(x - centre[0], y - centre[1]) <= radius, colour)


def ring(centre, radius, width, colour=WHITE):
    return Shape(lambda x, y: abs(math.hypot(x - centre[0], y - centre[1]) - radius) <= width / 2,
                 colour)


def polygon(points, colour=WHITE):
    def covers(x, y):
        inside = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return inside
    return Shape(covers, colour)


def half_disc(centre, radius, colour):
    """The right half of a disc."""
    return Shape(lambda x, y: x >= centre[0] and math.hypot(x - centre[0], y - centre[1]) <= radius,
                 colour)


def arrow_head(tip, direction, length=6, half_width=5, colour=WHITE):
    dx, dy = direction
    norm = math.hypot(dx, dy)
    dx, dy = dx / norm, dy / norm
    bx, by = tip[0] - dx * length, tip[1] - dy * length
    return polygon([tip, (bx - dy * half_width, by + dx * half_width),
                    (bx + dy * half_width, by - dx * half_width)], colour)


def double_arrow(a, b, width=3, head=(6, 5)):
    direction = (b[0] - a[0], b[1] - a[1])
    back = (-direction[0], -direction[1])
    norm = math.hypot(*direction)
    inset = (direction[0] / norm * 5, direction[1] / norm * 5)
    return [line((a[0] + inset[0], a[1] + inset[1]), (b[0] - inset[0], b[1] - inset[1]), width),
            arrow_head(b, direction, *head), arrow_head(a, back, *head)]


def four_way(centre, reach, width=3, head=(6, 5)):
    cx, cy = centre
    return (double_arrow((cx - reach, cy), (cx + reach, cy), width, head) +
            double_arrow((cx, cy - reach), (cx, cy + reach), width, head))


def magnifier(centre, radius):
    """A lens with a black rim and its handle towards the bottom right."""
    cx, cy = centre
    reach = radius * 0.75
    return [line((cx + reach, cy + reach), (cx + radius * 1.8, cy + radius * 1.8), radius * 0.5),
            disc(centre, radius), ring(centre, radius - 1.5, 1.2, BLACK)]


POINTER = [(1, 1), (1, 22), (6, 17.5), (10, 26), (13.5, 24.5), (9.5, 16), (16, 16)]

# group -> (file name, hot spot, shapes)
CURSORS = {
    138: ("QuillonHandle", (16, 16),
          [line((16, 3), (16, 29), 1.2), line((3, 16), (29, 16), 1.2),
           polygon([(12.5, 12.5), (19.5, 12.5), (19.5, 19.5), (12.5, 19.5)]),
           polygon([(14.5, 14.5), (17.5, 14.5), (17.5, 17.5), (14.5, 17.5)], BLACK)]),
    139: ("QuillonLabel", (1, 1),
          [polygon(POINTER), polygon([(17, 18), (30, 18), (30, 29), (17, 29)]),
           line((19.5, 21), (27.5, 21), 1.2, BLACK), line((19.5, 24), (27.5, 24), 1.2, BLACK),
           line((19.5, 27), (24.5, 27), 1.2, BLACK)]),
    140: ("QuillonWindowLevel", (16, 16),
          [disc((16, 16), 10), half_disc((16, 16), 8.5, BLACK), ring((16, 16), 10, 1.5, BLACK)]),
    153: ("QuillonZoom", (12, 12),
          magnifier((12, 12), 9) +
          [line((8, 12), (16, 12), 2, BLACK), line((12, 8), (12, 16), 2, BLACK)]),
    154: ("QuillonPageScroll", (16, 16),
          double_arrow((16, 2), (16, 30)) + [line((10, 16), (22, 16), 2)]),
    155: ("QuillonHandOver", (1, 1),
          [polygon(POINTER), polygon([(16, 12), (26, 12), (30, 16), (30, 29), (16, 29)]),
           line((18.5, 21), (27.5, 21), 1.5, BLACK), arrow_head((28, 21), (1, 0), 4, 3.5, BLACK)]),
    156: ("QuillonCineScroll", (16, 16),
          double_arrow((16, 2), (16, 30)) + [disc((16, 16), 6), ring((16, 16), 4, 1.2, BLACK),
                                             polygon([(14.5, 13.5), (18.5, 16), (14.5, 18.5)],
                                                     BLACK)]),
    167: ("QuillonSizeDiagonal", (16, 16), double_arrow((5, 5), (27, 27))),
    168: ("QuillonMove", (16, 16), four_way((16, 16), 14)),
    169: ("QuillonSizeWidth", (16, 16), double_arrow((3, 16), (29, 16))),
    170: ("QuillonSizeHeight", (16, 16), double_arrow((16, 3), (16, 29))),
    171: ("QuillonZoomOrPan", (9, 9),
          magnifier((9, 9), 7) + four_way((23, 23), 8, 2, (4, 3.5))),
    175: ("QuillonPan", (16, 16), four_way((16, 16), 14) + [disc((16, 16), 3.5, BLACK)]),
}

ORANGE = (255, 140, 0)
GREEN = (30, 150, 60)

# group -> (file name, shapes)
ICONS = {
    # The image carries annotations of its own.
    149: ("QuillonAnnotated",
          [disc((16, 16), 11, ORANGE), line((12.5, 19.5), (21, 11), 5, WHITE),
           polygon([(8, 24), (10, 17.5), (14.5, 22)], WHITE),
           polygon([(8, 24), (8.8, 21.4), (10.6, 23.2)], BLACK)]),
    # The image was handed over to the film program.
    148: ("QuillonHandedOver",
          [disc((16, 16), 11, GREEN), line((10, 16.5), (14.5, 21), 3, WHITE),
           line((14.5, 21), (22.5, 11.5), 3, WHITE)]),
}


def outlined(pixels):
    result = [row[:] for row in pixels]
    for y in range(SIZE):
        for x in range(SIZE):
            if pixels[y][x] is not None:
                continue
            for dy in (-1, 0, 1):
                for dx in (-1, 0, 1):
                    ny, nx = y + dy, x + dx
                    if 0 <= ny < SIZE and 0 <= nx < SIZE and pixels[ny][nx] is not None:
                        result[y][x] = BLACK
    return result


def image_bytes(pixels):
    """A 32-bit image with its AND mask, as an icon or cursor file holds it."""
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):
        bits = 0
        for x in range(SIZE):
            pixel = pixels[y][x]
            if pixel is None:
                colour += bytes((0, 0, 0, 0))
                bits |= 1 << (31 - x)
            else:
                colour += bytes((pixel[2], pixel[1], pixel[0], 255))
        mask += struct.pack(">I", bits)
    return header + bytes(colour) + bytes(mask)


def write_file(path, kind, hot_spot, pixels):
    body = image_bytes(pixels)
    x, y = hot_spot if kind == 2 else (1, 32)  # icons: planes 1, 32 bits
    directory = struct.pack("<HHH", 0, kind, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, x, y, len(body), 6 + 16)
    with open(path, "wb") as out:
        out.write(directory + entry + body)


def render(shapes, width=SIZE, height=SIZE, background=None):
    """Paints the shapes in order, each at the centres of the pixels."""
    pixels = [[background] * width for _ in range(height)]
    for y in range(height):
        for x in range(width):
            for shape in shapes:
                if shape.covers(x + 0.5, y + 0.5):
                    pixels[y][x] = shape.colour
    return pixels


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    for group, (name, hot_spot, shapes) in CURSORS.items():
        write_file(os.path.join(root, "cursors", name + ".cur"), 2, hot_spot,
                   outlined(render(shapes)))
    for group, (name, shapes) in ICONS.items():
        write_file(os.path.join(root, "icons", name + ".ico"), 1, None, render(shapes))


if __name__ == "__main__":
    main()
