"""The host's settings store under Wine: ReadIni, WriteIni, FileExists and LoadSettings on
real files, with the code page 932 key bytes, driven through tests/win32/module_probe.exe."""
import os
import shutil
import subprocess
import unittest

import harness
from harness import WineTest, win_path, session

MODULE_PROBE = os.path.join(harness.WINDOWS_BUILD_DIR, "tests", "win32", "module_probe.exe")

KIND = "BGM区分".encode("cp932")
REPEAT = "BGMﾘﾋﾟｰﾄ".encode("cp932")
FILE = "BGMﾌｧｲﾙ".encode("cp932")


def hx(data):
    if isinstance(data, str):
        data = data.encode("cp932")
    return data.hex().upper() if data else "-"


def unhex(text):
    return b"" if text == "-" else bytes.fromhex(text)


def ini_bytes(*pairs, section=b"Section"):
    lines = [b"[" + section + b"]"] + [k + b"=" + v for k, v in pairs]
    return b"\r\n".join(lines) + b"\r\n"


class SettingsStore(WineTest):

    def setUp(self):
        super().setUp()
        shutil.copy(MODULE_PROBE, self.dir)
        self.exe = os.path.join(self.dir, "module_probe.exe")
        self.ini = os.path.join(self.dir, "Halvane.ini")
        self.win_ini = win_path(self.ini).encode("cp932")

    def run_probe(self, *lines):
        """Runs the commands in one module_probe process; returns the reply lines."""
        text = "".join(line + "\n" for line in lines).encode("ascii")
        r = subprocess.run([session.WINE, self.exe], env=self.env, input=text,
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=120)
        self.assertEqual(r.returncode, 0)
        replies = r.stdout.decode("ascii").splitlines()
        self.assertEqual(len(replies), len(lines), replies)
        return replies

    def load_many(self, inis):
        """LoadSettings once for each INI content; (kind, repeatTrack, musicFile) each."""
        results = []
        for ini in inis:
            if ini is None:
                if os.path.exists(self.ini):
                    os.remove(self.ini)
            else:
                with open(self.ini, "wb") as f:
                    f.write(ini)
            results.append(self.run_probe("load")[0].split())
        return [(int(r[0]), int(r[1]), unhex(r[2])) for r in results]

    def test_key_names_convert_to_code_page_932(self):
        replies = self.run_probe(*("ansi " + hx(k.encode("utf-8"))
                                   for k in ("BGM区分", "BGMﾘﾋﾟｰﾄ", "BGMﾌｧｲﾙ")))
        self.assertEqual([unhex(r) for r in replies], [KIND, REPEAT, FILE])
        self.assertEqual(KIND, bytes.fromhex("42474D8BE695AA"))
        self.assertEqual(REPEAT, bytes.fromhex("42474DD8CBDFB0C4"))
        self.assertEqual(FILE, bytes.fromhex("42474DCCA7B2D9"))

    def test_program_folder_has_no_trailing_backslash(self):
        folder = unhex(self.run_probe("folder")[0])
        self.assertEqual(folder.lower(), win_path(self.dir).encode("cp932").lower())

    def test_load_settings_table(self):
        music = os.path.join(self.dir, "曲 1.wav")
        with open(music, "wb") as f:
            f.write(b"RIFF")
        os.mkdir(os.path.join(self.dir, "folder"))
        music_w = win_path(music).encode("cp932")
        folder_w = win_path(os.path.join(self.dir, "folder")).encode("cp932")
        missing_w = win_path(os.path.join(self.dir, "none.mp3")).encode("cp932")
        cases = [
            ("no ini file", None, (0, 0, b"")),
            ("file source, file missing", ini_bytes((KIND, b"2"), (FILE, missing_w)), (0, 0, b"")),
            ("CD source, file missing", ini_bytes((KIND, b"1"), (REPEAT, b"5"), (FILE, missing_w)),
             (1, 5, b"")),
            ("file source, empty file", ini_bytes((KIND, b"2"), (REPEAT, b"3"), (FILE, b"")),
             (0, 3, b"")),
            ("blank before kind, Japanese file name", ini_bytes((KIND, b" 2"), (FILE, music_w)),
             (2, 0, music_w)),
            ("kind 2.9", ini_bytes((KIND, b"2.9"), (FILE, music_w)), (2, 0, music_w)),
            ("kind a word", ini_bytes((KIND, b"two"), (FILE, music_w)), (0, 0, music_w)),
            ("repeat 40000", ini_bytes((KIND, b"1"), (REPEAT, b"40000")), (1, 0, b"")),
            ("kind 7 stays", ini_bytes((KIND, b"7"), (REPEAT, b"-1")), (7, -1, b"")),
            ("folder as music file", ini_bytes((KIND, b"2"), (FILE, folder_w + b"\\")), (0, 0, b"")),
            ("file with trailing backslash", ini_bytes((KIND, b"2"), (FILE, music_w + b"\\")),
             (2, 0, music_w + b"\\")),
            ("keys in another order, other case",
             ini_bytes((FILE, music_w), (REPEAT, b"12"), (KIND, b"2"), section=b"SECTION"),
             (2, 12, music_w)),
            ("key with empty value", ini_bytes((KIND, b""), (REPEAT, b"")), (0, 0, b"")),
            ("other section only", ini_bytes((KIND, b"1"), section=b"Other"), (0, 0, b"")),
        ]
        got = self.load_many([c[1] for c in cases])
        for (name, _, expected), result in zip(cases, got):
            self.assertEqual(result, expected, name)

    def test_reading_never_creates_the_file(self):
        self.run_probe("read " + " ".join([hx("Section"), hx(KIND), hx(self.win_ini)]), "load")
        self.assertFalse(os.path.exists(self.ini))

    def test_long_value_is_cut_to_255_bytes(self):
        value = bytes(range(0x41, 0x41 + 26)) * 12  # 312 bytes
        value = value[:300]
        with open(self.ini, "wb") as f:
            f.write(ini_bytes((FILE, value)))
        reply = self.run_probe("read " + " ".join([hx("Section"), hx(FILE), hx(self.win_ini)]))
        self.assertEqual(unhex(reply[0]), value[:255])

    def test_write_keeps_key_bytes_and_order(self):
        music = "C:\\音楽\\表.mp3".encode("cp932")  # 表 ends in the byte 5C
        writes = [("write " + " ".join([hx("Section"), hx(k), hx(v), hx(self.win_ini)]))
                  for k, v in ((KIND, b" 1"), (REPEAT, b"-1"), (FILE, music))]
        reads = [("read " + " ".join([hx("Section"), hx(k), hx(self.win_ini)]))
                 for k in (KIND, REPEAT, FILE)]
        replies = self.run_probe(*writes, *reads)
        self.assertEqual(replies[:3], ["ok"] * 3)
        self.assertEqual([unhex(r) for r in replies[3:]], [b"1", b"-1", music])
        with open(self.ini, "rb") as f:
            lines = [l.strip() for l in f.read().splitlines() if l.strip()]
        self.assertEqual(lines[0], b"[Section]")
        self.assertEqual([l.split(b"=", 1)[0] for l in lines[1:]], [KIND, REPEAT, FILE])
        self.assertEqual([l.split(b"=", 1)[1].strip() for l in lines[1:]], [b"1", b"-1", music])

    def test_write_replaces_and_cuts_long_names(self):
        long_section, long_key = b"S" * 200, "ｷ".encode("cp932") * 130
        replies = self.run_probe(
            "write " + " ".join([hx("Section"), hx(KIND), hx(" 2"), hx(self.win_ini)]),
            "write " + " ".join([hx("Section"), hx(KIND), hx(" 0"), hx(self.win_ini)]),
            "write " + " ".join([hx(long_section), hx(long_key), hx("v"), hx(self.win_ini)]))
        self.assertEqual(replies, ["ok"] * 3)
        with open(self.ini, "rb") as f:
            lines = [l.strip() for l in f.read().splitlines() if l.strip()]
        self.assertIn(b"[" + b"S" * 128 + b"]", lines)
        self.assertIn(long_key[:128] + b"=v", lines)
        self.assertEqual([l for l in lines if l.startswith(KIND)], [KIND + b"=0"])

    def test_file_exists(self):
        music = os.path.join(self.dir, "表")  # a file whose name ends in the byte 5C
        with open(music, "wb") as f:
            f.write(b"x")
        os.mkdir(os.path.join(self.dir, "sub"))
        base = win_path(self.dir).encode("cp932")
        cases = [
            (win_path(music).encode("cp932"), "1"),
            (win_path(music).encode("cp932") + b"\\", "1"),
            (base + b"\\sub", "0"),
            (base + b"\\sub\\", "0"),
            (base + b"\\missing.wav", "0"),
            (b"", "0"),
            (b"\\", "0"),
            (b"CON", "0"),
            (base + b"\\bad|name", "0"),
        ]
        replies = self.run_probe(*("exists " + hx(p) for p, _ in cases))
        for (path, expected), reply in zip(cases, replies):
            self.assertEqual(reply, expected, path)


if __name__ == "__main__":
    harness.main()
