"""Checks of the committed pictures in assets/: file form, Moon texture levels and
orientation, preview disc, button ring colours, selection marks and the icon.

Python 3 standard library only. HALVANE_SOURCE_DIR names the repository (the
folder above tests/ when it is not set).
"""

import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

SOURCE_DIR = os.environ.get("HALVANE_SOURCE_DIR") or os.path.dirname(
    os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ASSETS = os.path.join(SOURCE_DIR, "assets")
GENERATOR = os.path.join(SOURCE_DIR, "tools", "assets")
MOON_SOURCE = os.path.join(os.path.dirname(os.path.abspath(SOURCE_DIR)), "shared", "assets-source",
                           "moon-relief-1024x512.png")

BUTTON_NAMES = ("normal", "highlight", "pressed", "disable", "selected", "highlightselect")

# Every BMP the program carries: name, width, height.
BMP_FILES = [("moon.bmp", 512, 256), ("preview.bmp", 152, 112),
             ("mark_off.bmp", 12, 12), ("mark_on.bmp", 12, 12)] + [
    ("button_%s.bmp" % name, 64, 25) for name in BUTTON_NAMES]


def read(name):
    with open(os.path.join(ASSETS, name), "rb") as f:
        return f.read()


def bmp_rows(data):
    """Pixels of a 24-bit bottom-up BMP as rows of (r, g, b), in the order the
    file stores them (bottom row first)."""
    width, height = struct.unpack("<ii", data[18:26])
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height):
        line = data[54 + y * stride:54 + y * stride + width * 3]
        rows.append([(line[i + 2], line[i + 1], line[i]) for i in range(0, len(line), 3)])
    return rows


def top_down(name):
    return list(reversed(bmp_rows(read(name))))


def hexrgb(text):
    v = int(text.lstrip("#"), 16)
    return (v >> 16, (v >> 8) & 0xFF, v & 0xFF)


class FileFormTest(unittest.TestCase):
    def test_every_bmp_is_24_bit_bottom_up_without_colour_table(self):
        for name, width, height in BMP_FILES:
            with self.subTest(name=name):
                data = read(name)
                stride = (width * 3 + 3) & ~3
                image = stride * height
                magic, file_size, _r1, _r2, offset = struct.unpack("<2sIHHI", data[:14])
                (size, w, h, planes, bits, compression, size_image, _x, _y, clr_used,
                 _imp) = struct.unpack("<IiiHHIIiiII", data[14:54])
                self.assertEqual(magic, b"BM")
                self.assertEqual(len(data), 54 + image)
                self.assertEqual(file_size, len(data))
                self.assertEqual((offset, size, planes), (54, 40, 1))
                self.assertEqual((w, h), (width, height))  # positive height: bottom-up
                self.assertEqual((bits, compression, clr_used), (24, 0, 0))
                self.assertIn(size_image, (0, image))

    def test_moon_texture_is_exactly_the_size_the_renderer_reads(self):
        self.assertEqual(len(read("moon.bmp")), 54 + 393216)


class MoonTextureTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.stored = bmp_rows(read("moon.bmp"))  # south row first

    def test_grey_evenly_levelled_with_few_extremes(self):
        values = []
        for row in self.stored:
            for r, g, b in row:
                self.assertTrue(r == g == b, "colour pixel %r" % ((r, g, b),))
                values.append(r)
        count = len(values)
        self.assertAlmostEqual(sum(values) / count, 139.0, delta=3.0)
        self.assertLess(sum(1 for v in values if v < 16) / count, 0.005)
        self.assertLess(sum(1 for v in values if v > 240) / count, 0.005)

    def test_no_brightness_step_between_neighbouring_columns(self):
        # A join between two surveys in the source map shows as a vertical line
        # on the turning Moon unless it is evened out.
        height = len(self.stored)
        means = [sum(row[x][0] for row in self.stored) / height for x in range(512)]
        worst = max(range(511), key=lambda x: abs(means[x + 1] - means[x]))
        self.assertLess(abs(means[worst + 1] - means[worst]), 10.0,
                        "step after column %d" % worst)
        # The seam is at the wrap too: the map must also join itself.
        self.assertLess(abs(means[0] - means[511]), 10.0)

    @unittest.skipUnless(os.path.exists(MOON_SOURCE), "source map not present")
    def test_south_row_is_stored_first(self):
        sys.path.insert(0, GENERATOR)
        import imagefiles
        _w, _h, rows = imagefiles.read_png(MOON_SOURCE)
        # The source has the north at the top: its last rows are the south.
        source = [[sum(rows[2 * y + dy][2 * x + dx][1] for dy in (0, 1) for dx in (0, 1))
                   for x in range(0, 512, 4)] for y in range(256)]
        stored = [[row[x][0] for x in range(0, 512, 4)] for row in self.stored]

        def correlation(a, b):
            xs = [v for row in a for v in row]
            ys = [v for row in b for v in row]
            mx, my = sum(xs) / len(xs), sum(ys) / len(ys)
            cov = sum((x - mx) * (y - my) for x, y in zip(xs, ys))
            vx = sum((x - mx) ** 2 for x in xs)
            vy = sum((y - my) ** 2 for y in ys)
            return cov / math.sqrt(vx * vy)

        south_first = correlation(stored, list(reversed(source)))
        north_first = correlation(stored, source)
        self.assertGreater(south_first, 0.95)
        self.assertLess(north_first, 0.5)


@unittest.skipUnless(os.path.exists(MOON_SOURCE), "source map not present")
class GeneratorTest(unittest.TestCase):
    def test_generator_reproduces_the_committed_files(self):
        sys.path.insert(0, GENERATOR)
        import make_assets
        out = tempfile.mkdtemp(prefix="halvane-assets-")
        try:
            make_assets.make_all(out, MOON_SOURCE)
            names = sorted(os.listdir(out))
            self.assertEqual(names, sorted(n for n in os.listdir(ASSETS)
                                           if not n.startswith(".")))
            for name in names:
                with self.subTest(name=name):
                    with open(os.path.join(out, name), "rb") as f:
                        fresh = f.read()
                    committed = read(name)
                    self.assertEqual(len(fresh), len(committed))
                    if name in ("preview.bmp", "halvane.ico"):
                        # Rendered with trigonometry: allow the last bit of a
                        # different maths library.
                        worst = max(abs(a - b) for a, b in zip(fresh, committed))
                        self.assertLessEqual(worst, 1)
                    else:
                        self.assertEqual(fresh, committed)
        finally:
            shutil.rmtree(out)


class PreviewTest(unittest.TestCase):
    def test_light_warm_disc_of_radius_53_centred_on_black(self):
        rows = top_down("preview.bmp")
        height, width = len(rows), len(rows[0])
        for cx, cy in ((0, 0), (width - 10, 0), (0, height - 10), (width - 10, height - 10)):
            for y in range(cy, cy + 10):
                for x in range(cx, cx + 10):
                    self.assertEqual(rows[y][x], (0, 0, 0), "corner pixel %d,%d" % (x, y))
        # Pixels at least half covered by the disc.
        inside = [(x, y) for y in range(height) for x in range(width)
                  if sum(rows[y][x]) > 3 * 45]
        area = len(inside)
        self.assertAlmostEqual(math.sqrt(area / math.pi), 53.0, delta=1.5)
        mx = sum(x + 0.5 for x, _ in inside) / area
        my = sum(y + 0.5 for _, y in inside) / area
        self.assertAlmostEqual(mx, 76.0, delta=1.0)
        self.assertAlmostEqual(my, 56.0, delta=1.0)
        # Nothing lit beyond the rim.
        for y in range(height):
            for x in range(width):
                if math.hypot(x + 0.5 - 76, y + 0.5 - 56) > 55:
                    self.assertEqual(rows[y][x], (0, 0, 0))
        # Light and warm: red above green above blue, bright on average.
        core = [rows[y][x] for x, y in inside if math.hypot(x + 0.5 - 76, y + 0.5 - 56) < 50]
        mean = [sum(p[c] for p in core) / len(core) for c in range(3)]
        self.assertGreater(mean[0], mean[1])
        self.assertGreater(mean[1], mean[2])
        self.assertGreater(sum(mean) / 3, 150)


OUT = "#003C74"
# Ring colours at each side, outermost pixel first: the button picture table.
# Two inner columns "blending A to B" are read across the side: A outer, B inner.
RINGS = {
    "normal": {
        "top": ["#DCD6C2", OUT, "#F3F3EE", "#F3F3EE"],
        "bottom": ["#FAFAF6", OUT, "#D6D0C5", "#E2DFD6"],
        "left": ["#E2DECB", OUT, "#FDFDFC", "#ECEBE6"],
        "right": ["#F0EEE0", OUT, "#F6F4F2", "#E0DDD4"]},
    "highlight": {
        "top": ["#DCD6C2", OUT, "#FFF0CF", "#FDD889"],
        "bottom": ["#FAFAF6", OUT, "#E59700", "#F8B330"],
        "left": ["#E2DECB", OUT, "#FEDF9A", "#F8B230"],
        "right": ["#F0EEE0", OUT, "#FEDF9A", "#F8B230"]},
    "selected": {
        "top": ["#DCD6C2", OUT, "#CEE7FF", "#CEE7FF"],
        "bottom": ["#FAFAF6", OUT, "#6982EE", "#6982EE"],
        "left": ["#E2DECB", OUT, "#B7D0F4", "#8BADE4"],
        "right": ["#F0EEE0", OUT, "#B7D0F4", "#8BADE4"]},
    "pressed": {
        "top": ["#ECE9D8", "#DCD6C2", OUT, "#D1CCC1"],
        "bottom": ["#ECE9D8", "#FAFAF6", OUT, "#F2F1EE"],
        "left": ["#ECE9D8", "#E2DECB", OUT, "#D7D4CB"],
        "right": ["#ECE9D8", "#F0EEE0", OUT, "#E4E3DC"]},
    "disable": {side: ["#ECE9D8", "#C9C7BA", "#F5F4EA", "#F5F4EA"]
                for side in ("top", "bottom", "left", "right")},
}
RINGS["highlightselect"] = RINGS["highlight"]


def side_pixels(rows, side, depth, position):
    """The pixel depth steps in from the edge of side, at position along it."""
    h, w = len(rows), len(rows[0])
    if side == "top":
        return rows[depth][position]
    if side == "bottom":
        return rows[h - 1 - depth][position]
    if side == "left":
        return rows[position][depth]
    return rows[position][w - 1 - depth]


class ButtonPicturesTest(unittest.TestCase):
    def test_ring_colours_along_each_side(self):
        # The middle of each side against the table, and the same colours all
        # along the stretch of the side that the button widens.
        for name in BUTTON_NAMES:
            rows = top_down("button_%s.bmp" % name)
            for side, colours in RINGS[name].items():
                length = 64 if side in ("top", "bottom") else 25
                for depth, colour in enumerate(colours):
                    with self.subTest(picture=name, side=side, depth=depth):
                        self.assertEqual(side_pixels(rows, side, depth, length // 2),
                                         hexrgb(colour))
                        along = {side_pixels(rows, side, depth, p)
                                 for p in range(4, length - 4)}
                        self.assertEqual(along, {hexrgb(colour)})

    def test_rounded_corners(self):
        # (column, row) offsets into a corner block, counted from its outer edges.
        outline_cells = {"pressed": [(3, 3)]}
        for name in BUTTON_NAMES:
            rows = top_down("button_%s.bmp" % name)
            rings = RINGS[name]
            outline = hexrgb(rings["top"][2 if name == "pressed" else 1])
            for vertical, horizontal in (("left", "top"), ("right", "top"),
                                         ("left", "bottom"), ("right", "bottom")):
                def at(a, b):
                    x = a if vertical == "left" else 63 - a
                    y = b if horizontal == "top" else 24 - b
                    return rows[y][x]
                with self.subTest(picture=name, corner=horizontal + "-" + vertical):
                    # The corner pixel has the frame colour.
                    self.assertEqual(at(0, 0), hexrgb(rings[horizontal][0]))
                    # The outline cuts the block diagonally, so the pixel where the
                    # two straight outlines would meet is not outline.
                    depth = 2 if name == "pressed" else 1
                    self.assertNotEqual(at(depth, depth), outline)
                    for a, b in outline_cells.get(name, [(1, 3), (2, 2), (3, 1)]):
                        self.assertEqual(at(a, b), outline)
                    if name == "pressed":
                        for i in range(4):  # the extra outer row and column
                            self.assertEqual(at(i, 0), hexrgb("#ECE9D8"))
                            self.assertEqual(at(0, i), hexrgb("#ECE9D8"))

    def test_highlight_and_highlightselect_are_one_picture(self):
        self.assertEqual(read("button_highlight.bmp"), read("button_highlightselect.bmp"))


class MarksTest(unittest.TestCase):
    def test_empty_and_blue_marks(self):
        def is_blue(p):
            return p[2] > p[0] + 80 and p[2] > p[1] + 40

        def is_grey_frame(p):
            return p[0] == p[1] == p[2] and 64 <= p[0] <= 192

        for name, filled in (("mark_off.bmp", False), ("mark_on.bmp", True)):
            with self.subTest(name=name):
                rows = top_down(name)
                self.assertEqual((len(rows), len(rows[0])), (12, 12))
                ring = [rows[y][x] for y in range(12) for x in range(12)
                        if min(x, y, 11 - x, 11 - y) == 0]
                self.assertTrue(all(is_grey_frame(p) for p in ring))
                inner = [rows[y][x] for y in range(1, 11) for x in range(1, 11)]
                blue = sum(1 for p in inner if is_blue(p))
                if filled:
                    self.assertGreaterEqual(blue, 60)
                    self.assertTrue(is_blue(rows[5][5]) and is_blue(rows[6][6]))
                else:
                    self.assertEqual(blue, 0)
                    self.assertTrue(all(min(p) >= 200 for p in inner))


class IconTest(unittest.TestCase):
    def test_icon_holds_32_and_16_pixel_images(self):
        data = read("halvane.ico")
        reserved, kind, count = struct.unpack("<HHH", data[:6])
        self.assertEqual((reserved, kind), (0, 1))
        sizes = {}
        for i in range(count):
            w, h, _colours, _r, planes, bits, size, offset = struct.unpack(
                "<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
            w, h = w or 256, h or 256
            self.assertLessEqual(offset + size, len(data))
            (hsize, bw, bh, _planes, bbits, compression, _s, _x, _y, _u,
             _i) = struct.unpack("<IiiHHIIiiII", data[offset:offset + 40])
            self.assertEqual((hsize, bw, bh, compression), (40, w, 2 * h, 0))
            mask = ((w + 31) // 32) * 4 * h
            self.assertEqual(size, 40 + w * h * bbits // 8 + mask)
            sizes[(w, h)] = (offset, bbits)
        self.assertIn((32, 32), sizes)
        self.assertIn((16, 16), sizes)
        # A Moon on a dark sky: a dark corner, a light middle.
        offset, bits = sizes[(32, 32)]
        self.assertEqual(bits, 32)

        def pixel(x, y):  # rows bottom-up, BGRA
            at = offset + 40 + ((31 - y) * 32 + x) * 4
            return data[at + 2], data[at + 1], data[at]
        self.assertLess(sum(pixel(0, 0)), 3 * 60)
        self.assertGreater(sum(pixel(16, 16)), 3 * 100)

    @unittest.skipUnless(shutil.which("x86_64-w64-mingw32-windres"), "no windres")
    def test_resource_compiler_takes_the_icon(self):
        out = tempfile.mkdtemp(prefix="halvane-ico-")
        try:
            rc = os.path.join(out, "icon.rc")
            with open(rc, "w") as f:
                f.write('1 ICON "%s"\n' % os.path.join(ASSETS, "halvane.ico").replace("\\", "/"))
            result = subprocess.run(["x86_64-w64-mingw32-windres", rc, "-O", "coff",
                                     "-o", os.path.join(out, "icon.res")],
                                    capture_output=True, text=True)
            self.assertEqual(result.returncode, 0, result.stderr)
        finally:
            shutil.rmtree(out)


if __name__ == "__main__":
    unittest.main()
