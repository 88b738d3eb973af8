#!/usr/bin/python3
"""Draws the saver's six glyph sheets and writes its width table into resources/.

The sheets are committed, so building the saver needs neither this script nor the font. To redraw
them on Debian: apt-get install python3-pil fonts-liberation2, then run this script from anywhere.

Each sheet is a 256 x 256 grey-scale Windows DIB (8 bits, uncompressed, bottom-up, identity grey
palette) holding 16 characters in a 4 x 4 grid of 64 x 64 cells, left to right, top to bottom.
Glyphs are white anti-aliased Liberation Serif Italic on black, centred horizontally on the cell so
that the pen, which stands at the middle of each advance, is the middle of the ink.
"""

import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

FONT_PATH = "/usr/share/fonts/truetype/liberation2/LiberationSerif-Italic.ttf"
RESOURCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources")

# Advance of each character 32..127 in pixels of the 64-pixel cell.
WIDTHS = bytes([
    12, 17, 10, 41, 26, 41, 47, 10, 16, 14, 25, 31, 12, 13, 12, 20,
    26, 26, 26, 26, 26, 26, 26, 26, 26, 26, 15, 14, 31, 31, 31, 22,
    42, 37, 36, 31, 42, 37, 35, 37, 40, 22, 24, 40, 35, 50, 42, 36,
    32, 36, 36, 27, 30, 44, 38, 53, 33, 33, 37, 14, 29, 19, 31, 30,
    13, 25, 25, 20, 26, 20, 19, 24, 26, 14, 13, 26, 14, 37, 27, 24,
    26, 24, 18, 19, 19, 27, 26, 40, 25, 24, 26, 14, 31, 14, 31, 0,
])

CELL = 64
SHEET = 256
SUPERSAMPLE = 4       # drawn four times larger, then box-filtered down for smooth edges
EM = 54               # the em that best matches the width table's advances
OVERHANG = 4          # ink may reach this far past its advance before the glyph is condensed
STRETCH = 0.15        # how far a glyph may be widened or narrowed towards its advance in the table
MARGIN = 2            # keeps ink off the cell edges, where linear filtering meets the neighbour


def GlyphInk(font, code):
    """The character drawn white at a large scale, cropped to its ink, and its baseline offset."""
    size = CELL * SUPERSAMPLE * 3
    image = Image.new("L", (size, size), 0)
    origin = size // 3
    ImageDraw.Draw(image).text((origin, 2 * origin), chr(code), font=font, fill=255, anchor="ls")
    box = image.getbbox()
    return image.crop(box), box[1] - 2 * origin


def DrawCell(font, code, baseline):
    """One 64 x 64 cell, the glyph's ink centred on the cell's middle."""
    big = CELL * SUPERSAMPLE
    cell = Image.new("L", (big, big), 0)
    if 32 < code < 127:
        ink, top = GlyphInk(font, code)
        # The table's advances were set for another face: widen or narrow each glyph towards its
        # advance, by at most STRETCH, so that the spacing looks even.
        stretch = WIDTHS[code - 32] * SUPERSAMPLE / font.getlength(chr(code))
        stretch = max(1 - STRETCH, min(1 + STRETCH, stretch))
        ink = ink.resize((round(ink.width * stretch), ink.height), Image.LANCZOS)
        allowed = (WIDTHS[code - 32] + OVERHANG) * SUPERSAMPLE
        allowed = min(allowed, (CELL - 2 * MARGIN) * SUPERSAMPLE)
        if ink.width > allowed:
            ink = ink.resize((allowed, ink.height), Image.LANCZOS)
        cell.paste(ink, ((big - ink.width) // 2, baseline + top))
    return cell.resize((CELL, CELL), Image.BOX)


def InkBaseline(font):
    """The baseline, in supersampled pixels from the cell's top, that centres every glyph's ink vertically."""
    highest = 0
    lowest = 0
    for code in range(33, 127):
        ink, top = GlyphInk(font, code)
        highest = min(highest, top)
        lowest = max(lowest, top + ink.height)
    if lowest - highest > (CELL - 2 * MARGIN) * SUPERSAMPLE:
        sys.exit("glyphs are too tall for the cell at this em")
    return (CELL * SUPERSAMPLE - (lowest - highest)) // 2 - highest


def DibBytes(image):
    """A 256 x 256 8-bit grey image as a bottom-up, uncompressed Windows DIB file."""
    palette = b"".join(bytes((level, level, level, 0)) for level in range(256))
    pixels = b"".join(image.tobytes()[row * SHEET:(row + 1) * SHEET] for row in reversed(range(SHEET)))
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, SHEET, SHEET, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    return header + info + palette + pixels


def main():
    font = ImageFont.truetype(FONT_PATH, EM * SUPERSAMPLE)
    baseline = InkBaseline(font)
    for sheet in range(6):
        image = Image.new("L", (SHEET, SHEET), 0)
        for index in range(16):
            code = 32 + sheet * 16 + index
            column = code % 4
            row = (code % 16) // 4
            image.paste(DrawCell(font, code, baseline), (column * CELL, row * CELL))
        with open(os.path.join(RESOURCES, "glyph_sheet_%d.bmp" % sheet), "wb") as out:
            out.write(DibBytes(image))
    with open(os.path.join(RESOURCES, "widths.bin"), "wb") as out:
        out.write(WIDTHS)


if __name__ == "__main__":
    main()
