#!/usr/bin/env python3
"""Quick placeholder pictures so the resource script links before the real art lands."""
import struct, sys, os

def bmp24(w, h, px):
    row = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        r = bytearray()
        for x in range(w):
            cr, cg, cb = px(x, y)
            r += bytes((cb, cg, cr))
        r += b'\0' * (row - w * 3)
        data += r
    hdr = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return hdr + info + bytes(data)

def ico_image32(n, col):
    xor = bytearray()
    for y in range(n):
        for x in range(n):
            xor += bytes((col[2], col[1], col[0], 255))
    androw = ((n + 31) // 32) * 4
    mask = b'\0' * (androw * n)
    info = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + mask

def ico(col):
    imgs = [(16, ico_image32(16, col)), (32, ico_image32(32, col))]
    out = struct.pack('<HHH', 0, 1, len(imgs))
    off = 6 + 16 * len(imgs)
    body = b''
    for n, d in imgs:
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(d), off)
        off += len(d)
        body += d
    return out + body

d = sys.argv[1]
for name, col in [('chimewell', (200, 60, 40)), ('tray1', (128, 128, 128)),
                  ('tray2', (250, 220, 40)), ('tray3', (40, 90, 200))]:
    open(os.path.join(d, name + '.ico'), 'wb').write(ico(col))
for name, c in [('skin_up', 210), ('skin_over', 235), ('skin_down', 170)]:
    open(os.path.join(d, name + '.bmp'), 'wb').write(bmp24(74, 22, lambda x, y, c=c: (c, c, c)))
