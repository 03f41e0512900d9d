"""The real renderer Halvane.dll under Wine: what it draws, how it ends, what it says about
a texture it cannot use. Each test starts it in a fresh folder whose name holds "表" (in
code page 932 its second byte is a backslash), so the texture path has to travel through
the ANSI code page intact and the folder cut must not stop inside that character."""
import os
import time

import harness
from harness import WM_KEYDOWN, bmp_bytes, win_path

RED, GREEN, BLUE, YELLOW = (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)


def band_texture(x, y):
    """Red where the first frame's nearest point lies (s = 0.75, t = 0.583) and a little to
    its left and right, green above that band, blue below it, yellow beside it."""
    s, t = (x + 0.5) / 512, 1 - (y + 0.5) / 256
    if t >= 0.63:
        return GREEN
    if t < 0.53:
        return BLUE
    return RED if 0.5 <= s < 0.77 else YELLOW


def gradient_texture(x, y):
    """Red grows with s: a point of the surface moving right shows less red under it."""
    return (int(255 * (x + 0.5) / 512), 0, 64)


def near(colour, expected, tolerance=40):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


class RendererTest(harness.WineTest):

    def launch(self, texture):
        folder = self.install(host=False, texture=texture, folder=os.path.join(self.dir, "表示"))
        self.exe = os.path.join(folder, "Halvane.dll")
        self.texture_path = win_path(folder) + "\\Halvane.bmp"
        self.proc = self.start(self.exe)
        return self.proc

    def wait_running(self):
        """The window's facts once the first frame is on the screen."""
        window = self.wait_window("Selvin", 30, "OpenGL")
        self.assertIsNotNone(window, "no renderer window")
        left, top, right, bottom = window["rect"]
        self.centre = ((left + right) // 2, (top + bottom) // 2)
        shown = self.wait_until(lambda: self.screenshot().pixel(*self.centre) != (0, 0, 0), 30)
        self.assertTrue(shown, "no frame drawn")
        return window

    def assert_still_running(self, seconds=1.0):
        self.assertIsNone(self.proc.wait(seconds), "the renderer ended")

    # -- the picture

    def test_window_and_first_view(self):
        self.launch(bmp_bytes(512, 256, band_texture))
        window = self.wait_running()
        shot = self.screenshot("first.png")  # soon: the red patch spans 90 degrees of turn
        metrics = self.probe("metrics")
        self.assertEqual(window["rect"], [0, 0, metrics["cxmaximized"],
                                          metrics["cymaximized"] + metrics["cycaption"]])
        self.assertEqual(window["style"], 0x96000000)  # popup, clip siblings and children, visible
        self.assertTrue(window["exstyle"] & 0x40000)   # WS_EX_APPWINDOW

        cx, cy = self.centre
        self.assertTrue(near(shot.pixel(cx, cy), RED), shot.pixel(cx, cy))
        self.assertTrue(near(shot.pixel(cx, cy - 90), GREEN), shot.pixel(cx, cy - 90))  # north is up
        self.assertTrue(near(shot.pixel(cx, cy + 90), BLUE), shot.pixel(cx, cy + 90))
        w, h = shot.width, shot.height
        for corner in [(0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)]:
            self.assertEqual(shot.pixel(*corner), (0, 0, 0), corner)

        self.post_close(window["hwnd"])
        self.assertEqual(self.proc.wait(15), 0)

    def test_surface_turns_left_to_right(self):
        self.launch(bmp_bytes(512, 256, gradient_texture))
        window = self.wait_running()
        cx, cy = self.centre
        first = self.screenshot("spin1.png")
        row1 = [first.pixel(x, cy)[0] for x in range(cx - 200, cx + 201)]

        def turned():  # a later row whose centre shows clearly less red (smaller s)
            row = [self.screenshot().pixel(x, cy)[0] for x in range(cx - 200, cx + 201)]
            return row if row[200] <= row1[200] - 4 else None
        row2 = self.wait_until(turned, 15, interval=0.3)
        self.assertIsNotNone(row2, "the centre shows no smaller s")

        def cost(d):  # how well the later row is the first moved right by d pixels
            return sum(abs(row2[i] - row1[i - d]) for i in range(150, 251)) / 101
        best = min(range(-150, 151), key=cost)
        self.assertGreater(best, 0, f"moved by {best} pixels")
        self.post_close(window["hwnd"])
        self.assertEqual(self.proc.wait(15), 0)

    # -- how it ends

    def test_pointer_ends_it_past_30_pixels_on_both_axes(self):
        self.launch(bmp_bytes(512, 256, band_texture))
        self.wait_running()
        x0, y0 = self.pointer()
        self.move_pointer(x0 + 200, y0)        # far, but along one axis only
        self.assert_still_running()
        self.move_pointer(x0 + 30, y0 + 30)    # measured from the start, not the last move
        self.assert_still_running()
        self.click()                           # buttons end nothing
        self.assert_still_running()
        self.move_pointer(x0 + 31, y0 + 31)
        self.assertEqual(self.proc.wait(15), 0)
        self.assertTrue(self.window_gone("Selvin"))

    def test_escape_ends_it_other_keys_do_not(self):
        self.launch(bmp_bytes(512, 256, band_texture))
        window = self.wait_running()
        hwnd = str(window["hwnd"])
        self.probe("post", hwnd, hex(WM_KEYDOWN), "65", "1")        # 'A'
        self.probe("post", hwnd, hex(WM_KEYDOWN), "256", "1")       # beyond the key table
        self.probe("post", hwnd, hex(WM_KEYDOWN), "0x7fffffff", "1")
        self.key("space")
        self.assert_still_running()
        self.xdotool("keydown", "Escape")
        try:
            self.assertEqual(self.proc.wait(15), 0)
        finally:
            self.xdotool("keyup", "Escape")

    def test_close_request_ends_it(self):
        self.launch(bmp_bytes(512, 256, band_texture))
        window = self.wait_running()
        self.post_close(window["hwnd"])
        self.assertEqual(self.proc.wait(15), 0)

    # -- textures it cannot use

    def expect_refusal(self, first_text):
        if first_text is not None:
            box = self.message_box("BMP Unit", 30)
            self.assertIsNotNone(box, "no BMP Unit message")
            self.assertEqual(box["text"], first_text)
            self.assertEqual(box["buttons"], ["OK"])
        box = self.message_box("Loading Textures", 30)
        self.assertIsNotNone(box, "no Loading Textures message")
        self.assertEqual(box["text"], "Unable to load " + self.texture_path)
        self.assertEqual(self.proc.wait(15), 1)

    def test_missing_texture(self):
        self.launch(None)
        self.expect_refusal('Error opening "' + self.texture_path)

    def test_top_down_texture_is_refused(self):
        self.launch(bmp_bytes(512, 256, band_texture, top_down=True))
        self.expect_refusal("Bitmap is stored top-down (negative height)")

    def test_empty_texture_shows_only_unable_to_load(self):
        self.launch(bmp_bytes(0, 0, band_texture))
        self.expect_refusal(None)

    def test_short_pixel_data_is_reported_once_and_the_moon_runs_on(self):
        data = bmp_bytes(512, 256, band_texture)
        self.launch(data[:54 + 512 * 3 * 100])  # 100 of 256 rows
        box = self.message_box("BMP Unit", 30)
        self.assertIsNotNone(box)
        self.assertEqual(box["text"], "Error reading bitmap data")
        window = self.wait_window("Selvin", 30, "OpenGL")
        self.assertIsNotNone(window)
        self.assert_still_running(2.0)
        self.assertIsNone(self.message_box("BMP Unit", 1), "a second message")
        self.assertIsNone(self.message_box("Loading Textures", 1))
        self.post_close(window["hwnd"])
        self.assertEqual(self.proc.wait(15), 0)


if __name__ == "__main__":
    harness.main()
