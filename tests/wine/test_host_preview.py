"""The preview: Halvane.scr /p <hwnd> puts its picture into a parent window of our probe,
as a child, and ends when the parent goes away."""
import json
import os
import subprocess

import harness
import session

WS_CHILD = 0x40000000


def preview_asset():
    with open(os.path.join(harness.SOURCE_DIR, "assets", "preview.bmp"), "rb") as f:
        return harness.Image.from_bmp(f.read())


class Preview(harness.WineTest):

    def start_preview(self, width, height, fmt="/p {}", renderer=True):
        self.install(renderer=renderer)
        parent, control = self.make_parent(width, height)
        host = self.start(os.path.join(self.dir, "Halvane.scr"), *fmt.format(parent).split(" "))
        # Shown is the last step: by then the child is in place.
        child = self.wait_until(lambda: [c for c in control("children") if c["visible"]], 20, 0.2)
        self.assertTrue(child, "no shown child window in the parent")
        return host, parent, control, child[0]

    def checked(self, width, height):
        """The preview form printed inside a parent of its own process (preview_check.exe):
        under Wine a child of another process's window never reaches the screen and no
        device context crosses processes, so the real program's picture cannot be read."""
        outs = [os.path.join(self.dir, f"{name}-{width}x{height}.bmp") for name in ("print", "client")]
        r = subprocess.run([session.WINE, os.path.join(harness.TOOLS_DIR, "preview_check.exe"),
                            str(width), str(height), *map(harness.win_path, outs)],
                           env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
        facts = json.loads(r.stdout.decode().strip().splitlines()[-1])
        images = []
        for out in outs:
            with open(out, "rb") as f:
                images.append(harness.Image.from_bmp(f.read()))
        return facts, images

    def test_picture_fills_a_parent_of_its_size_and_goes_with_it(self):
        host, parent, control, child = self.start_preview(152, 112)
        info = control("info")
        self.assertEqual(child["title"], "Preview Window")
        self.assertEqual(child["pid"], host.winpid)
        self.assertTrue(child["style"] & WS_CHILD)
        self.assertTrue(child["visible"])
        self.assertEqual(child["rect"], info["rect"], "the form does not cover the parent")
        self.assertEqual(child["client"], [0, 0, 152, 112])
        control("destroy")
        self.assertEqual(host.wait(10), 0, "the host did not end with its parent")

    def test_the_form_prints_its_picture(self):
        # The picture, pixel for pixel, through WM_PRINT and WM_PRINTCLIENT: filling a parent
        # of its size, at the top-left with black beside it in a larger one, and the
        # top-left part in a smaller one. The form goes with its parent.
        self.install()
        want = preview_asset()
        for w, h in ((152, 112), (200, 150), (100, 80)):
            with self.subTest(size=(w, h)):
                facts, images = self.checked(w, h)
                self.assertTrue(facts["child"])
                self.assertEqual(facts["rect"], [0, 0, w, h])
                self.assertTrue(facts["style"] & WS_CHILD)
                self.assertTrue(facts["printed"] and facts["printed_client"])
                self.assertEqual((facts["forms_before"], facts["forms_after"]), (1, 0))
                for got in images:
                    self.assertEqual((got.width, got.height), (w, h))
                    cw, ch = min(w, 152), min(h, 112)
                    self.assertEqual(got.crop(0, 0, cw, ch).rgb, want.crop(0, 0, cw, ch).rgb)
                    if w > 152:
                        self.assertEqual(got.region_mean(152, 0, w, h), (0.0, 0.0, 0.0))
                    if h > 112:
                        self.assertEqual(got.region_mean(0, 112, w, h), (0.0, 0.0, 0.0))

    def test_larger_parent_and_a_colon_before_the_handle(self):
        host, parent, control, child = self.start_preview(200, 150, fmt="/p:{}")
        self.assertEqual(child["client"], [0, 0, 200, 150])
        self.assertEqual(child["rect"], control("info")["rect"])
        control("close")  # WM_CLOSE to the parent destroys it, and the preview with it
        self.assertEqual(host.wait(10), 0)

    def test_preview_needs_neither_renderer_nor_settings(self):
        host, parent, control, child = self.start_preview(152, 112, renderer=False)
        self.assertEqual(child["title"], "Preview Window")
        self.assertIsNone(self.wait_window("Halvane (ScreenSaver)", 0.5), "the renderer check ran")
        self.assertFalse(os.path.exists(os.path.join(self.dir, "Halvane.ini")))
        control("destroy")
        self.assertEqual(host.wait(10), 0)

    def test_parent_too_wide_for_twips(self):
        # 3000 px is 45000 twips at 15 a pixel, more than 16 bits hold: that axis keeps 0.
        host, parent, control, child = self.start_preview(3000, 112)
        self.assertEqual(child["client"], [0, 0, 0, 112])
        control("destroy")
        self.assertEqual(host.wait(10), 0)

    def test_handles_that_name_no_window_end_at_once(self):
        self.install()
        for args in (["/p"], ["/p", "0"], ["/p", "abc"], ["/p", "99999999999999"], ["/p", "-5"],
                     ["/p", "123456"], ["/p", "&HFFFFFFFF"], ["/p", "1e300"], ["/p", "9" * 4000]):
            with self.subTest(args=" ".join(args)[:20]):
                host = self.start(os.path.join(self.dir, "Halvane.scr"), *args)
                self.assertIsNotNone(host.wait(10), "the host did not end")
        self.assertIsNone(self.wait_window("Preview Window", 0.5))


if __name__ == "__main__":
    harness.main()
