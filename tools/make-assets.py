#!/usr/bin/env python3
"""Writes the game's sounds and icon into resources/ (they are committed;
run this again only to change them). Everything is synthesised here."""
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
