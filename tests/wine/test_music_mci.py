"""The host's music module bound to the real winmm under Wine (which has no CD drive
here: "open cdaudio" fails with 266), driven through tests/win32/module_probe.exe."""
import os
import shutil
import subprocess

import harness
from harness import WineTest, win_path, session

MODULE_PROBE = os.path.join(harness.WINDOWS_BUILD_DIR, "tests", "win32", "module_probe.exe")


def hx(text):
    data = text.encode("cp932")
    return data.hex().upper() if data else "-"


def text_of(field):
    return "" if field == "-" else bytes.fromhex(field).decode("cp932")


class MusicMci(WineTest):

    def run_probe(self, *lines):
        shutil.copy(MODULE_PROBE, self.dir)
        data = "".join(line + "\n" for line in lines).encode("ascii")
        r = subprocess.run([session.WINE, os.path.join(self.dir, "module_probe.exe")],
                           env=self.env, input=data, stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, timeout=120)
        self.assertEqual(r.returncode, 0)
        replies = [line.split() for line in r.stdout.decode("ascii").splitlines()]
        self.assertEqual(len(replies), len(lines), replies)
        return replies

    def test_mci_strings_and_cd_tick_without_a_drive(self):
        missing = win_path(os.path.join(self.dir, "no such.mp3"))
        empty, open_cd, query, tick, mp3 = self.run_probe(
            "mci", "mci " + hx("open cdaudio"), "query " + hx("status cdaudio current track"),
            "cdtick", "mp3 " + hx(missing))
        self.assertEqual(empty, ["-1", hx("コマンド文字列が指定されていません")])
        # The error text comes from mciGetErrorStringA, in the ANSI code page.
        self.assertEqual(open_cd[0], "266")
        self.assertNotIn(text_of(open_cd[1]), ("", "Error (文字列が取れません)"))
        self.assertEqual(text_of(query[0]), "Error:266")
        # The first CD tick meets the failed status query and ends the polling.
        self.assertEqual(tick[0], "0")
        self.assertEqual(text_of(tick[1]), text_of(open_cd[1]))
        # A file that does not open is not playing.
        self.assertEqual(mp3, ["0"])


if __name__ == "__main__":
    harness.main()
