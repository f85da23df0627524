#!/usr/bin/env python3
"""Draws Chimewell's pictures: the program icon, the three tray icons and the button skins.

Python 3 standard library only. Usage: make_art.py [output folder]  (default: resources/)

Each .ico holds 16x16 and 32x32 images, each both as 16 colours (4-bit, for old shells and
low-colour displays) and as 32-bit with alpha. The 32x32 pictures are drawn from distance
fields, antialiased for the alpha image and hard-edged in the 16-colour one; the 16x16
pictures are drawn pixel by pixel, because a tray icon only reads clearly when every pixel
is placed on purpose.
"""
import math
import os
import struct
import sys

# The standard 16-colour palette, in the order Windows uses for 4-bit bitmaps.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, OLIVE, NAVY, SILVER, GREY, RED, YELLOW, WHITE = 0, 1, 3, 4, 7, 8, 9, 11, 15

# ---------------------------------------------------------------- distance-field drawing

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def segment(x0, y0, x1, y1, w):
    """A stroke of width w with round ends."""
    def d(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)
        t = max(0.0, min(1.0, t))
        return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) - w / 2
    return d


def box(x0, y0, x1, y1, r=0.0):
    """An axis-aligned rectangle with corner radius r."""
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
    return d


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def intersect(*fs):
    return lambda x, y: max(f(x, y) for f in fs)


def minus(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def grow(f, by):
    return lambda x, y: f(x, y) - by


def halfplane(nx, ny, c):
    """Inside where nx*x + ny*y <= c."""
    n = math.hypot(nx, ny)
    return lambda x, y: (nx * x + ny * y - c) / n


def smooth_union(a, b, k):
    def d(x, y):
        da, db = a(x, y), b(x, y)
        h = max(k - abs(da - db), 0.0) / k
        return min(da, db) - h * h * k / 4
    return d


class Picture:
    """An RGBA picture plus its 16-colour twin (palette index or None for transparent)."""

    def __init__(self, n):
        self.n = n
        self.rgba = [[(0, 0, 0, 0)] * n for _ in range(n)]
        self.vga = [[None] * n for _ in range(n)]

    def fill(self, shape, colour, vga):
        """colour: (r, g, b[, a]) or a function (x, y) -> that; vga: palette index."""
        for y in range(self.n):
            for x in range(self.n):
                px, py = x + 0.5, y + 0.5
                d = shape(px, py)
                if d <= 0:
                    self.vga[y][x] = vga
                cover = min(1.0, max(0.0, 0.5 - d))
                if cover <= 0:
                    continue
                c = colour(px, py) if callable(colour) else colour
                a = cover * (c[3] / 255 if len(c) > 3 else 1.0)
                self.rgba[y][x] = over(c[:3], a, self.rgba[y][x])

    def paint(self, x, y, colour, vga):
        """Sets one pixel in both images (for touch-ups)."""
        self.rgba[y][x] = tuple(colour[:3]) + ((colour[3],) if len(colour) > 3 else (255,))
        self.vga[y][x] = vga


def over(rgb, a, dst):
    """Source-over compositing of a straight-alpha colour onto a straight-alpha pixel."""
    dr, dg, db, da = dst
    da /= 255
    oa = a + da * (1 - a)
    if oa <= 0:
        return (0, 0, 0, 0)
    mix = [(rgb[i] * a + (dr, dg, db)[i] * da * (1 - a)) / oa for i in range(3)]
    return tuple(int(round(v)) for v in mix) + (int(round(oa * 255)),)


def vertical(top, bottom, y0, y1):
    """A top-to-bottom gradient between two colours."""
    def c(_x, y):
        t = min(1.0, max(0.0, (y - y0) / (y1 - y0)))
        return tuple(int(round(top[i] + (bottom[i] - top[i]) * t)) for i in range(3))
    return c


def radial(inner, outer, cx, cy, r):
    def c(x, y):
        t = min(1.0, math.hypot(x - cx, y - cy) / r)
        return tuple(int(round(inner[i] + (outer[i] - inner[i]) * t)) for i in range(3))
    return c


# ---------------------------------------------------------------- 16x16 pixel pictures

def from_grid(rows, legend):
    """rows: 16 strings; legend: char -> ((r, g, b, a), vga index or None)."""
    n = len(rows)
    pic = Picture(n)
    for y, row in enumerate(rows):
        assert len(row) == n, (y, row)
        for x, ch in enumerate(row):
            if ch == '.':
                continue
            rgba, vga = legend[ch]
            pic.rgba[y][x] = rgba if len(rgba) == 4 else tuple(rgba) + (255,)
            pic.vga[y][x] = vga
    return pic


OUTLINE = ((34, 34, 38), BLACK)

BULB_LEGEND_COMMON = {
    'K': OUTLINE,
    'M': ((178, 180, 186), SILVER),   # screw base, light band
    'm': ((112, 114, 122), GREY),     # screw base, dark band
    't': ((60, 60, 66), BLACK),       # contact tip
}

UNLIT_BULB_16 = [
    "................",
    "................",
    ".....KKKKKK.....",
    "....KggggggK....",
    "...KgwwggggsK...",
    "...KgwggggggK...",
    "...KggfggfggK...",
    "...KggfggfggK...",
    "....KgsffssK....",
    ".....KggggK.....",
    ".....KgffgK.....",
    ".....KMMMMK.....",
    ".....KmmmmK.....",
    ".....KMMMMK.....",
    "......KttK......",
    "................",
]
UNLIT_LEGEND = dict(BULB_LEGEND_COMMON, **{
    'g': ((214, 220, 228), SILVER),   # cold glass
    's': ((180, 188, 200), SILVER),   # glass in shade
    'w': ((255, 255, 255), WHITE),    # reflection
    'f': ((120, 120, 128), GREY),     # filament
})

LIT_BULB_16 = [
    ".......rr.......",
    ".r............r.",
    "..r..KKKKKK..r..",
    "....KyyyyyyK....",
    "...KywwyyyyoK...",
    "rr.KywyyyyyoK.rr",
    "...KyyyyyyyoK...",
    "...KyyyyyyyoK...",
    "....KyyyyyoK....",
    ".....KyyyoK.....",
    "..r..KyyyoK..r..",
    ".r...KMMMMK...r.",
    ".....KmmmmK.....",
    ".....KMMMMK.....",
    "......KttK......",
    "................",
]
LIT_LEGEND = dict(BULB_LEGEND_COMMON, **{
    'y': ((255, 232, 40), YELLOW),    # lit glass
    'o': ((246, 180, 0), YELLOW),     # glass towards the edge
    'w': ((255, 255, 220), WHITE),    # hot spot
    'r': ((240, 140, 0), OLIVE),      # rays
    'K': ((120, 78, 0), BLACK),       # outline, warm so the glow reads as light
})

WATCH_16 = [
    ".....KKKKKK.....",
    ".....KbbbbK.....",
    ".....KbBBbK.....",
    "....KKKKKKKK....",
    "...KSSSSSSSSK...",
    "..KSWWWWWWWWSK..",
    "..KSWWWHWWWWSK..",
    "..KSWWWHWWWWSKK.",
    "..KSWWWHHHWWSKK.",
    "..KSWWWWWWWWSK..",
    "..KSWWWWWWWWSK..",
    "...KSSSSSSSSK...",
    "....KKKKKKKK....",
    ".....KbBBbK.....",
    ".....KbbbbK.....",
    ".....KKKKKK.....",
]
WATCH_LEGEND = {
    'K': OUTLINE,
    'b': ((40, 72, 150), NAVY),       # strap
    'B': ((74, 110, 196), NAVY),      # strap highlight
    'S': ((196, 200, 210), SILVER),   # case
    'W': ((255, 255, 255), WHITE),    # dial
    'H': ((20, 20, 24), BLACK),       # hands
}

CLOCK_16 = [
    ".KKK........KKK.",
    "KYYYK......KYYYK",
    "KYYK..KKKK..KYYK",
    "KYK.KKRRRRKK.KYK",
    ".K.KRRRRRRRRK.K.",
    "..KRRWWWWWWRRK..",
    "..KRWWWHWWWWRK..",
    ".KRWWWWHWWWWWRK.",
    ".KRWWWWHHHHWWRK.",
    ".KRWWWWWWWWWWRK.",
    ".KRWWWWWWWWWWRK.",
    "..KRWWWWWWWWRK..",
    "..KRRWWWWWWRRK..",
    "...KKRRRRRRKK...",
    "...KK.KKKK.KK...",
    "................",
]
CLOCK_LEGEND = {
    'K': OUTLINE,
    'Y': ((250, 196, 30), YELLOW),    # bells
    'R': ((214, 40, 40), RED),        # body
    'W': ((255, 255, 255), WHITE),    # dial
    'H': ((20, 20, 24), BLACK),       # hands
}

# ---------------------------------------------------------------- 32x32 pictures

INK = (34, 34, 38)


def bulb_glass():
    ball = circle(16, 13, 8.5)
    neck = box(12, 14, 20, 23.5, 1.0)
    return smooth_union(ball, neck, 3.0)


def bulb_base(pic):
    base = box(11.5, 22.5, 20.5, 29, 1.5)
    tip = box(13.5, 28, 18.5, 31, 1.5)
    pic.fill(grow(union(base, tip), 1.0), INK, BLACK)
    pic.fill(tip, (60, 60, 66), BLACK)
    pic.fill(base, vertical((196, 198, 204), (150, 152, 160), 22, 29), SILVER)
    for y in (24.5, 27):
        pic.fill(box(11.5, y, 20.5, y + 1.2), (104, 106, 114), GREY)


def unlit_bulb_32():
    pic = Picture(32)
    glass = bulb_glass()
    pic.fill(grow(glass, 1.2), INK, BLACK)
    pic.fill(glass, radial((246, 248, 252), (186, 194, 208), 13, 10, 12), SILVER)
    # Filament and its two supports, as on a real cold lamp.
    wire = (110, 110, 118)
    for seg in (segment(13.5, 23, 13.5, 15.5, 1.1), segment(18.5, 23, 18.5, 15.5, 1.1),
                segment(13.5, 15.5, 14.75, 13.5, 1.1), segment(14.75, 13.5, 16, 15.5, 1.1),
                segment(16, 15.5, 17.25, 13.5, 1.1), segment(17.25, 13.5, 18.5, 15.5, 1.1)):
        pic.fill(seg, wire, GREY)
    pic.fill(segment(11.5, 9, 13.5, 7, 1.6), (255, 255, 255), WHITE)
    bulb_base(pic)
    return pic


def lit_bulb_32():
    pic = Picture(32)
    ray = (240, 140, 0)
    for deg in (-90, -45, -135, 0, 180, 35, 145):
        a = math.radians(deg)
        c, s = math.cos(a), math.sin(a)
        pic.fill(segment(16 + 11.3 * c, 13 + 11.3 * s, 16 + 14.3 * c, 13 + 14.3 * s, 2.0), ray, OLIVE)
    glass = bulb_glass()
    pic.fill(grow(glass, 1.2), (120, 78, 0), BLACK)
    pic.fill(glass, radial((255, 252, 210), (250, 196, 0), 14, 11, 11), YELLOW)
    pic.fill(segment(11.5, 9, 13.5, 7, 1.6), (255, 255, 240), WHITE)
    bulb_base(pic)
    return pic


def hand(cx, cy, clock_deg, length, width):
    a = math.radians(clock_deg - 90)
    return segment(cx, cy, cx + length * math.cos(a), cy + length * math.sin(a), width)


def watch_32():
    pic = Picture(32)
    strap = union(box(10, -2, 22, 9, 1.5), box(10, 23, 22, 34, 1.5))
    pic.fill(grow(strap, 1.0), INK, BLACK)
    pic.fill(strap, (40, 72, 150), NAVY)
    for y in (2, 27):  # stitching line down the middle of each strap end
        pic.fill(box(15.2, y, 16.8, y + 3.5, 0.6), (92, 128, 206), NAVY)
    crown = box(26, 14, 29.5, 18, 0.8)
    pic.fill(grow(crown, 1.0), INK, BLACK)
    pic.fill(crown, (170, 174, 184), SILVER)
    case = circle(16, 16, 11)
    pic.fill(grow(case, 1.2), INK, BLACK)
    pic.fill(case, vertical((232, 234, 240), (150, 154, 166), 5, 27), SILVER)
    dial = circle(16, 16, 8.6)
    pic.fill(grow(dial, 0.8), (90, 92, 100), GREY)
    pic.fill(dial, (255, 255, 255), WHITE)
    for deg in (0, 90, 180, 270):
        a = math.radians(deg - 90)
        pic.fill(segment(16 + 6.2 * math.cos(a), 16 + 6.2 * math.sin(a),
                         16 + 7.8 * math.cos(a), 16 + 7.8 * math.sin(a), 1.3), (60, 60, 66), GREY)
    pic.fill(hand(16, 16, 300, 4.5, 1.9), (20, 20, 24), BLACK)   # ten o'clock
    pic.fill(hand(16, 16, 60, 6.6, 1.5), (20, 20, 24), BLACK)    # ten past
    pic.fill(circle(16, 16, 1.2), (200, 30, 30), RED)
    return pic


def clock_32():
    pic = Picture(32)
    # Bells: domes tilted outwards, cut flat where they sit on the body.
    for cx, tilt in ((7, 1), (25, -1)):
        dome = intersect(circle(cx, 8.5, 6.8), halfplane(-tilt * 0.55, 1, 8.5 - tilt * 0.55 * cx + 1.6))
        pic.fill(grow(dome, 1.2), INK, BLACK)
        pic.fill(dome, radial((255, 230, 100), (214, 140, 0), cx - tilt * 2, 5, 8), YELLOW)
    # Hammer between the bells and the carrying handle over them.
    pic.fill(segment(16, 6, 16, 2.5, 2.4), INK, BLACK)
    pic.fill(circle(16, 2.4, 2.0), INK, BLACK)
    # Legs.
    for x0, x1 in ((10, 6.5), (22, 25.5)):
        pic.fill(segment(x0, 26, x1, 30.5, 3.0), INK, BLACK)
    body = circle(16, 18, 12)
    pic.fill(grow(body, 1.2), INK, BLACK)
    pic.fill(body, radial((250, 110, 100), (180, 20, 24), 11, 12, 17), RED)
    dial = circle(16, 18, 9)
    pic.fill(grow(dial, 0.8), (120, 20, 20), MAROON)
    pic.fill(dial, (255, 255, 255), WHITE)
    for deg in (0, 90, 180, 270):
        a = math.radians(deg - 90)
        pic.fill(segment(16 + 6.6 * math.cos(a), 18 + 6.6 * math.sin(a),
                         16 + 8.1 * math.cos(a), 18 + 8.1 * math.sin(a), 1.4), (60, 60, 66), GREY)
    pic.fill(hand(16, 18, 300, 4.8, 2.0), (20, 20, 24), BLACK)
    pic.fill(hand(16, 18, 60, 7.0, 1.6), (20, 20, 24), BLACK)
    pic.fill(circle(16, 18, 1.3), (200, 30, 30), RED)
    return pic


# ---------------------------------------------------------------- file formats

def bitmapinfoheader(w, h, bpp, image_bytes):
    return struct.pack('<IiiHHIIiiII', 40, w, h, 1, bpp, 0, image_bytes, 0, 0, 0, 0)


def and_mask(pic, transparent):
    n = pic.n
    row_bytes = ((n + 31) // 32) * 4
    out = bytearray()
    for y in range(n - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(n):
            if transparent(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def ico_entry_4bit(pic):
    n = pic.n
    row_bytes = ((n * 4 + 31) // 32) * 4
    xor = bytearray()
    for y in range(n - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(n):
            idx = pic.vga[y][x] or 0
            row[x // 2] |= idx << (4 if x % 2 == 0 else 0)
        xor += row
    mask = and_mask(pic, lambda x, y: pic.vga[y][x] is None)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in VGA)
    data = bitmapinfoheader(n, 2 * n, 4, len(xor) + len(mask)) + palette + bytes(xor) + mask
    return (n, 16, 4, data)


def ico_entry_32bit(pic):
    n = pic.n
    xor = bytearray()
    for y in range(n - 1, -1, -1):
        for x in range(n):
            r, g, b, a = pic.rgba[y][x]
            xor += bytes((b, g, r, a)) if a else b'\0\0\0\0'
    mask = and_mask(pic, lambda x, y: pic.rgba[y][x][3] == 0)
    data = bitmapinfoheader(n, 2 * n, 32, len(xor) + len(mask)) + bytes(xor) + mask
    return (n, 0, 32, data)


def ico_file(pic16, pic32):
    entries = [ico_entry_4bit(pic32), ico_entry_4bit(pic16), ico_entry_32bit(pic32), ico_entry_32bit(pic16)]
    out = struct.pack('<HHH', 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for n, colours, bpp, data in entries:
        out += struct.pack('<BBBBHHII', n, n, colours, 0, 1, bpp, len(data), offset)
        offset += len(data)
    return out + b''.join(e[3] for e in entries)


def bmp24(rows):
    h, w = len(rows), len(rows[0])
    row_bytes = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for r, g, b in rows[y]:
            row += bytes((b, g, r))
        row += b'\0' * (row_bytes - w * 3)
        data += row
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 3780, 3780, 0, 0)
    return header + info + bytes(data)


# ---------------------------------------------------------------- button skins

SKIN_W, SKIN_H = 74, 22
# The window face colour of current Windows; the corners outside the rounded border show it.
FACE = (240, 240, 240)


def skin(state):
    """state: 'up', 'over' (pointer on it) or 'down' (pressed)."""
    if state == 'up':
        border, top, bottom, light = (112, 122, 138), (252, 252, 253), (214, 219, 228), (255, 255, 255)
    elif state == 'over':
        border, top, bottom, light = (44, 120, 210), (236, 246, 255), (184, 216, 250), (255, 255, 255)
    else:
        border, top, bottom, light = (38, 84, 150), (168, 198, 232), (206, 226, 248), None

    outer = box(0, 0, SKIN_W, SKIN_H, 4.5)
    inner = box(1.2, 1.2, SKIN_W - 1.2, SKIN_H - 1.2, 3.4)
    pic_rows = []
    for y in range(SKIN_H):
        row = []
        for x in range(SKIN_W):
            px, py = x + 0.5, y + 0.5
            colour = FACE
            a = min(1.0, max(0.0, 0.5 - outer(px, py)))
            colour = mix(colour, border, a)
            b = min(1.0, max(0.0, 0.5 - inner(px, py)))
            t = py / SKIN_H
            fill = mix(top, bottom, t)
            if state == 'down':
                # A pressed button is lit from below: shade near the top edge.
                fill = mix(fill, (120, 150, 190), max(0.0, 1 - (py - 1.2) / 3.0) * 0.45)
            else:
                # Glassy look: the upper half a touch lighter than the lower.
                if py < SKIN_H / 2:
                    fill = mix(fill, (255, 255, 255), 0.35)
            colour = mix(colour, fill, b)
            if light and b > 0.5 and inner(px, py) > -1.2 and py < SKIN_H / 2:
                colour = mix(colour, light, 0.8)
            row.append(tuple(int(round(c)) for c in colour))
        pic_rows.append(row)
    return pic_rows


def mix(c0, c1, t):
    return tuple(c0[i] + (c1[i] - c0[i]) * t for i in range(3))


# ---------------------------------------------------------------- main

def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', '..', 'resources')
    icons = {
        'chimewell.ico': (from_grid(CLOCK_16, CLOCK_LEGEND), clock_32()),
        'tray1.ico': (from_grid(UNLIT_BULB_16, UNLIT_LEGEND), unlit_bulb_32()),
        'tray2.ico': (from_grid(LIT_BULB_16, LIT_LEGEND), lit_bulb_32()),
        'tray3.ico': (from_grid(WATCH_16, WATCH_LEGEND), watch_32()),
    }
    for name, (p16, p32) in icons.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(ico_file(p16, p32))
    for state in ('up', 'over', 'down'):
        with open(os.path.join(out, 'skin_%s.bmp' % state), 'wb') as f:
            f.write(bmp24(skin(state)))


if __name__ == '__main__':
    main()
