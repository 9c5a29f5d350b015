#!/usr/bin/env python3
"""Writes the program's pictures as 16-colour BMP and ICO files into res/.

    res/toolbar.bmp     bitmap 128: the toolbar strip, seventeen 16 x 15 pictures side by side
    res/toolbar@2x.bmp  bitmap 128 for 200 % displays: the same strip, 32 x 30 a picture
    res/thickness.bmp   bitmap 131: the thickness bar's strip, seven 16 x 15 pictures
    res/thickness@2x.bmp  bitmap 131 for 200 % displays
    res/canvas.bmp      bitmap 130: the blank 1280 x 1024 canvas, every pixel white
    res/skorel.ico      icon 128: the application, 32 x 32, 16 x 16 and 64 x 64
    res/document.ico    icon 129: the document type, 32 x 32, 16 x 16 and 64 x 64
    res/icons/hicolor/  the desktop's icons: the application (apps/skorel) at 16 to 256 pixels
                        and scalable, the drawing file type (mimetypes/...) at 16, 32 and 64

The pictures are drawn as text in toolbar.py and icons.py; the desktop's application icons from
16 and 32 pixels are the same pictures, the others are drawn from figures (vector.py). The double-size ones are not
drawn: Scale2x makes them from the 16 x 15 and 32 x 32 pictures. It only copies colours a
picture already has, so they stay 16-colour. Run this script after changing the pictures
and commit the files it writes; the build embeds those files and needs no Python.
"""

import struct
import sys
import zlib
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent))

import icons  # noqa: E402
import toolbar  # noqa: E402
import vector  # noqa: E402

# The classic 16-colour desktop palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# Picture characters: lower case the dark half of the palette, upper case the bright half.
PALETTE_KEYS = {
    '#': 0,   # black
    'r': 1,   # dark red
    'g': 2,   # dark green
    'y': 3,   # dark yellow
    'b': 4,   # dark blue
    'm': 5,   # dark magenta
    'c': 6,   # dark cyan
    ':': 7,   # light grey
    '+': 8,   # dark grey
    'R': 9,   # red
    'G': 10,  # green
    'Y': 11,  # yellow
    'B': 12,  # blue
    'M': 13,  # magenta
    'C': 14,  # cyan
    'o': 15,  # white
}
# The background: light grey on the toolbar, transparent in an icon.
BACKGROUND = '.'
LIGHT_GREY = PALETTE_KEYS[':']
WHITE = PALETTE_KEYS['o']

BUTTON_WIDTH = 16
BUTTON_HEIGHT = 15
CANVAS_WIDTH = 1280
CANVAS_HEIGHT = 1024


def parse(art, width, height):
    """Returns the picture's rows, top first, as strings of picture characters."""
    rows = art.strip('\n').split('\n')
    if len(rows) != height or any(len(row) != width for row in rows):
        raise ValueError(f'a picture must be {width} x {height}:\n{art}')
    for row in rows:
        for ch in row:
            if ch != BACKGROUND and ch not in PALETTE_KEYS:
                raise ValueError(f'unknown picture character {ch!r} in {row!r}')
    return rows


def indices(rows, background):
    """Turns picture rows into rows of palette indices, the background given as `background`."""
    return [[background if ch == BACKGROUND else PALETTE_KEYS[ch] for ch in row]
            for row in rows]


def scale2x(picture):
    """Doubles a picture given as rows of cells that compare equal when they look alike.

    Scale2x: each quarter of a pixel takes the colour of the two neighbours it touches when
    they agree and the picture does not run straight through there, so diagonal edges come
    out as finer steps instead of blocks, and straight edges stay sharp. Beyond the border
    the edge pixels repeat.
    """
    height, width = len(picture), len(picture[0])

    def at(x, y):
        return picture[min(max(y, 0), height - 1)][min(max(x, 0), width - 1)]

    doubled = []
    for y in range(height):
        upper, lower = [], []
        for x in range(width):
            p = picture[y][x]
            up, down, left, right = at(x, y - 1), at(x, y + 1), at(x - 1, y), at(x + 1, y)
            if up == down or left == right:
                upper += [p, p]
                lower += [p, p]
            else:
                upper += [left if left == up else p, right if up == right else p]
                lower += [left if left == down else p, right if down == right else p]
        doubled += [upper, lower]
    return doubled


def color_table():
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)


def row_stride(width, bits):
    return (width * bits + 31) // 32 * 4


def pack_4bit(pixels, width):
    """Packs rows of palette indices bottom row first, two pixels a byte, rows padded to 4 bytes."""
    stride = row_stride(width, 4)
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, index in enumerate(row):
            line[x // 2] |= index << (0 if x % 2 else 4)
        out += line
    return bytes(out)


def pack_mask(mask, width):
    """Packs mask rows (1: transparent) bottom row first, a bit a pixel, rows padded to 4 bytes."""
    stride = row_stride(width, 1)
    out = bytearray()
    for row in reversed(mask):
        line = bytearray(stride)
        for x, bit in enumerate(row):
            line[x // 8] |= bit << (7 - x % 8)
        out += line
    return bytes(out)


def info_header(width, height, image_size):
    # BITMAPINFOHEADER: 16 colours used and important, no compression, no resolution.
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 16)


def bmp_file(pixels, width, height):
    bits = pack_4bit(pixels, width)
    offset = 14 + 40 + 16 * 4
    file_header = struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset)
    return file_header + info_header(width, height, len(bits)) + color_table() + bits


def ico_image(rows):
    """One icon image: header of double height, colour table, colour bits, AND mask."""
    size = len(rows)
    pixels = indices(rows, 0)
    mask = [[1 if ch == BACKGROUND else 0 for ch in row] for row in rows]
    bits = pack_4bit(pixels, size)
    and_bits = pack_mask(mask, size)
    return info_header(size, 2 * size, len(bits) + len(and_bits)) + color_table() + bits + and_bits


def ico_file(pictures):
    """An icon file of the given square pictures, each 16 colours with an AND mask."""
    images = [(len(rows), ico_image(rows)) for rows in pictures]
    offset = 6 + 16 * len(images)
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    for size, image in images:
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    for _, image in images:
        out += image
    return bytes(out)


def toolbar_pictures(arts):
    # As palette indices: '.' and ':' are the same grey on the toolbar, so Scale2x must see
    # them as alike.
    return [indices(parse(art, BUTTON_WIDTH, BUTTON_HEIGHT), LIGHT_GREY) for art in arts]


def toolbar_strip(pictures):
    """The pictures side by side, with the strip's width and height."""
    height = len(pictures[0])
    strip = [sum((picture[y] for picture in pictures), []) for y in range(height)]
    return strip, len(strip[0]), height


def icon_file(large, small):
    # The 32 and 16 images come first, where a reader that takes only the first finds the
    # 32 x 32 it always found.
    large = parse(large, 32, 32)
    return ico_file([large, parse(small, 16, 16), scale2x(large)])


def png_file(pixels):
    """A PNG file of rows of RGBA pixels: 8 bits a channel, every row unfiltered."""
    height, width = len(pixels), len(pixels[0])

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data)))

    raw = b''.join(b'\0' + bytes(v for pixel in row for v in pixel) for row in pixels)
    header = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def rgba(rows):
    """Picture rows as RGBA pixels, the background transparent."""
    return [[(0, 0, 0, 0) if ch == BACKGROUND else (*PALETTE[PALETTE_KEYS[ch]], 255)
             for ch in row] for row in rows]


def desktop_icons():
    """The hicolor theme's files, by their path in res/."""
    drawn = {16: parse(icons.APP_16, 16, 16), 32: parse(icons.APP_32, 32, 32)}
    files = {}
    for size in (16, 22, 24, 32, 48, 64, 128, 256):
        pixels = (rgba(drawn[size]) if size in drawn else
                  vector.rasterise(icons.APP_FIGURES, icons.APP_SIZE, size))
        files[f'icons/hicolor/{size}x{size}/apps/skorel.png'] = png_file(pixels)
    files['icons/hicolor/scalable/apps/skorel.svg'] = \
        vector.svg(icons.APP_FIGURES, icons.APP_SIZE).encode()
    page = parse(icons.DOCUMENT_32, 32, 32)
    pages = {16: parse(icons.DOCUMENT_16, 16, 16), 32: page, 64: scale2x(page)}
    for size, rows in pages.items():
        name = f'icons/hicolor/{size}x{size}/mimetypes/application-x-skorel-drawing.png'
        files[name] = png_file(rgba(rows))
    return files


def main():
    out_dir = Path(__file__).resolve().parent.parent
    canvas = [[WHITE] * CANVAS_WIDTH for _ in range(CANVAS_HEIGHT)]
    files = {}
    for name, arts in (('toolbar', toolbar.PICTURES), ('thickness', toolbar.WIDTHS)):
        pictures = toolbar_pictures(arts)
        files[f'{name}.bmp'] = bmp_file(*toolbar_strip(pictures))
        files[f'{name}@2x.bmp'] = bmp_file(*toolbar_strip([scale2x(p) for p in pictures]))
    files |= {
        'canvas.bmp': bmp_file(canvas, CANVAS_WIDTH, CANVAS_HEIGHT),
        'skorel.ico': icon_file(icons.APP_32, icons.APP_16),
        'document.ico': icon_file(icons.DOCUMENT_32, icons.DOCUMENT_16),
    }
    files |= desktop_icons()
    for name, data in files.items():
        (out_dir / name).parent.mkdir(parents=True, exist_ok=True)
        (out_dir / name).write_bytes(data)
        print(f'{name}: {len(data)} bytes')


if __name__ == '__main__':
    main()
