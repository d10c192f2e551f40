"""Pictures of the X screen: captured with xwd (or ImageMagick's import),
held as packed RGB rows, compared region by region and saved as PNG."""

import re
import struct
import subprocess
import zlib


class Image:
    """An RGB picture, 3 bytes a pixel, rows top to bottom."""

    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self.rgb = bytes(rgb)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def row(self, y, x0, x1):
        """The bytes of pixels x0..x1-1 of row y (clipped to the picture)."""
        x0 = max(0, x0)
        x1 = min(self.width, x1)
        base = y * self.width * 3
        return self.rgb[base + x0 * 3:base + x1 * 3]

    def crop(self, x, y, w, h):
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(self.width, x + w), min(self.height, y + h)
        rows = [self.row(yy, x0, x1) for yy in range(y0, y1)]
        return Image(max(0, x1 - x0), max(0, y1 - y0), b"".join(rows))

    def region_equal(self, other, x, y, w, h):
        """True when both pictures hold the same pixels in the rectangle."""
        return all(self.row(yy, x, x + w) == other.row(yy, x, x + w)
                   for yy in range(max(0, y), min(self.height, y + h)))

    def differing_rows(self, other, x, y, w, h):
        return [yy for yy in range(max(0, y), min(self.height, y + h))
                if self.row(yy, x, x + w) != other.row(yy, x, x + w)]

    def count_color(self, color, x, y, w, h):
        """How many pixels of the rectangle have exactly this colour."""
        needle = bytes(color)
        n = 0
        for yy in range(max(0, y), min(self.height, y + h)):
            row = self.row(yy, x, x + w)
            n += sum(1 for i in range(0, len(row), 3) if row[i:i + 3] == needle)
        return n

    def save_png(self, path):
        raw = b"".join(b"\x00" + self.rgb[y * self.width * 3:(y + 1) * self.width * 3]
                       for y in range(self.height))

        def chunk(kind, data):
            body = kind + data
            return (struct.pack(">I", len(data)) + body
                    + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                    + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def parse_ppm(data):
    """A binary (P6) PPM with 8-bit channels."""
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    pos += 1
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise ValueError("not an 8-bit P6 PPM")
    w, h = int(fields[1]), int(fields[2])
    return Image(w, h, data[pos:pos + w * h * 3])


def parse_xwd(data):
    """An xwd dump of a TrueColor screen of 24 or 32 bits a pixel."""
    fields = struct.unpack(">25I", data[:100])
    header_size = fields[0]
    width, height = fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask = fields[14], fields[15], fields[16]
    ncolors = fields[19]
    start = header_size + ncolors * 12
    if bits_per_pixel not in (24, 32):
        raise ValueError("xwd: %d bits a pixel" % bits_per_pixel)
    step = bits_per_pixel // 8
    masks = {0xFF0000: 2, 0xFF00: 1, 0xFF: 0}  # byte index in a little-endian pixel
    try:
        offsets = [masks[red_mask], masks[green_mask], masks[blue_mask]]
    except KeyError:
        raise ValueError("xwd: unusual colour masks")
    if byte_order == 1:  # most significant byte first
        offsets = [step - 1 - o for o in offsets]
    rows = []
    for y in range(height):
        line = data[start + y * bytes_per_line:start + y * bytes_per_line + width * step]
        out = bytearray(width * 3)
        for channel, offset in enumerate(offsets):
            out[channel::3] = line[offset::step]
        rows.append(bytes(out))
    return Image(width, height, b"".join(rows))


def capture(popups=False):
    """The whole root window of $DISPLAY. With popups, every other top-level
    X window is read on its own and laid over it: Xvfb leaves the root
    picture black where Wine's menus and dialogs stand."""
    image = _capture_root()
    if popups:
        image = _with_top_levels(image)
    return image


_CHILD = re.compile(r"^\s+(0x[0-9a-f]+) (.*?):.*?\s(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)")


def _with_top_levels(image):
    out = subprocess.run(["xwininfo", "-root", "-children"], check=True,
                         stdout=subprocess.PIPE, timeout=20).stdout.decode("latin-1")
    windows = []
    for line in out.splitlines():
        m = _CHILD.match(line)
        if not m:
            continue
        xid, title, w, h, x, y = m.group(1), m.group(2), *map(int, m.groups()[2:])
        if w > 1 and h > 1 and title != '"Vemo"':
            windows.append((xid, x, y))
    rgb = bytearray(image.rgb)
    # xwininfo lists the topmost first: lay the lowest on first.
    for xid, x, y in reversed(windows):
        done = subprocess.run(["xwd", "-id", xid, "-silent"], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, timeout=20)
        if done.returncode != 0 or not done.stdout:
            continue  # not mapped
        try:
            part = parse_xwd(done.stdout)
        except (ValueError, struct.error):
            continue
        for row in range(part.height):
            sy = y + row
            if not 0 <= sy < image.height:
                continue
            x0, x1 = max(0, x), min(image.width, x + part.width)
            if x0 >= x1:
                continue
            src = part.row(row, x0 - x, x1 - x)
            base = (sy * image.width + x0) * 3
            rgb[base:base + len(src)] = src
    return Image(image.width, image.height, rgb)


def _capture_root():
    try:
        data = subprocess.run(["xwd", "-root", "-silent"], check=True,
                              stdout=subprocess.PIPE, timeout=20).stdout
        return parse_xwd(data)
    except (OSError, subprocess.SubprocessError, ValueError):
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], check=True,
                              stdout=subprocess.PIPE, timeout=30).stdout
        return parse_ppm(data)
