#!/usr/bin/env python3
"""Draws the icon libraries shipped in data/ (activity.icl, events.icl, holiday.icl, misc1.icl,
misc2.icl and the sets in data/BonusIcons) and writes them as 16-bit icon libraries: an "MZ" stub, an
"NE" header and a resource table holding one icon group and one 32 x 32 image of 32-bit colour (with
its transparency mask) per icon.

Python standard library only. The icons are simple shapes filled at four times the size and averaged
down, so their edges are smooth. Run from anywhere: python3 scripts/make_icons.py [DATA_FOLDER]
"""
import math
import os
import struct
import sys

SIZE = 32
SS = 4  # samples each way per pixel
N = SIZE * SS


def rgb(hexcode):
    hexcode = hexcode.lstrip("#")
    return (int(hexcode[0:2], 16), int(hexcode[2:4], 16), int(hexcode[4:6], 16), 255)


INK = rgb("202020")
WHITE = rgb("ffffff")
RED = rgb("d62828")
DARKRED = rgb("8b1a1a")
ORANGE = rgb("f77f00")
YELLOW = rgb("fcbf49")
GOLD = rgb("e0a800")
GREEN = rgb("2a9d3f")
DARKGREEN = rgb("1b5e20")
LIGHTGREEN = rgb("8bc34a")
BLUE = rgb("1d6fd6")
LIGHTBLUE = rgb("7ec8f0")
NAVY = rgb("1d3557")
PURPLE = rgb("7b2cbf")
PINK = rgb("f48fb1")
BROWN = rgb("8d5524")
TAN = rgb("d9a066")
GREY = rgb("9e9e9e")
LIGHTGREY = rgb("e0e0e0")
SKIN = rgb("f1c27d")


class Icon:
    def __init__(self):
        self.px = [[(0, 0, 0, 0)] * N for _ in range(N)]

    def fill(self, inside, box, color):
        """Paints every sample whose centre (in icon pixels) satisfies inside(x, y) within box."""
        x0, y0, x1, y1 = box
        sx0 = max(0, int(math.floor(x0 * SS)))
        sy0 = max(0, int(math.floor(y0 * SS)))
        sx1 = min(N, int(math.ceil(x1 * SS)))
        sy1 = min(N, int(math.ceil(y1 * SS)))
        for sy in range(sy0, sy1):
            y = (sy + 0.5) / SS
            row = self.px[sy]
            for sx in range(sx0, sx1):
                if inside((sx + 0.5) / SS, y):
                    row[sx] = color

    def pixels(self):
        """32 x 32 rows of (r, g, b, a), top row first."""
        out = []
        for y in range(SIZE):
            row = []
            for x in range(SIZE):
                r = g = b = a = 0
                for sy in range(y * SS, y * SS + SS):
                    for sx in range(x * SS, x * SS + SS):
                        pr, pg, pb, pa = self.px[sy][sx]
                        r += pr * pa
                        g += pg * pa
                        b += pb * pa
                        a += pa
                if a == 0:
                    row.append((0, 0, 0, 0))
                else:
                    row.append((r // a, g // a, b // a, a // (SS * SS)))
            out.append(row)
        return out


# ---- shapes (coordinates in icon pixels, 0..32) ----

def ellipse(ic, cx, cy, rx, ry, color, outline=1.0):
    if outline:
        ox, oy = rx + outline, ry + outline
        ic.fill(lambda x, y: ((x - cx) / ox) ** 2 + ((y - cy) / oy) ** 2 <= 1,
                (cx - ox, cy - oy, cx + ox, cy + oy), INK)
    ic.fill(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1, (cx - rx, cy - ry, cx + rx, cy + ry), color)


def circle(ic, cx, cy, r, color, outline=1.0):
    ellipse(ic, cx, cy, r, r, color, outline)


def rect(ic, x0, y0, x1, y1, color, outline=1.0, radius=0.0):
    def inside_rect(a0, b0, a1, b1, rad):
        def test(x, y):
            if x < a0 or x > a1 or y < b0 or y > b1:
                return False
            if rad <= 0:
                return True
            cx = min(max(x, a0 + rad), a1 - rad)
            cy = min(max(y, b0 + rad), b1 - rad)
            return (x - cx) ** 2 + (y - cy) ** 2 <= rad * rad
        return test
    if outline:
        o = outline
        ic.fill(inside_rect(x0 - o, y0 - o, x1 + o, y1 + o, radius + o if radius else 0),
                (x0 - o, y0 - o, x1 + o, y1 + o), INK)
    ic.fill(inside_rect(x0, y0, x1, y1, radius), (x0, y0, x1, y1), color)


def _inside_polygon(points):
    def test(x, y):
        inside = False
        n = len(points)
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return inside
    return test


def _segment_distance(x, y, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length))
    px, py = ax + t * dx, ay + t * dy
    return math.hypot(x - px, y - py)


def _box(points, grow):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (min(xs) - grow, min(ys) - grow, max(xs) + grow, max(ys) + grow)


def polygon(ic, points, color, outline=1.0):
    inside = _inside_polygon(points)
    if outline:
        edges = list(zip(points, points[1:] + points[:1]))
        ic.fill(lambda x, y: inside(x, y) or min(_segment_distance(x, y, a, b) for a, b in edges) <= outline,
                _box(points, outline), INK)
    ic.fill(inside, _box(points, 0), color)


def line(ic, points, width, color):
    """A thick polyline with round ends."""
    segments = list(zip(points, points[1:]))
    half = width / 2
    ic.fill(lambda x, y: min(_segment_distance(x, y, a, b) for a, b in segments) <= half, _box(points, half), color)


def star_points(cx, cy, outer, inner, count=5, turn=-90):
    pts = []
    for i in range(count * 2):
        r = outer if i % 2 == 0 else inner
        angle = math.radians(turn + i * 180 / count)
        pts.append((cx + r * math.cos(angle), cy + r * math.sin(angle)))
    return pts


def heart_points(cx, cy, s):
    pts = []
    for i in range(48):
        t = 2 * math.pi * i / 48
        x = 16 * math.sin(t) ** 3
        y = -(13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t))
        pts.append((cx + x * s, cy + y * s))
    return pts


DIGITS = {
    "0": ["111", "101", "101", "101", "111"], "1": ["010", "110", "010", "010", "111"],
    "2": ["111", "001", "111", "100", "111"], "3": ["111", "001", "111", "001", "111"],
    "4": ["101", "101", "111", "001", "001"], "5": ["111", "100", "111", "001", "111"],
    "6": ["111", "100", "111", "101", "111"], "7": ["111", "001", "010", "010", "010"],
    "8": ["111", "101", "111", "101", "111"], "9": ["111", "101", "111", "001", "111"],
    "!": ["010", "010", "010", "000", "010"], "?": ["111", "001", "011", "000", "010"],
    "$": ["011", "110", "010", "011", "110"], "+": ["000", "010", "111", "010", "000"],
}


def text(ic, s, cx, cy, cell, color):
    """Blocky characters of 3 x 5 cells centred on (cx, cy)."""
    width = len(s) * 4 * cell - cell
    x = cx - width / 2
    y = cy - 2.5 * cell
    for ch in s:
        for r, bits in enumerate(DIGITS[ch]):
            for c, bit in enumerate(bits):
                if bit == "1":
                    x0, y0 = x + c * cell, y + r * cell
                    ic.fill(lambda px, py, x0=x0, y0=y0: x0 <= px < x0 + cell and y0 <= py < y0 + cell,
                            (x0, y0, x0 + cell, y0 + cell), color)
        x += 4 * cell


# ---- symbols: each draws one icon with the given main colour ----

def cake(ic, c):
    rect(ic, 6, 16, 26, 28, c, radius=1)
    rect(ic, 6, 16, 26, 19, WHITE, outline=0)
    for x in (10, 16, 22):
        rect(ic, x - 1, 9, x + 1, 16, LIGHTBLUE, outline=0.7)
        ellipse(ic, x, 6.5, 1.4, 2.2, YELLOW, outline=0)


def gift(ic, c):
    rect(ic, 5, 13, 27, 28, c)
    rect(ic, 4, 9, 28, 14, c)
    rect(ic, 14.5, 9, 17.5, 28, YELLOW, outline=0)
    ellipse(ic, 12, 6.5, 4, 2.5, YELLOW, outline=0.8)
    ellipse(ic, 20, 6.5, 4, 2.5, YELLOW, outline=0.8)


def heart(ic, c):
    polygon(ic, heart_points(16, 15, 0.82), c)


def star(ic, c):
    polygon(ic, star_points(16, 17, 14, 6), c)


def balloon(ic, c):
    line(ic, [(16, 22), (14, 26), (17, 30)], 1, INK)
    ellipse(ic, 16, 12, 8, 10, c)
    ellipse(ic, 13, 8, 1.5, 2.5, WHITE, outline=0)


def bell(ic, c):
    polygon(ic, [(16, 3), (21, 6), (23, 14), (27, 23), (5, 23), (9, 14), (11, 6)], c)
    circle(ic, 16, 26, 2.5, GOLD)


def candle(ic, c):
    rect(ic, 12, 12, 20, 29, c)
    line(ic, [(16, 12), (16, 9)], 1, INK)
    polygon(ic, [(16, 2), (19, 7), (16, 10), (13, 7)], ORANGE, outline=0.6)


def tree(ic, c):
    rect(ic, 14, 25, 18, 30, BROWN)
    polygon(ic, [(16, 2), (26, 14), (21, 14), (28, 25), (4, 25), (11, 14), (6, 14)], c)
    for x, y, col in ((12, 18, RED), (20, 20, YELLOW), (16, 11, BLUE)):
        circle(ic, x, y, 1.5, col, outline=0)


def pumpkin(ic, c):
    rect(ic, 15, 4, 17.5, 10, DARKGREEN)
    ellipse(ic, 10, 18, 7, 10, c)
    ellipse(ic, 22, 18, 7, 10, c)
    ellipse(ic, 16, 18, 7, 10.5, c)


def egg(ic, c):
    ellipse(ic, 16, 17, 10, 13, c)
    line(ic, [(7, 14), (11, 11), (16, 14), (21, 11), (25, 14)], 2, WHITE)
    line(ic, [(7, 21), (11, 24), (16, 21), (21, 24), (25, 21)], 2, YELLOW)


def shamrock(ic, c):
    line(ic, [(16, 18), (18, 29)], 2, DARKGREEN)
    for cx, cy in ((16, 9), (10, 16), (22, 16)):
        circle(ic, cx, cy, 5.5, c)


def flag(ic, c):
    line(ic, [(7, 3), (7, 30)], 2, BROWN)
    polygon(ic, [(8, 4), (27, 7), (22, 12), (27, 18), (8, 17)], c)


def fireworks(ic, c):
    for i in range(12):
        a = math.radians(i * 30)
        line(ic, [(16 + 4 * math.cos(a), 16 + 4 * math.sin(a)), (16 + 13 * math.cos(a), 16 + 13 * math.sin(a))],
             1.8, c if i % 2 == 0 else YELLOW)
    circle(ic, 16, 16, 2.5, WHITE)


def snowflake(ic, c):
    for i in range(6):
        a = math.radians(i * 60)
        ex, ey = 16 + 13 * math.cos(a), 16 + 13 * math.sin(a)
        line(ic, [(16, 16), (ex, ey)], 2, c)
        mx, my = 16 + 8 * math.cos(a), 16 + 8 * math.sin(a)
        for d in (-40, 40):
            b = a + math.radians(d)
            line(ic, [(mx, my), (mx + 4 * math.cos(b), my + 4 * math.sin(b))], 1.6, c)


def sun(ic, c):
    for i in range(8):
        a = math.radians(i * 45)
        line(ic, [(16 + 9 * math.cos(a), 16 + 9 * math.sin(a)), (16 + 14 * math.cos(a), 16 + 14 * math.sin(a))], 2.2, ORANGE)
    circle(ic, 16, 16, 7.5, c)


def cloud(ic, c):
    for cx, cy, r in ((10, 19, 6), (17, 14, 8), (23, 19, 6)):
        circle(ic, cx, cy, r, c)
    rect(ic, 10, 19, 23, 25, c, outline=0)


def rain(ic, c):
    cloud(ic, LIGHTGREY)
    for x in (10, 16, 22):
        line(ic, [(x, 27), (x - 2, 31)], 1.6, c)


def umbrella(ic, c):
    line(ic, [(16, 8), (16, 26), (13, 28), (11, 26)], 1.8, INK)
    polygon(ic, [(2, 16)] + [(16 - 14 * math.cos(math.radians(a)), 16 - 12 * math.sin(math.radians(a)))
                             for a in range(0, 181, 15)], c)


def moon(ic, c):
    circle(ic, 15, 16, 12, c)
    ic.fill(lambda x, y: (x - 21) ** 2 + (y - 12) ** 2 <= 100, (11, 2, 31, 22), (0, 0, 0, 0))


def lightning(ic, c):
    polygon(ic, [(18, 2), (8, 18), (15, 18), (12, 30), (25, 12), (17, 12), (22, 2)], c)


def snowman(ic, c):
    circle(ic, 16, 22, 8, WHITE)
    circle(ic, 16, 10, 6, WHITE)
    rect(ic, 11, 2, 21, 5, c, outline=0.8)
    polygon(ic, [(16, 10), (21, 11), (16, 12)], ORANGE, outline=0)
    for y in (19, 23, 27):
        circle(ic, 16, y, 0.9, INK, outline=0)


def flower(ic, c):
    line(ic, [(16, 18), (16, 30)], 2, DARKGREEN)
    for i in range(6):
        a = math.radians(i * 60)
        circle(ic, 16 + 6 * math.cos(a), 12 + 6 * math.sin(a), 4, c)
    circle(ic, 16, 12, 3.5, YELLOW)


def leaf(ic, c):
    polygon(ic, [(16, 2), (24, 10), (26, 18), (16, 28), (6, 18), (8, 10)], c)
    line(ic, [(16, 6), (16, 31)], 1.4, BROWN)


def apple(ic, c):
    line(ic, [(16, 9), (18, 3)], 1.8, BROWN)
    ellipse(ic, 21, 5, 4, 2, GREEN, outline=0.6)
    circle(ic, 12.5, 18, 8.5, c)
    circle(ic, 19.5, 18, 8.5, c)
    ic.fill(lambda x, y: (x - 12.5) ** 2 + (y - 18) ** 2 <= 72 or (x - 19.5) ** 2 + (y - 18) ** 2 <= 72, (4, 9, 28, 27), c)


def book(ic, c):
    rect(ic, 6, 4, 26, 28, c)
    rect(ic, 9, 4, 26, 26, WHITE, outline=0)
    rect(ic, 9, 24.5, 26, 28, c, outline=0)
    for y in (9, 13, 17):
        line(ic, [(12, y), (23, y)], 1.2, GREY)


def pencil(ic, c):
    polygon(ic, [(6, 26), (22, 10), (26, 14), (10, 30)], c)
    polygon(ic, [(6, 26), (10, 30), (3, 31)], TAN)
    polygon(ic, [(22, 10), (25, 7), (29, 11), (26, 14)], PINK)


def car(ic, c):
    polygon(ic, [(3, 22), (4, 16), (9, 15), (12, 9), (22, 9), (26, 15), (29, 17), (29, 22)], c)
    rect(ic, 13, 11, 17, 15, LIGHTBLUE, outline=0)
    rect(ic, 19, 11, 23, 15, LIGHTBLUE, outline=0)
    circle(ic, 9, 23, 3.5, INK, outline=0)
    circle(ic, 23, 23, 3.5, INK, outline=0)
    circle(ic, 9, 23, 1.5, GREY, outline=0)
    circle(ic, 23, 23, 1.5, GREY, outline=0)


def plane(ic, c):
    polygon(ic, [(16, 2), (18, 6), (18, 12), (30, 19), (30, 22), (18, 18), (18, 25), (22, 28), (22, 30),
                 (16, 28), (10, 30), (10, 28), (14, 25), (14, 18), (2, 22), (2, 19), (14, 12), (14, 6)], c)


def house(ic, c):
    rect(ic, 7, 15, 25, 29, TAN)
    polygon(ic, [(16, 3), (29, 16), (3, 16)], c)
    rect(ic, 13.5, 21, 18.5, 29, BROWN, outline=0.8)
    rect(ic, 9, 18, 12, 21, LIGHTBLUE, outline=0.6)


def ball(ic, c):
    circle(ic, 16, 16, 13, WHITE)
    polygon(ic, star_points(16, 16, 5, 5, count=5), c, outline=0)
    for i in range(5):
        a = math.radians(-90 + i * 72)
        line(ic, [(16 + 5 * math.cos(a), 16 + 5 * math.sin(a)), (16 + 12 * math.cos(a), 16 + 12 * math.sin(a))], 1.2, INK)


def basketball(ic, c):
    circle(ic, 16, 16, 13, c)
    line(ic, [(3, 16), (29, 16)], 1.2, INK)
    line(ic, [(16, 3), (16, 29)], 1.2, INK)
    line(ic, [(7, 6), (11, 16), (7, 26)], 1.2, INK)
    line(ic, [(25, 6), (21, 16), (25, 26)], 1.2, INK)


def note(ic, c):
    line(ic, [(13, 25), (13, 5), (25, 3), (25, 21)], 2, INK)
    line(ic, [(13, 9), (25, 7)], 2.5, INK)
    ellipse(ic, 10, 25, 4, 3, c)
    ellipse(ic, 22, 22, 4, 3, c)


def cup(ic, c):
    line(ic, [(23, 13), (28, 14), (27, 20), (22, 22)], 2, INK)
    polygon(ic, [(6, 10), (24, 10), (22, 27), (8, 27)], c)
    line(ic, [(11, 7), (12, 3)], 1.2, GREY)
    line(ic, [(17, 7), (18, 3)], 1.2, GREY)


def cutlery(ic, c):
    line(ic, [(10, 4), (10, 29)], 2.4, c)
    for x in (7, 10, 13):
        line(ic, [(x, 3), (x, 10)], 1.4, c)
    line(ic, [(7, 10), (13, 10)], 1.4, c)
    polygon(ic, [(22, 3), (25, 8), (25, 16), (23, 16), (23, 29), (21, 29), (21, 16), (19, 16), (19, 8)], c)


def medical(ic, c):
    rect(ic, 12, 4, 20, 28, c, radius=1)
    rect(ic, 4, 12, 28, 20, c, radius=1)
    rect(ic, 12, 4, 20, 28, c, outline=0, radius=1)


def pill(ic, c):
    ends = [(9, 23), (23, 9)]
    line(ic, ends, 12, INK)
    line(ic, ends, 10, WHITE)
    ic.fill(lambda x, y: x < y and _segment_distance(x, y, *ends) <= 5, (3, 3, 29, 29), c)
    line(ic, [(12, 12), (20, 20)], 1.2, INK)


def tooth(ic, c):
    polygon(ic, [(6, 8), (10, 4), (16, 6), (22, 4), (26, 8), (25, 17), (22, 29), (19, 29), (17, 20), (15, 20),
                 (13, 29), (10, 29), (7, 17)], c)


def clock(ic, c):
    circle(ic, 16, 16, 13, c)
    circle(ic, 16, 16, 10.5, WHITE, outline=0)
    line(ic, [(16, 16), (16, 8)], 1.8, INK)
    line(ic, [(16, 16), (22, 19)], 1.8, INK)
    for i in range(12):
        a = math.radians(i * 30)
        circle(ic, 16 + 9 * math.cos(a), 16 + 9 * math.sin(a), 0.6, INK, outline=0)


def phone(ic, c):
    rect(ic, 9, 2, 23, 30, c, radius=2)
    rect(ic, 11, 5, 21, 24, LIGHTBLUE, outline=0)
    circle(ic, 16, 27, 1.3, WHITE, outline=0)


def envelope(ic, c):
    rect(ic, 3, 8, 29, 26, c)
    line(ic, [(3, 8), (16, 18), (29, 8)], 1.4, INK)


def calendar_page(ic, c, day="31"):
    rect(ic, 4, 5, 28, 29, WHITE)
    rect(ic, 4, 5, 28, 11, c, outline=0)
    for x in (10, 22):
        line(ic, [(x, 2), (x, 8)], 2, GREY)
    text(ic, day, 16, 20.5, 1.6, INK)


def key(ic, c):
    circle(ic, 10, 16, 7, c)
    circle(ic, 10, 16, 3, (0, 0, 0, 0), outline=0)
    rect(ic, 16, 14.5, 29, 17.5, c, outline=0.8)
    rect(ic, 24, 17.5, 26.5, 22, c, outline=0.8)


def camera(ic, c):
    rect(ic, 11, 6, 20, 10, c)
    rect(ic, 3, 9, 29, 27, c, radius=2)
    circle(ic, 16, 18, 6.5, LIGHTGREY)
    circle(ic, 16, 18, 3.5, NAVY, outline=0)


def ring(ic, c):
    circle(ic, 16, 20, 10, c)
    circle(ic, 16, 20, 7, (0, 0, 0, 0), outline=1)
    polygon(ic, [(12, 6), (20, 6), (23, 9), (16, 14), (9, 9)], LIGHTBLUE)


def coin(ic, c):
    circle(ic, 16, 16, 13, c)
    circle(ic, 16, 16, 10, c, outline=0.8)
    text(ic, "$", 16, 16, 2.4, INK)


def trophy(ic, c):
    line(ic, [(9, 8), (4, 9), (6, 15), (11, 17)], 2, INK)
    line(ic, [(23, 8), (28, 9), (26, 15), (21, 17)], 2, INK)
    polygon(ic, [(8, 4), (24, 4), (22, 15), (18, 19), (18, 24), (14, 24), (14, 19), (10, 15)], c)
    rect(ic, 9, 24, 23, 29, BROWN)


def cap(ic, c):
    polygon(ic, [(16, 6), (30, 12), (16, 18), (2, 12)], c)
    polygon(ic, [(8, 15), (24, 15), (24, 22), (16, 25), (8, 22)], c)
    line(ic, [(26, 13), (26, 23)], 1.2, YELLOW)
    circle(ic, 26, 24, 1.5, YELLOW, outline=0)


def bike(ic, c):
    circle(ic, 8, 21, 6, (0, 0, 0, 0), outline=1.6)
    circle(ic, 24, 21, 6, (0, 0, 0, 0), outline=1.6)
    line(ic, [(8, 21), (13, 12), (22, 12), (24, 21)], 2, c)
    line(ic, [(13, 12), (16, 21), (22, 12)], 2, c)
    line(ic, [(16, 21), (8, 21)], 2, c)
    line(ic, [(12, 9), (15, 9)], 2, INK)
    line(ic, [(22, 12), (21, 7), (24, 7)], 2, INK)


def mountain(ic, c):
    polygon(ic, [(1, 28), (12, 8), (18, 18), (22, 13), (31, 28)], c)
    polygon(ic, [(9.2, 13), (12, 8), (14.8, 13), (12, 11)], WHITE, outline=0)
    circle(ic, 25, 6, 3, YELLOW)


def fish(ic, c):
    polygon(ic, [(4, 16), (10, 9), (20, 8), (26, 16), (20, 24), (10, 23)], c)
    polygon(ic, [(25, 16), (31, 10), (31, 22)], c)
    circle(ic, 10, 14, 1.3, INK, outline=0)


def paw(ic, c):
    ellipse(ic, 16, 21, 7, 6, c)
    for cx, cy in ((7, 13), (12, 7), (20, 7), (25, 13)):
        ellipse(ic, cx, cy, 3, 3.6, c)


def bus(ic, c):
    rect(ic, 4, 5, 28, 25, c, radius=2)
    rect(ic, 7, 8, 25, 15, LIGHTBLUE, outline=0)
    circle(ic, 10, 26, 2.8, INK, outline=0)
    circle(ic, 22, 26, 2.8, INK, outline=0)
    rect(ic, 6, 19, 9, 21, YELLOW, outline=0)
    rect(ic, 23, 19, 26, 21, YELLOW, outline=0)


def dumbbell(ic, c):
    line(ic, [(6, 16), (26, 16)], 2.6, GREY)
    rect(ic, 4, 8, 9, 24, c, radius=1)
    rect(ic, 23, 8, 28, 24, c, radius=1)


def racket(ic, c):
    line(ic, [(18, 19), (28, 29)], 3, BROWN)
    ellipse(ic, 13, 13, 9, 9, c)
    ellipse(ic, 13, 13, 6.5, 6.5, WHITE, outline=0)
    for d in (-4, 0, 4):
        line(ic, [(13 + d, 7), (13 + d, 19)], 0.7, GREY)
        line(ic, [(7, 13 + d), (19, 13 + d)], 0.7, GREY)
    circle(ic, 26, 7, 3, YELLOW)


def candy_cane(ic, c):
    line(ic, [(12, 29), (12, 10)], 4.5, INK)
    line(ic, [(12, 10), (14, 5), (19, 4), (22, 7), (22, 11)], 4.5, INK)
    line(ic, [(12, 29), (12, 10)], 3, WHITE)
    line(ic, [(12, 10), (14, 5), (19, 4), (22, 7), (22, 11)], 3, WHITE)
    for y in (13, 18, 23, 28):
        line(ic, [(10.6, y + 1), (13.4, y - 1)], 1.2, c)


def ornament(ic, c):
    rect(ic, 13, 4, 19, 8, GOLD)
    circle(ic, 16, 18, 11, c)
    line(ic, [(6, 16), (11, 19), (16, 16), (21, 19), (26, 16)], 1.6, YELLOW)
    ellipse(ic, 12, 13, 2, 3, WHITE, outline=0)


def lantern_candles(ic, c):
    rect(ic, 4, 24, 28, 28, GOLD)
    for x in (6, 10, 14, 18, 22, 26):
        rect(ic, x - 1, 14, x + 1, 24, c, outline=0.6)
        ellipse(ic, x, 11.5, 1, 1.8, ORANGE, outline=0)
    rect(ic, 15, 9, 17, 24, c, outline=0.6)
    ellipse(ic, 16, 6.5, 1, 1.8, ORANGE, outline=0)


def crescent_star(ic, c):
    moon(ic, c)
    polygon(ic, star_points(24, 18, 5, 2), YELLOW, outline=0.6)


def acorn(ic, c):
    ellipse(ic, 16, 19, 8, 10, c)
    polygon(ic, [(6, 14), (8, 8), (16, 6), (24, 8), (26, 14)], BROWN)
    line(ic, [(16, 6), (17, 2)], 1.8, BROWN)


def mushroom(ic, c):
    rect(ic, 12, 16, 20, 29, WHITE, radius=2)
    polygon(ic, [(3, 17)] + [(16 - 13 * math.cos(math.radians(a)), 17 - 13 * math.sin(math.radians(a)))
                             for a in range(0, 181, 15)], c)
    for cx, cy in ((10, 11), (17, 8), (22, 13)):
        circle(ic, cx, cy, 1.8, WHITE, outline=0)


def butterfly(ic, c):
    for sx in (-1, 1):
        ellipse(ic, 16 + sx * 7, 11, 6.5, 7, c)
        ellipse(ic, 16 + sx * 6, 22, 4.5, 5, c)
    ellipse(ic, 16, 16, 1.8, 10, INK, outline=0)
    line(ic, [(16, 6), (13, 2)], 1, INK)
    line(ic, [(16, 6), (19, 2)], 1, INK)


def watering_can(ic, c):
    polygon(ic, [(6, 12), (22, 12), (22, 28), (6, 28)], c)
    line(ic, [(22, 24), (29, 13)], 2.6, INK)
    line(ic, [(22, 24), (29, 13)], 1.4, c)
    line(ic, [(9, 12), (14, 5), (20, 12)], 2, INK)


def rainbow(ic, c):
    for r, col in ((14, RED), (11.5, ORANGE), (9, YELLOW), (6.5, GREEN), (4, BLUE)):
        ic.fill(lambda x, y, r=r: y <= 24 and (x - 16) ** 2 + (y - 24) ** 2 <= r * r, (2, 10, 30, 24), col)
    ic.fill(lambda x, y: y <= 24 and (x - 16) ** 2 + (y - 24) ** 2 <= 2.5 ** 2, (13, 21, 19, 24), (0, 0, 0, 0))
    cloud_small = [(6, 25, 3.5), (10, 25, 3.5), (22, 25, 3.5), (26, 25, 3.5)]
    for cx, cy, r in cloud_small:
        circle(ic, cx, cy, r, c, outline=0)


def thermometer(ic, c):
    rect(ic, 13, 3, 19, 22, WHITE, radius=3)
    circle(ic, 16, 25, 5, c)
    rect(ic, 14.5, 10, 17.5, 22, c, outline=0)


def check(ic, c):
    line(ic, [(5, 17), (12, 25), (27, 7)], 5.5, INK)
    line(ic, [(5, 17), (12, 25), (27, 7)], 3.5, c)


def cross_mark(ic, c):
    for pts in ([(7, 7), (25, 25)], [(25, 7), (7, 25)]):
        line(ic, pts, 6, INK)
    for pts in ([(7, 7), (25, 25)], [(25, 7), (7, 25)]):
        line(ic, pts, 4, c)


def arrow(ic, c, turn=0):
    pts = [(4, 13), (18, 13), (18, 6), (29, 16), (18, 26), (18, 19), (4, 19)]
    a = math.radians(turn)
    pts = [(16 + (x - 16) * math.cos(a) - (y - 16) * math.sin(a), 16 + (x - 16) * math.sin(a) + (y - 16) * math.cos(a))
           for x, y in pts]
    polygon(ic, pts, c)


def badge(ic, c, label):
    circle(ic, 16, 16, 13, c)
    text(ic, label, 16, 16, 2.2 if len(label) == 1 else 1.8, WHITE)


def pin(ic, c):
    polygon(ic, [(16, 30)] + [(16 + 9 * math.cos(math.radians(a)), 12 + 9 * math.sin(math.radians(a)))
                              for a in range(150, 391, 15)], c)
    circle(ic, 16, 12, 3.5, WHITE)


def diamond(ic, c):
    polygon(ic, [(16, 3), (28, 16), (16, 29), (4, 16)], c)


def lightbulb(ic, c):
    circle(ic, 16, 12, 9, c)
    rect(ic, 12, 19, 20, 27, GREY)
    line(ic, [(12, 22), (20, 22)], 1, INK)
    line(ic, [(12, 25), (20, 25)], 1, INK)


def party_hat(ic, c):
    polygon(ic, [(16, 3), (26, 28), (6, 28)], c)
    line(ic, [(11, 17), (19, 15)], 1.6, YELLOW)
    line(ic, [(8.5, 23), (22, 20)], 1.6, YELLOW)
    circle(ic, 16, 4, 2.5, YELLOW)


def baby_bottle(ic, c):
    rect(ic, 10, 12, 22, 29, WHITE, radius=2)
    rect(ic, 10, 20, 22, 29, c, outline=0, radius=2)
    rect(ic, 9, 9, 23, 12, c)
    polygon(ic, [(13, 9), (14, 3), (18, 3), (19, 9)], TAN)


def shoe(ic, c):
    polygon(ic, [(3, 24), (4, 12), (11, 11), (14, 16), (24, 19), (29, 22), (29, 26), (3, 26)], c)
    line(ic, [(3, 26), (29, 26)], 2, INK)
    line(ic, [(10, 14), (13, 13)], 1, WHITE)
    line(ic, [(12, 17), (15, 16)], 1, WHITE)


def swim(ic, c):
    for y in (13, 20, 27):
        line(ic, [(2, y), (7, y - 3), (12, y), (17, y - 3), (22, y), (27, y - 3), (30, y - 1)], 2.4, c)
    circle(ic, 22, 6, 3.5, SKIN)


def guitar(ic, c):
    line(ic, [(17, 15), (27, 5)], 2.6, BROWN)
    rect(ic, 25, 2, 30, 7, INK, outline=0, radius=1)
    circle(ic, 9, 23, 7, c)
    circle(ic, 15, 17, 5, c)
    circle(ic, 11, 21, 2, INK, outline=0)


def chess_pawn(ic, c):
    circle(ic, 16, 8, 5, c)
    polygon(ic, [(12, 13), (20, 13), (22, 25), (10, 25)], c)
    rect(ic, 7, 25, 25, 29, c)


def ICON(draw, color, *args):
    def make():
        ic = Icon()
        draw(ic, color, *args)
        return ic
    return make


LIBRARIES = {
    "activity.icl": [
        ICON(ball, INK), ICON(basketball, ORANGE), ICON(racket, RED), ICON(racket, BLUE), ICON(bike, RED),
        ICON(bike, BLUE), ICON(swim, BLUE), ICON(shoe, RED), ICON(shoe, BLUE), ICON(dumbbell, INK),
        ICON(dumbbell, RED), ICON(mountain, GREEN), ICON(mountain, GREY), ICON(fish, ORANGE), ICON(fish, BLUE),
        ICON(note, BLUE), ICON(note, RED), ICON(guitar, TAN), ICON(guitar, RED), ICON(book, BLUE),
        ICON(book, RED), ICON(pencil, YELLOW), ICON(camera, GREY), ICON(camera, INK), ICON(car, RED),
        ICON(car, BLUE), ICON(bus, YELLOW), ICON(plane, LIGHTGREY), ICON(plane, BLUE), ICON(cup, RED),
        ICON(cup, WHITE), ICON(cutlery, GREY), ICON(chess_pawn, WHITE), ICON(chess_pawn, INK),
        ICON(flag, RED), ICON(flag, GREEN), ICON(trophy, GOLD), ICON(paw, BROWN), ICON(house, RED),
        ICON(flower, PINK),
    ],
    "events.icl": [
        ICON(cake, PINK), ICON(cake, BROWN), ICON(cake, LIGHTBLUE), ICON(gift, RED), ICON(gift, BLUE),
        ICON(gift, GREEN), ICON(gift, PURPLE), ICON(balloon, RED), ICON(balloon, BLUE), ICON(balloon, YELLOW),
        ICON(balloon, GREEN), ICON(heart, RED), ICON(heart, PINK), ICON(ring, GOLD), ICON(ring, LIGHTGREY),
        ICON(envelope, WHITE), ICON(envelope, YELLOW), ICON(party_hat, PURPLE), ICON(party_hat, BLUE),
        ICON(fireworks, RED), ICON(fireworks, BLUE), ICON(clock, RED), ICON(clock, BLUE), ICON(phone, INK),
        ICON(phone, RED), ICON(calendar_page, RED, "1"), ICON(calendar_page, BLUE, "15"),
        ICON(calendar_page, GREEN, "31"), ICON(star, YELLOW), ICON(trophy, GOLD), ICON(trophy, LIGHTGREY),
        ICON(cap, INK), ICON(cap, NAVY), ICON(baby_bottle, PINK), ICON(baby_bottle, LIGHTBLUE), ICON(key, GOLD),
        ICON(house, BLUE), ICON(plane, WHITE), ICON(coin, GOLD), ICON(lightbulb, YELLOW),
    ],
    "holiday.icl": [
        ICON(tree, GREEN), ICON(tree, DARKGREEN), ICON(star, GOLD), ICON(bell, GOLD), ICON(bell, RED),
        ICON(candle, RED), ICON(candle, WHITE), ICON(candle, BLUE), ICON(ornament, RED), ICON(ornament, BLUE),
        ICON(ornament, GREEN), ICON(candy_cane, RED), ICON(snowman, RED), ICON(snowman, BLUE),
        ICON(snowflake, LIGHTBLUE), ICON(snowflake, BLUE), ICON(gift, RED), ICON(gift, GREEN),
        ICON(pumpkin, ORANGE), ICON(leaf, ORANGE), ICON(leaf, RED), ICON(acorn, TAN), ICON(egg, PINK),
        ICON(egg, LIGHTBLUE), ICON(egg, LIGHTGREEN), ICON(shamrock, GREEN), ICON(heart, RED), ICON(heart, PINK),
        ICON(flag, RED), ICON(flag, BLUE), ICON(fireworks, RED), ICON(fireworks, GREEN),
        ICON(lantern_candles, BLUE), ICON(lantern_candles, WHITE), ICON(crescent_star, GOLD),
        ICON(moon, YELLOW), ICON(flower, YELLOW), ICON(butterfly, ORANGE), ICON(balloon, RED),
        ICON(party_hat, RED),
    ],
    "misc1.icl": [
        ICON(sun, YELLOW), ICON(cloud, WHITE), ICON(cloud, LIGHTGREY), ICON(rain, BLUE), ICON(umbrella, RED),
        ICON(umbrella, BLUE), ICON(snowflake, LIGHTBLUE), ICON(lightning, YELLOW), ICON(moon, YELLOW),
        ICON(rainbow, WHITE), ICON(thermometer, RED), ICON(thermometer, BLUE), ICON(medical, RED),
        ICON(medical, GREEN), ICON(pill, RED), ICON(pill, BLUE), ICON(tooth, WHITE), ICON(heart, RED),
        ICON(apple, RED), ICON(apple, LIGHTGREEN), ICON(book, GREEN), ICON(book, PURPLE), ICON(pencil, YELLOW),
        ICON(pencil, BLUE), ICON(cap, INK), ICON(bus, YELLOW), ICON(clock, INK), ICON(phone, BLUE),
        ICON(envelope, WHITE), ICON(key, GREY), ICON(house, GREEN), ICON(car, GREEN), ICON(plane, LIGHTGREY),
        ICON(camera, INK), ICON(coin, GOLD), ICON(lightbulb, YELLOW),
    ],
    "misc2.icl": [
        ICON(check, GREEN), ICON(cross_mark, RED), ICON(badge, RED, "!"), ICON(badge, BLUE, "?"),
        ICON(arrow, BLUE, 0), ICON(arrow, BLUE, 90), ICON(arrow, BLUE, 180), ICON(arrow, BLUE, 270),
        ICON(arrow, GREEN, 0), ICON(arrow, RED, 180), ICON(pin, RED), ICON(pin, BLUE), ICON(pin, GREEN),
        ICON(pin, YELLOW), ICON(star, YELLOW), ICON(star, RED), ICON(star, BLUE), ICON(star, GREEN),
        ICON(diamond, RED), ICON(diamond, BLUE), ICON(heart, PURPLE), ICON(flag, YELLOW), ICON(flag, PURPLE),
    ] + [ICON(badge, [BLUE, GREEN, ORANGE, PURPLE, RED][i % 5], str(i)) for i in range(1, 11)] + [
        ICON(calendar_page, NAVY, str(d)) for d in (7, 14, 21, 28)
    ],
}

BONUS = {
    "Autumn.icl": [
        ICON(leaf, ORANGE), ICON(leaf, RED), ICON(leaf, YELLOW), ICON(leaf, BROWN), ICON(acorn, TAN),
        ICON(acorn, BROWN), ICON(pumpkin, ORANGE), ICON(pumpkin, YELLOW), ICON(mushroom, RED),
        ICON(mushroom, BROWN), ICON(apple, RED), ICON(apple, YELLOW), ICON(umbrella, ORANGE), ICON(rain, BLUE),
        ICON(cloud, LIGHTGREY), ICON(cup, ORANGE), ICON(candle, ORANGE), ICON(moon, ORANGE),
        ICON(shoe, BROWN), ICON(book, ORANGE), ICON(cap, BROWN), ICON(bus, YELLOW), ICON(bike, ORANGE),
        ICON(mountain, BROWN), ICON(heart, ORANGE), ICON(star, ORANGE), ICON(sun, ORANGE), ICON(house, BROWN),
        ICON(fish, BROWN), ICON(paw, TAN),
    ],
    "Garden.icl": [
        ICON(flower, PINK), ICON(flower, RED), ICON(flower, PURPLE), ICON(flower, YELLOW), ICON(flower, BLUE),
        ICON(flower, WHITE), ICON(butterfly, ORANGE), ICON(butterfly, BLUE), ICON(butterfly, PURPLE),
        ICON(butterfly, YELLOW), ICON(watering_can, GREEN), ICON(watering_can, BLUE), ICON(watering_can, RED),
        ICON(leaf, GREEN), ICON(leaf, LIGHTGREEN), ICON(shamrock, GREEN), ICON(mushroom, RED), ICON(sun, YELLOW),
        ICON(rain, BLUE), ICON(rainbow, WHITE), ICON(apple, RED), ICON(apple, GREEN), ICON(tree, GREEN),
        ICON(house, TAN), ICON(paw, BROWN), ICON(fish, ORANGE), ICON(cloud, WHITE), ICON(umbrella, GREEN),
        ICON(egg, LIGHTBLUE), ICON(heart, PINK),
    ],
}


# ---- the 16-bit icon library ----

SHIFT = 4  # resources on 16-byte boundaries


def dib(pixels):
    """32-bit colour image with its 1-bit mask, bottom row first, as an icon resource holds it."""
    out = bytearray(struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, SIZE * SIZE * 4, 0, 0, 0, 0))
    for row in reversed(pixels):
        for r, g, b, a in row:
            out += bytes((b, g, r, a))
    stride = ((SIZE + 31) // 32) * 4
    for row in reversed(pixels):
        mask = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                mask[x // 8] |= 0x80 >> (x % 8)
        out += mask
    return bytes(out)


def group(image_id, size):
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHIH", SIZE, SIZE, 0, 0, 1, 32, size, image_id)


def aligned(n):
    return ((n + (1 << SHIFT) - 1) >> SHIFT) << SHIFT


def ne_library(images, module):
    groups = [group(i + 1, len(img)) for i, img in enumerate(images)]
    count = len(images)
    names = bytes([len(module)]) + module + struct.pack("<H", 0) + b"\0"
    table_size = 2 + (8 + 12 * count) * 2 + 2 + 1
    names_at = 64 + table_size
    ne = 64
    tables_end = ne + names_at + len(names) + 2
    cursor = aligned(tables_end)
    image_at, group_at = [], []
    for data in images:
        image_at.append(cursor)
        cursor += aligned(len(data))
    for data in groups:
        group_at.append(cursor)
        cursor += aligned(len(data))
    if cursor >> SHIFT > 0xFFFF:
        raise SystemExit("library too large for 16-byte alignment")

    table = bytearray(struct.pack("<H", SHIFT))
    for type_id, datas, ats in ((0x8003, images, image_at), (0x800E, groups, group_at)):
        table += struct.pack("<HHI", type_id, len(datas), 0)
        for i, (data, at) in enumerate(zip(datas, ats)):
            table += struct.pack("<HHHHI", at >> SHIFT, aligned(len(data)) >> SHIFT, 0x1030, 0x8000 | (i + 1), 0)
    table += struct.pack("<H", 0) + b"\0"
    assert len(table) == table_size

    mz = bytearray(64)
    mz[0:2] = b"MZ"
    struct.pack_into("<HHHH", mz, 2, 64, 1, 0, 4)
    struct.pack_into("<H", mz, 0x18, 0x40)
    struct.pack_into("<I", mz, 0x3C, ne)

    header = bytearray(64)
    header[0:4] = b"NE\x05\x0a"
    entry_at = names_at + len(names)
    struct.pack_into("<HH", header, 0x04, entry_at, 2)
    struct.pack_into("<H", header, 0x0C, 0x8000)
    struct.pack_into("<HHHHHI", header, 0x22, 64, 64, names_at, entry_at, entry_at, tables_end)
    struct.pack_into("<HH", header, 0x32, SHIFT, count * 2)
    header[0x36] = 2
    struct.pack_into("<H", header, 0x3E, 0x030A)

    out = bytearray(mz + header + table + names + struct.pack("<H", 0))
    for data, at in list(zip(images, image_at)) + list(zip(groups, group_at)):
        out += bytes(at - len(out))
        out += data
    out += bytes(cursor - len(out))
    return bytes(out)


def write_library(path, makers):
    images = [dib(make().pixels()) for make in makers]
    module = os.path.splitext(os.path.basename(path))[0].upper().encode("ascii")
    with open(path, "wb") as f:
        f.write(ne_library(images, module))
    print(f"{path}: {len(images)} icons")


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
    os.makedirs(os.path.join(data, "BonusIcons"), exist_ok=True)
    for name, makers in LIBRARIES.items():
        write_library(os.path.join(data, name), makers)
    for name, makers in BONUS.items():
        write_library(os.path.join(data, "BonusIcons", name), makers)


if __name__ == "__main__":
    main()
