#!/usr/bin/env python3
"""Draws Quillon's icons and its notice bitmap from code.

Run from anywhere:  python3 src/res/make_pictures.py
The files are written next to this script. Only the standard library is
used and nothing depends on time or randomness, so every run produces the
same bytes and the checked-in pictures can be regenerated at will.

Every picture uses the 16-colour VGA palette at 4 bits per pixel: it is
what the resource compiler and every Windows version load without fuss,
and it keeps the files small.
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# --- palette -----------------------------------------------------------------

# The standard Windows 16-colour palette, in its usual order. The names
# below are the indices the drawing code uses.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, DARK_GREEN, OLIVE = 0, 1, 2, 3
DARK_BLUE, DARK_MAGENTA, TEAL, LIGHT_GRAY = 4, 5, 6, 7
DARK_GRAY, RED, GREEN, YELLOW = 8, 9, 10, 11
BLUE, MAGENTA, CYAN, WHITE = 12, 13, 14, 15


def palette_bytes():
    """The palette as 16 RGBQUADs (blue, green, red, reserved)."""
    return b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)


# --- canvas ------------------------------------------------------------------

class Canvas:
    """A grid of palette indices plus a transparency flag per pixel.

    Row 0 is the top row; the writers flip to bottom-up order themselves.
    """

    def __init__(self, width, height, colour=BLACK, transparent=False):
        self.width = width
        self.height = height
        self.pixels = [[colour] * width for _ in range(height)]
        self.clear = [[transparent] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour
            self.clear[y][x] = False

    def rect(self, x0, y0, x1, y1, colour):
        """Fills the pixels x0 <= x < x1, y0 <= y < y1."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.set(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour, thickness=1):
        """Draws the outline of a rectangle, inside its bounds."""
        t = thickness
        self.rect(x0, y0, x1, y0 + t, colour)
        self.rect(x0, y1 - t, x1, y1, colour)
        self.rect(x0, y0, x0 + t, y1, colour)
        self.rect(x1 - t, y0, x1, y1, colour)

    def paint(self, inside, colour):
        """Colours every pixel whose centre lies in a shape.

        Shapes are functions of (u, v) in the unit square, so one description
        serves the 32x32 and the 16x16 image alike.
        """
        for y in range(self.height):
            for x in range(self.width):
                if inside((x + 0.5) / self.width, (y + 0.5) / self.height):
                    self.set(x, y, colour)

    def outline(self, inside, colour):
        """Colours the pixels of a shape that touch a pixel outside it.

        Gives every picture a crisp one-pixel edge at any size, which keeps
        small icons readable on light and dark backgrounds.
        """
        def hit(x, y):
            return inside((x + 0.5) / self.width, (y + 0.5) / self.height)

        edge = []
        for y in range(self.height):
            for x in range(self.width):
                if hit(x, y) and not all(
                        hit(x + dx, y + dy)
                        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                    edge.append((x, y))
        for x, y in edge:
            self.set(x, y, colour)

    def blit(self, other, left, top):
        """Copies the opaque pixels of another canvas onto this one."""
        for y in range(other.height):
            for x in range(other.width):
                if not other.clear[y][x]:
                    self.set(left + x, top + y, other.pixels[y][x])


# --- file writers ------------------------------------------------------------

def stride(width, bits):
    """Bytes per row, padded to a 4-byte boundary as DIBs require."""
    return (width * bits + 31) // 32 * 4


def colour_rows(canvas):
    """The 4-bit pixel data, bottom row first, two pixels per byte."""
    out = bytearray()
    for row in reversed(canvas.pixels):
        line = bytearray(stride(canvas.width, 4))
        for x, colour in enumerate(row):
            line[x // 2] |= colour << (4 if x % 2 == 0 else 0)
        out += line
    return bytes(out)


def mask_rows(canvas):
    """The 1-bit AND mask, bottom row first: 1 marks a transparent pixel."""
    out = bytearray()
    for row in reversed(canvas.clear):
        line = bytearray(stride(canvas.width, 1))
        for x, clear in enumerate(row):
            if clear:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def info_header(width, height, image_size):
    """A BITMAPINFOHEADER for an uncompressed 4-bit, 16-colour image."""
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0,
                       image_size, 2835, 2835, 16, 16)


def icon_image(canvas):
    """One icon image: header (twice the height, for XOR plus AND),
    palette, colour bits and mask."""
    for row_colours, row_clear in zip(canvas.pixels, canvas.clear):
        for colour, clear in zip(row_colours, row_clear):
            # Transparent pixels must be black in the colour bits, or the
            # XOR step would tint whatever lies behind the icon.
            assert not clear or colour == BLACK
    xor = colour_rows(canvas)
    and_ = mask_rows(canvas)
    header = info_header(canvas.width, 2 * canvas.height, len(xor) + len(and_))
    return header + palette_bytes() + xor + and_


def ico_bytes(canvases):
    """An .ico file holding the given images in the given order."""
    images = [icon_image(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        out += struct.pack("<BBBBHHII", canvas.width, canvas.height, 16, 0,
                           1, 4, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def bmp_bytes(canvas):
    """A .bmp file: BITMAPFILEHEADER, BITMAPINFOHEADER, palette, pixels."""
    bits = colour_rows(canvas)
    header = info_header(canvas.width, canvas.height, len(bits))
    start = 14 + len(header) + 64
    file_header = struct.pack("<2sIHHI", b"BM", start + len(bits), 0, 0, start)
    return file_header + header + palette_bytes() + bits


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (name, len(data)))


# --- shapes ------------------------------------------------------------------
# Each shape is a predicate over (u, v) in the unit square, v pointing down.

def box(u0, v0, u1, v1):
    return lambda u, v: u0 <= u < u1 and v0 <= v < v1


def union(*shapes):
    return lambda u, v: any(s(u, v) for s in shapes)


def segment_distance(u, v, a, b):
    """Distance from (u, v) to the line segment a-b."""
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = ((u - ax) * dx + (v - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(u - (ax + t * dx), v - (ay + t * dy))


def stroke(points, half_width):
    """A thick polyline through the given points."""
    pairs = list(zip(points, points[1:]))
    return lambda u, v: any(
        segment_distance(u, v, a, b) <= half_width for a, b in pairs)


def from_pixel_map(rows, key):
    """A canvas drawn as text: one character per pixel, '.' for clear."""
    c = Canvas(len(rows[0]), len(rows), transparent=True)
    for y, row in enumerate(rows):
        assert len(row) == c.width
        for x, ch in enumerate(row):
            if ch != ".":
                c.set(x, y, key[ch])
    return c


MAP_KEY = {"K": BLACK, "D": DARK_GRAY, "G": LIGHT_GRAY, "W": WHITE,
           "B": DARK_BLUE, "Y": YELLOW}


# --- the application icon: a quill -------------------------------------------

# The quill lies on a diagonal from its nib (bottom left) to its tip (top
# right). Points are described along that axis: `along` runs 0..1 from nib to
# tip, `across` is the signed distance from the shaft.
NIB = (0.16, 0.80)
TIP = (0.90, 0.08)


def quill_axes(u, v):
    ax, ay = TIP[0] - NIB[0], TIP[1] - NIB[1]
    length = math.hypot(ax, ay)
    dx, dy = u - NIB[0], v - NIB[1]
    along = (dx * ax + dy * ay) / (length * length)
    across = (dx * -ay + dy * ax) / length
    return along, across


def vane_width(along, widest):
    """How far the feather reaches from the shaft at a point on the axis:
    nothing near the nib, swelling to `widest`, narrowing to the tip."""
    if not 0.28 <= along <= 1.0:
        return -1.0
    t = (along - 0.28) / 0.72
    return widest * math.sin(math.pi * t) ** 0.7 * (1.0 - 0.25 * t)


def vane_upper(u, v):
    along, across = quill_axes(u, v)
    return 0 <= -across <= vane_width(along, 0.20)


def vane_lower(u, v):
    along, across = quill_axes(u, v)
    return 0 <= across <= vane_width(along, 0.13)


def nib(u, v):
    along, across = quill_axes(u, v)
    return 0.0 <= along <= 0.30 and abs(across) <= 0.012 + 0.045 * along / 0.3


def quill_icon_32():
    c = Canvas(32, 32, transparent=True)
    feather = union(vane_upper, vane_lower)
    # Two tones give the feather a lit side and a shaded side.
    c.paint(vane_upper, WHITE)
    c.paint(vane_lower, LIGHT_GRAY)
    c.outline(feather, BLACK)
    c.paint(stroke([NIB, TIP], 0.5 / 32), DARK_GRAY)
    c.paint(nib, BLACK)
    # A stroke of blue ink where the nib has just written.
    ink = stroke([(0.34, 0.92), (0.50, 0.86), (0.64, 0.92), (0.80, 0.86),
                  (0.94, 0.90)], 0.6 / 32)
    c.paint(ink, DARK_BLUE)
    return c


# At 16x16 the sampled shapes come out ragged, so the small quill is laid
# out pixel by pixel, following the same design.
QUILL_16 = [
    "................",
    "............KKK.",
    "..........KKWDK.",
    ".........KWWDGK.",
    "........KWWDGGK.",
    ".......KWWDGGK..",
    "......KWWDGGK...",
    ".....KWWDGGK....",
    ".....KWDGGK.....",
    ".....KDGKK......",
    "....KKKK........",
    "...KK...........",
    "..KK............",
    "..K.............",
    ".......BB....BB.",
    "....BBB..BBBB...",
]


def quill_icon(size):
    return quill_icon_32() if size == 32 else from_pixel_map(QUILL_16, MAP_KEY)


# --- tick, empty and folder icons --------------------------------------------

# The large tick's centre line: a short arm down, a long arm up.
TICK = [(0.18, 0.50), (0.40, 0.72), (0.84, 0.28)]


# The small tick, drawn pixel by pixel: two arms three pixels thick at 45
# degrees stay crisp where a sampled stroke would be lumpy.
TICK_16 = [
    "................",
    "................",
    "................",
    ".............Y..",
    "............YY..",
    "...........YYY..",
    "..........YYY...",
    ".........YYY....",
    "..Y.....YYY.....",
    "..YY...YYY......",
    "..YYY.YYY.......",
    "...YYYYY........",
    "....YYY.........",
    ".....Y..........",
    "................",
    "................",
]


def tick_icon_32():
    """The large tick, on a solid teal ground."""
    c = Canvas(32, 32, colour=TEAL)
    c.paint(stroke(TICK, 0.085), YELLOW)
    return c


def tick_icon_16():
    """The small tick, on a clear ground."""
    return from_pixel_map(TICK_16, MAP_KEY)


def empty_icon(size):
    return Canvas(size, size, transparent=True)


def folder_icon(size):
    c = Canvas(size, size, transparent=True)
    tab = box(0.0625, 0.1875, 0.4375, 0.3125)
    back = box(0.0625, 0.25, 0.9375, 0.875)
    front = box(0.0625, 0.4375, 0.9375, 0.875)
    whole = union(tab, back)
    # The back and tab are the darker brown, the front flap bright yellow
    # with a white fold line just under its top edge.
    c.paint(whole, OLIVE)
    c.paint(front, YELLOW)
    c.paint(box(0.125, 0.4375 + 1.0 / size, 0.875, 0.4375 + 2.0 / size),
            WHITE)
    c.outline(whole, BLACK)
    c.outline(front, BLACK)
    return c


# --- a small bitmap font -----------------------------------------------------
# Glyphs are 9 rows tall: rows 0-6 reach from cap height to the baseline,
# rows 7-8 hold descenders. Each block lists its characters, then the rows
# of all its glyphs side by side. Empty edge columns are trimmed when the
# font is built, so narrow letters such as i and l take less room.

FONT_BLOCKS = [
    ("abcdefgh", """
.....  #....  .....  ....#  .....  ..##.  .....  #....
.....  #....  .....  ....#  .....  .#..#  .....  #....
.###.  #.##.  .###.  .##.#  .###.  .#...  .####  #.##.
....#  ##..#  #....  #..##  #...#  ###..  #...#  ##..#
.####  #...#  #....  #...#  #####  .#...  #...#  #...#
#...#  #...#  #...#  #...#  #....  .#...  #...#  #...#
.####  ####.  .###.  .####  .###.  .#...  .####  #...#
.....  .....  .....  .....  .....  .....  ....#  .....
.....  .....  .....  .....  .....  .....  .###.  .....
"""),
    ("ijklmnop", """
.#.  ...#  #....  ##.  .....  .....  .....  .....
...  ....  #....  .#.  .....  .....  .....  .....
##.  ..##  #..#.  .#.  ##.#.  #.##.  .###.  ####.
.#.  ...#  #.#..  .#.  #.#.#  ##..#  #...#  #...#
.#.  ...#  ##...  .#.  #.#.#  #...#  #...#  #...#
.#.  ...#  #.#..  .#.  #.#.#  #...#  #...#  #...#
###  ...#  #..#.  ###  #.#.#  #...#  .###.  ####.
...  #..#  .....  ...  .....  .....  .....  #....
...  .##.  .....  ...  .....  .....  .....  #....
"""),
    ("qrstuvwx", """
.....  .....  .....  ....  .....  .....  .....  .....
.....  .....  .....  .#..  .....  .....  .....  .....
.####  #.##.  .####  ###.  #...#  #...#  #...#  #...#
#...#  ##..#  #....  .#..  #...#  #...#  #...#  .#.#.
#...#  #....  .###.  .#..  #...#  #...#  #.#.#  ..#..
#...#  #....  ....#  .#.#  #..##  .#.#.  #.#.#  .#.#.
.####  #....  ####.  ..#.  .##.#  ..#..  .#.#.  #...#
....#  .....  .....  ....  .....  .....  .....  .....
....#  .....  .....  ....  .....  .....  .....  .....
"""),
    ("yzCFQV", """
.....  .....  .###.  #####  .###.  #...#
.....  .....  #...#  #....  #...#  #...#
#...#  #####  #....  #....  #...#  #...#
#...#  ...#.  #....  ####.  #...#  #...#
#...#  ..#..  #....  #....  #.#.#  #...#
#...#  .#...  #...#  #....  #..#.  .#.#.
.####  #####  .###.  #....  .##.#  ..#..
....#  .....  .....  .....  .....  .....
.###.  .....  .....  .....  .....  .....
"""),
    ("0126.;,()", """
.###.  ..#..  .###.  ..##.  .  ..  ..  ..#  #..
#...#  .##..  #...#  .#...  .  ..  ..  .#.  .#.
#..##  ..#..  ....#  #....  .  ..  ..  #..  ..#
#.#.#  ..#..  ...#.  ####.  .  .#  ..  #..  ..#
##..#  ..#..  ..#..  #...#  .  ..  ..  #..  ..#
#...#  ..#..  .#...  #...#  .  ..  ..  .#.  .#.
.###.  .###.  #####  .###.  #  .#  .#  ..#  #..
.....  .....  .....  .....  .  #.  #.  ...  ...
.....  .....  .....  .....  .  ..  ..  ...  ...
"""),
]
GLYPH_ROWS = 9
SPACE_COLUMNS = 3


def build_font():
    """Maps each character to its glyph: a list of rows of booleans."""
    font = {}
    for chars, text in FONT_BLOCKS:
        rows = [line.split() for line in text.strip().splitlines()]
        assert len(rows) == GLYPH_ROWS, chars
        for i, ch in enumerate(chars):
            glyph = [[cell == "#" for cell in row[i]] for row in rows]
            inked = [x for x in range(len(glyph[0]))
                     if any(r[x] for r in glyph)]
            font[ch] = [r[inked[0]:inked[-1] + 1] for r in glyph]
    font[" "] = [[False] * SPACE_COLUMNS for _ in range(GLYPH_ROWS)]
    return font


FONT = build_font()


def text_width(text, scale):
    """Width in pixels of a line of text, with one blank column between
    glyphs."""
    if not text:
        return 0
    columns = sum(len(FONT[ch][0]) + 1 for ch in text) - 1
    return columns * scale


def draw_text(canvas, text, left, top, scale, colour):
    """Draws text with its cap height starting at `top`."""
    x = left
    for ch in text:
        glyph = FONT[ch]
        for gy, row in enumerate(glyph):
            for gx, ink in enumerate(row):
                if ink:
                    canvas.rect(x + gx * scale, top + gy * scale,
                                x + (gx + 1) * scale, top + (gy + 1) * scale,
                                colour)
        x += (len(glyph[0]) + 1) * scale


def wrap(text, width, scale):
    """Breaks text into lines no wider than `width` pixels, at spaces."""
    lines = []
    for word in text.split():
        if lines and text_width(lines[-1] + " " + word, scale) <= width:
            lines[-1] += " " + word
        else:
            assert text_width(word, scale) <= width, word
            lines.append(word)
    return lines


# --- the notice bitmap -------------------------------------------------------

NOTICE_SIZE = (558, 226)
TITLE = "Quillon 1.0a"
PARAGRAPHS = [
    "Finds a folder path in the string values of the registry "
    "and writes a backup file and a change file for the registry editor.",
    "Quillon only reads the registry; "
    "the registry editor applies the changes.",
    "Check the change file before you import it.",
]
FOOTER = "(c) 2026 Vantrel"

MARGIN = 22         # from the picture's edge to the text
TITLE_SCALE = 3
BODY_SCALE = 2
LINE_PITCH = 19     # body glyphs are 14 pixels to the baseline
PARAGRAPH_GAP = 5


def notice_bitmap():
    width, height = NOTICE_SIZE
    c = Canvas(width, height, colour=WHITE)
    # A teal border with a thin grey line inside it, like a framed card.
    c.frame(0, 0, width, height, TEAL, thickness=4)
    c.frame(7, 7, width - 7, height - 7, DARK_GRAY)

    # Heading: the application icon, the title beside it, a rule below.
    c.blit(quill_icon(32), MARGIN, 13)
    title_top = 13 + (32 - 7 * TITLE_SCALE) // 2
    draw_text(c, TITLE, MARGIN + 32 + 12, title_top, TITLE_SCALE, DARK_BLUE)
    c.rect(MARGIN, 52, width - MARGIN, 54, TEAL)

    # Body: each paragraph wrapped to the space between the margins.
    y = 63
    for paragraph in PARAGRAPHS:
        for line in wrap(paragraph, width - 2 * MARGIN, BODY_SCALE):
            draw_text(c, line, MARGIN, y, BODY_SCALE, BLACK)
            y += LINE_PITCH
        y += PARAGRAPH_GAP

    # The footer sits in the bottom right corner; make sure the body
    # never runs into it.
    footer_top = height - MARGIN - 7 * BODY_SCALE
    assert y - PARAGRAPH_GAP - LINE_PITCH + 9 * BODY_SCALE < footer_top
    footer_left = width - MARGIN - text_width(FOOTER, BODY_SCALE)
    draw_text(c, FOOTER, footer_left, footer_top, BODY_SCALE, DARK_GRAY)
    return c


# --- main --------------------------------------------------------------------

def main():
    write("quillon.ico", ico_bytes([quill_icon(32), quill_icon(16)]))
    write("checked.ico", ico_bytes([tick_icon_32(), tick_icon_16()]))
    write("unchecked.ico", ico_bytes([empty_icon(32), empty_icon(16)]))
    write("folder.ico", ico_bytes([folder_icon(32), folder_icon(16)]))
    write("notice.bmp", bmp_bytes(notice_bitmap()))


if __name__ == "__main__":
    main()
