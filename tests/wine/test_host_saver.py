"""The saver run, the real programs side by side: Halvane.scr /s writes the texture, starts
the renderer, and ends both (bitmap deleted) on the mouse rule, not before."""
import os
import struct
import time

import harness

CENTRE = (harness.SCREEN_W // 2, harness.SCREEN_H // 2)


def asset_pixels(name):
    with open(os.path.join(harness.SOURCE_DIR, "assets", name), "rb") as f:
        data = f.read()
    off = struct.unpack_from("<I", data, 10)[0]
    return data[off:]


class SaverRun(harness.WineTest):

    def start_saver(self, *args):
        self.move_pointer(*CENTRE)
        host = self.start(os.path.join(self.dir, "Halvane.scr"), *args)
        renderer = self.wait_window("Selvin", 30, "OpenGL")
        self.assertIsNotNone(renderer, "the renderer's window did not appear")
        return host, renderer

    def test_texture_renderer_and_mouse_rule(self):
        self.install()
        host, renderer = self.start_saver("/s")
        texture = os.path.join(self.dir, "Halvane.bmp")

        # The texture file in exactly the layout the renderer reads.
        with open(texture, "rb") as f:
            data = f.read()
        self.assertEqual(len(data), 54 + 393216)
        (width, height, planes, bits, compression, size_image, clr_used) = (
            struct.unpack_from("<iiHHII", data, 18) + struct.unpack_from("<I", data, 46))
        self.assertEqual((width, height, planes, bits, compression), (512, 256, 1, 24, 0))
        self.assertIn(size_image, (0, 393216))
        self.assertEqual(clr_used, 0)
        self.assertEqual(struct.unpack_from("<I", data, 10)[0], 54)
        self.assertEqual(data[54:], asset_pixels("moon.bmp"), "pixels differ from the Moon picture")

        # The hidden saver form and the renderer's Moon on the screen.
        saver = self.wait_window("Selvora_Main", 5)
        self.assertIsNotNone(saver)
        self.assertFalse(saver["visible"])
        self.assertEqual(saver["pid"], host.winpid)
        time.sleep(1.0)
        shot = self.screenshot("saver.png")
        w, h = shot.width, shot.height
        centre = shot.region_mean(w // 2 - 40, h // 2 - 40, w // 2 + 40, h // 2 + 40)
        corner = shot.region_mean(0, 0, 60, 60)
        self.assertGreater(sum(centre) / 3, 60, f"no Moon in the middle: {centre}")
        self.assertLess(sum(corner) / 3, 10, f"the background is not black: {corner}")

        # Moves that do not end the run: one axis only, and exactly 30 on both.
        for dx, dy in ((200, 0), (0, 200), (30, 30), (-30, -30)):
            self.move_pointer(CENTRE[0] + dx, CENTRE[1] + dy)
            time.sleep(0.4)
            self.assertTrue(host.running(), f"the host ended on a move of {dx}/{dy}")
        self.assertIsNotNone(self.wait_window("Selvin", 1, "OpenGL"))

        # 31 on both axes ends both programs and deletes the texture.
        self.move_pointer(CENTRE[0] + 31, CENTRE[1] + 31)
        self.assertIsNotNone(host.wait(5), "the host did not end on 31/31")
        self.assertTrue(self.window_gone("Selvin", 5), "the renderer did not end")
        self.assertFalse(os.path.exists(texture), "Halvane.bmp was left behind")

    def test_empty_command_line_and_stale_texture(self):
        # A stale, wrong texture is replaced before the renderer starts, and deleted at the end.
        self.install(texture=b"stale" * 10)
        host, _ = self.start_saver()
        with open(os.path.join(self.dir, "Halvane.bmp"), "rb") as f:
            self.assertEqual(len(f.read()), 54 + 393216)
        self.move_pointer(CENTRE[0] - 100, CENTRE[1] - 100)
        self.assertIsNotNone(host.wait(5))
        self.assertTrue(self.window_gone("Selvin", 5))
        self.assertFalse(os.path.exists(os.path.join(self.dir, "Halvane.bmp")))

    def test_escape_ends_only_the_renderer(self):
        self.install()
        host, renderer = self.start_saver("/s")
        # Key-down alone: the renderer is gone before a key-up could reach it.
        self.probe("post", str(renderer["hwnd"]), hex(harness.WM_KEYDOWN), "27", "1")
        self.assertTrue(self.window_gone("Selvin", 5), "Esc did not end the renderer")
        time.sleep(0.5)
        self.assertTrue(host.running(), "the host ended with the renderer")
        self.assertTrue(os.path.exists(os.path.join(self.dir, "Halvane.bmp")))
        self.move_pointer(CENTRE[0] + 50, CENTRE[1] - 50)
        self.assertIsNotNone(host.wait(5))
        self.assertFalse(os.path.exists(os.path.join(self.dir, "Halvane.bmp")))

    def test_system_close_ends_the_run(self):
        # The system closing the hidden window (as at log-off) runs the same end step.
        self.install()
        host, _ = self.start_saver("/s")
        saver = self.wait_window("Selvora_Main", 5)
        self.post_close(saver["hwnd"])
        self.assertIsNotNone(host.wait(5), "WM_CLOSE did not end the host")
        self.assertFalse(os.path.exists(os.path.join(self.dir, "Halvane.bmp")))
        # The renderer watches the mouse on its own; end it the way a user would.
        self.move_pointer(CENTRE[0] + 100, CENTRE[1] + 100)
        self.assertTrue(self.window_gone("Selvin", 5))

    def test_log_off_ends_the_run(self):
        # Log-off asks every top-level window first (WM_QUERYENDSESSION): the run ends there.
        self.install()
        host, _ = self.start_saver("/s")
        saver = self.wait_window("Selvora_Main", 5)
        self.probe("send", str(saver["hwnd"]), "0x11", "0", "0", check=False)
        self.assertIsNotNone(host.wait(5), "the host did not end at log-off")
        self.assertFalse(os.path.exists(os.path.join(self.dir, "Halvane.bmp")))
        self.move_pointer(CENTRE[0] + 100, CENTRE[1] + 100)
        self.assertTrue(self.window_gone("Selvin", 5))


if __name__ == "__main__":
    harness.main()
