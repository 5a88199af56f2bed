#!/usr/bin/env python3
"""Draws Grabwell's toolbar strip and window icon.

The artwork is kept as source here so that anyone can change a picture and
regenerate the binaries byte-for-byte; only the Python 3 standard library is
used, so the build machine needs nothing extra.

Run from anywhere:  python3 scripts/draw_artwork.py
Writes resources/toolbar.bmp and resources/grabwell.ico.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.join(HERE, os.pardir, "resources")

CELL = 16
# The image list treats this colour as transparent, so it may appear only as
# background; every grey used inside a picture differs from it.
MASK = (0xC0, 0xC0, 0xC0)

PALETTE = {
    ".": MASK,
    "k": (0x00, 0x00, 0x00),  # outline
    "d": (0x40, 0x40, 0x40),
    "K": (0x80, 0x80, 0x80),  # dark grey, text lines
    "m": (0xA8, 0xA8, 0xA8),  # mid grey
    "l": (0xDC, 0xDC, 0xDC),  # light grey
    "w": (0xFF, 0xFF, 0xFF),
    "y": (0xFF, 0xE8, 0x60),  # folder front, pencil
    "Y": (0xD8, 0xA8, 0x28),  # folder back
    "s": (0xFF, 0xD0, 0x00),  # sun
    "B": (0x00, 0x00, 0x80),  # navy: title bars, outlines of blue shapes
    "b": (0x20, 0x60, 0xD8),  # blue
    "c": (0xA8, 0xD8, 0xFF),  # light blue: sky, glass, highlight
    "t": (0x00, 0x80, 0x80),  # teal desktop
    "r": (0xE0, 0x20, 0x20),  # red marks
    "R": (0x80, 0x00, 0x00),
    "G": (0x00, 0x78, 0x00),  # dark green
    "n": (0x40, 0xC0, 0x40),  # green
    "e": (0xA0, 0x60, 0x28),  # wood
    "E": (0x68, 0x38, 0x10),  # dark wood
    "p": (0xF0, 0x90, 0xA0),  # eraser pink
}


class Cell:
    """A 16x16 character canvas; each character is a PALETTE key."""

    def __init__(self, rows=None):
        rows = rows or ["." * CELL] * CELL
        if len(rows) != CELL or any(len(r) != CELL for r in rows):
            raise ValueError("picture rows must be 16 strings of 16 characters")
        self.px = [list(r) for r in rows]

    def set(self, x, y, c):
        if 0 <= x < CELL and 0 <= y < CELL:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.set(x, y0, c)
            self.set(x, y1, c)
        for y in range(y0, y1 + 1):
            self.set(x0, y, c)
            self.set(x1, y, c)

    def dotted(self, x0, y0, x1, y1, on, off):
        # Parity on x+y keeps the dots continuous around the corners.
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                if x in (x0, x1) or y in (y0, y1):
                    self.set(x, y, on if (x + y) % 2 == (x0 + y0) % 2 else off)

    def brackets(self, x0, y0, x1, y1, arm, c):
        """Four L-shaped corner marks, the usual 'this is what gets captured'."""
        for i in range(arm):
            for (cx, cy, dx, dy) in ((x0, y0, 1, 1), (x1, y0, -1, 1),
                                     (x0, y1, 1, -1), (x1, y1, -1, -1)):
                self.set(cx + dx * i, cy, c)
                self.set(cx, cy + dy * i, c)

    def overlay(self, rows, x=0, y=0):
        """Paints a small character grid; '.' leaves what is underneath."""
        for j, row in enumerate(rows):
            for i, c in enumerate(row):
                if c != ".":
                    self.set(x + i, y + j, c)

    def rows(self):
        return ["".join(r) for r in self.px]


def monitor(cell, screen):
    """Full-cell monitor on a stand; returns the screen's inner rectangle."""
    cell.fill(0, 0, 15, 12, "l")
    cell.frame(0, 0, 15, 12, "k")
    cell.fill(2, 2, 13, 10, screen)
    cell.frame(1, 1, 14, 11, "l")
    cell.set(14, 11, "m")
    cell.fill(6, 13, 9, 13, "K")
    cell.set(6, 13, "k")
    cell.set(9, 13, "k")
    cell.fill(3, 14, 12, 14, "k")
    return (2, 2, 13, 10)


def landscape(cell, x0, y0, x1, y1):
    """Sky, sun and a green hill: the shorthand for 'a picture'."""
    cell.fill(x0, y0, x1, y1, "c")
    w = x1 - x0 + 1
    h = y1 - y0 + 1
    sx, sy = x1 - 2, y0 + 1
    if w >= 10:  # a 4x4 disc; small pictures get a 2x2 one
        cell.fill(sx - 2, sy, sx + 1, sy + 3, "s")
        for (dx, dy) in ((-2, 0), (1, 0), (-2, 3), (1, 3)):
            cell.set(sx + dx, sy + dy, "c")
    else:
        cell.fill(sx, sy, sx + 1, sy + 1, "s")
    # hill: a parabola peaking left of centre, grass edge one shade lighter
    for x in range(x0, x1 + 1):
        t = (x - x0) / max(1, w - 1)
        top = y1 - int(round(h * 0.6 * (1 - (1.6 * t - 0.6) ** 2)))
        top = min(max(top, y0 + 3), y1 - 1)
        for y in range(top, y1 + 1):
            cell.set(x, y, "n" if y == top else "G")


# --- the pictures, in toolbar order ---------------------------------------

def pic_open():
    return Cell([
        "................",
        "................",
        "..........kkk...",
        ".........k...k.k",
        "..............kk",
        ".kkkk........kkk",
        "kYYYYkkkkkk.....",
        "kYYYYYYYYYk.....",
        "kYYYYYYYYYk.....",
        "kYYYkkkkkkkkkkkk",
        "kYYkyyyyyyyyyyk.",
        "kYkyyyyyyyyyyk..",
        "kkyyyyyyyyyyk...",
        "kyyyyyyyyyyk....",
        "kkkkkkkkkkkk....",
        "................",
    ])


def pic_save():
    return Cell([
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kBkwwwwwwwwkBk.",
        ".kBkwwwwwwwwkBk.",
        ".kBkwKKKKKKwkBk.",
        ".kBkwwwwwwwwkBk.",
        ".kBkwKKKKKKwkBk.",
        ".kBkwwwwwwwwkBk.",
        ".kBBkkkkkkkkBBk.",
        ".kBBBBBBBBBBBBk.",
        ".kBBmmmmmmmmBBk.",
        ".kBBmmKKmmmmBBk.",
        ".kBBmmKKmmmmBBk.",
        ".kBBmmKKmmmmBBk.",
        ".kkkkkkkkkkkkkk.",
        "................",
    ])


def pic_capture_rect():
    c = Cell()
    c.fill(1, 1, 13, 13, "c")
    c.dotted(0, 0, 14, 14, "k", "w")
    # crosshair: four arms around an open centre
    for i in (3, 4, 5, 9, 10, 11):
        c.set(i, 7, "r")
        c.set(7, i, "r")
    c.set(7, 7, "r")
    return c


def pic_full_screen_marks():
    c = Cell()
    c.fill(3, 3, 12, 10, "l")
    c.frame(2, 2, 13, 11, "k")
    c.fill(4, 4, 11, 9, "c")
    c.frame(4, 4, 11, 9, "K")
    c.fill(7, 12, 8, 12, "K")
    c.fill(5, 13, 10, 13, "k")
    c.brackets(0, 0, 15, 15, 4, "r")
    return c


def pic_scroll_window():
    return Cell([
        "................",
        "kkkkkkkkkkk.....",
        "kBBBBBBBBBk.....",
        "kkkkkkkkkkk.kkk.",
        "kwwwwwwwmmk.kbk.",
        "kwKKKKKwmmk.kbk.",
        "kwwwwwwwKKk.kbk.",
        "kwKKKKwwKKk.kbk.",
        "kwwwwwwwKKk.kbk.",
        "kwKKKKKwmmkkkbkk",
        "kwwwwwwwmmkkbbbk",
        "kwKKKwwwmmk.kbk.",
        "kwwwwwwwmmk..k..",
        "kwKKKKwwmmk.....",
        "kkkkkkkkkkk.....",
        "................",
    ])


def pic_full_screen_desktop():
    c = Cell()
    x0, y0, x1, y1 = monitor(c, "b")
    c.brackets(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 3, "w")
    return c


def pic_delayed_window():
    c = Cell()
    c.fill(0, 1, 10, 11, "w")
    c.frame(0, 1, 10, 11, "k")
    c.fill(1, 2, 9, 2, "B")
    c.fill(0, 3, 10, 3, "k")
    c.overlay([
        "..kkkk..",
        ".kwwwwk.",
        "kwwwkwwk",
        "kwwwkwwk",
        "kwwwkkwk",
        "kwwwwwwk",
        ".kwwwwk.",
        "..kkkk..",
    ], 8, 8)
    c.set(12, 12, "r")
    c.set(13, 12, "r")
    return c


def pic_client_area():
    c = Cell()
    c.fill(0, 1, 15, 14, "w")
    c.frame(0, 1, 15, 14, "k")
    c.fill(1, 2, 14, 3, "m")
    c.fill(12, 2, 13, 3, "l")
    c.fill(0, 4, 15, 4, "k")
    c.fill(2, 6, 13, 12, "c")
    c.dotted(1, 5, 14, 13, "r", "w")
    return c


def pic_window_with_title():
    c = Cell()
    c.fill(2, 2, 13, 13, "w")
    c.frame(2, 2, 13, 13, "k")
    c.fill(3, 3, 12, 4, "B")
    c.fill(11, 3, 11, 3, "w")
    c.fill(3, 5, 12, 5, "k")
    for y in (7, 9, 11):
        c.fill(4, y, 10 - (y % 4), y, "K")
    c.brackets(0, 0, 15, 15, 4, "r")
    return c


def pic_work_area():
    c = Cell()
    c.fill(0, 1, 15, 14, "t")
    c.frame(0, 1, 15, 14, "k")
    c.fill(1, 12, 14, 13, "l")
    c.fill(1, 11, 14, 11, "w")
    c.fill(2, 12, 4, 13, "n")
    c.dotted(2, 3, 13, 9, "w", "k")
    return c


def pic_copy():
    return Cell([
        "kkkkkkk.........",
        "kwwwwwkk........",
        "kwKKKwkwk.......",
        "kwwwwwkkkk......",
        "kwKKKKKwwk......",
        "kwwwwwkkkkkkk...",
        "kwKKKKkwwwwwkk..",
        "kwwwwwkwKKKwkwk.",
        "kwKKKKkwwwwwkkkk",
        "kwwwwwkwKKKKKwwk",
        "kkkkkkkwwwwwwwwk",
        "......kwKKKKKKwk",
        "......kwwwwwwwwk",
        "......kwKKKKKKwk",
        "......kwwwwwwwwk",
        "......kkkkkkkkkk",
    ])


# Diagonal pencil, tip at the lower left: eraser, ferrule, body, bare wood.
PENCIL = [
    ".......kk..",
    "......kppk.",
    ".....kppk..",
    "....kmmk...",
    "...kyYk....",
    "..kyYk.....",
    ".kyYk......",
    "keek.......",
    "kk.........",
]


def pic_edit_paint():
    c = Cell()
    landscape(c, 1, 5, 11, 14)
    c.frame(0, 4, 12, 15, "k")
    c.overlay(PENCIL, 5, 2)
    return c


def magnifier(glyph):
    c = Cell([
        "....kkkk........",
        "..kkwwcckk......",
        ".kwwccccccK.....",
        ".kwccccccck.....",
        "kcccccccccck....",
        "kcccccccccck....",
        "kcccccccccck....",
        "kcccccccccck....",
        ".kcccccccck.....",
        ".kcccccccckk....",
        "..kkcccckkdkk...",
        "....kkkk.kdddk..",
        "..........kdddk.",
        "...........kdddk",
        "............kddk",
        ".............kk.",
    ])
    c.fill(3, 5, 8, 6, "k")
    if glyph == "+":
        c.fill(5, 3, 6, 8, "k")
    return c


def pic_zoom_in():
    return magnifier("+")


def pic_zoom_out():
    return magnifier("-")


def pic_cut():
    return Cell([
        "..kk........kk..",
        "..kwk......kwk..",
        "...kwk....kwk...",
        "...kmwk..kwmk...",
        "....kmwkkwmk....",
        ".....kmwwmk.....",
        "......kkkk......",
        "......RkkR......",
        ".....RR..RR.....",
        "....RR....RR....",
        "..RRRR....RRRR..",
        ".RR..RR..RR..RR.",
        ".R....R..R....R.",
        ".RR..RR..RR..RR.",
        "..RRRR....RRRR..",
        "................",
    ])


def pic_paste():
    return Cell([
        "....kkkkk.......",
        ".kkkklllkkkk....",
        ".keklllllkek....",
        ".kekkkkkkkek....",
        ".keeeeeeeeek....",
        ".keeeekkkkkkkk..",
        ".keeeekwwwwwkwk.",
        ".keeeekwKKKwkkkk",
        ".keeeekwwwwwwwwk",
        ".keeeekwKKKKKKwk",
        ".keeeekwwwwwwwwk",
        ".keeeekwKKKKKKwk",
        ".keeeekwwwwwwwwk",
        ".kkkkkkwKKKKKKwk",
        "......kwwwwwwwwk",
        "......kkkkkkkkkk",
    ])


def pic_properties():
    return Cell([
        "..kkkkkkkkk.....",
        "..kwwwwwwwkk....",
        "..kwwwwwwwkwk...",
        "..kwwwwwwwkkkk..",
        "..kwbwKKKKKKwk..",
        "..kwwwwwwwwwwk..",
        "..kwbwKKKKKwwk..",
        "..kwwwwwwwwwwk..",
        "..kwbwKKKKKKwk..",
        "..kwwwwwwwwwwk..",
        "..kwbwKKKKwwwk..",
        "..kwwwwwwwwwwk..",
        "..kwbwKKKKKKwk..",
        "..kwwwwwwwwwwk..",
        "..kkkkkkkkkkkk..",
        "................",
    ])


def blue_disc():
    return Cell([
        ".....BBBBBB.....",
        "...BBbbbbbbBB...",
        "..Bbbbbbbbbbbb..",
        ".Bbbbbbbbbbbbbb.",
        ".Bbbbbbbbbbbbbb.",
        "Bbbbbbbbbbbbbbbb",
        "Bbbbbbbbbbbbbbbb",
        "Bbbbbbbbbbbbbbbb",
        "Bbbbbbbbbbbbbbbb",
        "Bbbbbbbbbbbbbbbb",
        "Bbbbbbbbbbbbbbbb",
        ".Bbbbbbbbbbbbbb.",
        ".Bbbbbbbbbbbbbb.",
        "..Bbbbbbbbbbbb..",
        "...BBbbbbbbBB...",
        ".....BBBBBB.....",
    ])


def pic_about():
    c = blue_disc()
    c.overlay([
        ".ww.",
        ".ww.",
        "....",
        "www.",
        ".ww.",
        ".ww.",
        ".ww.",
        ".ww.",
        ".ww.",
        "wwww",
    ], 6, 3)
    return c


def pic_exit():
    c = Cell()
    c.fill(1, 1, 8, 14, "e")
    c.frame(0, 0, 9, 15, "k")
    c.frame(2, 2, 7, 6, "E")
    c.frame(2, 8, 7, 13, "E")
    c.set(7, 7, "s")
    c.overlay([
        "....k....",
        "....kk...",
        "kkkkknk..",
        "knnnnnnk.",
        "knnnnnnnk",
        "knnnnnnk.",
        "kkkkknk..",
        "....kk...",
        "....k....",
    ], 7, 3)
    return c


def pic_wallpaper():
    c = Cell()
    x0, y0, x1, y1 = monitor(c, "c")
    landscape(c, x0, y0, x1, y1)
    return c


def pic_print():
    return Cell([
        "................",
        "....kkkkkkkk....",
        "....kwwwwwwk....",
        "....kwKKKKwk....",
        "....kwwwwwwk....",
        "..kkkkkkkkkkkk..",
        ".kllllllllllllk.",
        "kllllllllllllllk",
        "kllllllllllGGllk",
        "kKKKKKKKKKKKKKKk",
        "kKKkkkkkkkkkkKKk",
        "kkkkwwwwwwwwkkkk",
        "...kwKKKKKKwk...",
        "...kwwwwwwwwk...",
        "...kkkkkkkkkk...",
        "................",
    ])


def pic_copy_to_clipboard():
    c = Cell([
        "....kkkkkkk.....",
        ".kkkklllllkkkk..",
        ".keeklllllkeek..",
        ".keeekkkkkeeek..",
        ".keeeeeeeeeeek..",
        ".keeeeeeeeeeek..",
        ".keeeeeeeeeeek..",
        ".keeeeeeeeeeek..",
        ".keeeeeeeeeeek..",
        ".keeeeeeeeeeek..",
        ".keeeeeeeeeeek..",
        ".keeeeeeeeeeek..",
        ".keeeeeeeeeeek..",
        ".keeeeeeeeeeek..",
        ".keeeeeeeeeeek..",
        ".kkkkkkkkkkkkk..",
    ])
    landscape(c, 4, 6, 11, 13)
    c.frame(3, 5, 12, 14, "k")
    return c


def pic_help():
    c = blue_disc()
    c.overlay([
        ".wwww.",
        "ww..ww",
        "....ww",
        "...ww.",
        "..ww..",
        "..ww..",
        "......",
        "..ww..",
        "..ww..",
    ], 5, 3)
    return c


PICTURES = [
    pic_open,                 # 1
    pic_save,                 # 2
    pic_capture_rect,         # 3
    pic_full_screen_marks,    # 4
    pic_scroll_window,        # 5
    pic_full_screen_desktop,  # 6
    pic_delayed_window,       # 7
    pic_client_area,          # 8
    pic_window_with_title,    # 9
    pic_work_area,            # 10
    pic_copy,                 # 11
    pic_edit_paint,           # 12
    pic_zoom_in,              # 13
    pic_zoom_out,             # 14
    pic_cut,                  # 15
    pic_paste,                # 16
    pic_properties,           # 17
    pic_about,                # 18
    pic_exit,                 # 19
    pic_wallpaper,            # 20
    pic_print,                # 21
    pic_copy_to_clipboard,    # 22
    pic_help,                 # 23
]


# --- file writers ---------------------------------------------------------

def toolbar_pixels():
    """Returns rows (top first) of RGB tuples for the whole strip."""
    width = CELL * len(PICTURES)
    rows = [[MASK] * width for _ in range(CELL)]
    for n, draw in enumerate(PICTURES):
        for y, row in enumerate(draw().rows()):
            for x, ch in enumerate(row):
                rows[y][n * CELL + x] = PALETTE[ch]
    return rows


def bmp_bytes(rows):
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    pad = b"\0" * (stride - width * 3)
    body = bytearray()
    for row in reversed(rows):  # bottom-up
        for (r, g, b) in row:
            body += bytes((b, g, r))
        body += pad
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0,
                       len(body), 2835, 2835, 0, 0)
    return header + info + bytes(body)


def check_palette():
    for key, rgb in PALETTE.items():
        if key != "." and rgb == MASK:
            raise ValueError("palette entry %r equals the mask colour" % key)


# --- window icon ----------------------------------------------------------
# Drawn per size in float coordinates with 4x4 supersampling, so the rounded
# monitor keeps soft edges while the straight edges stay on pixel boundaries.

def _rounded(x0, y0, x1, y1, r):
    def inside(px, py):
        if not (x0 <= px < x1 and y0 <= py < y1):
            return False
        cx = min(max(px, x0 + r), x1 - r)
        cy = min(max(py, y0 + r), y1 - r)
        return (px - cx) ** 2 + (py - cy) ** 2 <= r * r
    return inside


def _box(x0, y0, x1, y1):
    return lambda px, py: x0 <= px < x1 and y0 <= py < y1


def _blend(dst, src, a):
    """Source-over compositing of straight-alpha colour src with coverage a."""
    dr, dg, db, da = dst
    sr, sg, sb = src
    out_a = a + da * (1 - a)
    if out_a <= 0:
        return (0.0, 0.0, 0.0, 0.0)

    def mix(s, d):
        return (s * a + d * da * (1 - a)) / out_a
    return (mix(sr, dr), mix(sg, dg), mix(sb, db), out_a)


def icon_pixels(n):
    """RGBA rows (top first) of the Grabwell icon at n x n pixels."""
    u = n / 32.0  # layout is designed on a 32-pixel grid
    img = [[(0.0, 0.0, 0.0, 0.0) for _ in range(n)] for _ in range(n)]
    ss = 4

    def paint(shape, colour, alpha=1.0):
        for y in range(n):
            for x in range(n):
                hits = 0
                for j in range(ss):
                    for i in range(ss):
                        if shape(x + (i + 0.5) / ss, y + (j + 0.5) / ss):
                            hits += 1
                if hits:
                    a = alpha * hits / (ss * ss)
                    c = colour(x, y) if callable(colour) else colour
                    img[y][x] = _blend(img[y][x], c, a)

    def q(v):  # snap to whole pixels so straight edges stay crisp
        return round(v * u)

    # stand
    paint(_rounded(q(9), q(27), q(23), q(30), max(1.0, 1.2 * u)), (70, 74, 84))
    paint(_box(q(13), q(24), q(19), q(28)), (110, 116, 128))
    # monitor body and screen
    paint(_rounded(q(1), q(3), q(31), q(25), 2.5 * u), (44, 48, 58))
    sx0, sy0, sx1, sy1 = q(3), q(5), q(29), q(23)
    if n <= 16:
        sx0, sy0, sx1, sy1 = 2, 3, 14, 11

    def sky(x, y):
        t = (y - sy0) / max(1, sy1 - sy0 - 1)
        return (int(70 - 40 * t), int(150 - 60 * t), int(240 - 50 * t))
    paint(_box(sx0, sy0, sx1, sy1), sky)

    # the selection: tinted inside, dashed white edge, orange corner marks
    if n <= 16:
        rx0, ry0, rx1, ry1 = 4, 5, 12, 10
    else:
        rx0, ry0, rx1, ry1 = q(8), q(9), q(24), q(19)
    paint(_box(rx0, ry0, rx1, ry1), (255, 255, 255), 0.35)
    line = max(1, round(u))
    dash = max(1, round(2 * u))

    def dashed(px, py):
        on_edge = (rx0 <= px < rx1 and ry0 <= py < ry1 and
                   (px < rx0 + line or px >= rx1 - line or
                    py < ry0 + line or py >= ry1 - line))
        if not on_edge:
            return False
        k = int(px - rx0) + int(py - ry0)
        return (k // dash) % 2 == 0
    paint(dashed, (255, 255, 255))
    arm = 3 if n <= 16 else round(7 * u)
    rise = 3 if n <= 16 else round(5 * u)  # shorter: the selection is wide
    thick = max(1, round(2 * u)) if n > 16 else 1
    orange = (255, 150, 20)
    for (cx, cy, dx, dy) in ((rx0, ry0, 1, 1), (rx1, ry0, -1, 1),
                             (rx0, ry1, 1, -1), (rx1, ry1, -1, -1)):
        o = thick  # marks sit just outside the selection
        ax = cx - o if dx > 0 else cx - arm + o
        ay = cy - o if dy > 0 else cy - thick + o
        paint(_box(ax, ay, ax + arm, ay + thick), orange)
        bx = cx - o if dx > 0 else cx - thick + o
        by = cy - o if dy > 0 else cy - rise + o
        paint(_box(bx, by, bx + thick, by + rise), orange)

    out = []
    for row in img:
        out.append([(int(round(r)), int(round(g)), int(round(b)),
                     int(round(a * 255))) for (r, g, b, a) in row])
    return out


def icon_image(n):
    rows = icon_pixels(n)
    xor = bytearray()
    for row in reversed(rows):
        for (r, g, b, a) in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((n + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    info = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def ico_bytes(sizes):
    images = [icon_image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32,
                           len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (os.path.relpath(path), len(data)))


def main():
    check_palette()
    write(os.path.join(RESOURCES, "toolbar.bmp"), bmp_bytes(toolbar_pixels()))
    write(os.path.join(RESOURCES, "grabwell.ico"), ico_bytes([16, 32, 48]))


if __name__ == "__main__":
    main()
