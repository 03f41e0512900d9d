"""Start-up of Halvane.scr: the renderer check and its message, the instance test, and the
mode letters that end at once."""
import os
import time

import harness

CAPTION = "Halvane (ScreenSaver)"
MISSING = "Halvane.dllが同じﾌｫﾙﾀﾞに見つかりません！"


class Startup(harness.WineTest):

    def test_renderer_missing_shows_the_message_then_ends(self):
        # Every mode but P tests for the renderer first, one character and long lines too.
        for args in (["/s"], ["-S"], ["/c"], ["/c:1234"], [], ["/a"], ["x"], ["/x" + "y" * 3000]):
            with self.subTest(args=args[:1] and args[0][:10]):
                folder = self.install(renderer=False, folder=os.path.join(self.dir, f"m{len(self.procs)}"))
                host = self.start(os.path.join(folder, "Halvane.scr"), *args)
                box = self.message_box(CAPTION, 20)
                self.assertIsNotNone(box, "no message box")
                self.assertEqual(box["text"], MISSING)
                self.assertEqual(box["buttons"], ["OK"])
                self.assertEqual(host.wait(10), 0)
                self.assertFalse(os.path.exists(os.path.join(folder, "Halvane.bmp")))

    def test_other_letters_end_silently(self):
        # With the renderer present: a letter other than P, C and S, or a single character,
        # ends without a window or a message.
        self.install()
        for args in (["/a"], ["x"], ["/x" + "z" * 5000]):
            with self.subTest(args=args[0][:10]):
                host = self.start(os.path.join(self.dir, "Halvane.scr"), *args)
                self.assertIsNotNone(host.wait(10), "the host did not end")
        self.assertIsNone(self.wait_window("Selvin", 1, "OpenGL"))
        self.assertIsNone(self.wait_window(CAPTION, 0.1))
        self.assertFalse(os.path.exists(os.path.join(self.dir, "Halvane.bmp")))

    def test_second_start_while_the_saver_runs_ends_at_once(self):
        self.install()
        self.move_pointer(640, 400)
        first = self.start(os.path.join(self.dir, "Halvane.scr"), "/s")
        self.assertIsNotNone(self.wait_window("Selvora_Main", 20))
        self.assertIsNotNone(self.wait_window("Selvin", 20, "OpenGL"))
        for args in (["/s"], [], ["/c"], ["/p", "0"]):
            second = self.start(os.path.join(self.dir, "Halvane.scr"), *args)
            self.assertIsNotNone(second.wait(10), f"a second start {args} did not end")
        windows = self.probe("list")
        self.assertEqual(sum(1 for w in windows if w["title"] == "Selvora_Main"), 1)
        self.assertEqual(sum(1 for w in windows if w["title"] == "Selvin"), 1)
        self.assertTrue(first.running())
        self.move_pointer(700, 460)
        self.assertIsNotNone(first.wait(5))

    def test_open_settings_dialog_window_blocks_every_mode(self):
        # A window titled like the settings dialog stands for a dialog that is open.
        self.install(renderer=False)
        dialog, _ = self.make_parent(100, 100, "<Halvane>")
        parent, control = self.make_parent(152, 112)
        for args in (["/s"], [], ["/c"], ["/p", str(parent)]):
            host = self.start(os.path.join(self.dir, "Halvane.scr"), *args)
            self.assertIsNotNone(host.wait(10), f"{args} did not end")
        self.assertEqual(control("children"), [])
        self.assertIsNone(self.wait_window(CAPTION, 0.5), "the renderer check ran")


if __name__ == "__main__":
    harness.main()
