#!/usr/bin/env python3
"""Drives a program on an X display like a user and takes screenshots.

Input goes through the XTest extension of the display that DISPLAY names, so
the program sees real X events. Steps run in the order given, for example

    tools/xdrive.py click 200 300 wait 300 key ctrl+o wait 500 shot open.png

Steps:
    move X Y                 pointer to the root position
    click X Y [BUTTON]       press and release (button 1 unless named)
    dclick X Y [BUTTON]      two clicks in quick succession
    down BUTTON / up BUTTON  press or release a button where the pointer is
    drag X1 Y1 X2 Y2 [BUTTON] [STEPS]
                             press at the first point, move in steps, release
    wheel X Y up|down [N]    N wheel notches at the point
    key KEYS                 a chord such as ctrl+o, shift+F6, Escape, a
    type TEXT                the text's characters, one key each
    wait MS                  lets the program work
    shot FILE [X Y W H]      the root window (or that part of it) as PNG
    cursor FILE              the pointer's current image as PNG (it is not in
                             screenshots); prints its size and hot spot
    windows                  the top-level windows: id, geometry, name
    resize WINDOW W H        resizes a window (hex id) as a window manager would
    cover X Y W H MS         puts another program's window over that part of
                             the screen for MS milliseconds (an expose after)
"""

import ctypes
import ctypes.util
import os
import subprocess
import sys
import tempfile
import time

xlib = ctypes.CDLL(ctypes.util.find_library("X11"))
xtst = ctypes.CDLL(ctypes.util.find_library("Xtst"))
xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes"))

xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XStringToKeysym.restype = ctypes.c_ulong
xlib.XStringToKeysym.argtypes = [ctypes.c_char_p]
xlib.XKeysymToKeycode.restype = ctypes.c_ubyte
xlib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XKeycodeToKeysym.restype = ctypes.c_ulong
xlib.XKeycodeToKeysym.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int]
xlib.XFlush.argtypes = [ctypes.c_void_p]
xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xlib.XGetImage.restype = ctypes.c_void_p
xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                           ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
xlib.XGetPixel.restype = ctypes.c_ulong
xlib.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
xlib.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
xlib.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
xlib.XResizeWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_uint, ctypes.c_uint]
xlib.XBlackPixel.restype = ctypes.c_ulong
xlib.XBlackPixel.argtypes = [ctypes.c_void_p, ctypes.c_int]
xlib.XCreateSimpleWindow.restype = ctypes.c_ulong
xlib.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong,
                                     ctypes.c_ulong]
xlib.XMapRaised.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XDestroyWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                      ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

class XFixesCursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(XFixesCursorImage)
xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]

ZPIXMAP = 2
ALL_PLANES = 0xFFFFFFFF


class XImageHead(ctypes.Structure):
    # The leading fields of Xlib's XImage, up to the pixel data.
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


MODIFIERS = {"ctrl": "Control_L", "shift": "Shift_L", "alt": "Alt_L"}


class Driver:
    def __init__(self):
        self.dpy = xlib.XOpenDisplay(None)
        if not self.dpy:
            sys.exit("xdrive: cannot open the display DISPLAY names")
        self.root = xlib.XDefaultRootWindow(self.dpy)

    def sync(self):
        xlib.XSync(self.dpy, 0)

    def move(self, x, y):
        xtst.XTestFakeMotionEvent(self.dpy, -1, int(x), int(y), 0)
        self.sync()

    def button(self, button, down):
        xtst.XTestFakeButtonEvent(self.dpy, int(button), 1 if down else 0, 0)
        self.sync()

    def click(self, x, y, button=1):
        self.move(x, y)
        time.sleep(0.05)
        self.button(button, True)
        time.sleep(0.05)
        self.button(button, False)

    def drag(self, x1, y1, x2, y2, button=1, steps=10):
        self.move(x1, y1)
        time.sleep(0.05)
        self.button(button, True)
        for i in range(1, int(steps) + 1):
            time.sleep(0.03)
            self.move(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps)
        time.sleep(0.05)
        self.button(button, False)

    def keycode(self, name):
        sym = xlib.XStringToKeysym(name.encode())
        if not sym:
            sys.exit(f"xdrive: no keysym named {name}")
        code = xlib.XKeysymToKeycode(self.dpy, sym)
        if not code:
            sys.exit(f"xdrive: the keyboard has no key for {name}")
        return code

    def key(self, chord):
        parts = chord.split("+")
        codes = [self.keycode(MODIFIERS.get(p.lower(), p)) for p in parts]
        for code in codes:
            xtst.XTestFakeKeyEvent(self.dpy, code, 1, 0)
            self.sync()
            time.sleep(0.02)
        for code in reversed(codes):
            xtst.XTestFakeKeyEvent(self.dpy, code, 0, 0)
            self.sync()
            time.sleep(0.02)

    def type(self, text):
        names = {" ": "space", ".": "period", "/": "slash", "-": "minus", "_": "underscore",
                 ":": "colon", "*": "asterisk", "\\": "backslash", ",": "comma"}
        for ch in text:
            name = names.get(ch, ch)
            sym = xlib.XStringToKeysym(name.encode())
            code = self.keycode(name)
            # A character on the shifted level of its key needs Shift.
            shifted = xlib.XKeycodeToKeysym(self.dpy, code, 0) != sym
            self.key(("shift+" + name) if shifted else name)

    def shot(self, path, x=0, y=0, w=None, h=None):
        w = int(w) if w else xlib.XDisplayWidth(self.dpy, 0)
        h = int(h) if h else xlib.XDisplayHeight(self.dpy, 0)
        image = xlib.XGetImage(self.dpy, self.root, int(x), int(y), w, h, ALL_PLANES, ZPIXMAP)
        if not image:
            sys.exit("xdrive: XGetImage failed")
        head = XImageHead.from_address(image)
        if head.bits_per_pixel != 32:
            sys.exit("xdrive: only 32-bit screens are read")
        raw = ctypes.string_at(head.data, head.bytes_per_line * h)
        bgra = b"".join(raw[r * head.bytes_per_line:r * head.bytes_per_line + w * 4] for r in range(h))
        rgb = bytearray(w * h * 3)
        rgb[0::3] = bgra[2::4]
        rgb[1::3] = bgra[1::4]
        rgb[2::3] = bgra[0::4]
        with tempfile.NamedTemporaryFile(suffix=".ppm", delete=False) as ppm:
            ppm.write(b"P6\n%d %d\n255\n" % (w, h))
            ppm.write(rgb)
        subprocess.run(["convert", ppm.name, path], check=True)
        os.unlink(ppm.name)

    def cursor(self, path):
        image = xfixes.XFixesGetCursorImage(self.dpy).contents
        w, h = image.width, image.height
        rgba = bytearray()
        for i in range(w * h):
            argb = image.pixels[i] & 0xFFFFFFFF
            rgba += bytes(((argb >> 16) & 255, (argb >> 8) & 255, argb & 255, argb >> 24))
        with tempfile.NamedTemporaryFile(suffix=".rgba", delete=False) as raw:
            raw.write(rgba)
        subprocess.run(["convert", "-size", f"{w}x{h}", "-depth", "8", f"rgba:{raw.name}",
                        "-background", "#80a080", "-flatten", "-scale", "400%", path], check=True)
        os.unlink(raw.name)
        print(f"cursor {w}x{h} hot spot {image.xhot},{image.yhot}")

    def resize(self, window, w, h):
        xlib.XResizeWindow(self.dpy, window, w, h)
        self.sync()

    def cover(self, x, y, w, h, ms):
        black = xlib.XBlackPixel(self.dpy, 0)
        window = xlib.XCreateSimpleWindow(self.dpy, self.root, x, y, w, h, 0, black, black)
        xlib.XMapRaised(self.dpy, window)
        self.sync()
        time.sleep(ms / 1000.0)
        xlib.XDestroyWindow(self.dpy, window)
        self.sync()

    def windows(self):
        out = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True, text=True).stdout
        for line in out.splitlines():
            line = line.strip()
            if line.startswith("0x"):
                print(line)


def run(argv):
    d = Driver()
    i = 0

    def take(n):
        nonlocal i
        args = argv[i:i + n]
        i += n
        return args

    while i < len(argv):
        step = argv[i]
        i += 1
        if step == "move":
            d.move(*map(int, take(2)))
        elif step in ("click", "dclick"):
            x, y = map(int, take(2))
            button = int(take(1)[0]) if i < len(argv) and argv[i].isdigit() else 1
            d.click(x, y, button)
            if step == "dclick":
                d.click(x, y, button)
        elif step in ("down", "up"):
            d.button(int(take(1)[0]), step == "down")
        elif step == "drag":
            x1, y1, x2, y2 = map(int, take(4))
            extra = []
            while i < len(argv) and argv[i].isdigit() and len(extra) < 2:
                extra.append(int(take(1)[0]))
            d.drag(x1, y1, x2, y2, *extra)
        elif step == "wheel":
            x, y = map(int, take(2))
            direction = take(1)[0]
            count = int(take(1)[0]) if i < len(argv) and argv[i].isdigit() else 1
            d.move(x, y)
            for _ in range(count):
                d.button(4 if direction == "up" else 5, True)
                d.button(4 if direction == "up" else 5, False)
                time.sleep(0.05)
        elif step == "key":
            d.key(take(1)[0])
        elif step == "type":
            d.type(take(1)[0])
        elif step == "wait":
            time.sleep(int(take(1)[0]) / 1000.0)
        elif step == "shot":
            path = take(1)[0]
            box = []
            while i < len(argv) and argv[i].lstrip("-").isdigit() and len(box) < 4:
                box.append(int(take(1)[0]))
            d.shot(path, *box)
        elif step == "cursor":
            d.cursor(take(1)[0])
        elif step == "resize":
            window, w, h = take(3)
            d.resize(int(window, 16), int(w), int(h))
        elif step == "cover":
            d.cover(*map(int, take(5)))
        elif step == "windows":
            d.windows()
        else:
            sys.exit(f"xdrive: unknown step {step}")


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    run(sys.argv[1:])
