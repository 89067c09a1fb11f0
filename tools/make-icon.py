#!/usr/bin/env python3
"""Draws the application icon and writes it as a Windows .ico file.

The icon holds 48, 32 and 16 pixel images in 32-bit, 8-bit and 4-bit colour,
which every reader of icons understands, and the sizes only DPI-aware readers
(Vista and later) ask for, 64, 40, 24 and 20 pixels for the caption and the
taskbar at 125-200 % and 256 for Explorer, as 32-bit PNG images: PNG keeps
each of them near 1 KB where a bitmap of 64 pixels takes 17 KB. The mark is
a blue rounded square with a white downward arrow over a tray: "download and
install". Deterministic output.
"""
import struct
import sys
import zlib

BLUE_TOP = (40, 120, 215)
BLUE_BOTTOM = (18, 70, 160)
WHITE = (255, 255, 255)

BITMAP_SIZES = (48, 32, 16)
BITMAP_DEPTHS = (32, 8, 4)
PNG_SIZES = (64, 40, 24, 20, 256)


def inside_rounded_square(x, y, size):
    margin = size * 0.06
    radius = size * 0.2
    lo, hi = margin, size - margin
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def inside_arrow(x, y, size):
    u, v = x / size, y / size
    shaft = 0.42 <= u <= 0.58 and 0.2 <= v <= 0.5
    head = 0.5 <= v <= 0.7 and abs(u - 0.5) <= (0.7 - v) * 1.1
    tray = 0.76 <= v <= 0.84 and 0.24 <= u <= 0.76
    return shaft or head or tray


def pixel(x, y, size, samples=4):
    """Supersampled RGBA colour of the pixel at (x, y)."""
    covered = arrow = 0
    for sy in range(samples):
        for sx in range(samples):
            px = x + (sx + 0.5) / samples
            py = y + (sy + 0.5) / samples
            if inside_rounded_square(px, py, size):
                covered += 1
                if inside_arrow(px, py, size):
                    arrow += 1
    if covered == 0:
        return (0, 0, 0, 0)
    t = y / max(size - 1, 1)
    base = tuple(round(a + (b - a) * t) for a, b in zip(BLUE_TOP, BLUE_BOTTOM))
    w = arrow / covered
    rgb = tuple(round(c * (1 - w) + 255 * w) for c in base)
    return rgb + (round(255 * covered / samples ** 2),)


def render(size):
    return [[pixel(x, y, size) for x in range(size)] for y in range(size)]


def palette_256():
    colours = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    colours += [(round(i * 255 / 39),) * 3 for i in range(40)]
    return colours[:256]


PALETTE_16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
              (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
              (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


def and_mask(image):
    size = len(image)
    row_bytes = ((size + 31) // 32) * 4
    out = bytearray()
    for row in reversed(image):
        bits = bytearray(row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def dib(image, bpp):
    """A BITMAPINFOHEADER image (height doubled for the mask) as stored in .ico."""
    size = len(image)
    palette = {8: palette_256(), 4: PALETTE_16}.get(bpp, [])
    row_bytes = ((size * bpp + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(image):
        line = bytearray()
        if bpp == 32:
            for r, g, b, a in row:
                line += bytes((b, g, r, a))
        else:
            indices = [nearest(p[:3], palette) if p[3] >= 128 else 0 for p in row]
            if bpp == 8:
                line += bytes(indices)
            else:
                for i in range(0, size, 2):
                    line.append((indices[i] << 4) | (indices[i + 1] if i + 1 < size else 0))
        line += bytes(row_bytes - len(line))
        pixels += line
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bpp, 0,
                         len(pixels) + len(and_mask(image)), 0, 0, len(palette), 0)
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + table + bytes(pixels) + and_mask(image)


def png(image):
    size = len(image)
    raw = b''.join(b'\x00' + b''.join(bytes(p) for p in row) for row in image)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack(
            '>I', zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main(path):
    entries = []
    for size in BITMAP_SIZES:
        image = render(size)
        for bpp in BITMAP_DEPTHS:
            colours = {8: 0, 4: 16}.get(bpp, 0)
            entries.append((size, colours, bpp, dib(image, bpp)))
    for size in PNG_SIZES:
        entries.append((size, 0, 32, png(render(size))))

    out = bytearray(struct.pack('<HHH', 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for size, colours, bpp, data in entries:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0, 1, bpp, len(data), offset)
        offset += len(data)
    for *_, data in entries:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1])
