#!/usr/bin/env python3
"""Drives an X display (Xvfb) for the screenshot script, through libX11 and
libXtst with ctypes: finds a top-level window by size, clicks, double-clicks,
types and resizes a window the way a window manager would.

    xpointer.py find WIDTH HEIGHT      prints "ID X Y" of a mapped window that size
    xpointer.py click X Y [BUTTON]     screen coordinates
    xpointer.py dclick X Y
    xpointer.py type TEXT              digits, letters and dots
    xpointer.py place ID X Y W H       move and resize a window
"""
import ctypes
import sys
import time
from ctypes import POINTER, Structure, byref, c_char_p, c_int, c_long, c_uint, c_ulong, c_void_p

x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")


class XWindowAttributes(Structure):
    _fields_ = [("x", c_int), ("y", c_int), ("width", c_int), ("height", c_int),
                ("border_width", c_int), ("depth", c_int), ("visual", c_void_p),
                ("root", c_ulong), ("class_", c_int), ("bit_gravity", c_int),
                ("win_gravity", c_int), ("backing_store", c_int), ("backing_planes", c_ulong),
                ("backing_pixel", c_ulong), ("save_under", c_int), ("colormap", c_ulong),
                ("map_installed", c_int), ("map_state", c_int), ("all_event_masks", c_long),
                ("your_event_mask", c_long), ("do_not_propagate_mask", c_long),
                ("override_redirect", c_int), ("screen", c_void_p)]


x11.XOpenDisplay.restype = c_void_p
x11.XOpenDisplay.argtypes = [c_char_p]
x11.XDefaultRootWindow.restype = c_ulong
x11.XDefaultRootWindow.argtypes = [c_void_p]
x11.XQueryTree.argtypes = [c_void_p, c_ulong, POINTER(c_ulong), POINTER(c_ulong),
                           POINTER(POINTER(c_ulong)), POINTER(c_uint)]
x11.XGetWindowAttributes.argtypes = [c_void_p, c_ulong, POINTER(XWindowAttributes)]
x11.XFree.argtypes = [c_void_p]
x11.XFlush.argtypes = [c_void_p]
x11.XSync.argtypes = [c_void_p, c_int]
x11.XStringToKeysym.restype = c_ulong
x11.XStringToKeysym.argtypes = [c_char_p]
x11.XKeysymToKeycode.restype = c_uint
x11.XKeysymToKeycode.argtypes = [c_void_p, c_ulong]
x11.XMoveResizeWindow.argtypes = [c_void_p, c_ulong, c_int, c_int, c_uint, c_uint]
xtst.XTestFakeMotionEvent.argtypes = [c_void_p, c_int, c_int, c_int, c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [c_void_p, c_uint, c_int, c_ulong]
xtst.XTestFakeKeyEvent.argtypes = [c_void_p, c_uint, c_int, c_ulong]

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("xpointer: no X display")


def top_level_windows():
    root = x11.XDefaultRootWindow(display)
    root_ret, parent_ret = c_ulong(), c_ulong()
    children, count = POINTER(c_ulong)(), c_uint()
    x11.XQueryTree(display, root, byref(root_ret), byref(parent_ret), byref(children), byref(count))
    windows = [children[i] for i in range(count.value)]
    if children:
        x11.XFree(children)
    return windows


def find(width, height, timeout=30.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        for window in top_level_windows():
            attrs = XWindowAttributes()
            x11.XGetWindowAttributes(display, window, byref(attrs))
            if attrs.map_state == 2 and attrs.width == width and attrs.height == height:
                print(window, attrs.x, attrs.y)
                return
        time.sleep(0.1)
    sys.exit(f"xpointer: no mapped {width}x{height} window")


def move(x, y):
    xtst.XTestFakeMotionEvent(display, -1, x, y, 0)
    x11.XSync(display, 0)
    time.sleep(0.05)


def press(button, down):
    xtst.XTestFakeButtonEvent(display, button, 1 if down else 0, 0)
    x11.XSync(display, 0)


def click(x, y, button=1):
    move(x, y)
    press(button, True)
    time.sleep(0.03)
    press(button, False)
    time.sleep(0.1)


def double_click(x, y):
    move(x, y)
    for _ in range(2):
        press(1, True)
        press(1, False)
        time.sleep(0.03)
    time.sleep(0.2)


def type_text(text):
    names = {".": "period", "-": "minus", " ": "space"}
    for ch in text:
        code = x11.XKeysymToKeycode(display, x11.XStringToKeysym(names.get(ch, ch).encode()))
        xtst.XTestFakeKeyEvent(display, code, 1, 0)
        xtst.XTestFakeKeyEvent(display, code, 0, 0)
        x11.XSync(display, 0)
        time.sleep(0.03)


def place(window, x, y, w, h):
    x11.XMoveResizeWindow(display, window, x, y, w, h)
    x11.XSync(display, 0)


def main(argv):
    command, args = argv[1], argv[2:]
    if command == "find":
        find(int(args[0]), int(args[1]))
    elif command == "click":
        click(int(args[0]), int(args[1]), int(args[2]) if len(args) > 2 else 1)
    elif command == "dclick":
        double_click(int(args[0]), int(args[1]))
    elif command == "type":
        type_text(args[0])
    elif command == "place":
        place(*(int(a) for a in args))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
