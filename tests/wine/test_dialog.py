"""The settings dialog (Halvane.scr /c) under Wine: what it shows for each setting, choosing
a source with any mouse button, what "設定" writes, that cancelling and the close box write
nothing, and the faces of the skinned buttons against the state pictures.

Closing without a window manager: the close box is reached by posting WM_SYSCOMMAND
SC_CLOSE (what the close box sends) or WM_CLOSE to the dialog through the probe.
"""
import os
import time

import harness
from harness import Image

KIND_KEY = "BGM区分".encode("cp932")
REPEAT_KEY = "BGMﾘﾋﾟｰﾄ".encode("cp932")
FILE_KEY = "BGMﾌｧｲﾙ".encode("cp932")

WM_SYSCOMMAND = 0x0112
SC_CLOSE = 0xF060

ASSETS = os.path.join(harness.SOURCE_DIR, "assets")
MARK_TOPS = (76, 56, 96)  # Img_BGM(0), (1), (2) in the panel
LABEL_SPOTS = ((40, 82), (40, 62), (40, 102))  # inside lbl_BGM(0), (1), (2)


def picture(name):
    with open(os.path.join(ASSETS, name + ".bmp"), "rb") as f:
        return Image.from_bmp(f.read())


def ini_bytes(kind, track, music=""):
    text = "[Section]\r\nBGM区分=%s\r\nBGMﾘﾋﾟｰﾄ=%s\r\nBGMﾌｧｲﾙ=%s\r\n" % (kind, track, music)
    return text.encode("cp932")


def ini_entries(data):
    """The key=value lines of the file in order, values without surrounding blanks."""
    out = []
    for line in data.split(b"\r\n"):
        if b"=" in line:
            key, value = line.split(b"=", 1)
            out.append((key.strip(), value.strip()))
    return out


class Dialog:
    """One running settings dialog and the windows inside it."""

    def __init__(self, test, folder):
        self.test, self.folder = test, folder
        self.proc = test.start(os.path.join(folder, "Halvane.scr"), "/c")
        self.window = test.wait_window("<Halvane>", 30)
        test.assertIsNotNone(self.window, "the dialog did not open")
        self.hwnd = self.window["hwnd"]
        time.sleep(0.5)  # the first paint
        self.refresh()

    def refresh(self):
        kids = self.test.probe("children", str(self.hwnd))
        self.panel = next(c for c in kids if c["class"] == "HalvanePictureBox")
        self.combo = next(c for c in kids if c["class"] == "ComboBox")
        self.edit = next(c for c in kids if c["class"] == "Edit")
        self.buttons = {c["title"]: c for c in kids if c["class"] == "Selvora.Command"}
        # The panel's sunken border is two pixels wide.
        self.panel_origin = (self.panel["rect"][0] + 2, self.panel["rect"][1] + 2)
        return self

    def client_origin(self):
        r = self.window["rect"]
        # Wine draws the frame itself: 3 pixels of border, the caption above the client area.
        width = r[2] - r[0]
        border = (width - 479) // 2
        return r[0] + border, r[3] - border - 243

    def button_rect(self, caption):
        r = self.buttons[caption]["rect"]
        return r[0], r[1], r[2] - r[0], r[3] - r[1]

    def point_at_button(self, caption):
        x, y, w, h = self.button_rect(caption)
        return x + w // 2, y + h // 2

    def panel_point(self, x, y):
        return self.panel_origin[0] + x, self.panel_origin[1] + y


class DialogTest(harness.WineTest):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.mark_on, cls.mark_off = picture("mark_on"), picture("mark_off")
        cls.faces = {n: picture("button_" + n) for n in
                     ("normal", "highlight", "pressed", "selected", "disable", "highlightselect")}

    def open(self, ini=None, music=False):
        folder = self.install(ini=ini)
        if music:
            with open(os.path.join(folder, "music.mp3"), "wb") as f:
                f.write(b"ID3")
        return Dialog(self, folder)

    def park_pointer(self):
        self.move_pointer(5, 5)

    def marks(self, dialog, img=None):
        """'on', 'off' or '?' for the three marks, from the screen."""
        img = img or self.screenshot()
        out = []
        for top in MARK_TOPS:
            x, y = dialog.panel_point(20, top)
            crop = img.crop(x, y, 12, 12)
            out.append("on" if crop.rgb == self.mark_on.rgb else
                       "off" if crop.rgb == self.mark_off.rgb else "?")
        return out

    def ring_mismatches(self, img, rect, face):
        """Pixels of the button's four corners and its left and right edges (copied 1:1
        for a 25-pixel-high button) that differ from the state picture."""
        x0, y0, w, h = rect
        pic = self.faces[face]
        spots = []
        for dy in range(4):
            for dx in range(4):
                spots += [(dx, dy, dx, dy), (w - 4 + dx, dy, 60 + dx, dy),
                          (dx, h - 4 + dy, dx, 21 + dy), (w - 4 + dx, h - 4 + dy, 60 + dx, 21 + dy)]
        if h == 25:
            for y in range(4, 21):
                for dx in range(4):
                    spots += [(dx, y, dx, y), (w - 4 + dx, y, 60 + dx, y)]
        return sum(1 for fx, fy, px, py in spots if img.pixel(x0 + fx, y0 + fy) != pic.pixel(px, py))

    def wait_face(self, dialog, caption, face, timeout=2.0):
        rect = dialog.button_rect(caption)
        img = self.wait_until(
            lambda: (lambda i: i if self.ring_mismatches(i, rect, face) == 0 else None)(self.screenshot()),
            timeout)
        self.assertIsNotNone(img, f"{caption} does not show the {face} ring")
        return img

    def press_button(self, dialog, caption):
        self.move_pointer(*dialog.point_at_button(caption))
        time.sleep(0.3)
        self.click(1)

    def type_repeat(self, dialog, text):
        r = dialog.edit["rect"]
        self.move_pointer((r[0] + r[2]) // 2, (r[1] + r[3]) // 2)
        self.click(1)
        time.sleep(0.2)
        self.key("End")
        self.key("shift+Home")  # the whole text selected: typing replaces it
        if text:
            self.xdotool("type", "--delay", "30", "--", text)
        else:
            self.key("BackSpace")
        time.sleep(0.3)

    # ---- what the dialog shows -----------------------------------------------------

    def test_settings_are_shown_and_closing_writes_nothing(self):
        rows = [
            # ini, music file, marks, repeat box enabled and text, "..." enabled, closed by
            (ini_bytes(" 0", " 0"), False, ["on", "off", "off"], False, "", False, "syscommand"),
            (ini_bytes(" 1", " 12"), False, ["off", "on", "off"], True, "12", False, "close"),
            (None, True, ["off", "off", "on"], False, "7", True, "syscommand"),
            (ini_bytes("7", "3"), False, ["off", "off", "off"], False, "3", False, "close"),
        ]
        for ini, music, marks, repeat_on, repeat_text, file_on, closed_by in rows:
            with self.subTest(ini=ini, music=music):
                if music:  # kind 2 needs a music file that exists
                    folder = os.path.join(self.dir, "music")
                    ini = ini_bytes(" 2", " 7", harness.win_path(os.path.join(folder, "music.mp3")))
                    self.install(ini=ini, folder=folder)
                    with open(os.path.join(folder, "music.mp3"), "wb") as f:
                        f.write(b"ID3")
                    dialog = Dialog(self, folder)
                else:
                    dialog = self.open(ini)
                self.park_pointer()
                time.sleep(0.3)
                img = self.screenshot(save_as=f"shown-{len(marks)}-{marks}.png")
                self.assertEqual(self.marks(dialog, img), marks)
                self.assertEqual(dialog.combo["enabled"], repeat_on)
                self.assertEqual(dialog.edit["title"], repeat_text)
                self.assertEqual(dialog.buttons["..."]["enabled"], file_on)
                self.assertEqual(self.ring_mismatches(img, dialog.button_rect("..."),
                                                      "normal" if file_on else "disable"), 0)
                for caption in ("その他の作品", "設定", "ｷｬﾝｾﾙ"):
                    self.assertTrue(dialog.buttons[caption]["enabled"])
                    self.assertEqual(self.ring_mismatches(img, dialog.button_rect(caption), "normal"), 0)
                if closed_by == "syscommand":
                    self.probe("post", str(dialog.hwnd), hex(WM_SYSCOMMAND), hex(SC_CLOSE), "0")
                else:
                    self.post_close(dialog.hwnd)
                self.assertEqual(dialog.proc.wait(15), 0)
                with open(os.path.join(dialog.folder, "Halvane.ini"), "rb") as f:
                    self.assertEqual(f.read(), ini, "closing must leave the file as it was")

    def test_window_place_and_shaded_backgrounds(self):
        dialog = self.open(ini_bytes(" 0", " 0"))
        w = dialog.window
        self.assertEqual(w["client"], [0, 0, 479, 243])
        self.assertEqual(w["style"] & 0x00030000, 0, "no minimise or maximise box")
        self.assertEqual(w["style"] & 0x00040000, 0, "not resizable")
        width, height = w["rect"][2] - w["rect"][0], w["rect"][3] - w["rect"][1]
        self.assertEqual(w["rect"][0], ((harness.SCREEN_W - width) * 15 // 2 + 7) // 15)
        self.assertEqual(w["rect"][1], round((harness.SCREEN_H - height) * 15 // 3 / 15))
        self.assertEqual(dialog.panel["rect"][2] - dialog.panel["rect"][0], 453)
        self.park_pointer()
        time.sleep(0.3)
        img = self.screenshot(save_as="dialog.png")
        cx, cy = dialog.client_origin()
        # Form: RGB(d, d, d + 30), d from 0 at the top to 220 in the middle (line 121).
        self.assertEqual(img.pixel(cx + 4, cy), (0, 0, 30))
        self.assertEqual(img.pixel(cx + 4, cy + 121), (220, 220, 250))
        # Panel: grey d + 30 over its 165 lines, 250 at line 82.
        px, py = dialog.panel_origin
        self.assertEqual(img.pixel(px + 440, py), (30, 30, 30))
        self.assertEqual(img.pixel(px + 440, py + 82), (250, 250, 250))
        # Retained: covered by another window and uncovered again, both repaint their
        # shading from their images.
        hwnd, control = self.make_parent(800, 500, "Cover")
        time.sleep(0.5)
        covered = self.screenshot()
        self.assertNotEqual(covered.pixel(cx + 4, cy + 121), (220, 220, 250), "not covered")
        control("destroy")
        time.sleep(0.8)
        again = self.screenshot()
        self.assertEqual(again.pixel(cx + 4, cy + 121), (220, 220, 250))
        self.assertEqual(again.pixel(px + 440, py + 82), (250, 250, 250))
        self.assertEqual(self.marks(dialog, again), ["on", "off", "off"])
        self.post_close(dialog.hwnd)
        self.assertEqual(dialog.proc.wait(15), 0)

    # ---- choosing ------------------------------------------------------------------

    def test_any_mouse_button_on_a_mark_or_label_chooses_the_source(self):
        ini = ini_bytes(" 0", " 5")
        dialog = self.open(ini)
        steps = [
            ("label", 1, 3, ["off", "on", "off"], True, False),   # right button on "音楽CD"
            ("mark", 2, 2, ["off", "off", "on"], False, True),    # middle button on the file mark
            ("label", 0, 3, ["on", "off", "off"], False, False),  # right button on "無し"
            ("mark", 1, 1, ["off", "on", "off"], True, False),
        ]
        for what, index, button, marks, repeat_on, file_on in steps:
            with self.subTest(what=what, index=index, button=button):
                if what == "label":
                    self.move_pointer(*dialog.panel_point(*LABEL_SPOTS[index]))
                else:
                    self.move_pointer(*dialog.panel_point(26, MARK_TOPS[index] + 6))
                self.click(button)
                time.sleep(0.4)
                dialog.refresh()
                self.assertEqual(self.marks(dialog), marks)
                self.assertEqual(dialog.combo["enabled"], repeat_on)
                self.assertEqual(dialog.buttons["..."]["enabled"], file_on)
                self.assertEqual(dialog.edit["title"], "5", "the repeat box keeps its text")
        self.press_button(dialog, "ｷｬﾝｾﾙ")
        self.assertEqual(dialog.proc.wait(15), 0)
        with open(os.path.join(dialog.folder, "Halvane.ini"), "rb") as f:
            self.assertEqual(f.read(), ini, "cancelling after changes leaves the file as it was")

    # ---- saving --------------------------------------------------------------------

    def test_confirm_writes_the_three_keys_in_order(self):
        rows = [
            # start ini, source chosen by a click (or None), typed text, kind, repeat written
            (None, 2, None, b"2", b"0"),  # no file yet; empty repeat box; file source, no file
            (ini_bytes(" 1", " 12"), None, "2.5", b"1", b"2"),
            (ini_bytes(" 1", " 12"), None, "3.5", b"1", b"4"),
            (ini_bytes(" 1", " 12"), None, "abc", b"1", b"0"),
            (ini_bytes(" 1", " 12"), None, "45", b"1", b"45"),
            (ini_bytes(" 1", " 12"), None, "-1", b"1", b"-1"),
            (ini_bytes(" 1", " 12"), None, "70000", b"1", b"12"),  # beyond 16 bits: loaded value kept
            (ini_bytes("7", " 3"), None, None, b"7", b"3"),
        ]
        for ini, choose, typed, kind, repeat in rows:
            with self.subTest(ini=ini, choose=choose, typed=typed):
                dialog = self.open(ini)
                if choose is not None:
                    self.move_pointer(*dialog.panel_point(26, MARK_TOPS[choose] + 6))
                    self.click(1)
                    time.sleep(0.3)
                if typed is not None:
                    self.type_repeat(dialog, typed)
                self.press_button(dialog, "設定")
                self.assertEqual(dialog.proc.wait(15), 0)
                with open(os.path.join(dialog.folder, "Halvane.ini"), "rb") as f:
                    data = f.read()
                self.assertEqual(ini_entries(data), [(KIND_KEY, kind), (REPEAT_KEY, repeat), (FILE_KEY, b"")])

    def test_file_chooser_cancelled_keeps_the_file_and_chosen_replaces_it(self):
        for choose in (False, True):
            with self.subTest(choose=choose):
                folder = os.path.join(self.dir, "chooser-%s" % choose)
                os.makedirs(folder)
                loaded, picked = os.path.join(folder, "loaded.mp3"), os.path.join(folder, "picked.wav")
                for path in (loaded, picked):
                    open(path, "wb").close()
                self.install(folder=folder, ini=ini_bytes(" 2", " 0", harness.win_path(loaded)))
                dialog = Dialog(self, folder)
                self.press_button(dialog, "...")
                chooser = self.wait_window("ﾌｧｲﾙを開く", 15)
                self.assertIsNotNone(chooser, "the file chooser did not open")
                self.assertEqual(chooser["owner"], dialog.hwnd)
                texts = [c["title"] for c in self.probe("children", str(chooser["hwnd"]))]
                self.assertIn("BGMﾌｧｲﾙ (MP3 WAV)", texts)
                if choose:
                    time.sleep(0.5)
                    self.xdotool("type", "--delay", "20", "--", harness.win_path(picked))
                    self.key("Return")
                else:
                    self.post_close(chooser["hwnd"])
                self.assertTrue(self.window_gone("ﾌｧｲﾙを開く", 10))
                self.press_button(dialog, "設定")
                self.assertEqual(dialog.proc.wait(15), 0)
                with open(os.path.join(folder, "Halvane.ini"), "rb") as f:
                    entries = ini_entries(f.read())
                expected = harness.win_path(picked if choose else loaded).encode("cp932")
                self.assertEqual(entries, [(KIND_KEY, b"2"), (REPEAT_KEY, b"0"), (FILE_KEY, expected)])

    # ---- the buttons' faces --------------------------------------------------------

    def test_button_faces_follow_hover_press_and_focus(self):
        ini = ini_bytes(" 0", " 0")
        dialog = self.open(ini)
        self.park_pointer()
        x, y, w, h = dialog.button_rect("設定")

        img = self.wait_face(dialog, "設定", "normal")
        self.wait_face(dialog, "...", "disable")
        # The gradient: white at the top, lavender grey (198, 197, 215) read red first at the
        # bottom; a swapped channel order would make it pinker than blue.
        top, bottom = img.pixel(x + 8, y + 4), img.pixel(x + 8, y + h - 5)
        self.assertGreater(sum(top), sum(bottom))
        self.assertGreater(bottom[2] - bottom[0], 8)

        self.move_pointer(x + w // 2, y + h // 2)
        img = self.wait_face(dialog, "設定", "highlight")
        top, bottom = img.pixel(x + 8, y + 4), img.pixel(x + 8, y + h - 5)
        self.assertLess(sum(top), sum(bottom), "hovered: the gradient is inverted")

        self.xdotool("mousedown", "1")
        self.wait_face(dialog, "設定", "pressed")
        # Drag out and let a tick see it: Selected, and the release raises no Click.
        self.move_pointer(x + w // 2, y - 40)
        self.wait_face(dialog, "設定", "selected")
        self.xdotool("mouseup", "1")
        time.sleep(0.5)
        self.assertTrue(dialog.proc.running(), "a release after leaving must not confirm")
        self.screenshot(save_as="faces-selected.png")
        # Back over the focused button: HighLightSelect.
        self.move_pointer(x + w // 2, y + h // 2)
        self.wait_face(dialog, "設定", "highlightselect")
        self.park_pointer()
        self.wait_face(dialog, "設定", "selected")
        # The focused button takes no keys: Enter and Space do not confirm.
        self.key("Return")
        self.key("space")
        time.sleep(0.5)
        self.assertTrue(dialog.proc.running(), "a key must not raise Click")

        self.post_close(dialog.hwnd)
        self.assertEqual(dialog.proc.wait(15), 0)
        with open(os.path.join(dialog.folder, "Halvane.ini"), "rb") as f:
            self.assertEqual(f.read(), ini)


if __name__ == "__main__":
    harness.main()
