#!/usr/bin/env python3
"""Draws the Orlivex icon, a Life glider on a dark board, into resources/orlivex.ico.

Standard library only. The 16, 32 and 48 pixel images are 32-bit DIBs (every Windows version
reads them); the 256 pixel image is a PNG. Run from anywhere:
    python3 tools/make-icon.py [output.ico]
"""
import math
import os
import struct
import sys
import zlib

CELL = (0x60, 0x40, 0x80)           # the screen saver's default cell colour
GLIDER = {(1, 0), (2, 1), (0, 2), (1, 2), (2, 2)}   # (column, row), heading down and right
SIZES = (16, 32, 48, 256)
SAMPLES = 4                          # supersampling per axis


def clamp(v):
    return max(0, min(255, int(round(v))))


def rounded_box(x, y, x0, y0, x1, y1, r):
    """Signed distance to a rounded rectangle (negative inside)."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    dx, dy = abs(x - cx) - hx, abs(y - cy) - hy
    outside = math.hypot(max(dx, 0.0), max(dy, 0.0))
    return outside + min(max(dx, dy), 0.0) - r


def over(dst, src, alpha):
    return tuple(d * (1 - alpha) + s * alpha for d, s in zip(dst, src))


# Cell pitch and gap in pixels per image size, chosen so the cells sit on whole pixels and
# the margins left and right are equal.
GRID = {16: (5, 1), 32: (9, 1), 48: (14, 2), 256: (68, 8)}


def shade(pixel_size):
    """Colour of one point of the icon, in icon units where the board is 0..1; None outside it."""
    px = 1.0 / pixel_size
    pitch_px, gap_px = GRID[pixel_size]
    pitch = pitch_px * px
    gap = gap_px * px
    margin = (pixel_size - (3 * pitch_px - gap_px)) / 2 * px
    radius = max(px * 0.6, pitch * 0.18)
    # Small images lose the bevel to blur; lift the tiles so the glider still stands out.
    lift = 1.25 if pixel_size <= 16 else 1.0

    def colour_at(x, y):
        # Board: a black rounded square with a faint purple glow from the top left.
        board = rounded_box(x, y, 0, 0, 1, 1, max(px * 1.5, 0.12))
        if board > 0:
            return None
        glow = max(0.0, 1 - math.hypot(x - 0.3, y - 0.25) / 0.9)
        rgb = tuple(c * 0.12 * glow * glow for c in CELL)
        # Rim light along the board edge gives it a bevel.
        if board > -px * 1.2 and pixel_size >= 32:
            rgb = over(rgb, (0x30, 0x28, 0x3c), 0.5 * (1 - y))

        column = math.floor((x - margin) / pitch)
        row = math.floor((y - margin) / pitch)
        if 0 <= column < 3 and 0 <= row < 3:
            x0 = margin + column * pitch
            y0 = margin + row * pitch
            x1, y1 = x0 + pitch - gap, y0 + pitch - gap
            d = rounded_box(x, y, x0, y0, x1, y1, radius)
            if (column, row) in GLIDER:
                # Live cell: a raised tile, lit from the top left, with a highlight.
                u, v = (x - x0) / (x1 - x0), (y - y0) / (y1 - y0)
                light = lift * (1.25 - 0.55 * (u + v) / 2)
                tile = tuple(c * light for c in CELL)
                bevel = -d / (pitch * 0.16)
                if bevel < 1:
                    edge = 1 - max(bevel, 0.0)
                    tile = over(tile, (0xb0, 0x98, 0xd0) if u + v < 1 else (0x20, 0x14, 0x30), 0.55 * edge)
                spot = math.hypot(u - 0.32, v - 0.3)
                if spot < 0.3 and pixel_size >= 32:
                    tile = over(tile, (0xe8, 0xdc, 0xf8), 0.35 * (1 - spot / 0.3) ** 2)
                if d < 0:
                    rgb = tile
            else:
                # Dead cell: a dim recessed socket so the board reads as a grid.
                if d < 0:
                    rgb = over(rgb, (0x16, 0x10, 0x1e), 1.0)
                    if d > -px * 0.9 and pixel_size >= 32:
                        rgb = over(rgb, (0x05, 0x03, 0x08), 0.8)
        return rgb

    return colour_at


def render(size):
    colour_at = shade(size)
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    if c is not None:
                        covered += 1
                        for i in range(3):
                            total[i] += c[i]
            if covered:
                rgb = tuple(clamp(t / covered) for t in total)
            else:
                rgb = (0, 0, 0)
            row.append(rgb + (clamp(255 * covered / SAMPLES ** 2),))
        pixels.append(row)
    return pixels


def dib(pixels):
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def png(pixels):
    height, width = len(pixels), len(pixels[0])
    raw = b''.join(b'\0' + bytes(v for p in row for v in p) for row in pixels)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff)

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'resources', 'orlivex.ico')
    images = [(s, png(render(s)) if s >= 256 else dib(render(s))) for s in SIZES]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, image in images:
        data += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    data += b''.join(image for _, image in images)
    with open(out, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main()
