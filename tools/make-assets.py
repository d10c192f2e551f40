#!/usr/bin/env python3
"""Writes the game's sounds, icon and bitmaps into resources/ (they are
committed; run this again only to change them). Everything is synthesised
here."""
import math
import struct
from pathlib import Path

out = Path(__file__).resolve().parent.parent / "resources"


def wave(path, rate, bits, total_bytes, tone):
    """A RIFF WAVE file of exactly total_bytes, mono, filled by tone(t)->-1..1."""
    data_len = total_bytes - 44
    width = bits // 8
    frames = data_len // width
    samples = bytearray()
    for i in range(frames):
        v = max(-1.0, min(1.0, tone(i / rate, i / frames)))
        if bits == 8:
            samples += bytes([int(128 + v * 100)])
        else:
            samples += struct.pack("<h", int(v * 20000))
    samples += b"\0" * (data_len - len(samples))
    header = b"RIFF" + struct.pack("<I", total_bytes - 8) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, rate, rate * width, width, bits)
    header += b"data" + struct.pack("<I", data_len)
    path.write_bytes(header + bytes(samples))


def fade(p):
    return max(0.0, 1.0 - p) ** 2


sounds = out / "sounds"
sounds.mkdir(exist_ok=True)
# Refusal: a short low buzz.
wave(sounds / "refusal.wav", 11025, 8, 1977,
     lambda t, p: fade(p) * (1 if math.sin(2 * math.pi * 180 * t) > 0 else -1) * 0.6)
# Pair removed: a bright two-note chirp.
wave(sounds / "pair.wav", 22050, 16, 5458,
     lambda t, p: fade(p) * math.sin(2 * math.pi * (880 if p < 0.4 else 1320) * t))
# Level: a rising arpeggio.
wave(sounds / "level.wav", 11025, 8, 31940,
     lambda t, p: fade(p * 0.8) * math.sin(2 * math.pi * [523, 659, 784, 1047][min(3, int(p * 4))] * t))
# Time running out: a tick.
wave(sounds / "tick.wav", 11025, 8, 616,
     lambda t, p: fade(p) * math.sin(2 * math.pi * 1500 * t))


def icon_image(size):
    """A 32-bit BGRA DIB of a small card with a red heart, and its AND mask."""
    px = []
    for y in range(size - 1, -1, -1):  # DIBs are stored bottom-up
        for x in range(size):
            u, v = (x + 0.5) / size, (y + 0.5) / size
            inside = 0.15 <= u <= 0.85 and 0.05 <= v <= 0.95
            if not inside:
                px.append((0, 0, 0, 0))
                continue
            edge = u < 0.15 + 1.5 / size or u > 0.85 - 1.5 / size or v < 0.05 + 1.5 / size or v > 0.95 - 1.5 / size
            hx, hy = (u - 0.5) * 2.6, (v - 0.5) * 2.6
            heart = (hx * hx + hy * hy - 1) ** 3 - hx * hx * (-hy) ** 3 < 0
            if edge:
                px.append((40, 40, 40, 255))
            elif heart:
                px.append((30, 30, 210, 255))
            else:
                px.append((250, 250, 250, 255))
    xor = b"".join(bytes(p) for p in px)
    row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = bytearray(row)
        for x in range(size):
            if px[(size - 1 - y) * size + x][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + bytes(mask)


images = [icon_image(32), icon_image(16)]
ico = struct.pack("<HHH", 0, 1, len(images))
offset = 6 + 16 * len(images)
for size, img in zip((32, 16), images):
    ico += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(img), offset)
    offset += len(img)
ico += b"".join(images)
(out / "keltrim.ico").write_bytes(ico)


def bmp24(path, w, h, pixel):
    """A bottom-up 24-bit BMP of w x h filled by pixel(x, y) -> (r, g, b)."""
    row_len = (w * 3 + 3) // 4 * 4
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_len - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = b"BM" + struct.pack("<IHHI", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    path.write_bytes(head + info + data)


def supersampled(inside, x, y, n=4):
    """The fraction of pixel (x, y) that inside(u, v) covers, on an n x n grid."""
    hits = 0
    for i in range(n):
        for j in range(n):
            if inside(x + (i + 0.5) / n, y + (j + 0.5) / n):
                hits += 1
    return hits / (n * n)


def mix(a, b, t):
    return tuple(int(round(p + (q - p) * t)) for p, q in zip(a, b))


FIELD = (0, 64, 100)


def bubble_pixel(x, y):
    """The info labels' bubble: a light blue oval, lit from the upper left,
    on the table's dark blue field. The oval spans columns 6..48 and rows
    6..42, the region the labels clip it to."""
    cx, cy, rx, ry = 27.5, 24.5, 21.5, 18.5

    def inside(u, v):
        return ((u - cx) / rx) ** 2 + ((v - cy) / ry) ** 2 <= 1.0

    cover = supersampled(inside, x, y)
    if cover == 0:
        return FIELD
    d = math.sqrt(((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2)
    body = mix((150, 205, 240), (60, 130, 200), min(1.0, d) ** 2)
    # A soft highlight towards the upper left.
    hx, hy = (x + 0.5 - (cx - 7)) / 10, (y + 0.5 - (cy - 8)) / 6
    glow = max(0.0, 1.0 - math.sqrt(hx * hx + hy * hy))
    lit = mix(body, (255, 255, 255), glow * 0.8)
    return mix(FIELD, lit, cover)


# 5 x 7 letter shapes of the title, one string per row, "#" for ink.
GLYPHS = {
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    " ": ["....."] * 7,
}


def title_pixel_fn(text, w, h, cell):
    """The title artwork: the text in dark blue capitals of rounded dots on
    white, between two thin light blue rules."""
    ink = (16, 32, 112)
    rule = (150, 190, 230)
    advance = 6 * cell
    width = len(text) * advance - cell
    left = (w - width) / 2
    top = (h - 7 * cell) / 2
    dots = set()
    for i, ch in enumerate(text):
        for row, line in enumerate(GLYPHS[ch]):
            for col, mark in enumerate(line):
                if mark == "#":
                    dots.add((i * 6 + col, row))

    def inside(u, v):
        gx, gy = (u - left) / cell, (v - top) / cell
        col, row = math.floor(gx), math.floor(gy)
        if (col, row) not in dots:
            return False
        # Square cells with rounded corners, joined to inked neighbours.
        fx, fy = gx - col - 0.5, gy - row - 0.5
        ex = 0.5 if ((col + (1 if fx > 0 else -1), row) in dots) else 0.38
        ey = 0.5 if ((col, row + (1 if fy > 0 else -1)) in dots) else 0.38
        if abs(fx) > ex or abs(fy) > ey:
            return False
        return True

    def pixel(x, y):
        if y in (4, h - 5) and 20 <= x < w - 20:
            return rule
        return mix((255, 255, 255), ink, supersampled(inside, x, y))

    return pixel
# --- The link label's artwork: lettering on a key-coloured field ---------------
# A small pixel font, each glyph rows of '#' (ink) and '.' (field) on a grid of
# nine rows: rows 0-1 hold ascenders, 2-6 the x-height, 7-8 descenders.
PLATE_GLYPHS = {
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "c": [".....", ".....", ".###.", "#....", "#....", "#....", ".###."],
    "d": ["....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "i": [".#.", "...", "##.", ".#.", ".#.", ".#.", "###"],
    "k": ["#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#"],
    "l": ["##.", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "m": [".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"],
    "n": [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "p": [".....", ".....", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "w": [".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
    "x": [".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"],
    ".": [".", ".", ".", ".", ".", ".", "#"],
}


def text_width(text, scale):
    return (sum(len(PLATE_GLYPHS[ch][0]) for ch in text) + len(text) - 1) * scale


def draw_text(px, text, left, top, scale, ink):
    """Draws text into px (rows of (r, g, b)) with its ascender line at top."""
    x0 = left
    for ch in text:
        rows = PLATE_GLYPHS[ch]
        for gy, row in enumerate(rows):
            for gx, cell in enumerate(row):
                if cell != "#":
                    continue
                for dy in range(scale):
                    for dx in range(scale):
                        px[top + gy * scale + dy][x0 + gx * scale + dx] = ink
        x0 += (len(rows[0]) + 1) * scale


def write_bmp(path, px):
    """A 24-bit bottom-up Windows bitmap file of the pixel rows."""
    h, w = len(px), len(px[0])
    stride = (w * 3 + 3) // 4 * 4
    body = bytearray()
    for row in reversed(px):
        line = bytearray()
        for r, g, b in row:
            line += bytes([b, g, r])
        body += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    head = b"BM" + struct.pack("<IHHI", 14 + len(info) + len(body), 0, 0, 14 + len(info))
    path.write_bytes(head + info + bytes(body))


def name_plate():
    """Bitmap 103, 220 x 25: the maker's name in light lettering inside a thin
    light frame with a diamond at each end, on the field (248, 191, 36)."""
    w, h, field, ink = 220, 25, (248, 191, 36), (255, 246, 220)
    px = [[field] * w for _ in range(h)]
    for x in range(3, w - 3):
        px[1][x] = px[h - 2][x] = ink
    for y in range(3, h - 3):
        px[y][1] = px[y][w - 2] = ink
    for cx in (14, w - 15):
        for dy in range(-4, 5):
            for dx in range(-(4 - abs(dy)), 5 - abs(dy)):
                px[12 + dy][cx + dx] = ink
    text = "Darnwick"
    draw_text(px, text, (w - text_width(text, 2)) // 2, 5, 2, ink)
    return px


def address_plate():
    """Bitmap 132, 266 x 30: the maker's web address in dark blue lettering,
    underlined like a link, on the field (198, 214, 231)."""
    w, h, field, ink = 266, 30, (198, 214, 231), (16, 40, 128)
    px = [[field] * w for _ in range(h)]
    text = "www.darnwick.example"
    left = (w - text_width(text, 2)) // 2
    draw_text(px, text, left, 3, 2, ink)
    for x in range(left, left + text_width(text, 2)):
        px[25][x] = px[26][x] = ink
    return px


bitmaps = out / "bitmaps"
bitmaps.mkdir(exist_ok=True)
bmp24(bitmaps / "bubble.bmp", 54, 45, bubble_pixel)
bmp24(bitmaps / "title.bmp", 516, 69, title_pixel_fn("KELTRIM SOLITAIRE", 516, 69, 5))
write_bmp(bitmaps / "nameplate.bmp", name_plate())
write_bmp(bitmaps / "address.bmp", address_plate())
