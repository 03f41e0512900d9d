"""Bad input to the saver run: broken settings files, a texture that cannot be written.
None of them crashes the host, shows a message of its own, or leaves Halvane.bmp behind."""
import os
import time

import harness

CENTRE = (harness.SCREEN_W // 2, harness.SCREEN_H // 2)


class BadInputs(harness.WineTest):

    def saver_runs_and_ends(self, folder):
        self.move_pointer(*CENTRE)
        host = self.start(os.path.join(folder, "Halvane.scr"), "/s")
        self.assertIsNotNone(self.wait_window("Selvin", 30, "OpenGL"), "no renderer window")
        time.sleep(0.5)
        self.assertTrue(host.running(), "the host ended by itself")
        self.move_pointer(CENTRE[0] + 45, CENTRE[1] - 45)
        self.assertEqual(host.wait(5), 0, "the host did not end cleanly")
        self.assertTrue(self.window_gone("Selvin", 5))
        self.assertFalse(os.path.exists(os.path.join(folder, "Halvane.bmp")))
        return host

    def test_broken_settings_files(self):
        long_text = "x" * 300
        cases = {
            "garbage": b"\x00\xff\xfe[Sec\x00tion]\r\n\x82\xa0=\x81\r\n=\r\n[[[\r\n" + bytes(range(256)),
            "huge values": "[Section]\r\nBGM区分=99999999999999999999\r\nBGMﾘﾋﾟｰﾄ=40000\r\nBGMﾌｧｲﾙ=x\r\n",
            "odd kinds": "[Section]\r\nBGM区分=-7\r\nBGMﾘﾋﾟｰﾄ=-1e300\r\n",
            "300-byte values": f"[Section]\r\nBGM区分=2{long_text}\r\nBGMﾘﾋﾟｰﾄ={long_text}\r\nBGMﾌｧｲﾙ=C:\\{long_text}.wav\r\n",
            "missing keys": "[Section]\r\n",
            "empty values": "[Section]\r\nBGM区分=\r\nBGMﾘﾋﾟｰﾄ=\r\nBGMﾌｧｲﾙ=\r\n",
            "folder as the music file": "[Section]\r\nBGM区分=2\r\nBGMﾌｧｲﾙ={folder}\r\n",
            "folder with a backslash": "[Section]\r\nBGM区分=2\r\nBGMﾌｧｲﾙ={folder}\\\r\n",
            "missing music file": "[Section]\r\nBGM区分=2\r\nBGMﾌｧｲﾙ={folder}\\none.mp3\r\n",
            "CD with a missing file": "[Section]\r\nBGM区分=1\r\nBGMﾘﾋﾟｰﾄ=2\r\nBGMﾌｧｲﾙ={folder}\\none.wav\r\n",
        }
        for n, (name, ini) in enumerate(cases.items()):
            with self.subTest(name):
                folder = os.path.join(self.dir, f"case{n}")
                os.makedirs(folder)
                if isinstance(ini, str):
                    ini = ini.replace("{folder}", harness.win_path(folder)).encode("cp932")
                self.install(folder=folder, ini=ini)
                self.saver_runs_and_ends(folder)
                self.assertIsNone(self.wait_window("Halvane (ScreenSaver)", 0.1))

    def test_texture_not_writable(self):
        # A folder where the texture file would go: the save fails, the renderer says it
        # cannot load the texture and ends, and the host runs on until the mouse rule.
        self.install()
        os.makedirs(os.path.join(self.dir, "Halvane.bmp"))
        self.move_pointer(*CENTRE)
        host = self.start(os.path.join(self.dir, "Halvane.scr"), "/s")
        first = self.message_box("BMP Unit", 30)
        self.assertIsNotNone(first, "the renderer did not report the texture")
        self.assertTrue(first["text"].startswith("Error opening"), first["text"])
        second = self.message_box("Loading Textures", 10)
        self.assertIsNotNone(second)
        self.assertTrue(self.window_gone("Selvin", 10), "the renderer did not end")
        time.sleep(0.5)
        self.assertTrue(host.running(), "the host ended with the renderer")
        self.move_pointer(CENTRE[0] + 45, CENTRE[1] + 45)
        self.assertEqual(host.wait(5), 0)
        self.assertTrue(os.path.isdir(os.path.join(self.dir, "Halvane.bmp")))


if __name__ == "__main__":
    harness.main()
