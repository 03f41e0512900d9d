"""Background music of the saver run, recorded from a private PulseAudio null sink: a WAV
file loops, an MP3 file plays through "MPEGVideo" and starts again after its end, and both
stop when the run ends. The settings come from a real "Halvane.ini" with Shift-JIS keys."""
import os
import subprocess

import audio
import harness
import session

CENTRE = (harness.SCREEN_W // 2, harness.SCREEN_H // 2)


def ini_bytes(kind, music_file="", repeat=None):
    lines = ["[Section]", f"BGM区分={kind}"]
    if repeat is not None:
        lines.append(f"BGMﾘﾋﾟｰﾄ={repeat}")
    lines.append(f"BGMﾌｧｲﾙ={music_file}")
    return ("\r\n".join(lines) + "\r\n").encode("cp932")


@harness.unittest.skipUnless(audio.available(), "pulseaudio, pacat, parec and sox are needed")
class Music(harness.WineTest):

    def setUp(self):
        super().setUp()
        self.sink = audio.PulseSink()
        self.sink.start()
        self.addCleanup(self.sink.stop)
        self.wine_env = self.env
        self.env = self.sink.wine_env(self.env)
        self.addCleanup(setattr, self, "env", self.wine_env)

    def run_saver(self, ini):
        self.install(ini=ini)
        self.move_pointer(*CENTRE)
        host = self.start(os.path.join(self.dir, "Halvane.scr"), "/s")
        self.assertIsNotNone(self.wait_window("Selvin", 30, "OpenGL"))
        return host

    def end_saver(self, host):
        self.move_pointer(CENTRE[0] + 60, CENTRE[1] + 60)
        self.assertIsNotNone(host.wait(5), "the host did not end")
        self.assertFalse(os.path.exists(os.path.join(self.dir, "Halvane.bmp")))

    def assert_silent_after_end(self):
        after = self.sink.record(1.5)
        self.assertLess(after.peak(), 300, "the music went on after the end")

    def test_wav_loops_and_stops(self):
        wav = os.path.join(self.dir, "tone.wav")
        audio.make_tone(wav, 1.0, "wav")
        host = self.run_saver(ini_bytes(" 2", harness.win_path(wav)))
        rec = self.sink.record(3.0)  # three times the file: it loops
        self.assertGreater(rec.loud_fraction(), 0.85, "the WAV file does not play on")
        self.end_saver(host)
        self.assert_silent_after_end()

    def test_mp3_plays_restarts_and_stops(self):
        # A mixed-case extension, in a folder with blanks and Japanese characters: the path
        # travels to MCI in code page 932 between double quotes.
        folder = os.path.join(self.dir, "月の 音楽")
        os.makedirs(folder)
        mp3 = os.path.join(folder, "tone.Mp3")
        audio.make_tone(mp3, 1.0, "mp3")
        host = self.run_saver(ini_bytes(2, harness.win_path(mp3)))
        rec = self.sink.record(5.0)
        # The file lasts 1 s; the MP3 tick starts it again within a second of its end.
        halves = [audio.Recording(rec.samples[i:i + audio.RATE * audio.CHANNELS].tobytes())
                  for i in range(0, len(rec.samples), audio.RATE * audio.CHANNELS)]
        loud_seconds = sum(1 for h in halves if h.peak() > 3000)
        self.assertGreaterEqual(loud_seconds, 3, f"the MP3 did not restart: {[h.peak() for h in halves]}")
        self.assertGreater(halves[-2].peak() + halves[-1].peak(), 3000, "no sound late in the run")
        self.end_saver(host)
        self.assert_silent_after_end()

    def test_no_music_for_other_endings_and_no_disc(self):
        # "wave" is not "WAV"; kind 1 meets no CD drive here and stops polling quietly.
        wave = os.path.join(self.dir, "tone.wave")
        audio.make_tone(wave, 1.0, "wav")
        for ini in (ini_bytes(2, harness.win_path(wave)), ini_bytes(1, repeat=3), ini_bytes(1)):
            with self.subTest(ini=ini):
                host = self.run_saver(ini)
                self.assertLess(self.sink.record(1.5).peak(), 300)
                self.assertTrue(host.running())
                self.assertIsNone(self.wait_window("Halvane (ScreenSaver)", 0.1))
                self.end_saver(host)
                self.assertEqual(host.exit_code, 0)
                self.assertTrue(self.window_gone("Selvin", 5))

    def test_started_by_its_short_path(self):
        # Started by its 8.3 name, the host still finds its settings (the WAV plays), the
        # renderer and the place of the texture.
        folder = os.path.join(self.dir, "Halvane Screen Saver Folder")
        wav = os.path.join(folder, "a long tone name.wav")
        os.makedirs(folder)
        audio.make_tone(wav, 1.0, "wav")
        self.install(folder=folder, ini=ini_bytes(2, harness.win_path(wav)))
        short = self.probe("shortpath", harness.win_path(os.path.join(folder, "Halvane.scr")))
        self.assertIn("~", short)
        self.move_pointer(*CENTRE)
        popen = subprocess.Popen([session.WINE, harness.PROBE, "run", short, "/s"], env=self.env,
                                 stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                 stderr=subprocess.DEVNULL)
        host = harness.Proc(popen, "Halvane.scr")
        self.procs.append(host)
        self.assertIsNotNone(self.wait_window("Selvin", 30, "OpenGL"), "the renderer was not found")
        self.assertIsNone(self.wait_window("Halvane (ScreenSaver)", 0.1))
        self.assertTrue(os.path.exists(os.path.join(folder, "Halvane.bmp")))
        self.assertGreater(self.sink.record(2.0).loud_fraction(), 0.85, "the settings were not found")
        self.dir, keep = folder, self.dir
        try:
            self.end_saver(host)
        finally:
            self.dir = keep


if __name__ == "__main__":
    harness.main()
