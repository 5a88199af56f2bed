#!/usr/bin/env python3
"""Draws Grabwell's toolbar strip and window icon.

The artwork is kept as source here so that anyone can change a picture and
regenerate the binaries byte-for-byte; only the Python 3 standard library is
used, so the build machine needs nothing extra.

Run from anywhere:  python3 scripts/draw_artwork.py
Writes resources/toolbar16.bmp, toolbar20.bmp, toolbar24.bmp, toolbar32.bmp
(the toolbar strip at each display scale) and resources/grabwell.ico.
"""

import math
import os
import struct
import zlib

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


# --- the pictures at the larger sizes ---------------------------------------
# 20, 24 and 32 pixels are drawn, not enlarged: every shape is laid out on the
# same 16-unit design grid as the hand-set 16-pixel cells, but its edges are
# rounded to whole pixels of the size being drawn, outlines are whole pixels
# wide (one up to 24, two at 32), and details such as text lines and dashes
# keep their pixel rhythm instead of growing with the picture.

class Canvas:
    """An n x n character canvas with shapes given in 16ths of its side."""

    def __init__(self, n):
        self.n = n
        self.s = n / 16.0
        self.w = max(1, n // 16)  # outline width in pixels
        self.px = [["."] * n for _ in range(n)]

    def e(self, v):
        """A design-grid edge on the pixel grid (halves round up)."""
        return int(math.floor(v * self.s + 0.5))

    def c(self, v):
        """The pixel holding a design-grid point, for stroke ends."""
        return min(self.n - 1, max(0, int(math.floor(v * self.s))))

    def set(self, x, y, ch):
        if 0 <= x < self.n and 0 <= y < self.n:
            self.px[y][x] = ch

    # masks: sets of pixels, combined with | and -
    def rect(self, x0, y0, x1, y1):
        return self.rect_px(self.e(x0), self.e(y0), self.e(x1), self.e(y1))

    def rect_px(self, x0, y0, x1, y1):
        return {(x, y) for y in range(max(0, y0), min(self.n, y1))
                for x in range(max(0, x0), min(self.n, x1))}

    def where(self, inside):
        """Pixels whose centre, in design units, satisfies inside(x, y)."""
        k = 1.0 / self.s
        return {(x, y) for y in range(self.n) for x in range(self.n)
                if inside((x + 0.5) * k, (y + 0.5) * k)}

    def polygon(self, points):
        def inside(px, py):
            hit = False
            j = len(points) - 1
            for i in range(len(points)):
                (xi, yi), (xj, yj) = points[i], points[j]
                if (yi > py) != (yj > py) and \
                        px < (xj - xi) * (py - yi) / (yj - yi) + xi:
                    hit = not hit
                j = i
            return hit
        return self.where(inside)

    def ellipse(self, x0, y0, x1, y1):
        """The ellipse inside the pixel-rounded box of these design edges."""
        bx0, by0, bx1, by1 = self.e(x0), self.e(y0), self.e(x1), self.e(y1)
        cx, cy = (bx0 + bx1) / 2.0, (by0 + by1) / 2.0
        rx, ry = (bx1 - bx0) / 2.0, (by1 - by0) / 2.0
        return {(x, y) for y in range(by0, by1) for x in range(bx0, bx1)
                if ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2 <= 1.0}

    def ring(self, mask, width=None):
        """The pixels of a shape within `width` 4-steps of its outside."""
        inner = mask
        for _ in range(width or self.w):
            inner = {(x, y) for (x, y) in inner
                     if all(p in inner for p in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)))}
        return mask - inner

    def paint(self, mask, fill=None, line=None, width=None):
        edge = self.ring(mask, width) if line else set()
        for (x, y) in mask:
            if (x, y) in edge:
                self.set(x, y, line)
            elif fill:
                self.set(x, y, fill(x, y) if callable(fill) else fill)
        return mask

    def box(self, x0, y0, x1, y1, fill=None, line="k", width=None):
        return self.paint(self.rect(x0, y0, x1, y1), fill, line, width)

    # strokes: pixel runs between the pixels that hold the design points
    def stroke(self, points, ch, width=None):
        return self.stroke_px([(self.c(x), self.c(y)) for (x, y) in points], ch, width)

    def stroke_px(self, points, ch, width=None):
        run = []
        for (p, q) in zip(points, points[1:]):
            run += _bresenham(p, q)
        return self._thicken(run, ch, width or self.w)

    def arc(self, cx, cy, r, a0, a1, ch, width=None):
        """Degrees, clockwise on screen from 3 o'clock: the outer edge of a
        disc, so the curve is as thin as a straight outline."""
        width = width or self.w
        # Centred on a pixel corner with a whole radius, the curve is
        # symmetric and has no lone pixel at its apex.
        px, py = round(cx * self.s), round(cy * self.s)
        big = round(r * self.s) + width / 2.0
        disc = {(x, y) for y in range(self.n) for x in range(self.n)
                if (x + 0.5 - px) ** 2 + (y + 0.5 - py) ** 2 <= big * big}
        lo, hi = sorted((a0, a1))
        mask = set()
        for (x, y) in self.ring(disc, width):
            a = math.degrees(math.atan2(y + 0.5 - py, x + 0.5 - px)) % 360
            if lo <= a <= hi or lo <= a + 360 <= hi:
                mask.add((x, y))
        for (x, y) in mask:
            self.set(x, y, ch)
        return mask

    def _thicken(self, run, ch, width):
        mask = set()
        lo = -((width - 1) // 2)
        for (x, y) in run:
            for dy in range(lo, lo + width):
                for dx in range(lo, lo + width):
                    mask.add((x + dx, y + dy))
        mask = {(x, y) for (x, y) in mask if 0 <= x < self.n and 0 <= y < self.n}
        for (x, y) in mask:
            self.set(x, y, ch)
        return mask

    def rows(self):
        return ["".join(r) for r in self.px]


def _bresenham(a, b):
    (x0, y0), (x1, y1) = a, b
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
    err = dx + dy
    out = []
    while True:
        out.append((x0, y0))
        if (x0, y0) == (x1, y1):
            return out
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def dotted_px(c, x0, y0, x1, y1, on, off):
    """A dashed frame on the pixel box, inclusive; dashes one outline wide."""
    d = c.w
    for (x, y) in c.ring(c.rect_px(x0, y0, x1 + 1, y1 + 1)):
        k = (x - x0) // d + (y - y0) // d
        c.set(x, y, on if k % 2 == 0 else off)


def brackets_px(c, x0, y0, x1, y1, arm, ch):
    """Corner marks on the pixel box, inclusive, `arm` pixels long."""
    t = c.w
    for (cx, dx) in ((x0, 1), (x1, -1)):
        for (cy, dy) in ((y0, 1), (y1, -1)):
            for i in range(arm):
                for j in range(t):
                    c.set(cx + dx * i, cy + dy * j, ch)
                    c.set(cx + dx * j, cy + dy * i, ch)


def text_lines(c, x0, y0, x1, y1, ch, lengths=(1.0, 0.7, 1.0, 0.85)):
    """Grey lines standing for text, inside the pixel box [x0, x1) x [y0, y1):
    one pixel thick with one-pixel gaps, two-pixel gaps from 24 up."""
    pitch = 2 if c.n < 24 else 3
    width = x1 - x0
    for i, y in enumerate(range(y0, y1, pitch)):
        length = max(1, int(round(width * lengths[i % len(lengths)])))
        for x in range(x0, x0 + length):
            c.set(x, y, ch)


def document_px(c, x0, y0, x1, y1, lines=True):
    """A page with its top right corner folded over, on the pixel box
    [x0, x1) x [y0, y1)."""
    ear = max(3, (x1 - x0) // 3)
    t = c.w
    page = c.rect_px(x0, y0, x1, y1) - {
        (x, y) for x in range(x1 - ear, x1) for y in range(y0, y0 + ear)
        if (x - (x1 - ear)) > (y - y0) - t + 1}
    c.paint(page, "w", "k")
    if t > 1:
        c.stroke_px([(x1 - ear, y0), (x1 - 1, y0 + ear - 1)], "k", t)
    fold = c.rect_px(x1 - ear, y0, x1 - ear + t, y0 + ear + t) | \
        c.rect_px(x1 - ear, y0 + ear, x1, y0 + ear + t)
    for (x, y) in fold:
        c.set(x, y, "k")
    if lines:
        text_lines(c, x0 + t + 1, y0 + ear + t + 1, x1 - t - 1, y1 - t - 1, "K")


def monitor_px(c, screen):
    """Full-width monitor on a stand; returns the screen's pixel box."""
    n, t = c.n, c.w
    bottom = c.e(13)
    c.box(0, 0, 16, 13, "l", "k")
    sx0, sy0, sx1, sy1 = t + 1, t + 1, n - t - 1, bottom - t - 1
    c.paint(c.rect_px(sx0, sy0, sx1, sy1), screen)
    c.set(sx1, sy1, "m")
    neck = c.rect_px(c.e(6), bottom, n - c.e(6), n - c.e(2) - t + 1)
    c.paint(neck, "K")
    c.paint(c.rect_px(c.e(3), n - c.e(2) - t + 1, n - c.e(3), n - c.e(2) + 1), "k")
    return (sx0, sy0, sx1, sy1)


def scene_px(c, x0, y0, x1, y1):
    """Sky, sun and a green hill in the pixel box [x0, x1) x [y0, y1)."""
    c.paint(c.rect_px(x0, y0, x1, y1), "c")
    w, h = x1 - x0, y1 - y0
    r = max(1.0, min(w, h) / 6.0)
    sx, sy = x1 - 1 - r - max(1, w // 10), y0 + max(1, h // 10) + r
    for y in range(y0, y1):
        for x in range(x0, x1):
            if (x + 0.5 - sx) ** 2 + (y + 0.5 - sy) ** 2 <= r * r:
                c.set(x, y, "s")
    for x in range(x0, x1):
        t = (x - x0 + 0.5) / w
        top = y1 - int(round(h * 0.6 * (1 - (1.6 * t - 0.6) ** 2)))
        top = min(max(top, y0 + max(3, h // 3)), y1 - 1)
        for y in range(top, y1):
            c.set(x, y, "n" if y == top else "G")


def small_window_px(c, x0, y0, x1, y1, title="B"):
    """A window outline with a title bar; returns the client's pixel box."""
    t = c.w
    c.paint(c.rect_px(x0, y0, x1, y1), "w", "k")
    bar = max(2, (y1 - y0) // 6)
    c.paint(c.rect_px(x0 + t, y0 + t, x1 - t, y0 + t + bar), title)
    c.paint(c.rect_px(x0, y0 + t + bar, x1, y0 + 2 * t + bar), "k")
    return (x0 + t, y0 + 2 * t + bar, x1 - t, y1 - t)


def draw_open(c):
    c.paint(c.rect(0, 6, 11, 15) | c.rect(0, 4.5, 5, 7), "Y", "k")
    c.paint(c.polygon([(3.5, 9), (16, 9), (12, 15), (0, 15)]), "y", "k")
    # An arrow arching out of the folder, its head pointing down and right.
    c.stroke([(9.2, 4.6), (10.2, 3.2), (11.6, 2.4), (13.0, 2.6), (14.0, 3.4)], "k")
    c.paint(c.polygon([(16, 2.2), (16, 6.2), (12.0, 6.2)]), "k")


def draw_save(c):
    t = c.w
    c.box(1, 1, 15, 15, "B", "k")
    c.box(3.5, 1, 12.5, 9, "w", "k")
    x0, x1 = c.e(3.5) + t + 1, c.e(12.5) - t - 1
    text_lines(c, x0 + 1, c.e(1) + t + 2, x1 - 1, c.e(9) - t - 1, "K", (1.0, 1.0))
    bottom = c.e(15) - t
    top = c.e(10)
    c.paint(c.rect_px(c.e(4), top, c.e(12), bottom), "m")
    c.paint(c.rect_px(c.e(6), top + max(1, (bottom - top) // 4), c.e(8), bottom), "K")


def draw_capture_rect(c):
    t = c.w
    last = c.e(15) - 1
    c.paint(c.rect_px(0, 0, last + 1, last + 1), "c")
    dotted_px(c, 0, 0, last, last, "k", "w")
    mid = last // 2
    gap, arm = t, max(3, c.e(3))
    for i in range(gap + 1, gap + 1 + arm):
        for j in range(-((t - 1) // 2), t // 2 + 1):
            for (x, y) in ((mid + i, mid + j), (mid - i, mid + j), (mid + j, mid + i), (mid + j, mid - i)):
                c.set(x, y, "r")
    for (x, y) in c.rect_px(mid - (t - 1) // 2, mid - (t - 1) // 2, mid + t // 2 + 1, mid + t // 2 + 1):
        c.set(x, y, "r")


def draw_full_screen_marks(c):
    t = c.w
    c.box(2, 2, 14, 12, "l", "k")
    c.box(4, 4, 12, 10, "c", "K")
    c.paint(c.rect(7, 12, 9, 13), "K")
    c.paint(c.rect_px(c.e(5), c.e(13), c.e(11), c.e(13) + t), "k")
    brackets_px(c, 0, 0, c.n - 1, c.n - 1, c.e(4), "r")


def draw_scroll_window(c):
    x0, y0, x1, y1 = small_window_px(c, 0, c.e(1), c.e(11), c.e(15))
    bar = max(2, c.e(2))
    c.paint(c.rect_px(x1 - bar, y0, x1, y1), "m")
    c.paint(c.rect_px(x1 - bar, y0 + (y1 - y0) // 3, x1, y0 + (y1 - y0) * 2 // 3), "K")
    text_lines(c, x0 + 1, y0 + 1, x1 - bar - 1, y1 - 1, "K")
    c.paint(c.polygon([(12, 3), (15, 3), (15, 9.5), (16, 9.5), (13.5, 13.5), (11, 9.5), (12, 9.5)]),
            "b", "k")


def draw_full_screen_desktop(c):
    x0, y0, x1, y1 = monitor_px(c, "b")
    inset = c.w
    brackets_px(c, x0 + inset, y0 + inset, x1 - 1 - inset, y1 - 1 - inset, max(3, c.e(3)), "w")


def draw_delayed_window(c):
    x0, y0, x1, y1 = small_window_px(c, 0, c.e(1), c.e(11), c.e(12))
    text_lines(c, x0 + 1, y0 + 1, x1 - 1, y1 - 1, "K", (0.8, 0.5))
    face = c.ellipse(7.5, 7.5, 16, 16)
    c.paint(face, "w", "k")
    bx0, by0, bx1 = c.e(7.5), c.e(7.5), c.e(16)
    mid = (bx0 + bx1 - 1) // 2
    t = c.w
    for y in range(by0 + t + 1, mid + t // 2 + 1):
        for j in range(t):
            c.set(mid + j - (t - 1) // 2, y, "k")
    for x in range(mid, bx1 - t - 1):
        for j in range(t):
            c.set(x, mid + j - (t - 1) // 2, "r")


def draw_client_area(c):
    t = c.w
    c.box(0, 1, 16, 15, "w", "k")
    top, bar = c.e(1), max(2, c.e(2))
    c.paint(c.rect_px(t, top + t, c.n - t, top + t + bar), "m")
    c.paint(c.rect_px(c.n - t - 1 - bar, top + t + 1, c.n - t - 1, top + t + bar - 1), "l")
    c.paint(c.rect_px(0, top + t + bar, c.n, top + 2 * t + bar), "k")
    fx0, fy0, fx1, fy1 = t, top + 2 * t + bar, c.n - t, c.e(15) - t
    c.paint(c.rect_px(fx0 + t + 1, fy0 + t + 1, fx1 - t - 1, fy1 - t - 1), "c")
    dotted_px(c, fx0, fy0, fx1 - 1, fy1 - 1, "r", "w")


def draw_window_with_title(c):
    x0, y0, x1, y1 = small_window_px(c, c.e(2), c.e(2), c.n - c.e(2), c.n - c.e(2))
    t = c.w
    c.set(x1 - t - 1, c.e(2) + t, "w")
    text_lines(c, x0 + t + 1, y0 + t + 1, x1 - t - 1, y1 - 1, "K", (1.0, 0.6, 0.85))
    brackets_px(c, 0, 0, c.n - 1, c.n - 1, c.e(4), "r")


def draw_work_area(c):
    t = c.w
    c.box(0, 1, 16, 15, "t", "k")
    bottom = c.e(15) - t
    bar = max(2, c.e(2.5))
    c.paint(c.rect_px(t, bottom - bar, c.n - t, bottom), "l")
    c.paint(c.rect_px(t, bottom - bar - 1, c.n - t, bottom - bar), "w")
    c.paint(c.rect_px(t + 1, bottom - bar + (1 if bar > 2 else 0), t + 1 + c.e(3), bottom - (1 if bar > 2 else 0)), "n")
    dotted_px(c, c.e(2), c.e(3), c.n - c.e(2) - 1, bottom - bar - 1 - c.e(1.5), "w", "k")


def draw_copy(c):
    document_px(c, 0, 0, c.e(10), c.e(11))
    document_px(c, c.e(6), c.e(5), c.n, c.n)


def draw_edit_paint(c):
    t = c.w
    fx0, fy0 = 0, c.e(4)
    fx1, fy1 = c.e(13), c.n
    c.paint(c.rect_px(fx0, fy0, fx1, fy1), None, "k")
    scene_px(c, fx0 + t, fy0 + t, fx1 - t, fy1 - t)
    pencil(c, (5.2, 10.8), (15.6, 0.4), 3.0)


def pencil(c, tip, end, girth):
    """A pencil from its point to its eraser end, `girth` design units thick."""
    (ax, ay), (bx, by) = tip, end
    length = math.hypot(bx - ax, by - ay)
    ux, uy = (bx - ax) / length, (by - ay) / length
    vx, vy = -uy, ux
    h = girth / 2.0
    cone = 2.8 if c.n < 32 else 3.2
    body = [(ax + ux * cone + vx * h, ay + uy * cone + vy * h), (bx + vx * h, by + vy * h),
            (bx - vx * h, by - vy * h), (ax + ux * cone - vx * h, ay + uy * cone - vy * h)]
    shape = c.polygon(body) | c.polygon([(ax, ay), body[0], body[3]])

    def colour(x, y):
        px, py = (x + 0.5) / c.s - ax, (y + 0.5) / c.s - ay
        along, across = px * ux + py * uy, px * vx + py * vy
        if along < cone * 0.45:
            return "k"
        if along < cone:
            return "e"
        if along > length - 2.2:
            return "p"
        if along > length - 3.4:
            return "m"
        # A shaded side once the body is wide enough to show two tones.
        return "Y" if c.n >= 32 and across > 0 else "y"
    c.paint(shape, colour, "k")


def magnifier_px(c, plus):
    c.paint(c.polygon([(8.6, 10.2), (10.2, 8.6), (15.8, 14.2), (14.2, 15.8)]), "d", "k")
    lens = c.ellipse(0, 0, 11.5, 11.5)
    c.paint(lens, "c", "k")
    c.arc(5.75, 5.75, 3.6, 190, 260, "w")
    bx0, bx1 = c.e(0), c.e(11.5)
    mid = (bx0 + bx1) // 2
    half = max(2, c.e(3))
    bar = max(2, c.e(2)) if c.n < 32 else 4
    lo = mid - bar // 2
    c.paint(c.rect_px(mid - half, lo, mid + half, lo + bar), "k")
    if plus:
        c.paint(c.rect_px(lo, mid - half, lo + bar, mid + half), "k")


def draw_zoom_in(c):
    magnifier_px(c, True)


def draw_zoom_out(c):
    magnifier_px(c, False)


def draw_cut(c):
    t = c.w
    for (x0, x1, xp) in ((1.0, 4.2, 9.4), (15.0, 11.8, 6.6)):
        c.paint(c.polygon([(x0, 0), (x1, 0), (xp, 7.8), (16 - xp, 8.2)]), "w", "k")
    for (x0, x1) in ((0.5, 7.5), (8.5, 15.5)):
        outer = c.ellipse(x0, 9.5, x1, 15.5)
        inner = c.ellipse(x0 + 1.8, 11.3, x1 - 1.8, 13.7)
        c.paint(outer - inner, "R")
    c.stroke([(7.2, 7.5), (4.8, 10.2)], "R", max(2, 2 * t))
    c.stroke([(8.8, 7.5), (11.2, 10.2)], "R", max(2, 2 * t))
    c.paint(c.rect(7.4, 6.4, 8.6, 7.6), "k")


def clipboard_px(c, x0, x1):
    """A brown board with its clip, between design x0 and x1."""
    c.box(x0, 1, x1, 16, "e", "k")
    mid = (x0 + x1) / 2.0
    c.box(mid - 2.8, 0, mid + 2.8, 3.6, "l", "k")
    c.paint(c.rect_px(c.e(mid - 1.2), c.w + 1, c.e(mid + 1.2), c.w + 2), "K")


def draw_paste(c):
    clipboard_px(c, 1, 12)
    document_px(c, c.e(6), c.e(5), c.n, c.n)


def draw_properties(c):
    t = c.w
    x0, y0, x1, y1 = c.e(2), 0, c.n - c.e(2), c.e(15)
    document_px(c, x0, y0, x1, y1, lines=False)
    pitch = 2 * (t + 1) if c.n < 24 else 3 * t + 1
    ear = max(3, (x1 - x0) // 3)
    for i, y in enumerate(range(y0 + ear + t + 1, y1 - t - 1, pitch)):
        c.paint(c.rect_px(x0 + t + 1, y, x0 + 2 * t + 1, y + t), "b")
        length = (x1 - x0 - 3 * t - 4) * (1.0, 0.8, 0.9, 0.7)[i % 4]
        c.paint(c.rect_px(x0 + 2 * t + 3, y, x0 + 2 * t + 3 + int(length), y + t), "K")


def disc_px(c):
    c.paint(c.ellipse(0, 0, 16, 16), "b", "B")


def draw_about(c):
    disc_px(c)
    stem = max(2, c.e(2))
    mid = c.n // 2
    x0 = mid - stem // 2
    dot = c.e(3.2)
    c.paint(c.rect_px(x0, dot, x0 + stem, dot + stem), "w")
    top = dot + stem + max(1, c.e(1.2))
    foot = c.n - c.e(3.2)
    c.paint(c.rect_px(x0, top, x0 + stem, foot), "w")
    c.paint(c.rect_px(x0 - max(1, stem // 2), top, x0, top + max(1, c.w)), "w")
    c.paint(c.rect_px(x0 - max(1, stem // 2), foot - max(1, c.w), x0 + stem + max(1, stem // 2), foot), "w")


def draw_help(c):
    disc_px(c)
    stem = max(2, c.e(1.8))
    mid = c.n // 2
    x0 = mid - stem // 2
    # The hook: the upper half of a ring and its right side a little lower,
    # then a neck down to the stem over the centre.
    cx, cy = c.n / 2.0, c.e(6)
    r_out = c.e(4.0)
    r_in = r_out - stem
    hook = {(x, y) for y in range(c.n) for x in range(c.n)
            if r_in ** 2 < (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r_out ** 2
            and (y < cy or (x >= cx and y < cy + stem // 2 + 1))}
    c.paint(hook, "w")
    neck_top = int(cy) + stem // 2
    c.paint(c.polygon([((cx + r_in) / c.s, neck_top / c.s), ((cx + r_out) / c.s, neck_top / c.s),
                       ((x0 + stem) / c.s, (neck_top + stem + 1) / c.s),
                       (x0 / c.s, (neck_top + stem + 1) / c.s)]), "w")
    foot = c.n - c.e(5)
    c.paint(c.rect_px(x0, neck_top + stem, x0 + stem, foot), "w")
    dot = c.n - c.e(3.4) - stem
    c.paint(c.rect_px(x0, dot, x0 + stem, dot + stem), "w")


def draw_exit(c):
    c.box(0, 0, 10, 16, "e", "k")
    c.box(2, 2, 8, 7, None, "E")
    c.box(2, 8.5, 8, 14, None, "E")
    c.paint(c.polygon([(7, 5.6), (11.6, 5.6), (11.6, 3), (16, 7.5), (11.6, 12), (11.6, 9.4), (7, 9.4)]),
            "n", "k")


def draw_wallpaper(c):
    x0, y0, x1, y1 = monitor_px(c, "c")
    scene_px(c, x0, y0, x1, y1)


def draw_print(c):
    t = c.w
    c.box(4, 0.5, 12, 6, "w", "k")
    text_lines(c, c.e(4) + t + 1, c.e(0.5) + t + 1, c.e(12) - t - 1, c.e(5), "K", (1.0, 0.7))
    body = c.polygon([(2, 5), (14, 5), (16, 7), (16, 12), (0, 12), (0, 7)])
    c.paint(body, "l", "k")
    band0 = c.e(9)
    c.paint(c.rect_px(t, band0, c.n - t, c.e(12) - t), "K")
    c.paint(c.rect_px(c.e(11), c.e(7.5), c.e(13), c.e(7.5) + max(1, c.e(1))), "G")
    c.paint(c.rect_px(c.e(3), c.e(10), c.n - c.e(3), c.e(10) + t), "k")
    paper = c.rect_px(c.e(3), c.e(10) + t, c.n - c.e(3), c.e(15.5))
    c.paint(paper, "w", "k")
    px0, px1 = c.e(3) + t + 1, c.n - c.e(3) - t - 1
    text_lines(c, px0 + 1, c.e(10) + 2 * t + 1, px1 - 1, c.e(15.5) - t - 1, "K", (1.0, 0.6))
    # the paper comes out of the slot: no edge across its top
    for x in range(c.e(3) + t, c.n - c.e(3) - t):
        for y in range(c.e(10) + t, c.e(10) + 2 * t):
            c.set(x, y, "w")


def draw_copy_to_clipboard(c):
    t = c.w
    clipboard_px(c, 1, 14)
    x0, y0, x1, y1 = c.e(3), c.e(5), c.e(12.5), c.e(14.5)
    c.paint(c.rect_px(x0, y0, x1, y1), None, "k")
    scene_px(c, x0 + t, y0 + t, x1 - t, y1 - t)


# Each picture twice: the hand-set 16-pixel cell and the drawing for the
# larger sizes.
PICTURES = [
    (pic_open, draw_open),                              # 1
    (pic_save, draw_save),                              # 2
    (pic_capture_rect, draw_capture_rect),              # 3
    (pic_full_screen_marks, draw_full_screen_marks),    # 4
    (pic_scroll_window, draw_scroll_window),            # 5
    (pic_full_screen_desktop, draw_full_screen_desktop),# 6
    (pic_delayed_window, draw_delayed_window),          # 7
    (pic_client_area, draw_client_area),                # 8
    (pic_window_with_title, draw_window_with_title),    # 9
    (pic_work_area, draw_work_area),                    # 10
    (pic_copy, draw_copy),                              # 11
    (pic_edit_paint, draw_edit_paint),                  # 12
    (pic_zoom_in, draw_zoom_in),                        # 13
    (pic_zoom_out, draw_zoom_out),                      # 14
    (pic_cut, draw_cut),                                # 15
    (pic_paste, draw_paste),                            # 16
    (pic_properties, draw_properties),                  # 17
    (pic_about, draw_about),                            # 18
    (pic_exit, draw_exit),                              # 19
    (pic_wallpaper, draw_wallpaper),                    # 20
    (pic_print, draw_print),                            # 21
    (pic_copy_to_clipboard, draw_copy_to_clipboard),    # 22
    (pic_help, draw_help),                              # 23
]


# --- file writers ---------------------------------------------------------

# The sizes the toolbar shows its pictures at: 100%, 125%, 150% and 200%.
TOOLBAR_SIZES = [16, 20, 24, 32]


def picture_rows(n, hand, drawn):
    if n == CELL:
        return hand().rows()
    canvas = Canvas(n)
    drawn(canvas)
    return canvas.rows()


def toolbar_pixels(n):
    """Returns rows (top first) of RGB tuples for the whole strip of n-pixel
    pictures."""
    width = n * len(PICTURES)
    rows = [[MASK] * width for _ in range(n)]
    for i, (hand, drawn) in enumerate(PICTURES):
        for y, row in enumerate(picture_rows(n, hand, drawn)):
            for x, ch in enumerate(row):
                rows[y][i * n + x] = PALETTE[ch]
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
    inside.bbox = (x0, y0, x1, y1)
    return inside


def _box(x0, y0, x1, y1):
    def inside(px, py):
        return x0 <= px < x1 and y0 <= py < y1
    inside.bbox = (x0, y0, x1, y1)
    return inside


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
        # Only pixels that a shape's box touches can have samples inside it;
        # at 256 pixels that is most of the time saved.
        bx0, by0, bx1, by1 = getattr(shape, "bbox", (0, 0, n, n))
        for y in range(max(0, math.floor(by0)), min(n, math.ceil(by1))):
            for x in range(max(0, math.floor(bx0)), min(n, math.ceil(bx1))):
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
        if n <= 48:
            k = int(px - rx0) + int(py - ry0)
        elif py < ry0 + line or py >= ry1 - line:
            # Wide edges cut square across, not on the diagonal.
            k = int(px - rx0)
        else:
            k = int(py - ry0)
        return (k // dash) % 2 == 0
    dashed.bbox = (rx0, ry0, rx1, ry1)
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


def png_bytes(rows):
    """RGBA rows as a PNG, the form icons take from 256 pixels up."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for px in row:
            raw += bytes(px)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def icon_image(n):
    rows = icon_pixels(n)
    if n >= 256:
        return png_bytes(rows)
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


# The icon at each size Windows shows it: the small icon and the large one at
# 100% to 200%, and the big views of Explorer.
ICON_SIZES = [16, 20, 24, 32, 40, 48, 64, 256]


def main():
    check_palette()
    for n in TOOLBAR_SIZES:
        write(os.path.join(RESOURCES, "toolbar%d.bmp" % n), bmp_bytes(toolbar_pixels(n)))
    write(os.path.join(RESOURCES, "grabwell.ico"), ico_bytes(ICON_SIZES))


if __name__ == "__main__":
    main()
