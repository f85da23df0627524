#!/usr/bin/env python3
"""Checks that the generated pictures are files Windows accepts, with the images it picks from."""
import os
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_art  # noqa: E402


def read_ico(data):
    reserved, kind, count = struct.unpack_from('<HHH', data, 0)
    entries = []
    for i in range(count):
        w, h, colours, _, planes, bpp, size, offset = struct.unpack_from('<BBBBHHII', data, 6 + 16 * i)
        hdr = struct.unpack_from('<IiiHHIIiiII', data, offset)
        entries.append(dict(w=w, h=h, colours=colours, planes=planes, bpp=bpp, size=size, offset=offset, hdr=hdr))
    return reserved, kind, entries


class GeneratedFiles(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.TemporaryDirectory()
        sys.argv = ['make_art.py', cls.dir.name]
        make_art.main()

    @classmethod
    def tearDownClass(cls):
        cls.dir.cleanup()

    def read(self, name):
        with open(os.path.join(self.dir.name, name), 'rb') as f:
            return f.read()

    def test_icons_hold_both_sizes_in_both_depths(self):
        for name in ('chimewell.ico', 'tray1.ico', 'tray2.ico', 'tray3.ico'):
            with self.subTest(name):
                data = self.read(name)
                reserved, kind, entries = read_ico(data)
                self.assertEqual((reserved, kind), (0, 1))
                self.assertEqual(sorted((e['w'], e['bpp']) for e in entries), [(16, 4), (16, 32), (32, 4), (32, 32)])
                for e in entries:
                    n, bpp = e['w'], e['bpp']
                    self.assertEqual(e['h'], n)
                    self.assertEqual(e['colours'], 16 if bpp == 4 else 0)
                    self.assertEqual(e['planes'], 1)
                    # The image header: height counts the colour image and the mask together.
                    self.assertEqual(e['hdr'][:5], (40, n, 2 * n, 1, bpp))
                    palette = 64 if bpp == 4 else 0
                    xor = ((n * bpp + 31) // 32) * 4 * n
                    mask = ((n + 31) // 32) * 4 * n
                    self.assertEqual(e['size'], 40 + palette + xor + mask)
                    self.assertLessEqual(e['offset'] + e['size'], len(data))

    def test_pictures_have_transparent_corners_and_opaque_middle(self):
        # A picture that fills its square, or leaves its middle empty, would not read as an icon.
        for name, (p16, p32) in {
            'clock': (make_art.from_grid(make_art.CLOCK_16, make_art.CLOCK_LEGEND), make_art.clock_32()),
            'unlit': (make_art.from_grid(make_art.UNLIT_BULB_16, make_art.UNLIT_LEGEND), make_art.unlit_bulb_32()),
            'lit': (make_art.from_grid(make_art.LIT_BULB_16, make_art.LIT_LEGEND), make_art.lit_bulb_32()),
            'watch': (make_art.from_grid(make_art.WATCH_16, make_art.WATCH_LEGEND), make_art.watch_32()),
        }.items():
            for pic in (p16, p32):
                with self.subTest(name, size=pic.n):
                    n = pic.n
                    self.assertEqual(pic.rgba[n - 1][0][3], 0)
                    self.assertIsNone(pic.vga[n - 1][0])
                    self.assertEqual(pic.rgba[n // 2][n // 2][3], 255)
                    self.assertIsNotNone(pic.vga[n // 2][n // 2])

    def test_skins_are_24_bit_and_visibly_distinct(self):
        pixels = {}
        for state in ('up', 'over', 'down'):
            data = self.read('skin_%s.bmp' % state)
            magic, size, _, _, offset = struct.unpack_from('<2sIHHI', data, 0)
            hdr = struct.unpack_from('<IiiHHI', data, 14)
            self.assertEqual((magic, size, offset), (b'BM', len(data), 54))
            self.assertEqual(hdr, (40, 74, 22, 1, 24, 0))
            row = (74 * 3 + 3) & ~3
            mid = 54 + 11 * row + 37 * 3
            pixels[state] = data[mid:mid + 3]
            # Dark captions need a light face.
            self.assertGreater(sum(pixels[state]) / 3, 150, state)
        self.assertEqual(len(set(pixels.values())), 3)


if __name__ == '__main__':
    unittest.main()
