"""The X display's root window read through libX11's XGetImage: the one
reader of screen pixels that the end-to-end suite, the soak and the
benchmark share. XGetImage reads any screen depth faithfully, where `xwd`
and `import` do not once Wine has made windows of another visual."""

import ctypes


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong),
                ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong)]


class Grab:
    """A rectangle of the screen as the display gave it: its pixel values,
    `bits_per_pixel` each, rows `bytes_per_line` apart in `data`."""

    def __init__(self, im):
        self.width, self.height = im.width, im.height
        self.bits_per_pixel, self.byte_order = im.bits_per_pixel, im.byte_order
        self.bytes_per_line = im.bytes_per_line
        self.masks = (im.red_mask, im.green_mask, im.blue_mask)
        self.data = ctypes.string_at(im.data, im.bytes_per_line * im.height)

    def row(self, y):
        """Row y's pixels, with no padding."""
        start = y * self.bytes_per_line
        return self.data[start:start + self.width * self.bits_per_pixel // 8]

    def pixel(self, x, y):
        """The value at (x, y), as XGetPixel gives it (least significant
        byte first, the byte order of every display here)."""
        size = self.bits_per_pixel // 8
        start = y * self.bytes_per_line + x * size
        return int.from_bytes(self.data[start:start + size], "little")


class RootWindow:
    """An open connection to $DISPLAY and its root window."""

    ZPIXMAP = 2
    ALL_PLANES = 0xFFFFFFFF

    def __init__(self):
        x11 = ctypes.CDLL("libX11.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XDefaultRootWindow.restype = ctypes.c_ulong
        x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        for name in ("XDisplayWidth", "XDisplayHeight", "XDefaultDepth"):
            getattr(x11, name).argtypes = [ctypes.c_void_p, ctypes.c_int]
        x11.XGetImage.restype = ctypes.POINTER(XImage)
        x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                  ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x11.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
        self.x11 = x11
        self.display = x11.XOpenDisplay(None)
        if not self.display:
            raise OSError("no X display")
        self.root = x11.XDefaultRootWindow(self.display)
        self.width = x11.XDisplayWidth(self.display, 0)
        self.height = x11.XDisplayHeight(self.display, 0)
        self.depth = x11.XDefaultDepth(self.display, 0)

    def grab(self, x, y, w, h):
        """A Grab of the rectangle, or None when the display gave none (a
        rectangle reaching off the screen)."""
        image = self.x11.XGetImage(self.display, self.root, x, y, w, h, self.ALL_PLANES,
                                   self.ZPIXMAP)
        if not image:
            return None
        try:
            return Grab(image.contents)
        finally:
            self.x11.XDestroyImage(image)
