#!/usr/bin/env python3
"""Draws the viewer program's toolbar images and icon into resources/.

The toolbar bitmap holds one 16 x 15 image per button, in the order of the
toolbar resource, on the light grey that the toolbar leaves transparent.
Each image is a list of shapes painted in order (the shape helpers of the
viewer library's cursor drawing). The icon is 32 x 32: a grey film frame
with a cross-section of a head in it.

Run from anywhere; the files are committed and the build copies them beside
the program.
"""
import math
import os
import struct

from make_viewer_cursors import (Shape, arrow_head, disc, line, polygon, ring, render,
                                 write_file)

W, H = 16, 15
GREY = (192, 192, 192)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
DARK = (64, 64, 64)
BLUE = (0, 70, 200)
RED = (200, 30, 30)
GREEN = (20, 140, 40)
YELLOW = (230, 190, 0)
PAPER = (250, 250, 240)


def rect(x0, y0, x1, y1, colour):
    return Shape(lambda x, y: x0 <= x <= x1 and y0 <= y <= y1, colour)


def frame(x0, y0, x1, y1, colour, width=1.0):
    return [line((x0, y0), (x1, y0), width, colour), line((x1, y0), (x1, y1), width, colour),
            line((x1, y1), (x0, y1), width, colour), line((x0, y1), (x0, y0), width, colour)]


def grid(rows, columns, colour):
    """A window of rows x columns cells."""
    shapes = [rect(1.5, 1.5, 14.5, 13.5, WHITE)] + frame(1.5, 1.5, 14.5, 13.5, colour)
    for r in range(1, rows):
        y = 1.5 + 12 * r / rows
        shapes.append(line((1.5, y), (14.5, y), 1, colour))
    for c in range(1, columns):
        x = 1.5 + 13 * c / columns
        shapes.append(line((x, 1.5), (x, 13.5), 1, colour))
    return shapes


def page(colour=PAPER):
    return [polygon([(3, 1), (10, 1), (13, 4), (13, 14), (3, 14)], colour),
            line((3, 1), (10, 1), 1, DARK), line((10, 1), (13, 4), 1, DARK),
            line((13, 4), (13, 14), 1, DARK), line((13, 14), (3, 14), 1, DARK),
            line((3, 14), (3, 1), 1, DARK)]


def picture():
    """A small grey image with a bright blob: what a DICOM image looks like."""
    return [rect(2, 2, 13, 12, DARK), disc((7.5, 7), 3.5, (170, 170, 170)),
            disc((8.5, 6), 1.5, WHITE)]


def folder():
    return [polygon([(1, 4), (6, 4), (7, 5.5), (14, 5.5), (14, 13), (1, 13)], YELLOW),
            line((1, 13), (14, 13), 1, DARK), line((1, 4), (1, 13), 1, DARK)]


def magnifier(cx, cy, r):
    return [line((cx + r * 0.7, cy + r * 0.7), (cx + r * 1.8, cy + r * 1.8), 2.2, DARK),
            disc((cx, cy), r, WHITE), ring((cx, cy), r, 1.2, DARK)]


def vertical_arrow(x, top, bottom, colour):
    direction = (0, 1) if bottom > top else (0, -1)
    return [line((x, top), (x, bottom - 3 * direction[1]), 2, colour),
            arrow_head((x, bottom), direction, 4, 3.5, colour)]


def bar(y, colour):
    return line((3, y), (13, y), 2, colour)


def pointer():
    return [polygon([(4, 1), (4, 13), (7, 10), (9, 14.5), (11, 13.5), (9, 9.5), (12.5, 9.5)],
                    WHITE),
            Shape(lambda x, y: False, BLACK)] + [
        line(a, b, 1, BLACK) for a, b in
        zip([(4, 1), (4, 13), (7, 10), (9, 14.5), (11, 13.5), (9, 9.5), (12.5, 9.5)],
            [(4, 13), (7, 10), (9, 14.5), (11, 13.5), (9, 9.5), (12.5, 9.5), (4, 1)])]


def rotate_arrow(clockwise):
    centre, radius = (8, 7.5), 5
    def covers(x, y):
        d = math.hypot(x - centre[0], y - centre[1])
        angle = math.degrees(math.atan2(y - centre[1], x - centre[0])) % 360
        return abs(d - radius) <= 1 and not (250 <= angle <= 300)
    tip = (5.5, 2.5) if clockwise else (10.5, 2.5)
    return [Shape(covers, BLUE), arrow_head(tip, (1, 0) if clockwise else (-1, 0), 4, 3.5, BLUE)]


def letter_box(text_shapes, colour=WHITE):
    return [rect(1.5, 1.5, 14.5, 13.5, colour)] + frame(1.5, 1.5, 14.5, 13.5, DARK) + text_shapes


BUTTONS = [
    # Open DICOMDIR: a disc over a folder.
    folder() + [disc((10.5, 6.5), 4, (200, 200, 220)), ring((10.5, 6.5), 4, 1, DARK),
                disc((10.5, 6.5), 1.2, DARK)],
    # Open File: an open folder.
    folder() + [polygon([(3, 13), (5, 7.5), (15, 7.5), (13, 13)], (250, 220, 80)),
                line((3, 13), (5, 7.5), 1, DARK), line((5, 7.5), (15, 7.5), 1, DARK)],
    # Save as: a floppy disc.
    [rect(1.5, 1.5, 14.5, 13.5, BLUE), rect(4, 1.5, 12, 6, WHITE), rect(4, 9, 12, 13.5, GREY),
     rect(9, 2.5, 10.5, 5, DARK)],
    # Copy to Clipboard: a clipboard with a picture.
    [rect(2.5, 2, 13.5, 14, (170, 120, 60)), rect(5.5, 1, 10.5, 3, DARK),
     rect(4, 4, 12, 12.5, PAPER), disc((8, 8.5), 2.5, DARK)],
    # Copy to View: a picture copied into a second window.
    [rect(1, 1, 9, 8, DARK), disc((5, 4.5), 2, WHITE), rect(7, 7, 15, 14, WHITE)] +
    frame(7, 7, 15, 14, DARK) + [disc((11, 10.5), 2, DARK)],
    # View layouts 1X1, 1X2, 2X1, 2X2: grids of blue views.
    grid(1, 1, BLUE) + [rect(3.5, 3.5, 12.5, 11.5, (150, 180, 240))],
    grid(1, 2, BLUE) + [rect(3, 3.5, 7, 11.5, (150, 180, 240)),
                        rect(9.5, 3.5, 13, 11.5, (150, 180, 240))],
    grid(2, 1, BLUE) + [rect(3.5, 3, 12.5, 6.5, (150, 180, 240)),
                        rect(3.5, 9, 12.5, 12.5, (150, 180, 240))],
    grid(2, 2, BLUE),
    # Image layouts 1X1 to 4X4.
    grid(1, 1, DARK), grid(1, 2, DARK), grid(2, 1, DARK), grid(2, 2, DARK), grid(3, 3, DARK),
    grid(4, 4, DARK),
    # First Page, Page Up, Page Down, Last Page.
    page() + [bar(4, BLUE)] + vertical_arrow(8, 12, 6, BLUE),
    page() + vertical_arrow(8, 12, 3, BLUE),
    page() + vertical_arrow(8, 3, 12, BLUE),
    page() + [bar(12, BLUE)] + vertical_arrow(8, 3, 9, BLUE),
    # Fit In Window: four arrows to the corners; Pixel By Pixel: "1:1".
    [rect(3, 3, 12, 11, DARK)] + [arrow_head(p, d, 4, 3, BLUE) for p, d in
                                   [((1.5, 1.5), (-1, -1)), ((14.5, 1.5), (1, -1)),
                                    ((1.5, 13.5), (-1, 1)), ((14.5, 13.5), (1, 1))]],
    letter_box([line((4, 4), (4, 11), 1.4, BLACK), rect(7.3, 5, 8.5, 6.2, BLACK),
                rect(7.3, 9, 8.5, 10.2, BLACK), line((11.5, 4), (11.5, 11), 1.4, BLACK)]),
    # Left-button tools: Arrow, Zoom, Pan, MagGlass, WindowLevel.
    pointer(),
    magnifier(6.5, 6, 4.5) + [line((4.5, 6), (8.5, 6), 1.2, BLACK), line((6.5, 4), (6.5, 8), 1.2,
                                                                          BLACK)],
    [line((2.5, 7.5), (13.5, 7.5), 1.4, DARK), line((8, 2), (8, 13), 1.4, DARK)] +
    [arrow_head(p, d, 3.5, 3, DARK) for p, d in [((1, 7.5), (-1, 0)), ((15, 7.5), (1, 0)),
                                                 ((8, 0.5), (0, -1)), ((8, 14.5), (0, 1))]],
    magnifier(6.5, 6, 4.5) + [disc((6.5, 6), 2.5, (120, 160, 230))],
    [disc((8, 7.5), 6, WHITE), Shape(lambda x, y: x >= 8 and math.hypot(x - 8, y - 7.5) <= 6,
                                      BLACK), ring((8, 7.5), 6, 1, BLACK)],
    # Invert: a half black, half white square with swapped discs.
    [rect(1.5, 1.5, 8, 13.5, BLACK), rect(8, 1.5, 14.5, 13.5, WHITE), disc((5, 7.5), 2, WHITE),
     disc((11, 7.5), 2, BLACK)] + frame(1.5, 1.5, 14.5, 13.5, DARK),
    # Flip Horizonal, Flip Vertical.
    [line((8, 1), (8, 14), 1, DARK), polygon([(1.5, 7.5), (6.5, 3), (6.5, 12)], BLUE),
     polygon([(14.5, 7.5), (9.5, 3), (9.5, 12)], WHITE)] +
    [line(a, b, 1, BLUE) for a, b in [((14.5, 7.5), (9.5, 3)), ((9.5, 3), (9.5, 12)),
                                      ((9.5, 12), (14.5, 7.5))]],
    [line((1, 7.5), (15, 7.5), 1, DARK), polygon([(8, 1), (3, 6), (13, 6)], BLUE),
     polygon([(8, 14), (3, 9), (13, 9)], WHITE)] +
    [line(a, b, 1, BLUE) for a, b in [((8, 14), (3, 9)), ((3, 9), (13, 9)), ((13, 9), (8, 14))]],
    # Rotate Counterclockwise, Rotate Clockwise.
    rotate_arrow(False),
    rotate_arrow(True),
    # Restore: a green circular arrow around a dot.
    [ring((8, 7.5), 5, 2, GREEN), rect(7, 0, 16, 5, GREY), arrow_head((8, 2.5), (-1, 0), 4, 3.5,
                                                                       GREEN),
     disc((8, 7.5), 1.5, GREEN)],
    # Distance: a line with end ticks; Angle: two legs; Clear Annotation: an eraser.
    [line((2, 13), (14, 2), 1.4, RED), line((0.5, 11), (4, 15), 1.2, RED),
     line((12, 0), (15.5, 4), 1.2, RED)],
    [line((2, 13), (14, 13), 1.4, RED), line((2, 13), (12, 2), 1.4, RED),
     Shape(lambda x, y: abs(math.hypot(x - 2, y - 13) - 6) <= 0.7 and x > 2 and y < 13, RED)],
    [polygon([(2, 10), (8, 3), (14, 8), (8, 14)], (240, 140, 160)),
     polygon([(2, 10), (5, 6.5), (11, 11.5), (8, 14)], WHITE)] +
    [line(a, b, 1, DARK) for a, b in [((2, 10), (8, 3)), ((8, 3), (14, 8)), ((14, 8), (8, 14)),
                                      ((8, 14), (2, 10))]],
    # Cine On: a play triangle; Cine Off: a stop square.
    [polygon([(4, 2), (13, 7.5), (4, 13)], GREEN)],
    [rect(3.5, 3, 12.5, 12, RED)],
    # Close Image: a picture with a red cross; Close View: a grid with one.
    picture() + [line((8, 6), (15, 13), 2, RED), line((15, 6), (8, 13), 2, RED)],
    grid(2, 2, DARK) + [line((7, 6), (15, 14), 2, RED), line((15, 6), (7, 14), 2, RED)],
    # Show Report: a written page.
    page() + [line((5, 5), (11, 5), 1, DARK), line((5, 8), (11, 8), 1, DARK),
              line((5, 11), (9, 11), 1, DARK)],
    # About: a blue "i".
    [disc((8, 7.5), 6.5, BLUE), rect(7, 3, 9, 4.8, WHITE), rect(7, 6.2, 9, 12, WHITE)],
]


def write_toolbar(path):
    images = [render(shapes, W, H, GREY) for shapes in BUTTONS]
    width = W * len(images)
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for y in reversed(range(H)):
        row = bytearray()
        for image in images:
            for x in range(W):
                r, g, b = image[y][x]
                row += bytes((b, g, r))
        body += row + bytes(stride - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, H, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + bytes(body))


ICON = [rect(2, 4, 29, 27, DARK)] + \
    [rect(x, 5, x + 2, 6.5, GREY) for x in range(4, 28, 4)] + \
    [rect(x, 24.5, x + 2, 26, GREY) for x in range(4, 28, 4)] + \
    [rect(4, 8, 27, 23, BLACK), disc((15.5, 15.5), 6.5, (200, 200, 200)),
     ring((15.5, 15.5), 6.5, 1.5, WHITE), disc((13, 14), 1.5, (90, 90, 90)),
     disc((18, 14), 1.5, (90, 90, 90)), line((15.5, 11), (15.5, 19.5), 1, (120, 120, 120))]


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    write_toolbar(os.path.join(root, "toolbars", "PelivoRun.bmp"))
    write_file(os.path.join(root, "icons", "Pelivo.ico"), 1, None, render(ICON))


if __name__ == "__main__":
    main()
