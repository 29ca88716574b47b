#!/usr/bin/env python3
"""Draws the utility's icons and writes them as .ico files.

Each icon holds a 16x16 and a 32x32 picture, each twice: 8 bits per pixel with a palette (what Windows 2000
shows) and 32 bits with alpha (what later systems prefer). The pictures are drawn pixel by pixel for each
size, without smoothing, so that the small tray icons stay crisp.

    make_icons.py [OUTDIR] [--preview DIR]

OUTDIR defaults to this script's folder. --preview also writes each picture as an enlarged PNG.
"""
import os
import struct
import sys
import zlib

PALETTE = {
    ".": None,  # transparent
    "k": (0, 0, 0),
    "d": (0, 80, 32),  # dark green: card outline, bar outline
    "g": (0, 128, 64),  # card
    "G": (40, 200, 40),  # bright green: connected bars
    "y": (224, 176, 32),  # gold contacts
    "s": (96, 96, 96),  # grey outline
    "l": (200, 200, 200),  # light grey fill
    "w": (255, 255, 255),
    "b": (0, 64, 200),  # radio waves
    "r": (220, 0, 0),  # red cross
    "R": (120, 0, 0),  # dark red cross edge
}


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [["."] * size for _ in range(size)]

    def put(self, x, y, c):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, fill, outline=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                self.put(x, y, outline if (edge and outline) else fill)

    def line(self, x0, y0, x1, y1, c, width=1):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            for w in range(width):
                self.put(x0 + w, y0, c)
            if (x0, y0) == (x1, y1):
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def arc(self, cx, cy, r, c, upper_only=True):
        # A ring of radius r (one pixel wide), upper half only: the waves above an antenna.
        for y in range(self.size):
            for x in range(self.size):
                d2 = (x - cx) ** 2 + (y - cy) ** 2
                if (r - 0.5) ** 2 <= d2 < (r + 0.5) ** 2 and (not upper_only or y <= cy - 1):
                    self.put(x, y, c)


def draw_app(size):
    """A PCI card with an antenna sending waves."""
    c = Canvas(size)
    if size == 32:
        c.rect(1, 14, 28, 26, "g", "d")
        for x in range(4, 27, 3):  # contact fingers
            c.rect(x, 27, x + 1, 30, "y")
        c.rect(5, 17, 12, 23, "k")  # chip
        c.rect(15, 18, 19, 22, "k")
        c.rect(29, 14, 30, 26, "l", "s")  # bracket
        c.rect(23, 7, 24, 13, "s")  # antenna
        c.rect(22, 6, 25, 7, "k")
        c.arc(23.5, 7, 3, "b")
        c.arc(23.5, 7, 6, "b")
    else:
        c.rect(0, 7, 13, 13, "g", "d")
        for x in range(2, 13, 2):
            c.put(x, 14, "y")
            c.put(x, 15, "y")
        c.rect(2, 9, 5, 11, "k")
        c.rect(7, 10, 8, 11, "k")
        c.rect(14, 7, 14, 13, "s")
        c.rect(11, 4, 11, 6, "s")
        c.rect(10, 3, 12, 3, "k")
        c.arc(11, 4, 3, "b")
    return c


def bars(c, size, fill, outline):
    """Four signal bars rising to the right."""
    if size == 32:
        heights, width, gap, left, bottom = (8, 14, 20, 26), 6, 2, 1, 29
    else:
        heights, width, gap, left, bottom = (4, 7, 10, 13), 3, 1, 0, 14
    for i, h in enumerate(heights):
        x0 = left + i * (width + gap)
        c.rect(x0, bottom - h + 1, x0 + width - 1, bottom, fill, outline)


def draw_connected(size):
    c = Canvas(size)
    bars(c, size, "G", "d")
    return c


def draw_not_connected(size):
    c = Canvas(size)
    bars(c, size, "l", "s")
    if size == 32:
        c.line(2, 2, 14, 14, "r", 3)
        c.line(14, 2, 2, 14, "r", 3)
    else:
        c.line(0, 0, 7, 7, "r", 2)
        c.line(7, 0, 0, 7, "r", 2)
    return c


def mask_rows(canvas):
    # AND mask, bottom-up, 1 = transparent, rows padded to 32 bits.
    rows = []
    stride = ((canvas.size + 31) // 32) * 4
    for y in reversed(range(canvas.size)):
        bits = bytearray(stride)
        for x in range(canvas.size):
            if canvas.px[y][x] == ".":
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(bits))
    return b"".join(rows)


def image_32bpp(canvas):
    n = canvas.size
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for y in reversed(range(n)):
        for x in range(n):
            rgb = PALETTE[canvas.px[y][x]]
            pixels += bytes((0, 0, 0, 0)) if rgb is None else bytes((rgb[2], rgb[1], rgb[0], 255))
    return header + bytes(pixels) + mask_rows(canvas)


def image_8bpp(canvas):
    n = canvas.size
    keys = list(PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    palette = bytearray()
    for i in range(256):
        rgb = PALETTE[keys[i]] if i < len(keys) and PALETTE[keys[i]] else (0, 0, 0)
        palette += bytes((rgb[2], rgb[1], rgb[0], 0))
    stride = (n + 3) // 4 * 4
    pixels = bytearray()
    for y in reversed(range(n)):
        row = bytearray(stride)
        for x in range(n):
            row[x] = keys.index(canvas.px[y][x])
        pixels += row
    return header + bytes(palette) + bytes(pixels) + mask_rows(canvas)


def ico_bytes(draw):
    images = []
    for size in (16, 32):
        canvas = draw(size)
        images.append((size, 8, image_8bpp(canvas)))
        images.append((size, 32, image_32bpp(canvas)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bpp, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, bpp, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


def png_bytes(canvas, scale):
    n = canvas.size * scale
    raw = bytearray()
    for y in range(n):
        raw.append(0)
        for x in range(n):
            rgb = PALETTE[canvas.px[y // scale][x // scale]]
            raw += bytes((192, 192, 192)) if rgb is None else bytes(rgb)  # button-face grey behind

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    ihdr = struct.pack(">IIBBBBB", n, n, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw))) + chunk(b"IEND", b"")


ICONS = {"app.ico": draw_app, "connected.ico": draw_connected, "notconnected.ico": draw_not_connected}


def main(argv):
    preview = None
    if "--preview" in argv:
        i = argv.index("--preview")
        preview = argv[i + 1]
        del argv[i : i + 2]
    outdir = argv[1] if len(argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for name, draw in ICONS.items():
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(ico_bytes(draw))
        if preview:
            os.makedirs(preview, exist_ok=True)
            for size in (16, 32):
                path = os.path.join(preview, "%s-%d.png" % (name[:-4], size))
                with open(path, "wb") as f:
                    f.write(png_bytes(draw(size), 8 if size == 16 else 4))


if __name__ == "__main__":
    main(sys.argv)
