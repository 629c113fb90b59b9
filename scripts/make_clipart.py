#!/usr/bin/env python3
"""Writes the shipped clip art: small calendar pictures as placeable Windows metafiles (WMF).

Every picture is drawn here from shapes (ellipses, polygons, rectangles, arcs, pies, chords, lines and
text), so the pictures are our own work and the metafile player meets real files. Run it from the
repository's root; it rewrites data/clipart/*.WMF. Standard library only.
"""
import math
import os
import struct
import sys

SIZE = 1000          # logical units of every picture (square)
UNITS_PER_INCH = 720  # so each picture is about 1.4 inches wide


def rgb(r, g, b):
    return r | (g << 8) | (b << 16)


class Wmf:
    def __init__(self):
        self.records = []
        self.objects = 0
        self.free = []
        self.max_record = 0

    def record(self, function, *words, raw=b""):
        body = b"".join(w if isinstance(w, bytes) else struct.pack("<h", int(round(w))) for w in words) + raw
        if len(body) % 2:
            body += b"\0"
        size = 3 + len(body) // 2
        self.max_record = max(self.max_record, size)
        self.records.append(struct.pack("<IH", size, function) + body)

    def _slot(self):
        if self.free:
            return self.free.pop(0)
        self.objects += 1
        return self.objects - 1

    # ---- objects ----
    def pen(self, color, width=10, style=0):
        self.record(0x02FA, style, width, 0, raw=struct.pack("<I", color))
        return self._slot()

    def brush(self, color, style=0, hatch=0):
        self.record(0x02FC, style, raw=struct.pack("<IH", color, hatch))
        return self._slot()

    def font(self, height, face="Arial", weight=700, escapement=0):
        name = face.encode("latin-1")[:31].ljust(32, b"\0")
        self.record(0x02FB, -height, 0, escapement, escapement, weight,
                    raw=bytes([0, 0, 0, 0, 0, 0, 0, 0]) + name)
        return self._slot()

    def select(self, index):
        self.record(0x012D, index)

    def delete(self, index):
        self.record(0x01F0, index)
        self.free.append(index)
        self.free.sort()

    # ---- state ----
    def setup(self):
        self.record(0x0103, 8)  # anisotropic mapping
        self.record(0x020B, 0, 0)  # window origin (y, x)
        self.record(0x020C, SIZE, SIZE)  # window extent (y, x)
        self.record(0x0102, 1)  # transparent background
        self.record(0x0106, 2)  # winding fill

    def save(self):
        self.record(0x001E)

    def restore(self):
        self.record(0x0127, -1)

    # ---- shapes ----
    def rect(self, l, t, r, b):
        self.record(0x041B, b, r, t, l)

    def round_rect(self, l, t, r, b, w, h):
        self.record(0x061C, h, w, b, r, t, l)

    def ellipse(self, l, t, r, b):
        self.record(0x0418, b, r, t, l)

    def _arcish(self, function, l, t, r, b, start, end):
        self.record(function, end[1], end[0], start[1], start[0], b, r, t, l)

    def arc(self, *a):
        self._arcish(0x0817, *a)

    def pie(self, *a):
        self._arcish(0x081A, *a)

    def chord(self, *a):
        self._arcish(0x0830, *a)

    def polygon(self, pts):
        self.record(0x0324, len(pts), *[int(round(c)) for p in pts for c in p])

    def polyline(self, pts):
        self.record(0x0325, len(pts), *[int(round(c)) for p in pts for c in p])

    def polypolygon(self, polys):
        words = [len(polys)] + [len(p) for p in polys] + [int(round(c)) for p in polys for q in p for c in q]
        self.record(0x0538, *words)

    def line(self, x1, y1, x2, y2):
        self.record(0x0214, int(y1), int(x1))
        self.record(0x0213, int(y2), int(x2))

    def text(self, x, y, s, color):
        self.record(0x012E, 6 | 24)  # centred on the baseline
        self.record(0x0209, raw=struct.pack("<I", color))
        data = s.encode("latin-1")
        self.record(0x0521, len(data), raw=data + (b"\0" if len(data) % 2 else b"") + struct.pack("<hh", y, x))

    # ---- file ----
    def bytes(self):
        self.record(0x0000)
        body = b"".join(self.records)
        header = struct.pack("<HHHIHIH", 1, 9, 0x0300, (18 + len(body)) // 2, max(self.objects, 1),
                             self.max_record, 0)
        placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, SIZE, SIZE, UNITS_PER_INCH, 0)
        checksum = 0
        for i in range(0, 20, 2):
            checksum ^= struct.unpack_from("<H", placeable, i)[0]
        return placeable + struct.pack("<H", checksum) + header + body


def star_points(cx, cy, outer, inner, n=5, turn=-90):
    pts = []
    for i in range(2 * n):
        r = outer if i % 2 == 0 else inner
        a = math.radians(turn + i * 180 / n)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def filled(w, fill, outline=rgb(0, 0, 0), width=12):
    p, b = w.pen(outline, width), w.brush(fill)
    w.select(p)
    w.select(b)
    return p, b


def done(w, *objs):
    for o in objs:
        w.delete(o)


# ---- the pictures -----------------------------------------------------------------------------------

def sun(w):
    p, b = filled(w, rgb(255, 200, 0), rgb(230, 120, 0))
    for i in range(12):
        a = math.radians(i * 30)
        w.polygon([(500 + 260 * math.cos(a - 0.12), 500 + 260 * math.sin(a - 0.12)),
                   (500 + 460 * math.cos(a), 500 + 460 * math.sin(a)),
                   (500 + 260 * math.cos(a + 0.12), 500 + 260 * math.sin(a + 0.12))])
    w.ellipse(250, 250, 750, 750)
    done(w, p, b)


def moon(w):
    p, b = filled(w, rgb(255, 240, 150), rgb(200, 170, 40))
    # A crescent: the outer circle's left side, then the inner circle's arc back.
    pts = []
    for i in range(41):
        a = math.radians(60 + 240 * i / 40)
        pts.append((520 + 400 * math.cos(a), 500 + 400 * math.sin(a)))
    for i in range(41):
        a = math.radians(290 - 220 * i / 40)
        pts.append((680 + 330 * math.cos(a), 430 + 330 * math.sin(a)))
    w.polygon(pts)
    done(w, p, b)


def star(w):
    p, b = filled(w, rgb(255, 215, 0), rgb(200, 140, 0))
    w.polygon(star_points(500, 530, 470, 190))
    done(w, p, b)


def heart(w):
    p, b = filled(w, rgb(220, 20, 60), rgb(140, 0, 30))
    pts = []
    for i in range(64):
        t = 2 * math.pi * i / 64
        x = 16 * math.sin(t) ** 3
        y = 13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t)
        pts.append((500 + 27 * x, 470 - 27 * y))
    w.polygon(pts)
    done(w, p, b)


def snowflake(w):
    p = w.pen(rgb(70, 130, 200), 40)
    w.select(p)
    for i in range(6):
        a = math.radians(i * 60)
        ex, ey = 500 + 450 * math.cos(a), 500 + 450 * math.sin(a)
        w.line(500, 500, ex, ey)
        for d in (200, 320):
            bx, by = 500 + d * math.cos(a), 500 + d * math.sin(a)
            for s in (-1, 1):
                b2 = a + s * math.radians(45)
                w.line(bx, by, bx + 110 * math.cos(b2), by + 110 * math.sin(b2))
    done(w, p)


def tree(w):
    p, b = filled(w, rgb(34, 139, 34), rgb(0, 90, 0))
    w.polygon([(500, 40), (820, 420), (660, 420), (880, 700), (120, 700), (340, 420), (180, 420)])
    done(w, p, b)
    p, b = filled(w, rgb(120, 70, 20))
    w.rect(430, 700, 570, 930)
    done(w, p, b)
    p, b = filled(w, rgb(255, 215, 0))
    w.polygon(star_points(500, 90, 90, 36))
    done(w, p, b)
    for x, y, c in ((400, 380, rgb(220, 0, 0)), (600, 520, rgb(0, 90, 220)), (330, 620, rgb(255, 165, 0)),
                    (660, 640, rgb(200, 0, 200))):
        p, b = filled(w, c, rgb(0, 0, 0), 6)
        w.ellipse(x - 35, y - 35, x + 35, y + 35)
        done(w, p, b)


def pumpkin(w):
    p, b = filled(w, rgb(255, 130, 0), rgb(170, 70, 0))
    for l, r in ((120, 560), (440, 880), (280, 720)):
        w.ellipse(l, 260, r, 900)
    done(w, p, b)
    p, b = filled(w, rgb(60, 120, 30))
    w.polygon([(470, 280), (450, 120), (540, 100), (540, 280)])
    done(w, p, b)
    p, b = filled(w, rgb(60, 30, 0), rgb(60, 30, 0), 4)
    w.polygon([(330, 480), (410, 400), (450, 520)])
    w.polygon([(670, 480), (590, 400), (550, 520)])
    w.polygon([(300, 640), (400, 700), (500, 650), (600, 700), (700, 640), (620, 780), (380, 780)])
    done(w, p, b)


def gift(w):
    p, b = filled(w, rgb(40, 90, 200))
    w.rect(140, 380, 860, 900)
    done(w, p, b)
    p, b = filled(w, rgb(220, 30, 30))
    w.rect(100, 300, 900, 420)
    w.rect(440, 300, 560, 900)
    w.ellipse(300, 140, 500, 310)
    w.ellipse(500, 140, 700, 310)
    done(w, p, b)


def balloon(w):
    p, b = filled(w, rgb(230, 40, 90), rgb(150, 0, 50))
    w.ellipse(250, 60, 750, 680)
    w.polygon([(470, 675), (530, 675), (550, 720), (450, 720)])
    done(w, p, b)
    p = w.pen(rgb(80, 80, 80), 8)
    w.select(p)
    w.polyline([(500, 720), (460, 800), (540, 870), (490, 960)])
    done(w, p)


def cake(w):
    p, b = filled(w, rgb(250, 220, 180), rgb(150, 90, 40))
    w.rect(150, 520, 850, 900)
    done(w, p, b)
    p, b = filled(w, rgb(255, 150, 190), rgb(200, 80, 130))
    w.round_rect(130, 450, 870, 580, 80, 80)
    done(w, p, b)
    for x in (300, 500, 700):
        p, b = filled(w, rgb(120, 170, 255), rgb(40, 80, 180), 6)
        w.rect(x - 25, 280, x + 25, 460)
        done(w, p, b)
        p, b = filled(w, rgb(255, 200, 0), rgb(230, 100, 0), 6)
        w.ellipse(x - 30, 170, x + 30, 280)
        done(w, p, b)


def flower(w):
    p = w.pen(rgb(30, 120, 30), 30)
    w.select(p)
    w.line(500, 500, 500, 960)
    done(w, p)
    p, b = filled(w, rgb(255, 105, 180), rgb(180, 40, 110))
    for i in range(6):
        a = math.radians(i * 60)
        cx, cy = 500 + 180 * math.cos(a), 380 + 180 * math.sin(a)
        w.ellipse(cx - 120, cy - 120, cx + 120, cy + 120)
    done(w, p, b)
    p, b = filled(w, rgb(255, 220, 0), rgb(200, 140, 0))
    w.ellipse(390, 270, 610, 490)
    done(w, p, b)


def leaf(w):
    p, b = filled(w, rgb(220, 110, 20), rgb(140, 60, 0))
    # A lens between two circular arcs from the stalk to the tip.
    pts = []
    for side in (1, -1):
        for i in range(21):
            t = i / 20 if side == 1 else 1 - i / 20
            x, y = 150 + 700 * t, 850 - 700 * t
            bulge = side * 260 * math.sin(math.pi * t)
            pts.append((x + bulge * 0.7071, y + bulge * 0.7071))
    w.polygon(pts)
    done(w, p, b)
    p = w.pen(rgb(120, 50, 0), 16)
    w.select(p)
    w.line(150, 850, 820, 180)
    done(w, p)


def umbrella(w):
    p, b = filled(w, rgb(150, 60, 200), rgb(80, 20, 120))
    w.pie(80, 120, 920, 880, (920, 500), (80, 500))
    done(w, p, b)
    p = w.pen(rgb(60, 60, 60), 24)
    w.select(p)
    w.line(500, 500, 500, 860)
    w.arc(500, 780, 640, 920, (500, 850), (640, 850))
    done(w, p)


def cloud(w):
    p, b = filled(w, rgb(240, 245, 255), rgb(120, 140, 170))
    w.polypolygon([
        [(150 + 150 * math.cos(t / 16 * 2 * math.pi), 560 + 150 * math.sin(t / 16 * 2 * math.pi)) for t in range(16)],
        [(400 + 220 * math.cos(t / 20 * 2 * math.pi), 450 + 220 * math.sin(t / 20 * 2 * math.pi)) for t in range(20)],
        [(700 + 180 * math.cos(t / 18 * 2 * math.pi), 520 + 180 * math.sin(t / 18 * 2 * math.pi)) for t in range(18)],
    ])
    w.rect(150, 560, 700, 710)
    done(w, p, b)


def rain(w):
    cloud(w)
    p = w.pen(rgb(50, 110, 220), 20)
    w.select(p)
    for x in (250, 420, 590, 760):
        w.line(x, 760, x - 50, 900)
    done(w, p)


def snowman(w):
    p, b = filled(w, rgb(255, 255, 255), rgb(100, 110, 130))
    w.ellipse(230, 500, 770, 960)
    w.ellipse(320, 230, 680, 560)
    done(w, p, b)
    p, b = filled(w, rgb(20, 20, 20))
    w.rect(360, 120, 640, 250)
    w.rect(300, 230, 700, 260)
    w.ellipse(420, 340, 450, 370)
    w.ellipse(550, 340, 580, 370)
    done(w, p, b)
    p, b = filled(w, rgb(255, 120, 0), rgb(200, 80, 0), 4)
    w.polygon([(500, 400), (620, 430), (500, 450)])
    done(w, p, b)


def bell(w):
    p, b = filled(w, rgb(240, 190, 30), rgb(150, 100, 0))
    w.polygon([(500, 120), (640, 200), (690, 420), (790, 720), (210, 720), (310, 420), (360, 200)])
    w.ellipse(440, 700, 560, 820)
    done(w, p, b)
    p, b = filled(w, rgb(200, 0, 0))
    w.chord(200, 40, 800, 260, (800, 150), (200, 150))
    done(w, p, b)


def candle(w):
    p, b = filled(w, rgb(255, 250, 235), rgb(150, 130, 100))
    w.rect(380, 330, 620, 920)
    done(w, p, b)
    p, b = filled(w, rgb(255, 170, 0), rgb(230, 90, 0))
    w.polygon([(500, 60), (570, 200), (540, 300), (460, 300), (430, 200)])
    done(w, p, b)


def egg(w):
    p, b = filled(w, rgb(170, 220, 255), rgb(60, 120, 180))
    w.ellipse(220, 80, 780, 920)
    done(w, p, b)
    p = w.pen(rgb(230, 60, 140), 40)
    w.select(p)
    w.polyline([(235, 450), (330, 380), (420, 450), (500, 380), (580, 450), (670, 380), (765, 450)])
    w.polyline([(235, 600), (330, 530), (420, 600), (500, 530), (580, 600), (670, 530), (765, 600)])
    done(w, p)


def shamrock(w):
    p, b = filled(w, rgb(30, 160, 60), rgb(0, 90, 30))
    for cx, cy in ((500, 270), (300, 500), (700, 500)):
        w.ellipse(cx - 190, cy - 190, cx + 190, cy + 190)
    done(w, p, b)
    p = w.pen(rgb(0, 110, 40), 40)
    w.select(p)
    w.polyline([(500, 480), (520, 700), (600, 940)])
    done(w, p)


def flag(w):
    p = w.pen(rgb(90, 60, 30), 36)
    w.select(p)
    w.line(150, 60, 150, 960)
    done(w, p)
    p, b = filled(w, rgb(220, 0, 0), rgb(120, 0, 0))
    w.polygon([(170, 100), (880, 100), (760, 330), (880, 560), (170, 560)])
    done(w, p, b)


def house(w):
    p, b = filled(w, rgb(250, 230, 180), rgb(120, 90, 40))
    w.rect(180, 450, 820, 920)
    done(w, p, b)
    p, b = filled(w, rgb(180, 40, 30))
    w.polygon([(100, 480), (500, 100), (900, 480)])
    done(w, p, b)
    p, b = filled(w, rgb(110, 70, 30))
    w.rect(430, 650, 570, 920)
    done(w, p, b)
    p, b = filled(w, rgb(150, 210, 255))
    w.rect(240, 540, 380, 660)
    w.rect(620, 540, 760, 660)
    done(w, p, b)


def apple(w):
    p, b = filled(w, rgb(210, 20, 20), rgb(120, 0, 0))
    w.ellipse(120, 250, 560, 900)
    w.ellipse(440, 250, 880, 900)
    done(w, p, b)
    p, b = filled(w, rgb(60, 160, 40))
    w.chord(520, 60, 800, 240, (520, 150), (800, 150))
    done(w, p, b)
    p = w.pen(rgb(90, 50, 10), 30)
    w.select(p)
    w.line(500, 300, 530, 120)
    done(w, p)


def music(w):
    p, b = filled(w, rgb(20, 20, 20))
    w.ellipse(150, 680, 400, 880)
    w.ellipse(600, 600, 850, 800)
    w.polygon([(370, 780), (400, 780), (400, 220), (850, 120), (850, 700), (820, 700), (820, 250), (370, 340)])
    done(w, p, b)


def clock(w):
    p, b = filled(w, rgb(255, 255, 245), rgb(40, 40, 40), 30)
    w.ellipse(80, 80, 920, 920)
    done(w, p, b)
    p = w.pen(rgb(40, 40, 40), 20)
    w.select(p)
    for i in range(12):
        a = math.radians(i * 30)
        w.line(500 + 340 * math.cos(a), 500 + 340 * math.sin(a), 500 + 390 * math.cos(a), 500 + 390 * math.sin(a))
    done(w, p)
    p = w.pen(rgb(20, 20, 20), 40)
    w.select(p)
    w.line(500, 500, 500, 230)
    w.line(500, 500, 690, 560)
    done(w, p)


def book(w):
    p, b = filled(w, rgb(30, 90, 170), rgb(10, 40, 90))
    w.polygon([(100, 200), (500, 260), (500, 900), (100, 840)])
    w.polygon([(900, 200), (500, 260), (500, 900), (900, 840)])
    done(w, p, b)
    p = w.pen(rgb(230, 230, 230), 10)
    w.select(p)
    for y in (380, 480, 580):
        w.line(180, y, 440, y + 40)
        w.line(560, y + 40, 820, y)
    done(w, p)


def anchor(w):
    p = w.pen(rgb(20, 50, 100), 60)
    w.select(p)
    w.line(500, 220, 500, 880)
    w.line(320, 330, 680, 330)
    w.arc(150, 380, 850, 900, (150, 640), (850, 640))
    done(w, p)
    p, b = filled(w, rgb(255, 255, 255), rgb(20, 50, 100), 50)
    w.ellipse(420, 60, 580, 220)
    done(w, p, b)


def bunny(w):
    p, b = filled(w, rgb(245, 245, 245), rgb(110, 110, 110))
    w.ellipse(300, 60, 430, 460)
    w.ellipse(570, 60, 700, 460)
    w.ellipse(230, 360, 770, 900)
    done(w, p, b)
    p, b = filled(w, rgb(255, 170, 200), rgb(200, 100, 140), 6)
    w.ellipse(460, 640, 540, 700)
    done(w, p, b)
    p, b = filled(w, rgb(30, 30, 30))
    w.ellipse(370, 520, 420, 570)
    w.ellipse(580, 520, 630, 570)
    done(w, p, b)


def fireworks(w):
    for cx, cy, r, c in ((330, 330, 260, rgb(230, 30, 60)), (690, 450, 230, rgb(30, 120, 230)),
                         (420, 720, 200, rgb(250, 170, 0))):
        p = w.pen(c, 18)
        w.select(p)
        for i in range(16):
            a = math.radians(i * 22.5)
            w.line(cx + 0.35 * r * math.cos(a), cy + 0.35 * r * math.sin(a), cx + r * math.cos(a), cy + r * math.sin(a))
        done(w, p)


def hatched_card(w):
    p = w.pen(rgb(180, 0, 0), 20)
    b = w.brush(rgb(230, 120, 120), 2, 5)
    w.select(p)
    w.select(b)
    w.round_rect(80, 160, 920, 840, 120, 120)
    done(w, p, b)
    f = w.font(170, "Times New Roman")
    w.select(f)
    w.text(500, 560, "Love", rgb(150, 0, 0))
    done(w, f)


def birthday(w):
    cake(w)
    f = w.font(120, "Arial")
    w.select(f)
    w.save()
    w.text(500, 990, "Happy Birthday", rgb(200, 0, 100))
    w.restore()
    done(w, f)


def year_badge(w):
    p, b = filled(w, rgb(250, 215, 80), rgb(160, 110, 0), 20)
    w.polygon(star_points(500, 500, 480, 380, 16))
    done(w, p, b)
    f = w.font(220, "Arial")
    w.select(f)
    w.text(500, 580, "NEW", rgb(120, 60, 0))
    done(w, f)


def back_to_school(w):
    p, b = filled(w, rgb(250, 200, 40), rgb(120, 80, 0))
    w.polygon([(120, 820), (700, 240), (820, 360), (240, 940)])
    done(w, p, b)
    p, b = filled(w, rgb(250, 190, 160), rgb(120, 80, 0))
    w.polygon([(120, 820), (240, 940), (60, 990)])
    done(w, p, b)
    p, b = filled(w, rgb(240, 120, 160), rgb(120, 40, 80))
    w.polygon([(700, 240), (820, 360), (900, 280), (780, 160)])
    done(w, p, b)


def ghost(w):
    p, b = filled(w, rgb(250, 250, 250), rgb(90, 90, 90))
    pts = [(200, 900), (200, 450)]
    for i in range(0, 181, 15):
        a = math.radians(180 + i)
        pts.append((500 + 300 * math.cos(a), 450 + 300 * math.sin(a)))
    pts += [(800, 900), (700, 820), (600, 900), (500, 820), (400, 900), (300, 820)]
    w.polygon(pts)
    done(w, p, b)
    p, b = filled(w, rgb(20, 20, 20))
    w.ellipse(380, 380, 450, 480)
    w.ellipse(550, 380, 620, 480)
    done(w, p, b)


PICTURES = {
    "SUN": sun, "MOON": moon, "STAR": star, "HEART": heart, "SNOWFLAKE": snowflake, "TREE": tree,
    "PUMPKIN": pumpkin, "GIFT": gift, "BALLOON": balloon, "CAKE": cake, "FLOWER": flower, "LEAF": leaf,
    "UMBRELLA": umbrella, "CLOUD": cloud, "RAIN": rain, "SNOWMAN": snowman, "BELL": bell, "CANDLE": candle,
    "EGG": egg, "SHAMROCK": shamrock, "FLAG": flag, "HOUSE": house, "APPLE": apple, "MUSIC": music,
    "CLOCK": clock, "BOOK": book, "ANCHOR": anchor, "BUNNY": bunny, "FIREWORK": fireworks,
    "LOVECARD": hatched_card, "BIRTHDAY": birthday, "NEWYEAR": year_badge, "PENCIL": back_to_school,
    "GHOST": ghost,
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join("data", "clipart")
    os.makedirs(out, exist_ok=True)
    for name, draw in sorted(PICTURES.items()):
        w = Wmf()
        w.setup()
        draw(w)
        with open(os.path.join(out, name + ".WMF"), "wb") as f:
            f.write(w.bytes())
    print("wrote %d pictures to %s" % (len(PICTURES), out))


if __name__ == "__main__":
    main()
