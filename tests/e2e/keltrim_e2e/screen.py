"""Pictures of the X screen: read through libX11 (top-level windows of their
own with xwd), held as packed RGB rows, compared region by region and saved
as PNG. Screens of 24, 16 and 8 bits a pixel are read."""

import ctypes
import os
import re
import struct
import subprocess
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
import xroot  # noqa: E402


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

    def quantised(self, bits):
        """The picture as a screen of (red, green, blue) `bits` shows it."""
        out = bytearray(self.rgb)
        for k, n in enumerate(bits):
            out[k::3] = out[k::3].translate(bytes(quantise_channel(v, n) for v in range(256)))
        return Image(self.width, self.height, out)

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


class _XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
                ("visual", ctypes.c_void_p), ("root", ctypes.c_ulong), ("class_", ctypes.c_int),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class _XColor(ctypes.Structure):
    _fields_ = [("pixel", ctypes.c_ulong), ("red", ctypes.c_ushort), ("green", ctypes.c_ushort),
                ("blue", ctypes.c_ushort), ("flags", ctypes.c_char), ("pad", ctypes.c_char)]


def _channel(mask):
    """(shift, bits) of a colour mask."""
    shift = (mask & -mask).bit_length() - 1
    return shift, (mask >> shift).bit_length()


def _mask_channel(planes, mask):
    """One channel's bytes from the byte planes of true-colour pixels. The
    widening is shifts and ORs, so each plane's share can be taken on its own
    and the shares ORed together."""
    shift, bits = _channel(mask)
    if bits >= 8 and shift % 8 == 0:
        return planes[shift // 8]
    result = 0
    for i, plane in enumerate(planes):
        table = bytes(widen(((b << 8 * i) & mask) >> shift, bits) for b in range(256))
        if any(table):
            result |= int.from_bytes(plane.translate(table), "big")
    return result.to_bytes(len(planes[0]), "big")


def widen(value, bits):
    """A channel of `bits` bits as 8 bits, its bits repeated below it (as
    Wine widens a 16-bit pixel): 0 stays 0 and the largest value gives 255."""
    value <<= 8 - bits
    while bits < 8:
        value |= value >> bits
        bits *= 2
    return value & 0xFF


class _Xlib(xroot.RootWindow):
    """The root window's pixels through libX11's XGetImage, and the colours
    of an 8-bit screen. xwd cannot serve on a 16- or 8-bit screen: once Wine
    has made windows of a 32-bit visual there, `xwd -root` writes the
    screen's own pixel values in 24-bit pixels under 8-bit masks, which read
    as nonsense."""

    def __init__(self):
        super().__init__()
        x11 = self.x11
        x11.XListInstalledColormaps.restype = ctypes.POINTER(ctypes.c_ulong)
        x11.XListInstalledColormaps.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                                ctypes.POINTER(ctypes.c_int)]
        x11.XQueryColors.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                     ctypes.POINTER(_XColor), ctypes.c_int]
        x11.XFree.argtypes = [ctypes.c_void_p]
        x11.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [
            ctypes.POINTER(ctypes.c_ulong)] * 2 + [
            ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)), ctypes.POINTER(ctypes.c_uint)]
        x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                             ctypes.POINTER(_XWindowAttributes)]
        x11.XInstallColormap.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

    def capture(self):
        image = self.grab(0, 0, self.width, self.height)
        if not image:
            raise OSError("XGetImage failed")
        return Image(image.width, image.height, self._rgb(image))

    def _rgb(self, im):
        """Packed RGB from the image's pixels, a byte plane at a time (a
        Python loop over every pixel would take seconds)."""
        bpp = im.bits_per_pixel // 8
        if bpp not in (1, 2, 4) or im.byte_order != 0:
            raise OSError("%d bits a pixel, byte order %d" % (im.bits_per_pixel, im.byte_order))
        pixels = b"".join(im.row(y) for y in range(im.height))
        planes = [pixels[i::bpp] for i in range(bpp)]  # least significant byte first
        if bpp == 1:
            colours = self.colormap()
            channels = [planes[0].translate(bytes(c[k] for c in colours)) for k in range(3)]
        else:
            channels = [_mask_channel(planes, mask) for mask in im.masks]
        out = bytearray(im.width * im.height * 3)
        for k in range(3):
            out[k::3] = channels[k]
        return out

    def colormap(self):
        """The 256 colours of an 8-bit screen, as (r, g, b) bytes. Wine gives
        its windows a colormap of its own, which a window manager would
        install; with none, the screen would show the default one, so it is
        installed here first."""
        cmap = self._wine_colormap()
        if cmap is None:
            count = ctypes.c_int()
            maps = self.x11.XListInstalledColormaps(self.display, self.root, ctypes.byref(count))
            cmap = maps[0]
            self.x11.XFree(maps)
        colors = (_XColor * 256)()
        for i in range(256):
            colors[i].pixel = i
        self.x11.XQueryColors(self.display, cmap, colors, 256)
        return [(c.red >> 8, c.green >> 8, c.blue >> 8) for c in colors]

    def _wine_colormap(self):
        """The colormap of the first mapped top-level window that has one of
        its own, installed; None when there is none."""
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not self.x11.XQueryTree(self.display, self.root, ctypes.byref(root),
                                   ctypes.byref(parent), ctypes.byref(children),
                                   ctypes.byref(count)):
            return None
        try:
            windows = [children[i] for i in range(count.value)]
        finally:
            if children:
                self.x11.XFree(children)
        default = self._attributes(self.root).colormap
        for window in reversed(windows):  # the topmost first
            attrs = self._attributes(window)
            if attrs.map_state == 2 and attrs.colormap not in (0, default):  # IsViewable
                if not attrs.map_installed:
                    self.x11.XInstallColormap(self.display, attrs.colormap)
                    self.x11.XSync(self.display, 0)
                return attrs.colormap
        return None

    def _attributes(self, window):
        attrs = _XWindowAttributes()
        self.x11.XGetWindowAttributes(self.display, window, ctypes.byref(attrs))
        return attrs


def quantise_channel(value, bits):
    return widen(value >> (8 - bits), bits)


def channel_bits():
    """Bits of red, green and blue of a true-colour screen below 24 bits
    (None for 24 bits and more, and for a palette screen)."""
    return {15: (5, 5, 5), 16: (5, 6, 5)}.get(screen_depth())


def quantised(colour, bits):
    """An RGB colour as a screen of `bits` shows it (unchanged for None)."""
    if not bits:
        return tuple(colour)
    return tuple(quantise_channel(v, n) for v, n in zip(colour, bits))


_xlib = {}


def screen_depth():
    """Bits a pixel of $DISPLAY's screen (its root window's depth)."""
    return _display().depth


def _display():
    name = os.environ.get("DISPLAY", "")
    if name not in _xlib:
        _xlib[name] = _Xlib()
    return _xlib[name]


def _capture_root():
    try:
        return _display().capture()
    except OSError:
        data = subprocess.run(["xwd", "-root", "-silent"], check=True,
                              stdout=subprocess.PIPE, timeout=20).stdout
        return parse_xwd(data)
