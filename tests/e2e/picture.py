"""RGB images of the game's pixels: read from the probe's PPM files or the X
screen, compared by colour, and written as PNG for a person to look at."""

import struct
import zlib

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
# Fill colours of the six shape kinds, in kind order.
SHAPE_FILLS = [
    (153, 153, 255),
    (153, 255, 153),
    (153, 255, 255),
    (255, 153, 153),
    (255, 153, 255),
    (255, 255, 0),
]

# The well's geometry in the view's client pixels.
CELL = 24
WELL_COLUMNS = 13
WELL_ROWS = 20
WELL_LEFT = 4 * CELL
WELL_TOP = 3 * CELL


def cell_rect(column, row):
    """Pixel rectangle (left, top, right, bottom exclusive) of a grid cell;
    negative columns reach into the preview area left of the well."""
    left = (column + 4) * CELL
    top = (row + 3) * CELL
    return left, top, left + CELL, top + CELL


class Image:
    def __init__(self, width, height, rgb):
        if len(rgb) != width * height * 3:
            raise ValueError(f"{len(rgb)} bytes do not make a {width}x{height} RGB image")
        self.width = width
        self.height = height
        self.rgb = bytes(rgb)

    def __eq__(self, other):
        return (self.width, self.height, self.rgb) == (other.width, other.height, other.rgb)

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError(f"pixel ({x}, {y}) outside {self.width}x{self.height}")
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def colours(self, left, top, right, bottom):
        """Set of the colours inside a rectangle (right and bottom exclusive)."""
        found = set()
        for y in range(top, bottom):
            row = self.rgb[(y * self.width + left) * 3:(y * self.width + right) * 3]
            for i in range(0, len(row), 3):
                found.add(tuple(row[i:i + 3]))
        return found

    def crop(self, left, top, right, bottom):
        rows = [self.rgb[(y * self.width + left) * 3:(y * self.width + right) * 3]
                for y in range(top, bottom)]
        return Image(right - left, bottom - top, b"".join(rows))

    def cell_fill(self, column, row):
        """Colour of a cell's inside (its outline is one pixel wide)."""
        left, top, _, _ = cell_rect(column, row)
        return self.pixel(left + CELL // 2, top + CELL // 2)

    def occupied_cells(self):
        """Cells of the well whose inside is not black, as {(column, row): colour}."""
        cells = {}
        for row in range(WELL_ROWS):
            for column in range(WELL_COLUMNS):
                colour = self.cell_fill(column, row)
                if colour != BLACK:
                    cells[(column, row)] = colour
        return cells

    def write_png(self, path):
        raw = b"".join(b"\x00" + self.rgb[y * self.width * 3:(y + 1) * self.width * 3]
                       for y in range(self.height))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n")
            out.write(chunk(b"IHDR", header))
            out.write(chunk(b"IDAT", zlib.compress(raw, 3)))
            out.write(chunk(b"IEND", b""))


def read_ppm(path):
    with open(path, "rb") as source:
        data = source.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError(f"{path} is not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    return Image(width, height, data[pos + 1:pos + 1 + width * height * 3])
