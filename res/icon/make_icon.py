#!/usr/bin/env python3
"""Draws brikfall_SDI's icon and toolbar strip and writes them as
res/brikfall_sdi.ico and res/toolbar.bmp.

The icon is a small well with a pile of coloured blocks and a square piece
about to drop into the gap. It is drawn anew at every size so that small
images stay crisp. Output is byte-for-byte the same on every run.

    make_icon.py            write both files
    make_icon.py --check    read both files back and compare them with a
                            fresh drawing; exit status 1 on any difference
"""

import argparse
import pathlib
import struct
import sys
import zlib

RES_DIR = pathlib.Path(__file__).resolve().parent.parent
ICO_PATH = RES_DIR / "brikfall_sdi.ico"
BMP_PATH = RES_DIR / "toolbar.bmp"

DIB_SIZES = (48, 32, 24, 16)
PNG_SIZE = 256

# ---------------------------------------------------------------- colours

PIECE_COLOURS = {  # the game's block fills
    "blue": (153, 153, 255),
    "green": (153, 255, 153),
    "cyan": (153, 255, 255),
    "red": (255, 153, 153),
    "magenta": (255, 153, 255),
    "yellow": (255, 255, 0),
}


def _scaled(rgb, factor):
    return tuple(round(c * factor) for c in rgb)


def _towards_white(rgb):
    return tuple((c + 255 + 1) // 2 for c in rgb)


COLOURS = {
    "black": (0, 0, 0),
    "white": (255, 255, 255),
    "wall": (168, 168, 176),
    "wall_shade": (88, 88, 96),
}
COLOURS.update(PIECE_COLOURS)
COLOURS.update({n + "_dark": _scaled(c, 0.62) for n, c in PIECE_COLOURS.items()})
COLOURS.update({n + "_light": _towards_white(c) for n, c in PIECE_COLOURS.items()})

# The 16-colour images have no room for the light tints: they fall back to
# the plain fill. Index 0 must be black, the colour of transparent pixels.
PALETTE_16 = ["black", "white", "wall", "wall_shade"] + \
    list(PIECE_COLOURS) + [n + "_dark" for n in PIECE_COLOURS]
PALETTE_256 = PALETTE_16 + [n + "_light" for n in PIECE_COLOURS]
assert len(PALETTE_16) == 16 and len(set(COLOURS[n] for n in PALETTE_256)) == 22


def colour_in(name, palette):
    """Name of the palette entry that stands for colour `name`."""
    if name in palette:
        return name
    return name[: -len("_light")]


# ---------------------------------------------------------------- artwork

# Cells of the well from the top row down; '.' is an empty cell.
WELL = (
    ".yy.",
    ".yy.",
    "m..g",
    "b..c",
)
CELL_COLOURS = {"b": "blue", "g": "green", "c": "cyan",
                "r": "red", "m": "magenta", "y": "yellow"}


def new_canvas(width, height):
    """Rows of colour names; None is a transparent pixel."""
    return [[None] * width for _ in range(height)]


def fill(canvas, x0, y0, x1, y1, colour):
    """Fills the pixels x0 <= x < x1, y0 <= y < y1."""
    for y in range(y0, y1):
        canvas[y][x0:x1] = [colour] * (x1 - x0)


def draw_icon(size):
    wall = max(1, size // 16)
    pad = size // 32
    cols, rows = len(WELL[0]), len(WELL)
    room = size - 2 * wall - 2 * pad
    outline = max(1, (room - 1) // cols // 12)
    pitch = (room - outline) // cols          # one cell plus one outline
    grid_w, grid_h = cols * pitch + outline, rows * pitch + outline
    gx = (size - grid_w) // 2
    gy = size - pad - wall - grid_h

    canvas = new_canvas(size, size)
    # The well: walls left, right and below, black inside, open at the top.
    fill(canvas, gx - wall, gy, gx + grid_w + wall, gy + grid_h + wall, "wall")
    if wall >= 3:   # a darker inner edge gives the walls some depth
        edge = wall // 3
        fill(canvas, gx - edge, gy, gx + grid_w + edge, gy + grid_h + edge,
             "wall_shade")
    fill(canvas, gx, gy, gx + grid_w, gy + grid_h, "black")

    inner = pitch - outline
    bevel = max(1, inner // 6) if inner >= 4 else 0
    # Tiny cells drown in white outlines: there the well's black parts them.
    edge_colour = "white" if bevel else "black"
    for row, line in enumerate(WELL):
        for col, cell in enumerate(line):
            if cell == ".":
                continue
            colour = CELL_COLOURS[cell]
            x, y = gx + col * pitch, gy + row * pitch
            fill(canvas, x, y, x + pitch + outline, y + pitch + outline,
                 edge_colour)
            x, y = x + outline, y + outline
            fill(canvas, x, y, x + inner, y + inner, colour)
            if bevel:
                fill(canvas, x, y, x + inner, y + bevel, colour + "_light")
                fill(canvas, x, y, x + bevel, y + inner, colour + "_light")
                fill(canvas, x, y + inner - bevel, x + inner, y + inner,
                     colour + "_dark")
                fill(canvas, x + inner - bevel, y, x + inner, y + inner,
                     colour + "_dark")
    return canvas


# Toolbar buttons, 16 x 15 each: cut, copy, paste, about.
TOOLBAR_PALETTE = [  # the usual 16 system colours, in their usual order
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# '.' is the button face (silver), which the toolbar replaces by the system's.
TOOLBAR_KEYS = {".": 7, "k": 0, "r": 1, "o": 3, "b": 4, "g": 8, "w": 15}
BUTTON_W, BUTTON_H = 16, 15

SCISSORS = (
    "................",
    "...k........k...",
    "...kk......kk...",
    "....k......k....",
    "....kk....kk....",
    ".....k....k.....",
    ".....kk..kk.....",
    "......kkkk......",
    ".......gg.......",
    "......kkkk......",
    ".....r....r.....",
    "..rrrr....rrrr..",
    ".r...r....r...r.",
    ".r...r....r...r.",
    "..rrr......rrr..",
)
TWO_SHEETS = (
    "................",
    "..kkkkkkk.......",
    "..kwwwwwk.......",
    "..kwbbbwk.......",
    "..kwwwwwk.......",
    "..kwbbkkkkkkkk..",
    "..kwwwkwwwwwwk..",
    "..kwbbkwbbbbwk..",
    "..kwwwkwwwwwwk..",
    "..kkkkkwbbbbwk..",
    "......kwwwwwwk..",
    "......kwbbbbwk..",
    "......kwwwwwwk..",
    "......kkkkkkkk..",
    "................",
)
CLIPBOARD = (
    ".....kkkkkk.....",
    "..kkkkggggkkkk..",
    "..kookkkkkkook..",
    "..kooooooooook..",
    "..kowwwwwwwwok..",
    "..kowwwwwwwwok..",
    "..kowbbbbbbwok..",
    "..kowwwwwwwwok..",
    "..kowbbbbbbwok..",
    "..kowwwwwwwwok..",
    "..kowbbbbwwwok..",
    "..kowwwwwwwwok..",
    "..kooooooooook..",
    "..kkkkkkkkkkkk..",
    "................",
)
QUESTION_MARK = (
    "................",
    "......bbbb......",
    ".....bbbbbb.....",
    "....bb....bb....",
    "....bb....bb....",
    "..........bb....",
    ".........bb.....",
    "........bb......",
    ".......bb.......",
    ".......bb.......",
    ".......bb.......",
    "................",
    ".......bb.......",
    ".......bb.......",
    "................",
)
BUTTONS = (SCISSORS, TWO_SHEETS, CLIPBOARD, QUESTION_MARK)
for _button in BUTTONS:
    assert len(_button) == BUTTON_H and all(len(r) == BUTTON_W for r in _button)


def toolbar_indices():
    """Rows of palette indices of the whole strip, top row first."""
    return [[TOOLBAR_KEYS[ch] for button in BUTTONS for ch in button[y]]
            for y in range(BUTTON_H)]


# ---------------------------------------------------------------- encoders

def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def pack_row(indices, bits):
    """One row of palette indices at 4 or 8 bits a pixel, padded to 4 bytes."""
    if bits == 8:
        return pad4(bytes(indices))
    padded = list(indices) + [0] * (len(indices) % 2)
    return pad4(bytes(hi << 4 | lo for hi, lo in zip(padded[::2], padded[1::2])))


def palette_bytes(rgbs, entries):
    rgbs = list(rgbs)
    rgbs += [(0, 0, 0)] * (entries - len(rgbs))
    return b"".join(bytes((b, g, r, 0)) for r, g, b in rgbs)


def rgba_rows(canvas, palette=None):
    """The canvas as (r, g, b, a) rows, colours limited to `palette`."""
    def rgba(name):
        if name is None:
            return (0, 0, 0, 0)
        if palette is not None:
            name = colour_in(name, palette)
        return COLOURS[name] + (255,)
    return [[rgba(name) for name in row] for row in canvas]


def icon_dib(canvas, bits):
    """BITMAPINFOHEADER, palette, colour rows and mask, both bottom-up."""
    size = len(canvas)
    if bits == 32:
        table = b""
        rows = [pad4(b"".join(bytes((b, g, r, a)) for r, g, b, a in row))
                for row in rgba_rows(canvas)]
    else:
        palette = PALETTE_16 if bits == 4 else PALETTE_256
        table = palette_bytes((COLOURS[n] for n in palette), 1 << bits)
        index = {name: i for i, name in enumerate(palette)}
        rows = [pack_row([0 if n is None else index[colour_in(n, palette)]
                          for n in row], bits) for row in canvas]
    mask = []
    for row in canvas:   # 1 bits mark the transparent pixels
        bits_row = [1 if n is None else 0 for n in row]
        bits_row += [0] * (-len(bits_row) % 8)
        mask.append(pad4(bytes(
            sum(b << (7 - i) for i, b in enumerate(bits_row[k:k + 8]))
            for k in range(0, len(bits_row), 8))))
    pixels = b"".join(reversed(rows)) + b"".join(reversed(mask))
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0,
                         len(pixels), 0, 0, 0, 0)
    return header + table + pixels


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + \
        struct.pack(">I", zlib.crc32(kind + data))


def png_image(canvas):
    size = len(canvas)
    raw = b"".join(b"\0" + bytes(c for px in row for c in px)
                   for row in rgba_rows(canvas))
    return (b"\x89PNG\r\n\x1a\n"
            + png_chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + png_chunk(b"IDAT", zlib.compress(raw, 9))
            + png_chunk(b"IEND", b""))


def icon_images():
    """(size, bit count, image bytes) in the order of the icon directory."""
    images = []
    for bits in (4, 8, 32):
        images += [(s, bits, icon_dib(draw_icon(s), bits)) for s in DIB_SIZES]
    images.append((PNG_SIZE, 32, png_image(draw_icon(PNG_SIZE))))
    return images


def ico_file(images):
    offset = 6 + 16 * len(images)
    out = [struct.pack("<HHH", 0, 1, len(images))]
    for size, bits, data in images:
        out.append(struct.pack("<BBBBHHII", size % 256, size % 256,
                               16 if bits == 4 else 0, 0, 1, bits,
                               len(data), offset))
        offset += len(data)
    return b"".join(out + [data for _, _, data in images])


def bmp_file(indices):
    height, width = len(indices), len(indices[0])
    pixels = b"".join(pack_row(row, 4) for row in reversed(indices))
    table = palette_bytes(TOOLBAR_PALETTE, 16)
    offset = 14 + 40 + len(table)
    return (struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
            + struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0,
                          len(pixels), 0, 0, 16, 0)
            + table + pixels)


# ---------------------------------------------------------------- checking

class Bad(Exception):
    pass


def expect(cond, message):
    if not cond:
        raise Bad(message)


def read_dib_rows(data, width, height, bits, palette_entries):
    """Decodes an uncompressed bottom-up DIB body into (r, g, b, a) rows."""
    table = [(data[i + 2], data[i + 1], data[i]) for i in
             range(0, 4 * palette_entries, 4)]
    stride = (width * bits + 31) // 32 * 4
    body = data[4 * palette_entries:]
    expect(len(body) >= stride * height, "pixel data cut short")
    rows = []
    for y in range(height):
        line = body[(height - 1 - y) * stride:][:stride]
        if bits == 32:
            rows.append([tuple(line[4 * x + k] for k in (2, 1, 0, 3))
                         for x in range(width)])
        elif bits == 8:
            rows.append([table[line[x]] + (255,) for x in range(width)])
        else:
            rows.append([table[(line[x // 2] >> (4 * (1 - x % 2))) & 15] + (255,)
                         for x in range(width)])
    return rows, body[stride * height:]


def read_icon_dib(data, size, bits):
    fields = struct.unpack_from("<IiiHHIIiiII", data)
    expect(fields[:6] == (40, size, 2 * size, 1, bits, 0),
           f"header {fields[:6]} for a {size} px {bits}-bit image")
    entries = (1 << bits) if bits <= 8 else 0
    rows, rest = read_dib_rows(data[40:], size, size, bits, entries)
    mask_stride = (size + 31) // 32 * 4
    expect(len(rest) == mask_stride * size, "mask has the wrong length")
    for y in range(size):
        line = rest[(size - 1 - y) * mask_stride:]
        for x in range(size):
            if line[x // 8] >> (7 - x % 8) & 1:
                expect(rows[y][x][:3] == (0, 0, 0), "masked pixel not black")
                rows[y][x] = (0, 0, 0, 0)
            elif bits != 32:
                rows[y][x] = rows[y][x][:3] + (255,)
    return rows


def read_png(data):
    expect(data[:8] == b"\x89PNG\r\n\x1a\n", "no PNG signature")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        crc, = struct.unpack_from(">I", data, pos + 8 + length)
        expect(crc == zlib.crc32(kind + body), f"bad CRC in {kind!r}")
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    expect(header is not None and header[2:] == (8, 6, 0, 0, 0),
           "PNG is not 8-bit RGBA without interlace")
    width, height = header[:2]
    raw = zlib.decompress(idat)
    stride = 1 + 4 * width
    expect(len(raw) == stride * height, "PNG data has the wrong length")
    rows = []
    for y in range(height):
        line = raw[y * stride:(y + 1) * stride]
        expect(line[0] == 0, "PNG row filter other than none")
        rows.append([tuple(line[1 + 4 * x:5 + 4 * x]) for x in range(width)])
    return width, rows


def check_ico(data):
    reserved, kind, count = struct.unpack_from("<HHH", data)
    expect((reserved, kind, count) == (0, 1, 13), "icon directory header")
    wanted = [(s, b) for b in (4, 8, 32) for s in DIB_SIZES] + [(PNG_SIZE, 32)]
    end = 6 + 16 * count
    for i, (size, bits) in enumerate(wanted):
        w, h, colours, res, planes, bit_count, length, offset = \
            struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        what = f"image {i} ({size} px, {bits}-bit)"
        expect((w, h) == (size % 256, size % 256), f"{what}: size {w}x{h}")
        expect((colours, res, planes, bit_count) ==
               (16 if bits == 4 else 0, 0, 1, bits), f"{what}: colour fields")
        expect(offset == end and offset + length <= len(data),
               f"{what}: offset {offset}, length {length}")
        end = offset + length
        image = data[offset:end]
        if size == PNG_SIZE:
            width, rows = read_png(image)
            expect(width == size, f"{what}: PNG is {width} px wide")
            expected = rgba_rows(draw_icon(size))
        else:
            rows = read_icon_dib(image, size, bits)
            expected = rgba_rows(draw_icon(size),
                                 {4: PALETTE_16, 8: PALETTE_256}.get(bits))
        expect(rows == expected, f"{what}: pixels differ from the artwork")
    expect(end == len(data), "bytes after the last image")


def check_bmp(data):
    magic, file_size, _, _, offset = struct.unpack_from("<2sIHHI", data)
    expect(magic == b"BM" and file_size == len(data), "bitmap file header")
    fields = struct.unpack_from("<IiiHHIIiiII", data, 14)
    expect(fields[:6] == (40, 4 * BUTTON_W, BUTTON_H, 1, 4, 0),
           f"bitmap header {fields[:6]}")
    expect(offset == 14 + 40 + 64, "pixel offset")
    rows, rest = read_dib_rows(data[54:], 4 * BUTTON_W, BUTTON_H, 4, 16)
    expect(rest == b"", "bytes after the pixels")
    expected = [[TOOLBAR_PALETTE[i] + (255,) for i in row]
                for row in toolbar_indices()]
    expect(rows == expected, "toolbar pixels differ from the artwork")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="verify the written files instead of writing")
    args = parser.parse_args()
    if not args.check:
        ICO_PATH.write_bytes(ico_file(icon_images()))
        BMP_PATH.write_bytes(bmp_file(toolbar_indices()))
        print(f"wrote {ICO_PATH} and {BMP_PATH}")
        return 0
    try:
        check_ico(ICO_PATH.read_bytes())
        check_bmp(BMP_PATH.read_bytes())
    except (Bad, OSError, struct.error, zlib.error, IndexError) as err:
        print(f"check failed: {err}", file=sys.stderr)
        return 1
    print("icon and toolbar bitmap are well formed and match the artwork")
    return 0


if __name__ == "__main__":
    sys.exit(main())
