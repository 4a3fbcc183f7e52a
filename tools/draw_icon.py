"""Draw the program's window icon (48/32/16 px, classic BMP entries) and write it as an .ico file."""

import struct
import sys

# Colours as (r, g, b). Transparency lives in a separate mask, never in these tuples.
OUTLINE = (0x5A, 0x66, 0x75)
CREASE = (0x8F, 0x9A, 0xA8)
FOLD_TOP = (0xF4, 0xF6, 0xF9)
FOLD_BOTTOM = (0xD5, 0xDB, 0xE3)
PAPER_TOP = (0xFF, 0xFF, 0xFF)
PAPER_BOTTOM = (0xEC, 0xF0, 0xF5)
TEXT = (0x9C, 0xA7, 0xB4)
BADGE_EDGE = (0x12, 0x4B, 0x9C)
BADGE_TOP = (0x4C, 0x95, 0xEC)
BADGE_BOTTOM = (0x1B, 0x66, 0xD0)
GLYPH = (0xFF, 0xFF, 0xFF)

# Hand-made glyphs: an outline font would blur at these sizes.
GLYPHS_BOLD = {
    "B": ["#####.",
          "##..##",
          "##..##",
          "#####.",
          "##..##",
          "##..##",
          "#####."],
    "O": [".####.",
          "##..##",
          "##..##",
          "##..##",
          "##..##",
          "##..##",
          ".####."],
    "M": ["##...##",
          "###.###",
          "#######",
          "##.#.##",
          "##...##",
          "##...##",
          "##...##"],
}
GLYPHS_THIN = {
    "B": ["###.",
          "#..#",
          "###.",
          "#..#",
          "###."],
    "O": [".##.",
          "#..#",
          "#..#",
          "#..#",
          ".##."],
    "M": ["#...#",
          "##.##",
          "#.#.#",
          "#...#",
          "#...#"],
}


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]  # None = transparent

    def set(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.set(x, y, colour)

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        span = max(1, y1 - y0 - 1)
        for y in range(y0, y1):
            self.rect(x0, y, x1, y + 1, mix(top, bottom, (y - y0) / span))


def draw_paper(c, x0, y0, x1, y1, fold):
    """Page with its top-right corner folded down; the cut is a 45-degree pixel staircase."""
    right, bottom = x1 - 1, y1 - 1
    fx = right - fold  # where the fold starts on the top edge
    span = max(1, bottom - y0)
    for y in range(y0, y1):
        fill = mix(PAPER_TOP, PAPER_BOTTOM, (y - y0) / span)
        for x in range(x0, x1):
            d = x - fx - (y - y0)
            if d > 0:
                continue  # cut-away corner stays transparent
            edge = x in (x0, right) or y in (y0, bottom) or d == 0
            c.set(x, y, OUTLINE if edge else fill)
    # The flap: right angle at bottom-left, hypotenuse on the staircase.
    fy = y0 + fold
    for y in range(y0 + 1, fy):
        for x in range(fx + 1, right):
            if x - fx < y - y0:
                c.set(x, y, mix(FOLD_TOP, FOLD_BOTTOM, (y - y0) / fold))
    for y in range(y0 + 1, fy + 1):
        c.set(fx, y, CREASE)
    for x in range(fx, right):
        c.set(x, fy, CREASE)


def draw_lines(c, lines, height):
    for x0, x1, y in lines:
        c.rect(x0, y, x1, y + height, TEXT)


def draw_badge(c, x0, y0, x1, y1, radius):
    """Rounded box; corner pixels are simply left undrawn so whatever is below shows through."""
    r = radius
    c.vgradient(x0 + 1, y0 + 1, x1 - 1, y1 - 1, BADGE_TOP, BADGE_BOTTOM)
    c.rect(x0 + r, y0, x1 - r, y0 + 1, BADGE_EDGE)
    c.rect(x0 + r, y1 - 1, x1 - r, y1, BADGE_EDGE)
    c.rect(x0, y0 + r, x0 + 1, y1 - r, BADGE_EDGE)
    c.rect(x1 - 1, y0 + r, x1, y1 - r, BADGE_EDGE)
    if r >= 2:
        for x, y in ((x0 + 1, y0 + 1), (x1 - 2, y0 + 1), (x0 + 1, y1 - 2), (x1 - 2, y1 - 2)):
            c.set(x, y, BADGE_EDGE)


def draw_text(c, x, y, text, font):
    for ch in text:
        rows = font[ch]
        for dy, row in enumerate(rows):
            for dx, bit in enumerate(row):
                if bit == "#":
                    c.set(x + dx, y + dy, GLYPH)
        x += len(rows[0]) + 1


def text_width(text, font):
    return sum(len(font[ch][0]) for ch in text) + len(text) - 1


def draw_48():
    c = Canvas(48)
    draw_paper(c, 5, 2, 37, 46, 10)
    draw_lines(c, [(9, 22, 9), (9, 32, 14), (9, 32, 19), (9, 28, 24),
                   (9, 32, 29), (9, 15, 34), (9, 15, 39)], 2)
    bx0, by0, bx1, by1 = 17, 31, 44, 46
    draw_badge(c, bx0, by0, bx1, by1, 2)
    tw = text_width("BOM", GLYPHS_BOLD)
    draw_text(c, bx0 + (bx1 - bx0 - tw) // 2, by0 + 4, "BOM", GLYPHS_BOLD)
    return c


def draw_32():
    c = Canvas(32)
    draw_paper(c, 4, 1, 26, 31, 7)
    draw_lines(c, [(7, 16, 5), (7, 23, 9), (7, 23, 12), (7, 20, 15),
                   (7, 23, 18), (7, 10, 21), (7, 10, 24), (7, 10, 27)], 1)
    bx0, by0, bx1, by1 = 11, 20, 31, 31
    draw_badge(c, bx0, by0, bx1, by1, 1)
    tw = text_width("BOM", GLYPHS_THIN)
    draw_text(c, bx0 + (bx1 - bx0 - tw) // 2, by0 + 3, "BOM", GLYPHS_THIN)
    return c


def draw_16():
    c = Canvas(16)
    draw_paper(c, 2, 0, 13, 16, 3)
    draw_lines(c, [(4, 8, 3), (4, 11, 6), (4, 11, 8), (4, 7, 10), (4, 7, 12)], 1)
    bx0, by0, bx1, by1 = 8, 9, 16, 16
    draw_badge(c, bx0, by0, bx1, by1, 1)
    draw_text(c, bx0 + 2, by0 + 1, "B", GLYPHS_THIN)
    return c


def row_pad(nbytes):
    return (-nbytes) % 4


def and_mask(c):
    """1 bit per pixel, set where the image is transparent; rows bottom-up, 32-bit aligned."""
    out = bytearray()
    for y in range(c.size - 1, -1, -1):
        bits = 0
        row = bytearray()
        for x in range(c.size):
            bits = (bits << 1) | (c.px[y][x] is None)
            if x % 8 == 7:
                row.append(bits)
                bits = 0
        if c.size % 8:
            row.append(bits << (8 - c.size % 8))
        out += row + b"\0" * row_pad(len(row))
    return bytes(out)


def dib_header(size, bpp, image_bytes, colours_used):
    # Height is doubled because the XOR image and the AND mask are stacked.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0,
                       image_bytes, 0, 0, colours_used, 0)


def encode_8bit(c):
    # Index 0 must be black: transparent pixels are drawn as screen AND 1 XOR 0.
    palette = [(0, 0, 0)]
    index = {(0, 0, 0): 0}
    for row in c.px:
        for p in row:
            if p is not None and p not in index:
                index[p] = len(palette)
                palette.append(p)
    if len(palette) > 256:
        raise SystemExit("%d px image needs %d colours, more than 256" % (c.size, len(palette)))
    palette += [(0, 0, 0)] * (256 - len(palette))
    pixels = bytearray()
    for y in range(c.size - 1, -1, -1):
        row = bytes(0 if p is None else index[p] for p in c.px[y])
        pixels += row + b"\0" * row_pad(len(row))
    mask = and_mask(c)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return dib_header(c.size, 8, len(pixels) + len(mask), 256) + pal + bytes(pixels) + mask


def encode_32bit(c):
    pixels = bytearray()
    for y in range(c.size - 1, -1, -1):
        for p in c.px[y]:
            pixels += b"\0\0\0\0" if p is None else struct.pack("<BBBB", p[2], p[1], p[0], 255)
    # Loaders that ignore alpha (and hit-testing on some shells) still use the mask.
    mask = and_mask(c)
    return dib_header(c.size, 32, len(pixels) + len(mask), 0) + bytes(pixels) + mask


def build_ico(images):
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, blobs = b"", b""
    for size, bpp, blob in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bpp,
                               len(blob), offset)
        offset += len(blob)
        blobs += blob
    return header + entries + blobs


def check_ico(data, expected):
    """Parse the file back so a layout slip fails here rather than in a loader."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind, count) == (0, 1, len(expected)), "bad ICONDIR"
    for i, (size, bpp) in enumerate(expected):
        w, h, ncol, _, planes, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        assert (w, h, ncol, planes, bits) == (size, size, 0, 1, bpp), "entry %d header" % i
        assert offset + length <= len(data), "entry %d runs past end of file" % i
        hdr = struct.unpack_from("<IiiHHIIiiII", data, offset)
        assert hdr[:6] == (40, size, size * 2, 1, bpp, 0), "entry %d DIB header" % i
        pal = 256 * 4 if bpp == 8 else 0
        stride = ((size * bpp + 31) // 32) * 4
        mask_stride = ((size + 31) // 32) * 4
        assert length == 40 + pal + size * (stride + mask_stride), "entry %d size" % i


def main():
    if len(sys.argv) != 2:
        raise SystemExit("usage: python3 tools/draw_icon.py OUTPUT.ico")
    images = [(48, 8, encode_8bit(draw_48())),
              (32, 32, encode_32bit(draw_32())),
              (16, 32, encode_32bit(draw_16()))]
    data = build_ico(images)
    check_ico(data, [(s, b) for s, b, _ in images])
    with open(sys.argv[1], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
