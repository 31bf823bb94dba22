"""Tests of the art pipeline's file writers and command line: the files the
resource compiler embeds must have the headers Windows reads, and a script
and its build rule must list the same files."""

import os
import struct
import tempfile
import unittest

import cairo

import nimart
from nimart import draw, rasterfiles


def solid(width, height, rgba):
    s, ctx = draw.surface(width, height, alpha=True)
    ctx.set_source_rgba(*rgba)
    ctx.paint()
    return s


class Bmp24(unittest.TestCase):
    def test_rows_are_bottom_up_bgr_padded_to_four_bytes(self):
        s, ctx = draw.surface(3, 2)
        draw.fill_rect(ctx, (0, 0, 3, 1), (255, 0, 0))  # top row red
        draw.fill_rect(ctx, (0, 1, 3, 2), (0, 0, 255))  # bottom row blue
        data = rasterfiles.bmp24_bytes(s)
        offset, = struct.unpack_from("<I", data, 10)
        width, height, planes, bits = struct.unpack_from("<iiHH", data, 18)
        self.assertEqual((width, height, planes, bits), (3, 2, 1, 24))
        self.assertEqual(len(data), offset + 2 * 12)  # 9 bytes a row, padded to 12
        self.assertEqual(data[offset:offset + 3], bytes((255, 0, 0)))  # blue first (bottom row)
        self.assertEqual(data[offset + 12:offset + 15], bytes((0, 0, 255)))


class Bmp8(unittest.TestCase):
    def read(self, data):
        offset, = struct.unpack_from("<I", data, 10)
        width, height, planes, bits = struct.unpack_from("<iiHH", data, 18)
        used, = struct.unpack_from("<I", data, 46)
        table = [tuple(data[54 + 4 * i:54 + 4 * i + 3]) for i in range(used)]
        row = (width + 3) & ~3
        self.assertEqual(len(data), offset + row * height)
        self.assertEqual(offset, 54 + 4 * used)
        # Top-down (b, g, r) pixels.
        pixels = [[table[data[offset + (height - 1 - y) * row + x]] for x in range(width)]
                  for y in range(height)]
        return (width, height, planes, bits), table, pixels

    def test_few_colours_are_kept_exactly_rows_bottom_up_padded(self):
        s, ctx = draw.surface(5, 2)
        draw.fill_rect(ctx, (0, 0, 5, 1), (255, 0, 0))
        draw.fill_rect(ctx, (0, 1, 5, 2), (10, 20, 30))
        header, table, pixels = self.read(rasterfiles.bmp8_bytes(s))
        self.assertEqual(header, (5, 2, 1, 8))
        self.assertEqual(len(table), 2)
        self.assertEqual(pixels[0][4], (0, 0, 255))
        self.assertEqual(pixels[1][0], (30, 20, 10))

    def test_many_colours_reduce_to_256_close_ones(self):
        s, ctx = draw.surface(64, 64)
        for y in range(64):
            for x in range(64):
                draw.fill_rect(ctx, (x, y, x + 1, y + 1), (x * 4, y * 4, (x * y) % 256))
        header, table, pixels = self.read(rasterfiles.bmp8_bytes(s))
        self.assertEqual(header[3], 8)
        self.assertLessEqual(len(table), 256)
        worst = 0
        for y in range(0, 64, 3):
            for x in range(0, 64, 3):
                b, g, r = pixels[y][x]
                worst = max(worst, abs(r - x * 4), abs(g - y * 4))
        self.assertLess(worst, 48)


class IconsAndCursors(unittest.TestCase):
    def test_icon_directory_and_mask(self):
        half = solid(16, 16, (0, 0, 0, 0))
        ctx = cairo.Context(half)
        ctx.set_source_rgba(1, 1, 1, 1)
        ctx.rectangle(0, 0, 8, 16)
        ctx.fill()
        data = rasterfiles.ico_bytes([half, solid(32, 32, (0.5, 0.5, 0.5, 0.5))])
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 2))
        width, height, _, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
        self.assertEqual((width, height, planes, bits), (16, 16, 1, 32))
        header_height, = struct.unpack_from("<i", data, offset + 8)
        self.assertEqual(header_height, 32)  # colour and mask
        mask = data[offset + 40 + 16 * 16 * 4:offset + size]
        self.assertEqual(len(mask), 16 * 4)
        self.assertEqual(mask[0:4], bytes((0x00, 0xFF, 0, 0)))  # left half opaque
        # Half-transparent pixels are stored un-premultiplied.
        second, = struct.unpack_from("<I", data, 6 + 16 + 12)
        b, g, r, a = data[second + 40:second + 44]
        self.assertEqual(a, 128)
        self.assertGreaterEqual(r, 126)

    def test_cursor_keeps_its_hot_spot(self):
        data = rasterfiles.cur_bytes([(solid(32, 32, (0, 0, 0, 1)), (2, 4))])
        _, kind, _ = struct.unpack_from("<HHH", data, 0)
        hot_x, hot_y = struct.unpack_from("<HH", data, 6 + 4)
        self.assertEqual((kind, hot_x, hot_y), (2, 2, 4))


class CommandLine(unittest.TestCase):
    def test_writes_every_listed_file_from_a_list_file(self):
        with tempfile.TemporaryDirectory() as out:
            listing = os.path.join(out, "names")
            with open(listing, "w") as f:
                f.write("a.bmp\nb.ico\n")
            nimart.main({"a.bmp": lambda: solid(4, 4, (1, 0, 0, 1)),
                         "b.ico": lambda: [solid(16, 16, (0, 1, 0, 1))]}, [out, "@" + listing])
            self.assertTrue(os.path.exists(os.path.join(out, "a.bmp")))
            self.assertTrue(os.path.exists(os.path.join(out, "b.ico")))
            self.assertFalse(os.path.exists(os.path.join(out, "a.bmp.tmp")))

    def test_refuses_lists_that_disagree(self):
        with tempfile.TemporaryDirectory() as out:
            producers = {"a.bmp": lambda: solid(4, 4, (1, 0, 0, 1))}
            with self.assertRaises(SystemExit):
                nimart.main(producers, [out, "a.bmp", "missing.bmp"])
            with self.assertRaises(SystemExit):
                nimart.main(dict(producers, extra=lambda: None), [out, "a.bmp"])
            with self.assertRaises(SystemExit):
                nimart.main({"a.png": producers["a.bmp"]}, [out, "a.png"])


if __name__ == "__main__":
    unittest.main()
